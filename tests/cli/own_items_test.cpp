// Own items and items switched off on the command line: the options of
// a run, the list of items and the export of the settings file's changes. Each
// test runs tavu-cli in a folder of its own, which is also the working folder.
#include "cli_run.h"
#include "support.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace tavu::test {
namespace {

class OwnItems : public testing::Test, public CliRun {
protected:
    void SetUp() override {
        ProfileBuilder owner;
        owner.enable("General/Information/MayShowHubInfo")
            .value("UserAdmin/UserControl/MayUseMuteUser")
            .value("UserAdmin/UserControl/MayUseKennylizeUser");
        std::ofstream("profiles.xml") << owner.xml("Owner");
        std::ofstream("plain.ini") << kSettings;
        std::ofstream("odd.ini")
            << "[Own item 1]\nPath=Odd\nProfiles=Owner|Ownr\nCommand=+odd\n[Own item +6]\n";
        std::ofstream("TAVU.ini") << kSettings << "[Items off]\nwUserControl\\wKennylize=Owner\n"
                                  << "[Own item 1]\nPath={wUserControl}\\Mine\nCommand=+mine %[line:Reason]\n"
                                  << "[Own item 2]\nPath=Rules\nMenus=hub\nCommand=+rules\nLater=kept\n";
    }
    using CliRun::run;
    // Runs a command on the profile with the options given.
    int run(const std::string& command, const std::string& settings, std::vector<std::string> options = {}) {
        options.insert(options.begin(), {command, "profiles.xml", "--index", "0", "--settings", settings});
        return run(options);
    }

    // Settings that keep the menus of Information and User control only.
    static constexpr const char* kSettings =
        "[Settings]\nsMenuMiscellaneous=0\nsMenuHubControl=0\nsMenuAccounts=0\nsClear=0\n";
    TemporaryFolder folder{"tavu-own-items-"};
    WorkingFolder inside{folder.path()};
};

struct RunCase {
    const char* name;
    std::vector<std::string> options;
    std::vector<std::string> written;    // commands in the block
    std::vector<std::string> notWritten; // commands not in it
    std::string warning;                 // what standard error says, after "tavu-cli: warning: "
};

void PrintTo(const RunCase& value, std::ostream* out) {
    *out << value.name;
}

class OwnItemsRun : public OwnItems, public testing::WithParamInterface<RunCase> {};

TEST_P(OwnItemsRun, WritesWhatTheOptionsLeave) {
    ASSERT_EQ(run("generate", "TAVU.ini", GetParam().options), ExitDone) << err.str();
    for (const std::string& command : GetParam().written) {
        EXPECT_NE(out.str().find("> " + command), std::string::npos) << command;
    }
    for (const std::string& command : GetParam().notWritten) {
        EXPECT_EQ(out.str().find("> " + command), std::string::npos) << command;
    }
    const std::string& warning = GetParam().warning;
    EXPECT_EQ(err.str(), warning.empty() ? "" : "tavu-cli: warning: " + warning + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Options, OwnItemsRun,
    testing::Values(
        RunCase{"TheSettingsFile", {}, {".mute", "+mine", "+rules"}, {".kennylize"}, ""},
        RunCase{"ASubmenuSwitchesOffAllBelow",
                {"--item-off", "wUserControl"},
                {".hi", "+mine", "+rules"},
                {".mute", ".kennylize"},
                ""},
        RunCase{"AllItems", {"--all-items"}, {".kennylize", "+mine"}, {}, ""},
        RunCase{"NoOwnItems", {"--no-own-items"}, {".mute"}, {"+mine", "+rules", ".kennylize"}, ""},
        RunCase{"AllItemsKeepsTheItemsOffOfTheRun",
                {"--all-items", "--item-off", "wUserControl\\wMute"},
                {".kennylize"},
                {".mute"},
                ""},
        RunCase{
            "WhatNeverAppliesIsTold",
            {"--own-items", "odd.ini"},
            {".kennylize", "+odd"},
            {},
            "odd.ini: the section [Own item +6] is not read (a save keeps it as it is, an export leaves it "
            "out): an own item's section is \"Own item\" and its number in digits alone, such as [Own item "
            "1]\ntavu-cli: warning: odd.ini: the own item 1 \"Odd\" names the profile \"Ownr\", which "
            "profiles.xml does not hold"},
        RunCase{
            "NoOwnItemsTellsNothingOfThem", {"--own-items", "odd.ini", "--no-own-items"}, {}, {"+odd"}, ""},
        RunCase{"AnUnreadableFileGivesThePlainMenu",
                {"--own-items", "missing.ini"},
                {".kennylize"},
                {"+mine"},
                "the file missing.ini does not exist; the menu is made without own items and items "
                "switched off"},
        RunCase{"AnUnknownIdentityIsToldAndIgnored",
                {"--item-off", "wUserControl\\wNoSuch"},
                {".mute"},
                {},
                "the item \"wUserControl\\\\wNoSuch\" switched off is in no menu; tavu-cli items lists the "
                "items"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OwnItems, ThePlainMenuIsMadeWithoutTheChanges) {
    ASSERT_EQ(run("generate", "plain.ini"), ExitDone);
    const std::string plain = out.str();
    for (const std::vector<std::string>& options :
         {std::vector<std::string>{"--all-items", "--no-own-items"}, {"--own-items", "missing.ini"}}) {
        EXPECT_EQ(run("generate", "TAVU.ini", options), ExitDone) << options.front();
        EXPECT_EQ(out.str(), plain) << options.front();
    }
}

TEST_F(OwnItems, ItemsListsEachItemWithItsPathAndWhetherItIsOn) {
    EXPECT_EQ(
        run("items", "TAVU.ini", {"--item-off", "wUserControl\\wMute\\wAll\\wOff", "--word", "wHub=a\tb"}),
        ExitDone);
    EXPECT_EQ(out.str(),
              "wInformation\\wHub\tInformation\\a\\tb\ton\n"
              "wInformation\\wCore\tInformation\\Core\ton\n"
              "wUserControl\\wMute\\wAll\\wOn\tUser control\\Mute\\All\\On\ton\n"
              "wUserControl\\wMute\\wAll\\wOff\tUser control\\Mute\\All\\Off\toff\n"
              "wUserControl\\wMute\\wSelected\\wOn\tUser control\\Mute\\Selected\\On\ton\n"
              "wUserControl\\wMute\\wSelected\\wOff\tUser control\\Mute\\Selected\\Off\ton\n"
              "wUserControl\\wKennylize\\wAll\\wOn\tUser control\\Kennylize\\All\\On\toff\n"
              "wUserControl\\wKennylize\\wAll\\wOff\tUser control\\Kennylize\\All\\Off\toff\n"
              "wUserControl\\wKennylize\\wSelected\\wOn\tUser control\\Kennylize\\Selected\\On\toff\n"
              "wUserControl\\wKennylize\\wSelected\\wOff\tUser control\\Kennylize\\Selected\\Off\toff\n"
              "own:1\tUser control\\Mine\ton\n"
              "own:2\tRules\ton\n");
}

// Where it goes, and that clients read it as written.
TEST_F(OwnItems, AnOwnItemFollowsTheGeneratedItemsOfItsSubmenuAndPassesCheck) {
    ASSERT_EQ(run("generate", "TAVU.ini", {"--all-items", "--option", "sMessage=1"}), ExitDone);
    const std::vector<std::string> pieces = emissions(out.str());
    const auto mine = std::find_if(pieces.begin(), pieces.end(), [](const std::string& piece) {
        return piece.find("+mine") != std::string::npos;
    });
    ASSERT_NE(mine, pieces.end());
    EXPECT_NE(mine[-1].find(".unkennylize %[nick]"), std::string::npos) << mine[-1];
    EXPECT_NE(mine[1].find("+rules"), std::string::npos) << mine[1];
    std::ofstream("block.txt") << out.str();
    EXPECT_EQ(run({"check", "block.txt"}), ExitDone);
    EXPECT_TRUE(out.str().ends_with("Findings\n  (none)\n")) << out.str();
    EXPECT_EQ(err.str(), "");
}

TEST_F(OwnItems, ExportedItemsGiveTheSameBlockAsTheSettingsFile) {
    ASSERT_EQ(run({"export-items", "exported.ini", "--settings", "TAVU.ini"}), ExitDone) << err.str();
    EXPECT_EQ(out.str() + err.str(), "");
    const std::string exported = folder.read("exported.ini");
    EXPECT_NE(exported.find("\nLater=kept"), std::string::npos) << "a key it does not know is kept";
    ASSERT_EQ(run({"export-items", "-", "--settings", "TAVU.ini"}), ExitDone);
    EXPECT_EQ(out.str(), exported);
    ASSERT_EQ(run("generate", "TAVU.ini"), ExitDone);
    const std::string fromSettings = out.str();
    EXPECT_EQ(run("generate", "plain.ini", {"--own-items", "exported.ini"}), ExitDone);
    EXPECT_EQ(out.str(), fromSettings);
    EXPECT_EQ(err.str(), "");
}

TEST_F(OwnItems, AnExportNeverWritesOverTheSettingsFile) {
    const std::string before = folder.read("TAVU.ini");
    std::filesystem::create_hard_link("TAVU.ini", "linked.ini");
    for (const std::string command : {"export-items", "export-words"}) {
        for (const std::string name : {"./TAVU.ini", "linked.ini"}) {
            EXPECT_EQ(run({command, name, "--settings", "TAVU.ini"}), ExitUsage) << command;
            EXPECT_NE(err.str().find(name + " is the settings file"), std::string::npos) << err.str();
        }
    }
    EXPECT_EQ(folder.read("TAVU.ini"), before);
}

// Twenty are told one by one, more are counted.
TEST_F(OwnItems, ManyWarningsAreCounted) {
    const std::string twentieth = "wNoSuch19\" switched off is in no menu; tavu-cli items lists the items\n";
    for (const auto& [count, end] :
         {std::pair{20, twentieth}, {21, twentieth + "tavu-cli: warning: ... and 1 more warnings\n"}}) {
        std::vector<std::string> options;
        for (int i = 0; i < count; ++i) {
            options.insert(options.end(), {"--item-off", "wNoSuch" + std::to_string(i)});
        }
        EXPECT_EQ(run("items", "TAVU.ini", options), ExitDone);
        EXPECT_TRUE(err.str().ends_with(end)) << err.str();
    }
}

TEST_F(OwnItems, AnExportThatCannotBeWrittenFails) {
    EXPECT_EQ(run({"export-items", "no/such/folder.ini", "--settings", "TAVU.ini"}), ExitUnwritable);
    EXPECT_EQ(err.str().rfind("tavu-cli: Unable to write to no/such/folder.ini: ", 0), 0U) << err.str();
}

// Once for the run, not once a profile.
TEST_F(OwnItems, GenerateAllWarnsOnce) {
    std::ofstream("profiles.xml")
        << "<Profiles><Profile><Name>A</Name></Profile><Profile><Name>B</Name></Profile></Profiles>";
    EXPECT_EQ(run({"generate", "profiles.xml", "--all", "--out-dir", "menus", "--settings", "TAVU.ini",
                   "--item-off", "wNoSuch"}),
              ExitDone);
    EXPECT_EQ(err.str(),
              "tavu-cli: warning: the item \"wNoSuch\" switched off is in no menu; tavu-cli items "
              "lists the items\ntavu-cli: warning: TAVU.ini: the item \"wUserControl\\\\wKennylize\" "
              "switched off names the profile \"Owner\", which profiles.xml does not hold\n");
}

// As generate writes nothing, so that a list cut short never passes for the menu.
TEST_F(OwnItems, ItemsOfAProfileThatStopsPrintNothing) {
    std::ofstream("profiles.xml")
        << ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes").xml();
    EXPECT_EQ(run("items", "TAVU.ini"), ExitStopped);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("\ntavu-cli: profiles.xml: profile 0 \"Test\": the permission "),
              std::string::npos)
        << err.str();
}

} // namespace
} // namespace tavu::test
