#include "formats/code_page.h"

#include "base/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>

namespace tavu {

namespace {

// The characters at bytes 0x80..0xFF; 0 marks a byte the code page leaves unassigned.
using HighHalf = std::array<char16_t, 128>;

constexpr HighHalf kWindows1251{
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039, 0x040A,
    0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6,
    0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456,
    0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410,
    0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D,
    0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A,
    0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444,
    0x0445, 0x0446, 0x0447, 0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

constexpr HighHalf makeWindows1252() {
    constexpr std::array<char16_t, 32> k80To9F{
        0x20AC, 0x0000, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x0000, 0x017D, 0x0000, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x0000, 0x017E, 0x0178};
    HighHalf table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = i < k80To9F.size() ? k80To9F[i] : static_cast<char16_t>(0x80 + i);
    }
    return table;
}
constexpr HighHalf kWindows1252 = makeWindows1252();

constexpr HighHalf makeIso8859_1() {
    HighHalf table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<char16_t>(0x80 + i);
    }
    return table;
}
constexpr HighHalf kIso8859_1 = makeIso8859_1();

// Windows-1250 and ISO-8859-2 share the Central European letters at 0xC0..0xFF
// and differ below them.
constexpr std::array<char16_t, 64> kCentralEuropeanC0ToFF{
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A,
    0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E,
    0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107,
    0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3,
    0x00F4, 0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9};

constexpr HighHalf centralEuropean(const std::array<char16_t, 64>& k80ToBF) {
    HighHalf table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = i < k80ToBF.size() ? k80ToBF[i] : kCentralEuropeanC0ToFF[i - k80ToBF.size()];
    }
    return table;
}

constexpr HighHalf kWindows1250 = centralEuropean(
    {0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, 0x0000, 0x2030, 0x0160, 0x2039, 0x015A,
     0x0164, 0x017D, 0x0179, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
     0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
     0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
     0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C});

// 0x80..0x9F are the C1 control characters, as in ISO-8859-1.
constexpr HighHalf kIso8859_2 = centralEuropean(
    {0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B, 0x008C,
     0x008D, 0x008E, 0x008F, 0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097, 0x0098, 0x0099,
     0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, 0x00A0, 0x0104, 0x02D8, 0x0141, 0x00A4, 0x013D, 0x015A,
     0x00A7, 0x00A8, 0x0160, 0x015E, 0x0164, 0x0179, 0x00AD, 0x017D, 0x017B, 0x00B0, 0x0105, 0x02DB, 0x0142,
     0x00B4, 0x013E, 0x015B, 0x02C7, 0x00B8, 0x0161, 0x015F, 0x0165, 0x017A, 0x02DD, 0x017E, 0x017C});

const HighHalf& highHalf(CodePage page) {
    switch (page) {
    case CodePage::Windows1250:
        return kWindows1250;
    case CodePage::Windows1251:
        return kWindows1251;
    case CodePage::Windows1252:
        return kWindows1252;
    case CodePage::Iso8859_2:
        return kIso8859_2;
    case CodePage::Iso8859_1:
    case CodePage::Utf8:
        break;
    }
    return kIso8859_1;
}

struct NamedCodePage {
    std::string_view name;
    CodePage page;
};
// The canonical name of each code page comes first.
constexpr std::array<NamedCodePage, 18> kNames{{
    {"utf-8", CodePage::Utf8},
    {"windows-1250", CodePage::Windows1250},
    {"windows-1251", CodePage::Windows1251},
    {"windows-1252", CodePage::Windows1252},
    {"iso-8859-1", CodePage::Iso8859_1},
    {"iso-8859-2", CodePage::Iso8859_2},
    {"utf8", CodePage::Utf8},
    {"cp1250", CodePage::Windows1250},
    {"cp1251", CodePage::Windows1251},
    {"cp1252", CodePage::Windows1252},
    {"iso8859-1", CodePage::Iso8859_1},
    {"iso_8859-1", CodePage::Iso8859_1},
    {"latin1", CodePage::Iso8859_1},
    {"latin-1", CodePage::Iso8859_1},
    {"iso8859-2", CodePage::Iso8859_2},
    {"iso_8859-2", CodePage::Iso8859_2},
    {"latin2", CodePage::Iso8859_2},
    {"latin-2", CodePage::Iso8859_2},
}};
constexpr std::array<CodePage, 6> kAllCodePages{CodePage::Utf8,        CodePage::Windows1250,
                                                CodePage::Windows1251, CodePage::Windows1252,
                                                CodePage::Iso8859_1,   CodePage::Iso8859_2};

std::optional<char> byteFor(char32_t character, const HighHalf& table) {
    if (character < 0x80) {
        return static_cast<char>(character);
    }
    const auto found = std::find(table.begin(), table.end(), character);
    if (character > 0xFFFF || found == table.end()) {
        return std::nullopt;
    }
    return static_cast<char>(0x80 + (found - table.begin()));
}

Conversion failedAt(std::size_t offset, char32_t character, bool malformed) {
    return {{}, ConversionFailure{offset, character, malformed}};
}

} // namespace

std::span<const CodePage> allCodePages() {
    return kAllCodePages;
}

std::string_view codePageName(CodePage page) {
    return std::find_if(kNames.begin(), kNames.end(), [&](const NamedCodePage& n) { return n.page == page; })
        ->name;
}

std::optional<CodePage> codePageByName(std::string_view name) {
    for (const NamedCodePage& entry : kNames) {
        if (equalsIgnoringAsciiCase(entry.name, name)) {
            return entry.page;
        }
    }
    return std::nullopt;
}

Conversion encodeUtf8(std::string_view utf8, CodePage page) {
    if (page == CodePage::Utf8) {
        return {std::string(utf8), std::nullopt};
    }
    const HighHalf& table = highHalf(page);
    Conversion result;
    result.bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Character decoded = decodeUtf8Character(utf8, i);
        if (decoded.length == 0) {
            return failedAt(i, static_cast<std::uint8_t>(utf8[i]), true);
        }
        const auto byte = byteFor(decoded.value, table);
        if (!byte) {
            return failedAt(i, decoded.value, false);
        }
        result.bytes += *byte;
        i += decoded.length;
    }
    return result;
}

Conversion decodeToUtf8(std::string_view bytes, CodePage page) {
    if (page == CodePage::Utf8) {
        for (std::size_t i = 0; i < bytes.size(); i += decodeUtf8Character(bytes, i).length) {
            if (decodeUtf8Character(bytes, i).length == 0) {
                return failedAt(i, static_cast<std::uint8_t>(bytes[i]), true);
            }
        }
        return {std::string(bytes), std::nullopt};
    }
    const HighHalf& table = highHalf(page);
    Conversion result;
    result.bytes.reserve(bytes.size() + bytes.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(bytes[i]);
        const char32_t character = byte < 0x80 ? byte : table[byte - 0x80];
        if (character == 0 && byte != 0) {
            return failedAt(i, byte, true);
        }
        appendUtf8(result.bytes, character);
    }
    return result;
}

std::optional<std::u32string> codePointsOfUtf8(std::string_view utf8) {
    std::u32string codePoints;
    for (std::size_t i = 0; i < utf8.size();) {
        const Utf8Character decoded = decodeUtf8Character(utf8, i);
        if (decoded.length == 0) {
            return std::nullopt;
        }
        codePoints += decoded.value;
        i += decoded.length;
    }
    return codePoints;
}

std::string utf8OfCodePoints(std::u32string_view codePoints) {
    std::string utf8;
    for (char32_t c : codePoints) {
        appendUtf8(utf8, c);
    }
    return utf8;
}

std::string describeCharacter(char32_t character) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(character));
    std::string text(code);
    if (character >= 0x20 && character != 0x7F && !(character >= 0x80 && character < 0xA0)) {
        text += " (";
        appendUtf8(text, character);
        text += ')';
    }
    return text;
}

std::string byteText(char32_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
}

} // namespace tavu
