#pragma once

// Writing one file per profile into a folder: file names made from profile
// names, and files replaced whole without ever writing outside the folder.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

inline constexpr std::string_view kExportExtension = ".txt";

// A profile name as the stem of a file name that every common file system
// accepts: characters that Windows, macOS or Linux forbid or treat specially
// become "_", dots and spaces at either end are dropped, a Windows device name
// (CON, NUL, COM1, ...) gets a leading "_", the length is bounded, and an empty
// result becomes "profile".
std::string safeFileStem(std::string_view profileName);

// One file name per profile, in order: its safe stem with the extension, and
// " (2)", " (3)", ... added where an earlier name is the same without regard to
// letter case.
std::vector<std::string> exportFileNames(const std::vector<std::string>& profileNames);

// Writes `bytes` as the file `name` in `folder`: to a new temporary file there,
// then renamed over the name. An existing file is replaced, never written into,
// so a symbolic link of that name is replaced by the file and whatever it
// pointed to stays untouched. Returns a message on failure, empty on success;
// a failed write leaves nothing behind.
std::string replaceFileInFolder(const std::filesystem::path& folder, const std::string& name,
                                std::string_view bytes);

} // namespace tavu
