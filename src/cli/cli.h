#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace tavu {

enum CliExit { ExitDone = 0, ExitStopped = 1, ExitUsage = 2, ExitNoProfiles = 3 };

// Runs tavu-cli with its arguments (without the program name).
int runCli(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err);

} // namespace tavu
