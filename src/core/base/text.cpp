#include "base/text.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tavu {

namespace {

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

constexpr char32_t kReplacementCharacter = 0xFFFD;

// The characters windows-1252 puts at 0x80..0x9F; the five unassigned bytes keep
// their ISO-8859-1 control characters.
constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// What the first byte of a UTF-8 sequence says: its length, the bits it holds
// and the smallest character a sequence of that length may encode.
struct LeadByte {
    std::size_t length = 0; // 0 for a byte that starts no sequence
    char32_t bits = 0;
    char32_t lowest = 0;
};

LeadByte readLeadByte(char32_t lead) {
    if (lead < 0x80) {
        return {1, lead, 0};
    }
    if (lead >= 0xC0 && lead <= 0xDF) {
        return {2, lead & 0x1F, 0x80};
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return {3, lead & 0x0F, 0x800};
    }
    if (lead >= 0xF0 && lead <= 0xF7) {
        return {4, lead & 0x07, 0x10000};
    }
    return {};
}

} // namespace

// One character of UTF-8 text: overlong forms, surrogates and values past
// U+10FFFF are not UTF-8.
Utf8Character decodeUtf8Character(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t k) {
        return static_cast<char32_t>(static_cast<std::uint8_t>(text[at + k]));
    };
    const auto [length, bits, lowest] = readLeadByte(byte(0));
    if (length == 0 || at + length > text.size()) {
        return {};
    }
    char32_t character = bits;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(k) & 0xC0) != 0x80) {
            return {};
        }
        character = (character << 6) | (byte(k) & 0x3F);
    }
    if (character < lowest || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF)) {
        return {};
    }
    return {character, length};
}

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

std::string toLowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), lowerAscii);
    return lower;
}

std::string_view trimmed(std::string_view text, std::string_view set) {
    const auto first = text.find_first_not_of(set);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(set);
    return text.substr(first, last - first + 1);
}

bool isValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = decodeUtf8Character(bytes, i).length;
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

std::size_t wholeUtf8Length(std::string_view bytes) {
    // A character is at most four bytes: its lead byte is among the last three
    // when its end is missing.
    for (std::size_t back = 1; back <= std::min<std::size_t>(3, bytes.size()); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) != 0x80) {
            const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return length > back ? bytes.size() - back : bytes.size();
        }
    }
    return bytes.size();
}

std::string windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 4);
    for (char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (byte >= 0x80 && byte < 0xA0) {
            appendUtf8(out, kWindows1252High[byte - 0x80]);
        } else {
            appendUtf8(out, byte);
        }
    }
    return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unitAt = [&](std::size_t i) -> char16_t {
        const auto first = static_cast<std::uint8_t>(bytes[i]);
        const auto second = static_cast<std::uint8_t>(bytes[i + 1]);
        return static_cast<char16_t>(bigEndian ? (first << 8 | second) : (second << 8 | first));
    };
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char16_t unit = unitAt(i);
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 3 < bytes.size()) {
            const char16_t low = unitAt(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((static_cast<char32_t>(unit) - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(out, (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacementCharacter : unit);
    }
    if (i < bytes.size()) {
        appendUtf8(out, kReplacementCharacter);
    }
    return out;
}

std::string_view firstCharacters(std::string_view utf8, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t n = 0; n < count && i < utf8.size(); ++n) {
        const std::size_t length = decodeUtf8Character(utf8, i).length;
        i += length == 0 ? 1 : length;
    }
    return utf8.substr(0, i);
}

} // namespace tavu
