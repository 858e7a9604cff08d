#include "formats/text.h"

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

} // namespace
} // namespace tavu
