#include "base/text.h"

#include <gtest/gtest.h>

namespace tavu {
namespace {

TEST(Text, Windows1252BytesBecomeTheirCharacters) {
    EXPECT_EQ(windows1252ToUtf8("a\xA0"
                                "b"),
              "a\xC2\xA0"
              "b");
    EXPECT_EQ(windows1252ToUtf8("\x80"), "\xE2\x82\xAC");
    EXPECT_EQ(windows1252ToUtf8("\xE9"), "\xC3\xA9");
}

TEST(Text, Utf8Validation) {
    EXPECT_TRUE(isValidUtf8("plain \xC2\xA0 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    for (std::string_view bad :
         {"\xA0", "\xC2", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE2\x82"}) {
        EXPECT_FALSE(isValidUtf8(bad)) << testing::PrintToString(bad);
    }
}

TEST(Text, FirstCharactersNeverSplitsACharacter) {
    EXPECT_EQ(firstCharacters("a\xC2\xA0"
                              "b",
                              2),
              "a\xC2\xA0");
    EXPECT_EQ(firstCharacters("abc", 10), "abc");
}

// A character that the end cuts short is left for the next piece; a whole one,
// or a byte that starts none, is not.
TEST(Text, WholeUtf8LengthLeavesOutACharacterCutShort) {
    const std::pair<std::string_view, std::size_t> cases[] = {
        {"", 0},
        {"ab", 2},
        {"a\xD0", 1},
        {"a\xD0\x96", 3},
        {"a\xE2\x82", 1},
        {"a\xE2\x82\xAC", 4},
        {"a\xF0\x9F\x98", 1},
        {"a\xF0\x9F\x98\x80", 5},
        {"\x80\x80\x80\x80", 4},
    };
    for (const auto& [bytes, length] : cases) {
        EXPECT_EQ(wholeUtf8Length(bytes), length) << testing::PrintToString(bytes);
    }
}

} // namespace
} // namespace tavu
