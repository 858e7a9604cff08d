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

// The name as case-insensitive and normalising file systems (NTFS, APFS, HFS+)
// compare names: two names with the same key may be one file on one of them.
// Text that is not UTF-8 has its ASCII letters folded only.
std::string foldedFileName(std::string_view name);

// One file name per profile, in order: its safe stem with the extension, and
// " (2)", " (3)", ... (the first number free) where an earlier name has the
// same folded name.
std::vector<std::string> exportFileNames(const std::vector<std::string>& profileNames);

} // namespace tavu
