#pragma once

#include "exit_statuses.h"

#include <ostream>
#include <span>
#include <string_view>

namespace tavu {

// Runs tavu-cli with its arguments (without the program name).
int runCli(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

// The program: runCli on standard output and standard error, ended by SIGPIPE
// when the reader of standard output goes away.
int cliMain(int argc, char** argv);

} // namespace tavu
