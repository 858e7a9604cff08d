#pragma once

// File names for writing one file per profile into a folder, made from the
// profile names so that no two of them are the same file on any common file
// system.

#include <string>
#include <string_view>
#include <vector>

namespace tavu {

inline constexpr std::string_view kExportExtension = ".txt";

// A profile name as the stem of a file name that every common file system
// accepts: characters that Windows, macOS or Linux forbid or treat specially
// become "_", dots and spaces at either end are dropped, a Windows device name
// (CON, NUL, COM1, ...) gets a leading "_", the length is bounded without
// splitting a character, and an empty result becomes "profile".
std::string safeFileStem(std::string_view profileName);

// One file name per profile, in order: its safe stem with the extension, and
// " (2)", " (3)", ... (the first number free) where an earlier name has the
// same folded name.
std::vector<std::string> exportFileNames(const std::vector<std::string>& profileNames);

} // namespace tavu
