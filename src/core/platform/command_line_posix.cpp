#include "platform/command_line.h"

namespace tavu {

std::optional<std::vector<std::string>> commandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

// Standard output takes bytes as they are already.
bool useBinaryStandardOutput() {
    return true;
}

} // namespace tavu
