#include "formats/ini_file.h"
#include "vocabulary/vocabulary.h"

#include <gtest/gtest.h>

namespace tavu {
namespace {

TEST(Vocabulary, TableHoldsEveryWordOnceInCanonicalOrder) {
    const auto& table = wordTable();
    ASSERT_EQ(table.size(), 139u);
    EXPECT_EQ(table.front().key, "w0Coma");
    EXPECT_EQ(table[136].key, "wWorkpace");
    EXPECT_EQ(table[137].key, "wStartWith");
    EXPECT_EQ(table[137].defaultText, ".::\xC2\xA0");
    EXPECT_EQ(table[138].key, "wBotMessage");
    EXPECT_EQ(table[138].defaultText, "I have installed rightclick menu created by TAVU for you");
    // Alphabetical by "<key>Edit" without regard to case, so wAll follows wAllByProfile.
    for (std::size_t i = 1; i < 137; ++i) {
        const auto lower = [](std::string_view key) {
            std::string text(key);
            text += "edit";
            for (char& c : text) {
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            }
            return text;
        };
        EXPECT_LT(lower(table[i - 1].key), lower(table[i].key)) << table[i].key;
    }
    EXPECT_EQ(wordByKey("WNICK"), Word::wNick);
    EXPECT_EQ(wordByKey("wNope"), std::nullopt);
}

TEST(Vocabulary, LoadChangesOnlyTheKeysPresent) {
    Vocabulary vocabulary;
    readStringsSection(vocabulary,
                       IniFile::parse("[Strings]\nwNick=Nickname\nwKick=\nwBan=a|b$c\nwUnknown=x\n"));
    Vocabulary expected;
    expected.setText(Word::wNick, "Nickname");
    expected.setText(Word::wKick, "");
    expected.setText(Word::wBan, "a|b$c");
    EXPECT_EQ(vocabulary, expected);
}

TEST(Vocabulary, SaveWritesAll139KeysInOrderAndDropsUnknownOnes) {
    IniFile file = IniFile::parse("[Strings]\nwUnknown=x\nwNick=Old\n");
    Vocabulary vocabulary;
    vocabulary.setText(Word::wNick, "Nickname");
    writeStringsSection(vocabulary, file);
    const std::string text = file.text();
    EXPECT_EQ(text.find("wUnknown"), std::string::npos);
    EXPECT_TRUE(text.starts_with("[Strings]\nw0Coma=0 - Coma\nw1Sleeping=1 - Sleeping\n"))
        << text.substr(0, 80);
    EXPECT_TRUE(
        text.ends_with("wStartWith=.::\xC2\xA0\nwBotMessage=I have installed rightclick menu created by "
                       "TAVU for you\n"));
    Vocabulary reloaded;
    readStringsSection(reloaded, IniFile::parse(text));
    EXPECT_EQ(reloaded, vocabulary);
}

TEST(Vocabulary, ResetRestoresEveryDefault) {
    Vocabulary vocabulary;
    for (std::size_t i = 0; i < kWordCount; ++i) {
        vocabulary.setText(static_cast<Word>(i), "changed");
    }
    vocabulary.resetToDefaults();
    EXPECT_EQ(vocabulary, Vocabulary{});
}

TEST(Vocabulary, ItemPrefixNormalisationTurnsSpacesIntoNoBreakSpaces) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wStartWith, "> > ");
    vocabulary.setText(Word::wNick, "a b");
    vocabulary.normaliseItemPrefix();
    EXPECT_EQ(vocabulary.text(Word::wStartWith), ">\xC2\xA0>\xC2\xA0");
    EXPECT_EQ(vocabulary.text(Word::wNick), "a b");
}

TEST(Vocabulary, InputFilterDropsOnlyBarAndDollar) {
    EXPECT_FALSE(isAcceptedWordCharacter(U'|'));
    EXPECT_FALSE(isAcceptedWordCharacter(U'$'));
    for (char32_t c : {U'a', U' ', U'\t', U'\u00A0', U'\u20AC', U'&', U'%'}) {
        EXPECT_TRUE(isAcceptedWordCharacter(c));
    }
}

} // namespace
} // namespace tavu
