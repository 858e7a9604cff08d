#include "cli/cli.h"
#include "support.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tavu::test {
namespace {

// The profile element of a one-profile document, to put several into one file.
std::string profileOf(const std::string& xml) {
    const auto start = xml.find("<Profile>");
    return xml.substr(start, xml.find("</Profiles>") - start);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

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

TEST_F(Cli, TreeShowsBothMenusWithCommandsThenChatAndFindings) {
    EXPECT_EQ(run({"tree", profiles, "--profile", "Owner", "--settings", settings}), ExitDone) << err.str();
    const std::string menu = "  - \"" + kPrefix + "User commands\" -> \"<%[mynick]> .h|\"\n  + \"" + kPrefix +
                             "Information\"\n    - \" " + kPrefix +
                             "Hubinfo\" -> \"<%[mynick]> .hi|\"\n    - \" " + kPrefix +
                             "Core\" -> \"<%[mynick]> .ci|\"\n";
    EXPECT_EQ(out.str(),
              "Hub menu\n" + menu + "User-list menu\n" + menu + "Chat text\n  (none)\nFindings\n  (none)\n");
}

TEST_F(Cli, TreeOfAStoppedGenerationShowsWhatWasWrittenAndExitsOne) {
    EXPECT_EQ(run({"tree", profiles, "--index", "1", "--settings", settings}), ExitStopped);
    EXPECT_EQ(out.str(),
              "Hub menu\n  (empty)\nUser-list menu\n  (empty)\nChat text\n  (none)\nFindings\n  (none)\n");
    EXPECT_NE(err.str().find("General/Information/MayShowHubInfo"), std::string::npos) << err.str();
}

TEST_F(Cli, CheckExitsOneOnlyForAPieceNoClientCanRead) {
    const auto block = folder / "block.txt";
    std::ofstream(block) << "$UserCommand 1 3 A &amp; B$x|\n$UserCommand 1 3 C$y|";
    EXPECT_EQ(run({"check", block.string()}), ExitDone);
    EXPECT_NE(out.str().find("warning: piece 1, line 1: the \"&\" in the title \"A & B\""), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("warning: piece 2, line 2: a line break"), std::string::npos) << out.str();

    std::ofstream(block) << "$UserCommand 1 3 A$x|$UserCommand 1 3 B|";
    EXPECT_EQ(run({"check", block.string()}), ExitUnreadablePiece);
    EXPECT_NE(out.str().find("error: piece 2, line 1: no client can read"), std::string::npos) << out.str();
}

TEST_F(Cli, CheckReadsTheBlockInItsCodePage) {
    const auto block = folder / "block.txt";
    std::ofstream(block) << "$UserCommand 1 3 \xCA\xE8\xEA$.kick|";
    EXPECT_EQ(run({"check", block.string()}), ExitNoProfiles);
    EXPECT_NE(err.str().find("is not utf-8: byte 0xCA at byte 17"), std::string::npos) << err.str();
    EXPECT_EQ(run({"check", block.string(), "--encoding", "windows-1251"}), ExitDone) << err.str();
    EXPECT_NE(out.str().find("- \"Кик\" -> \".kick\""), std::string::npos) << out.str();
}

TEST_F(Cli, GenerateWritesTheChosenCodePage) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--encoding", "windows-1251",
                   "--word", "wHub=Хаб"}),
              ExitDone)
        << err.str();
    EXPECT_TRUE(out.str().starts_with("$UserCommand 255 3|$UserCommand 1 3 .::\xA0User commands$"));
    EXPECT_NE(out.str().find("\\ .::\xA0\xD5\xE0\xE1$<%[mynick]> .hi&#124;|"), std::string::npos);
}

struct UnencodableCase {
    const char* what;
    const char* encoding;
    std::string word;    // --word wKEY=TEXT
    std::string message; // what standard error must hold
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const UnencodableCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class CliUnencodable : public Cli, public testing::WithParamInterface<UnencodableCase> {};

TEST_P(CliUnencodable, NamesTheWordAndTheCharacterAndWritesNothing) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--encoding",
                   GetParam().encoding, "--word", GetParam().word}),
              ExitUnencodable);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(GetParam().message), std::string::npos) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliUnencodable,
    testing::Values(UnencodableCase{"Windows1251", "windows-1251", "wCore=Café",
                                    "windows-1251 cannot hold U+00E9 (é) in the word wCore (\"Café\")"},
                    UnencodableCase{"Windows1252", "windows-1252", "wHub=Хаб",
                                    "windows-1252 cannot hold U+0425 (Х) in the word wHub (\"Хаб\")"},
                    UnencodableCase{"Iso8859_1", "iso-8859-1", "wUserCommands=Menu €",
                                    "iso-8859-1 cannot hold U+20AC (€) in the word wUserCommands"},
                    UnencodableCase{"WordNotUtf8", "latin1", "wInformation=Info\xFF", "byte 0xFF at byte"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Cli, AnUnusedWordNeedNotFitTheCodePage) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--encoding", "iso-8859-1",
                   "--word", "wKick=Кик"}),
              ExitDone)
        << err.str();
}

TEST_F(Cli, AllWritesOneFilePerProfileSafelyNamedInsideTheFolder) {
    std::string xml = "<Profiles>";
    for (const char* name : {"Owner", "owner", "../escape", "a/b", "CON", ".."}) {
        xml += profileOf(ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands").xml(name));
    }
    std::ofstream(profiles) << xml << "</Profiles>";
    const auto outDir = folder / "menus";
    EXPECT_EQ(run({"generate", profiles, "--all", "--out-dir", outDir.string(), "--settings", settings}),
              ExitDone)
        << err.str();

    const std::vector<std::string> expected{"Owner.txt", "owner (2).txt", "_escape.txt",
                                            "a_b.txt",   "_CON.txt",      "profile.txt"};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto file = outDir / expected[i];
        EXPECT_TRUE(readFile(file).starts_with("$UserCommand 255 3|$UserCommand 1 3 ")) << file;
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        files += entry.is_regular_file() ? 1 : 0;
    }
    EXPECT_EQ(files, expected.size() + 2) << "the settings, the profiles and the exported files only";
    EXPECT_NE(out.str().find("wrote " + (outDir / "owner (2).txt").string() + " for profile 1 \"owner\"\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("for profile 2 \"../escape\"\n"), std::string::npos) << out.str();
}

TEST_F(Cli, AllReportsTheWorstStatusAndStillWritesEveryProfile) {
    const auto outDir = folder / "menus";
    EXPECT_EQ(run({"generate", profiles, "--all", "--out-dir", outDir.string(), "--settings", settings}),
              ExitStopped);
    EXPECT_EQ(readFile(outDir / "Owner.txt"), kOwnerCommands);
    EXPECT_EQ(readFile(outDir / "Broken.txt"), "$UserCommand 255 3|");
    EXPECT_NE(err.str().find("profile 1 \"Broken\": The permission General/Information/MayShowHubInfo"),
              std::string::npos)
        << err.str();

    EXPECT_EQ(run({"generate", profiles, "--all", "--out-dir", outDir.string(), "--settings", settings,
                   "--encoding", "windows-1252", "--word", "wCore=Ядро"}),
              ExitUnencodable);
    EXPECT_NE(err.str().find("profile 0 \"Owner\": windows-1252 cannot hold U+042F"), std::string::npos)
        << err.str();

    std::ofstream(folder / "file") << "";
    EXPECT_EQ(
        run({"generate", profiles, "--all", "--out-dir", (folder / "file").string(), "--settings", settings}),
        ExitUnwritable);
}

TEST_F(Cli, AProfileThatCannotBeEncodedGetsNoFile) {
    const auto outDir = folder / "menus";
    EXPECT_EQ(run({"generate", profiles, "--all", "--out-dir", outDir.string(), "--settings", settings,
                   "--encoding", "windows-1252", "--word", "wCore=Ядро"}),
              ExitUnencodable);
    EXPECT_FALSE(std::filesystem::exists(outDir / "Owner.txt"));
    EXPECT_TRUE(std::filesystem::exists(outDir / "Broken.txt"));
}

TEST_F(Cli, ANameIsPrintedOnOneLine) {
    std::ofstream(profiles) << "<Profiles>"
                            << profileOf(ProfileBuilder().xml("Two&#10;lines\\a&#9;&#13;\x7F"))
                            << "</Profiles>";
    EXPECT_EQ(run({"list", profiles}), ExitDone);
    EXPECT_EQ(out.str(), "Two\\nlines\\\\a\\t\\r\\x7F\n");
}

// A stream whose every write fails, as standard output on a full disk.
class FullDisk : public std::streambuf {
protected:
    int_type overflow(int_type) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(Cli, OutputThatCannotBeWrittenIsAFailure) {
    FullDisk disk;
    std::ostream full(&disk);
    const std::vector<std::string_view> arguments{"list", profiles};
    EXPECT_EQ(runCli(arguments, full, err), ExitOutputUnwritable);
    EXPECT_TRUE(err.str().starts_with("tavu-cli: cannot write standard output")) << err.str();
}

struct ExitCase {
    const char* what;
    std::vector<std::string> arguments; // PROFILES stands for the profiles file
    int status;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ExitCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

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
        ExitCase{"MissingFile", {"list", "/nonexistent/profiles.xml"}, ExitNoProfiles},
        ExitCase{
            "UnknownEncoding", {"generate", "PROFILES", "--index", "0", "--encoding", "koi8-r"}, ExitUsage},
        ExitCase{"AllWithoutOutDir", {"generate", "PROFILES", "--all"}, ExitUsage},
        ExitCase{"OutDirWithoutAll", {"generate", "PROFILES", "--index", "0", "--out-dir", "x"}, ExitUsage},
        ExitCase{
            "AllAndIndex", {"generate", "PROFILES", "--all", "--out-dir", "x", "--index", "0"}, ExitUsage},
        ExitCase{"TreeOfAll", {"tree", "PROFILES", "--all", "--out-dir", "x"}, ExitUsage},
        ExitCase{"TreeNoSuchProfile", {"tree", "PROFILES", "--index", "5"}, ExitNoProfiles},
        ExitCase{"CheckWithoutFile", {"check"}, ExitUsage},
        ExitCase{"CheckTwoFiles", {"check", "PROFILES", "PROFILES"}, ExitUsage},
        ExitCase{"CheckMissingFile", {"check", "/nonexistent/block.txt"}, ExitNoProfiles},
        ExitCase{"IndexTwice", {"generate", "PROFILES", "--index", "0", "--index", "1"}, ExitUsage},
        ExitCase{
            "ProfileTwice", {"tree", "PROFILES", "--profile", "Owner", "--profile", "Broken"}, ExitUsage},
        // Endless and special files are refused before they are read.
        ExitCase{"CheckEndlessFile", {"check", "/dev/zero"}, ExitNoProfiles},
        ExitCase{"ListEndlessFile", {"list", "/dev/zero"}, ExitNoProfiles},
        ExitCase{"SettingsEndless",
                 {"generate", "PROFILES", "--index", "0", "--settings", "/dev/zero"},
                 ExitNoProfiles},
        ExitCase{
            "SettingsFolder", {"tree", "PROFILES", "--index", "0", "--settings", "/tmp"}, ExitNoProfiles}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace tavu::test
