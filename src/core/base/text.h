#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tavu {

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b);
std::string toLowerAscii(std::string_view text);

// Drops the characters of `set` from both ends.
std::string_view trimmed(std::string_view text, std::string_view set);
inline constexpr std::string_view kSpaceAndTab = " \t";
// ASCII white space; the no-break space is not among it.
inline constexpr std::string_view kAsciiWhiteSpace = " \t\r\n\v\f";

// One character of UTF-8 text; length 0 where the bytes at `at` are not UTF-8
// (overlong forms, surrogates and values past U+10FFFF are not).
struct Utf8Character {
    char32_t value = 0;
    std::size_t length = 0;
};
Utf8Character decodeUtf8Character(std::string_view text, std::size_t at);
void appendUtf8(std::string& out, char32_t c);

bool isValidUtf8(std::string_view bytes);
// Text written by a single-byte Windows build: each byte becomes its
// windows-1252 character, 0xA0 the no-break space.
std::string windows1252ToUtf8(std::string_view bytes);
// UTF-16 text (without its byte-order mark) as UTF-8; an unpaired surrogate or a
// trailing odd byte becomes U+FFFD.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
// At most `count` characters of valid UTF-8 text, never splitting a character.
std::string_view firstCharacters(std::string_view utf8, std::size_t count);
// The length of `bytes` without the start of a UTF-8 character that its end
// cuts short: what can be converted now when the rest is still to come.
std::size_t wholeUtf8Length(std::string_view bytes);

} // namespace tavu
