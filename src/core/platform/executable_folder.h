#pragma once

#include <filesystem>

namespace tavu {

// The folder of the running program, where a portable settings file and the
// languages of a build or an unpacked archive lie; empty when it cannot be
// known.
std::filesystem::path executableFolder();

} // namespace tavu
