#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tavu {

// The higher of two statuses is the worse, so that a run over several profiles
// can report its worst outcome.
enum CliExit {
    ExitDone = 0,
    ExitStopped = 1,         // generate and tree: stopped at a permission that cannot be read
    ExitUnreadablePiece = 1, // check: a piece that no client can read
    ExitUsage = 2,
    ExitNoProfiles = 3, // the profiles, settings or block file cannot be read; no such profile
    ExitUnencodable = 4,
    ExitUnwritable = 5,
    ExitOutputUnwritable = 6, // standard output cannot be written (a full disk, a closed file)
    ExitMenuError = 7,        // generate: the block holds an error that check would report
};

// Runs tavu-cli with its arguments (without the program name).
int runCli(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

// The program: runCli on standard output and standard error, ended by SIGPIPE
// when the reader of standard output goes away.
int cliMain(int argc, char** argv);

} // namespace tavu
