#include "program_arguments.h"

#include "base/escaping.h"
#include "version.h"

#include <cstdio>
#include <string>

namespace tavu {

namespace {

constexpr int kExitUsage = 2;

constexpr char kHelp[] = "\n"
                         "Opens the window of TAVU. A profiles.xml given opens at start as with the\n"
                         "Open button, and is remembered for the next start.\n"
                         "\n"
                         "  -h, --help  print this help and end\n"
                         "  --version   print the version and end\n"
                         "  --          end the options, so that a file whose name begins with \"-\"\n"
                         "              can follow\n";

bool isOption(const QString& argument) {
    return argument.size() > 1 && argument.startsWith(QLatin1Char('-'));
}

} // namespace

ProgramArguments readProgramArguments(const QStringList& arguments) {
    ProgramArguments read;
    bool optionsEnded = false;
    for (const QString& argument : arguments) {
        if (optionsEnded || !isOption(argument)) {
            read.files.push_back(argument);
        } else if (argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
            return {ProgramArguments::Action::Help, {}, {}};
        } else if (argument == QLatin1String("--version")) {
            return {ProgramArguments::Action::Version, {}, {}};
        } else if (read.unknownOption.isEmpty()) {
            read.unknownOption = argument;
        }
    }
    if (!read.unknownOption.isEmpty()) {
        read.action = ProgramArguments::Action::UsageError;
    }
    return read;
}

std::optional<int> answerOnTerminal(const ProgramArguments& arguments) {
    switch (arguments.action) {
    case ProgramArguments::Action::Run:
        return std::nullopt;
    case ProgramArguments::Action::Help:
        std::printf("%s\n%s", kUsage, kHelp);
        return 0;
    case ProgramArguments::Action::Version:
        std::printf("tavu %s\n", kVersion);
        return 0;
    case ProgramArguments::Action::UsageError:
        break;
    }
    // The option as typed, its control characters written visibly.
    const std::string option = escapedControls(arguments.unknownOption.toStdString(), "\\");
    std::fprintf(stderr, "tavu: unknown option %s\n%s\nTry \"tavu --help\".\n", option.c_str(), kUsage);
    return kExitUsage;
}

} // namespace tavu
