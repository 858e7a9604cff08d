#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tavu {

// The program's arguments as UTF-8, as the rest of the program takes all text:
// on POSIX systems `argv` as it is; on Windows, where `argv` holds them in the
// ANSI code page, which cannot hold every file name, the wide command line.
// None when they cannot be read as Unicode text.
std::optional<std::vector<std::string>> commandLineArguments(int argc, char** argv);

// Makes standard output take bytes as they are, so that a block goes out byte
// for byte: no "\n" becomes "\r\n" on Windows. False when it cannot.
[[nodiscard]] bool useBinaryStandardOutput();

} // namespace tavu
