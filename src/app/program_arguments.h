#pragma once

// What the command line of the desktop program asks for: the window with at
// most one profiles file, or an answer on the terminal without a window.

#include <QString>
#include <QStringList>

#include <optional>

namespace tavu {

inline constexpr char kUsage[] = "Usage: tavu [profiles.xml]";

struct ProgramArguments {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    QStringList files;     // the operands, for Run
    QString unknownOption; // the first option not known, for UsageError
};

// Reads the arguments without the program's own name. "--help" (or "-h") and
// "--version" win wherever they stand before "--"; any other argument that
// begins with "-" is an option not known, but for "-" alone and everything
// after a lone "--", which are files.
ProgramArguments readProgramArguments(const QStringList& arguments);

// For every action but Run, prints its answer, the usage or the version on
// standard output, an unknown option on standard error, and returns the exit
// status: 0, or 2 for a usage error. Nothing for Run.
std::optional<int> answerOnTerminal(const ProgramArguments& arguments);

} // namespace tavu
