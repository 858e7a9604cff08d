#pragma once

// The single-byte code pages some hubs read their files in, next to UTF-8, the
// program's own encoding of text.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavu {

enum class CodePage { Utf8, Windows1250, Windows1251, Windows1252, Iso8859_1, Iso8859_2 };

// The canonical names, such as "windows-1251", in a fixed order.
std::span<const CodePage> allCodePages();
std::string_view codePageName(CodePage page);
// The canonical name or a common alias ("cp1250", "latin2", "utf8"), in any
// letter case.
std::optional<CodePage> codePageByName(std::string_view name);

// Where a conversion gave up: the byte offset in its input and the character
// there. For input that is not valid in its own encoding the character is the
// offending byte and `malformed` is set.
struct ConversionFailure {
    std::size_t offset = 0;
    char32_t character = 0;
    bool malformed = false;
};

struct [[nodiscard]] Conversion {
    std::string bytes; // the whole text, when there is no failure
    std::optional<ConversionFailure> failure;
};

// UTF-8 text in the code page. A character that the code page cannot hold is a
// failure, never a substitute; UTF-8 itself is passed through unchanged.
Conversion encodeUtf8(std::string_view utf8, CodePage page);
// Text in the code page as UTF-8; a byte that the code page leaves unassigned is
// a failure, and so is malformed input for UTF-8.
Conversion decodeToUtf8(std::string_view bytes, CodePage page);

// The characters of UTF-8 text; empty when the text is not UTF-8.
std::optional<std::u32string> codePointsOfUtf8(std::string_view utf8);
std::string utf8OfCodePoints(std::u32string_view codePoints);

// "U+0416 (Ж)", with the character itself left out when it is a control character.
std::string describeCharacter(char32_t character);

// A byte as the messages write it: "0xHH".
std::string byteText(char32_t byte);

} // namespace tavu
