#include "cli.h"

#include "platform/command_line.h"
#include "platform/ending_signals.h"

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (!tavu::useBinaryStandardOutput()) {
        std::fputs("tavu-cli: cannot write standard output in binary mode\n", stderr);
        return tavu::ExitOutputUnwritable;
    }
    auto arguments = tavu::commandLineArguments(argc, argv);
    if (!arguments) {
        std::fputs("tavu-cli: the command line cannot be read as Unicode text\n", stderr);
        return tavu::ExitUsage;
    }
    // An export interrupted by Ctrl+C, a logout or kill leaves none of its
    // temporary files behind.
    if (const auto handled = tavu::handleEndingSignals(); !handled) {
        std::fprintf(stderr, "tavu-cli: warning: an interrupted run may leave temporary files: %s\n",
                     handled.failure().message().c_str());
    }
    std::vector<char*> pointers;
    for (std::string& argument : *arguments) {
        pointers.push_back(argument.data());
    }
    pointers.push_back(nullptr);
    return tavu::cliMain(static_cast<int>(arguments->size()), pointers.data());
}
