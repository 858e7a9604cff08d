#include "platform/path_text.h"

#include "base/text.h"

#include <cstdint>

namespace tavu {

namespace {

// Windows: a path holds UTF-16 code units.
constexpr bool kNamesAreUtf16 = sizeof(std::filesystem::path::value_type) == sizeof(char16_t);

// UTF-16 code units as the little-endian bytes that utf16ToUtf8 reads.
template <typename Units>
std::string littleEndianBytes(const Units& units) {
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (const auto unit : units) {
        const auto value = static_cast<std::uint16_t>(unit);
        bytes += static_cast<char>(value & 0xFF);
        bytes += static_cast<char>(value >> 8);
    }
    return bytes;
}

std::string withInvalidBytesReplaced(std::string_view bytes) {
    constexpr char32_t kReplacementCharacter = 0xFFFD;
    std::string valid;
    valid.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = decodeUtf8Character(bytes, i).length;
        if (length == 0) {
            appendUtf8(valid, kReplacementCharacter);
            ++i;
        } else {
            valid += bytes.substr(i, length);
            i += length;
        }
    }
    return valid;
}

} // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8) {
    if (kNamesAreUtf16 && !isValidUtf8(utf8)) {
        const std::string valid = withInvalidBytesReplaced(utf8);
        return std::u8string(valid.begin(), valid.end());
    }
    return std::u8string(utf8.begin(), utf8.end());
}

std::string utf8FromPath(const std::filesystem::path& path) {
    if constexpr (kNamesAreUtf16) {
        return utf16ToUtf8(littleEndianBytes(path.native()), false);
    }
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

} // namespace tavu
