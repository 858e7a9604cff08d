#include "formats/code_page.h"

#include <gtest/gtest.h>

#include <iconv.h>
#include <utility>

namespace tavu::test {
namespace {

struct CodePageCase {
    const char* what;
    CodePage page;
    std::string text;    // UTF-8 that the code page holds
    std::string bytes;   // the text in the code page
    std::string foreign; // "abc" and a character the code page cannot hold
    char32_t character;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const CodePageCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class CodePages : public testing::TestWithParam<CodePageCase> {};

TEST_P(CodePages, EncodeAndDecode) {
    const Conversion encoded = encodeUtf8(GetParam().text, GetParam().page);
    ASSERT_FALSE(encoded.failure);
    EXPECT_EQ(encoded.bytes, GetParam().bytes);
    const Conversion decoded = decodeToUtf8(GetParam().bytes, GetParam().page);
    ASSERT_FALSE(decoded.failure);
    EXPECT_EQ(decoded.bytes, GetParam().text);
}

TEST_P(CodePages, ACharacterItCannotHoldIsAFailureNeverASubstitute) {
    const Conversion encoded = encodeUtf8(GetParam().foreign, GetParam().page);
    ASSERT_TRUE(encoded.failure);
    EXPECT_EQ(encoded.failure->character, GetParam().character);
    EXPECT_EQ(encoded.failure->offset, 3u);
    EXPECT_FALSE(encoded.failure->malformed);
    EXPECT_EQ(encoded.bytes, "");
}

// The no-break space of the default item prefix is byte 0xA0 in every code page here.
INSTANTIATE_TEST_SUITE_P(
    Cases, CodePages,
    testing::Values(CodePageCase{"Windows1251", CodePage::Windows1251, ".::\u00A0Ник Ёё №",
                                 ".::\xA0\xCD\xE8\xEA \xA8\xB8 \xB9", "abc\u00E9", U'\u00E9'},
                    CodePageCase{"Windows1252", CodePage::Windows1252, ".::\u00A0café €‘Ÿ",
                                 ".::\xA0\x63\x61\x66\xE9 \x80\x91\x9F", "abcЖ", U'Ж'},
                    CodePageCase{"Iso8859_1", CodePage::Iso8859_1, ".::\u00A0café ÿ",
                                 ".::\xA0\x63\x61\x66\xE9 \xFF", "abc€", U'€'},
                    CodePageCase{"Windows1250", CodePage::Windows1250, ".::\u00A0Żółć Őő ŠŤ €",
                                 ".::\xA0\xAF\xF3\xB3\xE6 \xD5\xF5 \x8A\x8D \x80", "abcЖ", U'Ж'},
                    CodePageCase{"Iso8859_2", CodePage::Iso8859_2, ".::\u00A0Żółć Őő ŠŤ",
                                 ".::\xA0\xAF\xF3\xB3\xE6 \xD5\xF5 \xA9\xAB", "abc€", U'€'}),
    [](const auto& info) { return std::string(info.param.what); });

// Every byte of every single-byte code page (all but the first, UTF-8) compared
// with the C library's own conversion, where it has one.
TEST(CodePageTables, AgreeWithIconvOnEveryByte) {
    for (CodePage page : allCodePages().subspan(1)) {
        const std::string name(codePageName(page));
        const iconv_t converter = iconv_open("UTF-8", name.c_str());
        if (converter == reinterpret_cast<iconv_t>(-1)) {
            GTEST_SKIP() << "iconv knows no " << name;
        }
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            char in = static_cast<char>(byte);
            char out[8] = {};
            char* inPointer = &in;
            char* outPointer = out;
            std::size_t inLeft = 1;
            std::size_t outLeft = sizeof out;
            const bool iconvHolds =
                iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<std::size_t>(-1);
            const Conversion ours = decodeToUtf8(std::string(1, in), page);
            if (iconvHolds) {
                EXPECT_EQ(ours.bytes, std::string(out, outPointer)) << name << " byte " << byte;
            } else {
                EXPECT_TRUE(ours.failure) << name << " byte " << byte;
            }
        }
        iconv_close(converter);
    }
}

TEST(CodePageConversion, MalformedInputIsNamedByItsByte) {
    for (CodePage page : allCodePages()) {
        const Conversion fromBrokenUtf8 =
            page == CodePage::Utf8 ? decodeToUtf8("ab\xC3(", page) : encodeUtf8("ab\xC3(", page);
        ASSERT_TRUE(fromBrokenUtf8.failure) << codePageName(page);
        EXPECT_TRUE(fromBrokenUtf8.failure->malformed);
        EXPECT_EQ(fromBrokenUtf8.failure->offset, 2u);
        EXPECT_EQ(fromBrokenUtf8.failure->character, 0xC3u);
    }
    EXPECT_TRUE(decodeToUtf8("\xED\xA0\x80", CodePage::Utf8).failure) << "a surrogate is not UTF-8";
    EXPECT_TRUE(decodeToUtf8("\xC0\xAF", CodePage::Utf8).failure) << "an overlong form is not UTF-8";
    EXPECT_EQ(encodeUtf8("\xF0\x9F\x98\x80", CodePage::Windows1252).failure->character, U'\U0001F600');
}

TEST(CodePageConversion, Utf8PassesThroughUnchanged) {
    const std::string text = "\xC2\xA0 Ник \xF0\x9F\x98\x80";
    EXPECT_EQ(encodeUtf8(text, CodePage::Utf8).bytes, text);
}

TEST(CodePageNames, CanonicalNamesAndAliasesInAnyCase) {
    for (CodePage page : allCodePages()) {
        EXPECT_EQ(codePageByName(codePageName(page)), page);
    }
    constexpr std::pair<std::string_view, CodePage> kAliases[] = {
        {"UTF8", CodePage::Utf8},           {"cp1250", CodePage::Windows1250},
        {"CP1251", CodePage::Windows1251},  {"cp1252", CodePage::Windows1252},
        {"iso8859-1", CodePage::Iso8859_1}, {"ISO_8859-1", CodePage::Iso8859_1},
        {"Latin1", CodePage::Iso8859_1},    {"latin-1", CodePage::Iso8859_1},
        {"iso8859-2", CodePage::Iso8859_2}, {"iso_8859-2", CodePage::Iso8859_2},
        {"Latin2", CodePage::Iso8859_2},    {"latin-2", CodePage::Iso8859_2}};
    for (const auto& [alias, page] : kAliases) {
        EXPECT_EQ(codePageByName(alias), page) << alias;
    }
    EXPECT_EQ(codePageByName("koi8-r"), std::nullopt);
    EXPECT_EQ(describeCharacter(U'Ж'), "U+0416 (Ж)");
    EXPECT_EQ(describeCharacter(0x85), "U+0085");
}

} // namespace
} // namespace tavu::test
