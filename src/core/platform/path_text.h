#pragma once

// File names as the core's text and back. The core holds all text as UTF-8;
// POSIX systems take a name as its bytes, so there both are identities, while
// Windows keeps names as UTF-16, which std::filesystem::path reads from a
// std::string in the ANSI code page, not as UTF-8. Every name that comes from
// text, or is shown or stored as text, goes through these.

#include <filesystem>
#include <string>
#include <string_view>

namespace tavu {

// On Windows, bytes that are not UTF-8 become U+FFFD (the library would throw).
std::filesystem::path pathFromUtf8(std::string_view utf8);
// On Windows, an unpaired surrogate, which names there may hold, becomes U+FFFD.
std::string utf8FromPath(const std::filesystem::path& path);

} // namespace tavu
