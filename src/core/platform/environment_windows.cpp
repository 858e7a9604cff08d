#include "platform/environment.h"

#include "platform/path_text.h"

#include <windows.h>

#include <filesystem>

namespace tavu {

std::optional<std::string> environmentText(const char* name) {
    const std::wstring wideName(name, name + std::char_traits<char>::length(name)); // an ASCII name
    const DWORD size = ::GetEnvironmentVariableW(wideName.c_str(), nullptr, 0);
    if (size <= 1) {
        return std::nullopt;
    }
    std::wstring value(size, L'\0');
    const DWORD length = ::GetEnvironmentVariableW(wideName.c_str(), value.data(), size);
    // Changed by another thread in between: taken as unset rather than cut short.
    if (length == 0 || length >= size) {
        return std::nullopt;
    }
    value.resize(length);
    // UTF-16 as a name's is read, an unpaired surrogate becoming U+FFFD.
    return utf8FromPath(std::filesystem::path(std::move(value)));
}

} // namespace tavu
