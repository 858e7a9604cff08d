#pragma once

// The files of the source tree that tests hold the program to: the language
// files, the documents.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>

namespace tavu::test {

// The bytes of a file of the source tree, such as "docs/translating.md"; empty,
// with a test failure added, when it cannot be read.
inline std::string sourceFileText(std::string_view relativePath) {
    const std::filesystem::path path = std::filesystem::path(TAVU_SOURCE_DIR) / relativePath;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        ADD_FAILURE() << "cannot read " << path;
        return {};
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

} // namespace tavu::test
