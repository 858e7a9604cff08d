#include "settings/menu_changes_file.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace tavu {
namespace {

MenuChanges sample() {
    MenuChanges changes;
    changes.itemsOff = {{"wUserControl\\wKennylize", {{"Regular"}}}, {"wInformation\\wTraffic", {}}};
    OwnItem rules;
    rules.path = "Rules";
    rules.command = "  +rules \"now\"  ";
    OwnItem restart;
    restart.path = "{wHubControl}\\Scripts\\Restart";
    restart.menus = OwnItemMenus::Hub;
    restart.command = "+restart %[line:Reason]";
    restart.profiles.names = {"Owner", "Operator"};
    restart.otherKeys = {{"Note", "asked for by the hub's owner"}};
    OwnItem separator;
    separator.separator = true;
    separator.menus = OwnItemMenus::UserList;
    separator.profiles.none = true; // switched off for every profile
    changes.ownItems = {rules, restart, separator};
    return changes;
}

MenuChangesRead readBack(const MenuChanges& changes, const std::string& before = {}) {
    IniFile file = IniFile::parse(before);
    writeMenuChanges(changes, file);
    return readMenuChanges(IniFile::parse(file.text()));
}

TEST(MenuChangesFile, WhatIsWrittenReadsBackTheSame) {
    const MenuChangesRead read = readBack(sample());
    EXPECT_EQ(read.changes, sample());
    EXPECT_TRUE(read.problems.empty());
}

TEST(MenuChangesFile, TheSectionsReadAsAPersonWritesThem) {
    const MenuChangesRead read =
        readMenuChanges(IniFile::parse("[items OFF]\nwUserControl=Regular | VIP\n"
                                       "[Own item 10]\nPath=Second\nCommand=+b\n"
                                       "[own item 2]\npath=First\ncommand=+a\nmenus=USER\n"
                                       "[Own item x]\nPath=Not an item\n"));
    ASSERT_EQ(read.changes.itemsOff.size(), 1u);
    EXPECT_EQ(read.changes.itemsOff[0].profiles.names, (std::vector<std::string>{"Regular", "VIP"}));
    ASSERT_EQ(read.changes.ownItems.size(), 2u);
    EXPECT_EQ(read.changes.ownItems[0].path, "First");
    EXPECT_EQ(read.changes.ownItems[0].menus, OwnItemMenus::UserList);
    EXPECT_EQ(read.changes.ownItems[1].path, "Second");
    EXPECT_TRUE(read.changes.ownItems[1].profiles.names.empty());
}

// An unreadable value leaves the item out of the menu, is reported, and a save
// writes it back as it was; other sections and keys keep their place.
TEST(MenuChangesFile, NothingTheOperatorWroteIsLostBySaving) {
    const std::string before =
        "[Settings]\nsClear=0\n[Own item 1]\nPath=Rules\nMenus=everywhere\nCommand=+rules\n"
        "Colour=red\n[Own item x]\nPath=kept\n[Strings]\nwNick=Nick\n";
    const MenuChangesRead read = readMenuChanges(IniFile::parse(before));
    ASSERT_EQ(read.changes.ownItems.size(), 1u);
    EXPECT_NE(ownItemProblem(read.changes.ownItems[0]), "");
    ASSERT_EQ(read.problems.size(), 2u);
    EXPECT_NE(read.problems[0].find("[Own item x] is not read"), std::string::npos);
    EXPECT_NE(read.problems[1].find("\"everywhere\" is not hub, user or both"), std::string::npos);

    IniFile file = IniFile::parse(before);
    writeMenuChanges(read.changes, file);
    EXPECT_EQ(file.value("Own item 1", "Menus"), "everywhere");
    EXPECT_EQ(file.value("Own item 1", "Colour"), "red");
    EXPECT_EQ(file.value("Own item x", "Path"), "kept");
    EXPECT_EQ(file.value("Settings", "sClear"), "0");
    EXPECT_EQ(file.value("Strings", "wNick"), "Nick");
    EXPECT_EQ(readMenuChanges(IniFile::parse(file.text())).changes, read.changes);

    OwnItem edited = read.changes.ownItems[0];
    forgetUnreadValues(edited);
    EXPECT_EQ(ownItemProblem(edited), "");
    EXPECT_EQ(readBack({{edited}, {}}).changes.ownItems[0].menus, OwnItemMenus::Both);
}

// Each section named as an own item's is read, or named in a problem and kept
// by a save: two files pasted together, a number of any size.
TEST(MenuChangesFile, NoOwnItemSectionIsDroppedInSilence) {
    const std::vector<std::string> unread = {"Own item +6", "Own item -7", "Own item  8", "Own item 1e3"};
    std::string text = "[Own item 1]\nPath=A\nCommand=+a\n[Own item 999999999999]\nPath=C\nCommand=+c\n"
                       "[own item 1]\nPath=B\nCommand=+b\n";
    for (const std::string& name : unread) {
        text += "[" + name + "]\nPath=X\n";
    }
    IniFile file = IniFile::parse(text);
    const MenuChangesRead read = readMenuChanges(file);
    ASSERT_EQ(read.changes.ownItems.size(), 3u);
    EXPECT_EQ(read.changes.ownItems[1].path + read.changes.ownItems[2].path, "BC");
    ASSERT_EQ(read.problems.size(), unread.size());
    writeMenuChanges(read.changes, file);
    for (std::size_t i = 0; i < unread.size(); ++i) {
        EXPECT_NE(read.problems[i].find("[" + unread[i] + "] is not read"), std::string::npos);
        EXPECT_EQ(file.value(unread[i], "Path"), "X");
    }
    EXPECT_EQ(readMenuChanges(file).changes, read.changes);
}

// The window saves through writeMenuChanges: the sections are written anew,
// none left beside them, and each comment stays above the line it stood above.
TEST(MenuChangesFile, ASaveKeepsCommentsInPlaceAndNoOldSection) {
    IniFile file = IniFile::parse("[Items off]\n; ops only\nwUserControl=Regular\n; end\n"
                                  "[Own item 2]\nPath=Restart\n; asked for\ncommand=+restart\n\n"
                                  "[Own item 1]\nPath=Rules\nCommand=+rules\n");
    writeMenuChanges(readMenuChanges(file).changes, file);
    EXPECT_EQ(file.text(),
              "[Items off]\n; ops only\nwUserControl=Regular\n; end\n"
              "[Own item 1]\nPath=Rules\nMenus=both\nCommand=+rules\nProfiles=*\n"
              "[Own item 2]\nPath=Restart\nMenus=both\n; asked for\nCommand=+restart\nProfiles=*\n\n");
}

TEST(MenuChangesFile, NoChangesLeaveAFileWithoutTheSectionsAsItWas) {
    const std::string before = "[Settings]\r\nsClear=0\r\n";
    IniFile file = IniFile::parse(before);
    writeMenuChanges({}, file);
    EXPECT_EQ(file.text(), before);
}

TEST(MenuChangesFile, ExportThenImportGivesTheSameChanges) {
    const test::TemporaryFolder folder("tavu-items-");
    const auto path = folder / "items.ini";
    ASSERT_TRUE(writeMenuChangesFile(sample(), path).ok());
    const auto read = readMenuChangesFile(path);
    std::filesystem::remove(path);
    ASSERT_TRUE(read.ok());
    EXPECT_EQ(read->changes, sample());
    EXPECT_FALSE(readMenuChangesFile(path).ok());
}

} // namespace
} // namespace tavu
