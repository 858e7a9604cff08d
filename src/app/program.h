#pragma once

// The composition root: the session on the settings file where the program
// keeps it, and the windows on the session.

#include "application.h"
#include "closing_signals.h"
#include "session.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace tavu {

class Program {
public:
    // Reads the settings file and creates the windows. A settings file that
    // cannot be read is reported once, and every default is used. The signals
    // that ask the program to end close the main window as its close button does.
    Program();

    // Shows the main window, then opens the profiles file the command line
    // names (`arguments` without the program's own name), as the Open button
    // would. More than one argument is refused with the usage in an error box.
    void start(const QStringList& arguments);

    Session& session() { return session_; }
    Windows& windows() { return *windows_; }

private:
    Session session_;
    std::unique_ptr<Windows> windows_;
    std::optional<ClosingSignals> closingSignals_;
};

} // namespace tavu
