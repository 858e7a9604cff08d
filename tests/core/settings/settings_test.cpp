#include "formats/ini_file.h"
#include "platform/line_end.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "temporary_folder.h"
#include "vocabulary/vocabulary.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavu {
namespace {

TEST(Settings, NoFileGivesEveryDefault) {
    const Settings settings = readSettingsSection(IniFile{});
    EXPECT_EQ(settings.file, "");
    const GenerationOptions& o = settings.options;
    EXPECT_TRUE(o.anyUser && o.selectedUser && o.fastUserControl && o.menuMiscellaneous &&
                o.menuInformation && o.menuHubControl && o.menuAccounts && o.menuUserControl && o.clear &&
                o.message);
    EXPECT_FALSE(o.offsets);
}

TEST(Settings, KeysChangeOnlyTheirOwnOption) {
    const Settings settings =
        readSettingsSection(IniFile::parse("[Settings]\nsOffsets=1\nsClear=0\nsFile=/hub/profiles.xml\n"));
    GenerationOptions expected;
    expected.offsets = true;
    expected.clear = false;
    EXPECT_EQ(settings.options, expected);
    EXPECT_EQ(settings.file, "/hub/profiles.xml");
}

struct BooleanCase {
    const char* text;
    std::optional<bool> value;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BooleanCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.text);
}

class IniBoolean : public testing::TestWithParam<BooleanCase> {};

TEST_P(IniBoolean, Reads) {
    EXPECT_EQ(readIniBoolean(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, IniBoolean,
    testing::Values(BooleanCase{"1", true}, BooleanCase{"0", false}, BooleanCase{"2", true},
                    BooleanCase{"-1", true}, BooleanCase{"0x0", false}, BooleanCase{"0X1F", true},
                    BooleanCase{"$0", false}, BooleanCase{"$a", true}, BooleanCase{"+0", false},
                    BooleanCase{"yes", std::nullopt}, BooleanCase{"", std::nullopt},
                    BooleanCase{"true", std::nullopt}, BooleanCase{"1.0", std::nullopt},
                    BooleanCase{"0x", std::nullopt}, BooleanCase{"1 1", std::nullopt},
                    BooleanCase{"99999999999", std::nullopt}, BooleanCase{"0xFFFFFFFF", true}));

TEST(Settings, UnreadableValuesGiveTheDefault) {
    const Settings settings =
        readSettingsSection(IniFile::parse("[Settings]\nsMessage=yes\nsOffsets=maybe\nsClear=0x0\n"));
    EXPECT_TRUE(settings.options.message);
    EXPECT_FALSE(settings.options.offsets);
    EXPECT_FALSE(settings.options.clear);
}

TEST(Settings, SavedSectionHoldsExactlyTheTwelveKeysInOrder) {
    IniFile file = IniFile::parse("[Settings]\nsUnknown=5\nsClear=1\n[Strings]\nwNick=Nick\n");
    Settings settings;
    settings.file = "/hub/profiles.xml";
    settings.options.offsets = true;
    settings.options.message = false;
    writeSettingsSection(settings, file);
    EXPECT_EQ(file.text(), "[Strings]\nwNick=Nick\n[Settings]\nsFile=/hub/profiles.xml\nsAnyUser=1\n"
                           "sSelectedUser=1\nsFastUserControl=1\nsOffsets=1\nsMenuMiscellaneous=1\n"
                           "sMenuInformation=1\nsMenuHubControl=1\nsMenuAccounts=1\nsMenuUserControl=1\n"
                           "sClear=1\nsMessage=0\n");
    EXPECT_EQ(readSettingsSection(file), settings);
}

TEST(SettingsFile, UpdateCreatesTheFolderAndKeepsOtherSections) {
    const tavu::test::TemporaryFolder folder("tavu-settings-");
    const auto path = folder / "sub" / "TAVU.ini";
    EXPECT_EQ(readSettingsFile(path).value().text(), "");
    ASSERT_TRUE(updateSettingsFile(path, [](IniFile& file) {
                    file.replaceSection("Own", {{"a", "1"}});
                }).ok());
    Settings settings;
    settings.options.clear = false;
    Vocabulary vocabulary;
    vocabulary.setText(Word::wNick, "Nickname");
    ASSERT_TRUE(updateSettingsFile(path, [&](IniFile& file) {
                    writeSettingsSection(settings, file);
                    writeStringsSection(vocabulary, file);
                }).ok());
    const IniFile saved = readSettingsFile(path).value();
    EXPECT_EQ(saved.value("Own", "a"), "1");
    EXPECT_EQ(readSettingsSection(saved), settings);
    Vocabulary reloaded;
    readStringsSection(reloaded, saved);
    EXPECT_EQ(reloaded, vocabulary);
    const std::string end(systemLineEnd());
    const std::string own = "[Own]" + end + "a=1" + end;
    EXPECT_EQ(saved.text().find("[Settings]"), saved.text().find(own) + own.size());
}

} // namespace
} // namespace tavu
