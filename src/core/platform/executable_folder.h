#pragma once

#include <filesystem>

namespace tavu {

// The folder of the running program, where a portable settings file and the
// languages of a build or an unpacked archive lie; empty when it cannot be
// known.
std::filesystem::path executableFolder();

// Where the program keeps its settings when no settings file lies beside it:
// on POSIX systems the user's configuration folder ($XDG_CONFIG_HOME when it
// is an absolute path, else ~/.config) with "tavu" in it; on Windows the
// program's own folder, where its INI file has always been kept.
std::filesystem::path userSettingsFolder();

} // namespace tavu
