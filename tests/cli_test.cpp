#include "cli/cli.h"
#include "support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tavu::test {
namespace {

class Cli : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tavu-cli-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        settings = (folder / "TAVU.ini").string();
        profiles = (folder / "profiles.xml").string();
        const std::string owner = ProfileBuilder()
                                      .enable("General/ProfileSettings/MayUseHubCommands")
                                      .enable("General/Information/MayShowHubInfo")
                                      .xml("Owner");
        const std::string broken =
            ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes").xml("Broken");
        // Two profiles in one file: take the profile elements out of the second document.
        const auto profileOf = [](const std::string& xml) {
            const auto start = xml.find("<Profile>");
            return xml.substr(start, xml.find("</Profiles>") - start);
        };
        std::ofstream(profiles) << "<Profiles>" << profileOf(owner) << profileOf(broken) << "</Profiles>";
        std::ofstream(settings) << "[Settings]\nsMenuMiscellaneous=0\nsMenuHubControl=0\nsMenuAccounts=0\n"
                                   "sMenuUserControl=0\nsMessage=0\n[Strings]\nwHub=Hubinfo\n";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    int run(std::vector<std::string> arguments) {
        out.str("");
        err.str("");
        const std::vector<std::string_view> views(arguments.begin(), arguments.end());
        return runCli(views, out, err);
    }

    std::filesystem::path folder;
    std::string settings;
    std::string profiles;
    std::ostringstream out;
    std::ostringstream err;
};

const std::string kOwnerCommands = "$UserCommand 255 3|$UserCommand 1 3 " + kPrefix +
                                   "User commands$<%[mynick]> .h&#124;|$UserCommand 1 3 " + kPrefix +
                                   "Information\\ " + kPrefix +
                                   "Hubinfo$<%[mynick]> .hi&#124;|$UserCommand 1 3 " + kPrefix +
                                   "Information\\ " + kPrefix + "Core$<%[mynick]> .ci&#124;|";

TEST_F(Cli, ListPrintsTheNamesOneALine) {
    EXPECT_EQ(run({"list", profiles}), ExitDone);
    EXPECT_EQ(out.str(), "Owner\nBroken\n");
}

TEST_F(Cli, GenerateWritesTheCommandsWithNothingAdded) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings}), ExitDone);
    EXPECT_EQ(out.str(), kOwnerCommands);
    EXPECT_EQ(run({"generate", profiles, "--profile", "Owner", "--settings", settings}), ExitDone);
    EXPECT_EQ(out.str(), kOwnerCommands);
    EXPECT_EQ(err.str(), "");
}

TEST_F(Cli, OptionsAndWordsOverrideTheSettingsFile) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--option", "sClear=0",
                   "--option", "SMESSAGE=0x1", "--word", "wUserCommands=Menu", "--word", "wBotMessage=Hi"}),
              ExitDone);
    EXPECT_EQ(out.str(), "$UserCommand 1 3 " + kPrefix + "Menu$<%[mynick]> .h&#124;|$UserCommand 1 3 " +
                             kPrefix + "Information\\ " + kPrefix +
                             "Hubinfo$<%[mynick]> .hi&#124;|$UserCommand 1 3 " + kPrefix + "Information\\ " +
                             kPrefix + "Core$<%[mynick]> .ci&#124;|<<botname>> Hi|");
}

TEST_F(Cli, AStoppedGenerationWritesWhatItHasAndExitsOne) {
    EXPECT_EQ(run({"generate", profiles, "--index", "1", "--settings", settings}), ExitStopped);
    EXPECT_EQ(out.str(), "$UserCommand 255 3|");
    EXPECT_NE(err.str().find("General/Information/MayShowHubInfo"), std::string::npos) << err.str();
    EXPECT_NE(err.str().find("\"yes\""), std::string::npos) << err.str();
}

struct ExitCase {
    const char* what;
    std::vector<std::string> arguments; // PROFILES stands for the profiles file
    int status;
};

class CliExit : public Cli, public testing::WithParamInterface<ExitCase> {};

TEST_P(CliExit, Status) {
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        if (argument == "PROFILES") {
            argument = profiles;
        }
    }
    EXPECT_EQ(run(arguments), GetParam().status) << err.str();
    if (GetParam().status != ExitDone) {
        EXPECT_FALSE(err.str().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliExit,
    testing::Values(
        ExitCase{"Help", {"--help"}, ExitDone}, ExitCase{"NoCommand", {}, ExitUsage},
        ExitCase{"UnknownCommand", {"make"}, ExitUsage}, ExitCase{"ListWithoutFile", {"list"}, ExitUsage},
        ExitCase{"NoProfileChosen", {"generate", "PROFILES"}, ExitUsage},
        ExitCase{
            "BothProfileAndIndex", {"generate", "PROFILES", "--index", "0", "--profile", "Owner"}, ExitUsage},
        ExitCase{"NegativeIndex", {"generate", "PROFILES", "--index", "-1"}, ExitUsage},
        ExitCase{"IndexNotANumber", {"generate", "PROFILES", "--index", "one"}, ExitUsage},
        ExitCase{
            "UnknownOption", {"generate", "PROFILES", "--index", "0", "--option", "sColour=1"}, ExitUsage},
        ExitCase{"OptionNotANumber",
                 {"generate", "PROFILES", "--index", "0", "--option", "sClear=yes"},
                 ExitUsage},
        ExitCase{"UnknownWord", {"generate", "PROFILES", "--index", "0", "--word", "wColour=red"}, ExitUsage},
        ExitCase{"MissingValue", {"generate", "PROFILES", "--index"}, ExitUsage},
        ExitCase{"IndexOutOfRange", {"generate", "PROFILES", "--index", "2"}, ExitNoProfiles},
        ExitCase{"NoSuchName", {"generate", "PROFILES", "--profile", "Nobody"}, ExitNoProfiles},
        ExitCase{"MissingFile", {"list", "/nonexistent/profiles.xml"}, ExitNoProfiles}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace tavu::test
