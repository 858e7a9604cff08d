#include "platform/executable_folder.h"

#include <windows.h>

#include <string>

namespace tavu {

// Paths longer than MAX_PATH are allowed; a path that does not fit even this
// is given up on rather than grown without end.
constexpr DWORD kLongestPath = 32768;

std::filesystem::path executableFolder() {
    std::wstring name(kLongestPath, L'\0');
    const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), kLongestPath);
    if (length == 0 || length >= kLongestPath) {
        return {};
    }
    name.resize(length);
    return std::filesystem::path(name).parent_path();
}

std::filesystem::path userSettingsFolder() {
    return executableFolder();
}

} // namespace tavu
