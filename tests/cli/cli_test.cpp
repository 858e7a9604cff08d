#include "child_process.h"
#include "cli.h"
#include "cli_run.h"
#include "exit_statuses.h"
#include "formats/code_page.h"
#include "generator/options.h"
#include "source_file.h"
#include "support.h"
#include "temporary_folder.h"
#include "version.h"
#include "vocabulary/words.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tavu::test {
namespace {

class Cli : public testing::Test, public CliRun {
protected:
    void SetUp() override {
        const std::string owner = ProfileBuilder()
                                      .enable("General/ProfileSettings/MayUseHubCommands")
                                      .enable("General/Information/MayShowHubInfo")
                                      .profile("Owner");
        const std::string broken =
            ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes").profile("Broken");
        std::ofstream(profiles) << "<Profiles>" << owner << broken << "</Profiles>";
        std::ofstream(settings) << "[Settings]\nsMenuMiscellaneous=0\nsMenuHubControl=0\nsMenuAccounts=0\n"
                                   "sMenuUserControl=0\nsMessage=0\n[Strings]\nwHub=Hubinfo\n";
    }

    TemporaryFolder folder{"tavu-cli-"};
    std::string settings = (folder / "TAVU.ini").string();
    std::string profiles = (folder / "profiles.xml").string();
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

// The settings file, then --language, then --word: a word the language lacks
// keeps the settings file's text.
TEST_F(Cli, ALanguageComesBetweenTheSettingsFileAndTheWords) {
    std::ofstream(folder / "mine.ini") << "[Strings]\nwUserCommands=Befehle\nwCore=Kern\n";
    EXPECT_EQ(run({"generate", profiles, "--index=0", "--settings", settings, "--language",
                   (folder / "mine.ini").string(), "--word", "wUserCommands=Menu"}),
              ExitDone)
        << err.str();
    EXPECT_EQ(out.str(), "$UserCommand 255 3|$UserCommand 1 3 " + kPrefix +
                             "Menu$<%[mynick]> .h&#124;|$UserCommand 1 3 " + kPrefix + "Information\\ " +
                             kPrefix + "Hubinfo$<%[mynick]> .hi&#124;|$UserCommand 1 3 " + kPrefix +
                             "Information\\ " + kPrefix + "Kern$<%[mynick]> .ci&#124;|");
    EXPECT_EQ(run({"tree", profiles, "--index=0", "--settings", settings, "--language", "DE"}), ExitDone);
    EXPECT_NE(out.str().find("Benutzerbefehle"), std::string::npos) << "an installed language by its code";
}

TEST_F(Cli, ExportWordsWritesWhatLanguageReadsBack) {
    const auto file = folder / "out.ini";
    ASSERT_EQ(run({"export-words", file.string(), "--settings", settings, "--language", "Deutsch", "--word",
                   "wCore=Kern", "--code", "de-x"}),
              ExitDone)
        << err.str();
    EXPECT_EQ(out.str(), "");
    const std::string written = folder.read(file);
    EXPECT_NE(written.find("[Language]\nName=Deutsch\nCode=de-x\n[Strings]\n"), std::string::npos) << written;
    EXPECT_EQ(run({"export-words", "-", "--language", file.string()}), ExitDone);
    EXPECT_EQ(out.str(), written) << "the same words, name and code on standard output";
}

// As generate --all does, export-words replaces a link, never the file it points to.
TEST_F(Cli, ExportWordsReplacesALinkNotItsTarget) {
    const auto target = folder / "target";
    const auto link = folder / "link.ini";
    std::ofstream(target) << "kept";
    std::filesystem::create_symlink(target, link);
    EXPECT_EQ(run({"export-words", link.string(), "--settings", settings, "--language", "de"}), ExitDone)
        << err.str();
    EXPECT_FALSE(std::filesystem::is_symlink(link));
    EXPECT_EQ(folder.read(target), "kept");
    EXPECT_EQ(run({"tree", profiles, "--index", "0", "--settings", settings, "--language", link.string()}),
              ExitDone)
        << "the link is now the German words";
    EXPECT_NE(out.str().find("Benutzerbefehle"), std::string::npos);
}

TEST_F(Cli, LanguagesListsCodeNameAndFile) {
    EXPECT_EQ(run({"languages"}), ExitDone);
    const std::string listed = out.str();
    EXPECT_EQ(std::count(listed.begin(), listed.end(), '\n'), 12);
    // The languages folder beside the programs of the build.
    const auto installed = std::filesystem::path(TAVU_CLI_PROGRAM).parent_path() / "languages";
    EXPECT_NE(listed.find("\nde\tDeutsch\t" + (installed / "de.ini").string() + "\n"), std::string::npos)
        << listed;
}

// The part before the stop starts with the clear command: written, it would
// wipe the users' menus.
TEST_F(Cli, AStoppedGenerationWritesNothingAndExitsOne) {
    for (const char* command : {"generate", "tree"}) {
        EXPECT_EQ(run({command, profiles, "--index", "1", "--settings", settings}), ExitStopped);
        EXPECT_EQ(out.str(), "") << command;
        EXPECT_NE(err.str().find(profiles + ": profile 1 \"Broken\": the permission "
                                            "General/Information/MayShowHubInfo holds \"yes\""),
                  std::string::npos)
            << err.str();
    }
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

TEST_F(Cli, CheckExitsOneOnlyForAPieceNoClientCanRead) {
    const auto block = folder / "block.txt";
    std::ofstream(block) << "$UserCommand 1 3 A &amp; B$x|\n$UserCommand 1 3 C$y|";
    EXPECT_EQ(run({"check", block.string()}), ExitDone);
    EXPECT_NE(out.str().find("\n" + block.string() + ":1: warning: the \"&\" in the title \"A & B\""),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("\n" + block.string() + ":2: warning: a line break"), std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find("as chat text (piece 2)\n"), std::string::npos) << out.str();

    std::ofstream(block) << "$UserCommand 1 3 A$x|$UserCommand 1 3 B|";
    EXPECT_EQ(run({"check", block.string()}), ExitUnreadablePiece);
    EXPECT_NE(out.str().find(block.string() + ":1: error: no client can read"), std::string::npos)
        << out.str();
}

TEST_F(Cli, JsonHoldsTheMenusChatAndFindingsEscaped) {
    const auto block = folder / "block.txt";
    std::ofstream(block)
        << "$UserCommand 1 1 A\\B\"$x %[line:N]|$UserCommand 0 1 |\x01\xC3\xA9|$UserCommand 1 2 &$y|";
    EXPECT_EQ(run({"check", "--format=json", block.string()}), ExitDone) << err.str();
    EXPECT_EQ(
        out.str(),
        R"({"file":")" + block.string() +
            R"(","client":"eiskaltdc","hubMenu":[{"kind":"submenu","title":"A","children":[{"kind":"item","title":)"
            R"("B\"","command":"x %[line:N]","prompts":["N"],"piece":1},{"kind":)"
            R"("separator","piece":2}]}],"userListMenu":[{"kind":"item","title":"&","command":)"
            R"("y","prompts":[],"piece":4}],"chat":[{"piece":3,"text":"\u0001é"}],"findings":)"
            R"([{"severity":"warning","kind":"hidden-separator","piece":2,"line":1,"message":)"
            R"("the separator is last in its menu, where clients whose menus Qt draws, such as )"
            R"(EiskaltDC++, draw none; DC++ and AirDC++ draw it"},{"severity":"warning","kind":"ampersand",)"
            R"("piece":4,"line":1,)"
            R"("message":"clients whose menus Qt draws, such as EiskaltDC++, show the title \"&\" )"
            R"(as \"\": \"&&\" stands for \"&\", and a \"&\" at the end of a level is not shown"}]})"
            "\n");
}

// Every key that keys prints is one that --option or --word takes.
TEST_F(Cli, KeysListsEveryKeyThatOptionAndWordTake) {
    EXPECT_EQ(run({"keys"}), ExitDone);
    std::istringstream lines(out.str());
    std::vector<std::string> arguments{"generate", profiles, "--index=0", "--settings", settings};
    std::vector<std::string> sections;
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("[")) {
            sections.push_back(line);
        } else {
            arguments.push_back((sections.size() == 1 ? "--option=" : "--word=") + line);
        }
    }
    EXPECT_EQ(sections, (std::vector<std::string>{"[Settings]", "[Strings]"}));
    EXPECT_EQ(arguments.size(), 5 + kOptionTable.size() + kWordCount);
    EXPECT_EQ(run(arguments), ExitDone) << err.str();
    EXPECT_NE(out.str().find(" .::\xC2\xA0"
                             "Core$"),
              std::string::npos)
        << "the defaults, exactly";
}

TEST_F(Cli, AMissingDefaultSettingsFileMeansTheDefaults) {
    ::setenv("TAVU_INI", (folder / "missing.ini").c_str(), 1);
    EXPECT_EQ(run({"generate", profiles, "--index", "0"}), ExitDone) << err.str();
    ::unsetenv("TAVU_INI");
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

class CliCentralEuropean : public Cli, public testing::WithParamInterface<const char*> {};

// The Polish, Czech and Hungarian menus reach hubs that read windows-1250: the
// block is the UTF-8 one, each character in that code page.
TEST_P(CliCentralEuropean, GenerateWritesTheLanguageInWindows1250) {
    const auto everything = folder / "everything.xml";
    std::ofstream(everything) << everythingGranted().xml("Owner");
    const auto defaults = folder / "defaults.ini";
    std::ofstream(defaults) << "[Settings]\n";
    const std::vector<std::string> request = {"generate",   everything.string(), "--index",    "0",
                                              "--settings", defaults.string(),   "--language", GetParam()};
    ASSERT_EQ(run(request), ExitDone) << err.str();
    const std::string utf8 = out.str();
    std::vector<std::string> inCodePage = request;
    inCodePage.insert(inCodePage.end(), {"--encoding", "windows-1250"});
    ASSERT_EQ(run(inCodePage), ExitDone) << err.str();
    EXPECT_EQ(out.str(), encodeUtf8(utf8, CodePage::Windows1250).bytes);
    EXPECT_NE(out.str(), utf8) << "the block holds letters beyond ASCII";
}

INSTANTIATE_TEST_SUITE_P(Languages, CliCentralEuropean, testing::Values("pl", "cs", "hu"));

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
                    UnencodableCase{"AnAliasNamedByItsCanonicalName", "CP1251", "wCore=Café",
                                    "windows-1251 cannot hold U+00E9 (é)"}),
    [](const auto& info) { return std::string(info.param.what); });

// The block is UTF-8 until it is encoded: a word that is not would reach the
// hub as bytes of no code page.
TEST_F(Cli, AWordThatIsNotUtf8IsAUsageError) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--encoding", "latin1",
                   "--word", "wInformation=Info\xFF"}),
              ExitUsage);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("--word wInformation: the text is not UTF-8 (byte 0xFF at byte 4)"),
              std::string::npos)
        << err.str();
}

// wUserCommands, used in the block, is blamed, not wKick, which holds the same
// character and comes first among the words but is not used.
TEST_F(Cli, AnUnencodableCharacterIsBlamedOnTheWordUsed) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--encoding", "windows-1251",
                   "--word", "wKick=Café", "--word", "wUserCommands=Menu é"}),
              ExitUnencodable);
    EXPECT_NE(err.str().find("U+00E9 (é) in the word wUserCommands"), std::string::npos) << err.str();
}

TEST_F(Cli, AnUnusedWordNeedNotFitTheCodePage) {
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--encoding", "iso-8859-1",
                   "--word", "wKick=Кик"}),
              ExitDone)
        << err.str();
}

TEST_F(Cli, AllWritesOneFilePerProfileSafelyNamedInsideTheFolder) {
    std::string xml = "<Profiles>";
    for (const char* name : {"Owner", "owner", "../escape", "a/b", "CON", ".."}) {
        xml += ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands").profile(name);
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
        EXPECT_TRUE(folder.read(file).starts_with("$UserCommand 255 3|$UserCommand 1 3 ")) << file;
    }
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.path())) {
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
    EXPECT_EQ(folder.read(outDir / "Owner.txt"), kOwnerCommands);
    EXPECT_FALSE(std::filesystem::exists(outDir / "Broken.txt"));
    EXPECT_NE(err.str().find(profiles + ": profile 1 \"Broken\": the permission "
                                        "General/Information/MayShowHubInfo holds \"yes\""),
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

// A word that ends its prompt early makes items that send the hub other than
// they say: no block is written, the findings say where, with a status of its own.
TEST_F(Cli, AMenuClientsWouldMisreadIsNotWritten) {
    std::ofstream(profiles) << ProfileBuilder().enable("General/Information/MayShowIPInfo").xml("Owner");
    const auto outDir = folder / "menus";
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--word", "wIp=I]P"}),
              ExitMenuError);
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find(profiles +
                             ": profile 0 \"Owner\": the menu holds an error, so nothing was "
                             "written:\n<stdout>:1: error: the prompt \"I\" is followed by \"P]\""),
              std::string::npos)
        << err.str();

    EXPECT_EQ(run({"generate", profiles, "--all", "--out-dir", outDir.string(), "--settings", settings,
                   "--word", "wIp=I]P"}),
              ExitMenuError);
    EXPECT_FALSE(std::filesystem::exists(outDir / "Owner.txt"));
    EXPECT_NE(err.str().find((outDir / "Owner.txt").string() + ":1: error:"), std::string::npos) << err.str();

    // A word that spells the escapes of "|" and "$" is escaped in turn.
    EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings, "--word",
                   "wIp=IP&#124;&#36;To: x"}),
              ExitDone);
    EXPECT_NE(out.str().find("%[line:IP&amp;#124;&amp;#36;To: x]&#124;|"), std::string::npos) << out.str();
}

TEST_F(Cli, AProfileThatCannotBeEncodedGetsNoFile) {
    const auto outDir = folder / "menus";
    EXPECT_EQ(run({"generate", profiles, "--all", "--out-dir", outDir.string(), "--settings", settings,
                   "--encoding", "windows-1252", "--word", "wCore=Ядро"}),
              ExitUnencodable);
    EXPECT_FALSE(std::filesystem::exists(outDir / "Owner.txt"));
}

TEST_F(Cli, ANameIsPrintedOnOneLine) {
    std::ofstream(profiles) << "<Profiles>" << ProfileBuilder().profile("Two&#10;lines\\a&#9;&#13;\x7F")
                            << "</Profiles>";
    EXPECT_EQ(run({"list", profiles}), ExitDone);
    EXPECT_EQ(out.str(), "Two\\nlines\\\\a\\t\\r\\x7F\n");
}

// Where libxml2 reads markup as ASCII, a code page beyond TAVU's own loads;
// an encoding that shifts into other sets can hide markup from the scan.
TEST_F(Cli, ACodePageThatKeepsAsciiLoads) {
    std::ofstream(profiles) << "<?xml version='1.0' encoding='KOI8-R'?><Profiles>"
                            << ProfileBuilder().profile("\xE1\xE4\xED\xE9\xEE") << "</Profiles>";
    EXPECT_EQ(run({"list", profiles}), ExitDone) << err.str();
    EXPECT_EQ(out.str(), "АДМИН\n");
    std::ofstream(profiles) << "<?xml version='1.0' encoding='ISO-2022-JP'?><Profiles/>";
    EXPECT_EQ(run({"list", profiles}), ExitNoProfiles);
    EXPECT_NE(err.str().find("\"ISO-2022-JP\", which TAVU does not read"), std::string::npos) << err.str();
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
        ExitCase{"DateNotUtf8", {"tree", "PROFILES", "--index", "0", "--date", "07\xe9"}, ExitUsage},
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
        ExitCase{"UnknownClient", {"check", "PROFILES", "--client", "dc"}, ExitUsage},
        ExitCase{"TreeForAirDcpp", {"tree", "PROFILES", "--index", "0", "--client=airdcpp"}, ExitDone},
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
            "SettingsFolder", {"tree", "PROFILES", "--index", "0", "--settings", "/tmp"}, ExitNoProfiles},
        ExitCase{"UnknownLanguage", {"tree", "PROFILES", "--index", "0", "--language", "xx"}, ExitNoProfiles},
        ExitCase{"NotALanguageFile",
                 {"generate", "PROFILES", "--index", "0", "--language", "PROFILES"},
                 ExitNoProfiles},
        ExitCase{"LanguageTwice",
                 {"tree", "PROFILES", "--index", "0", "--language", "de", "--language", "fr"},
                 ExitUsage},
        ExitCase{"LanguagesWithAFile", {"languages", "PROFILES"}, ExitUsage},
        ExitCase{"ServeOnAName", {"serve", "PROFILES", "--index", "0", "--listen", "localhost"}, ExitUsage},
        ExitCase{"ExportWordsWithoutFile", {"export-words", "--language", "de"}, ExitUsage},
        ExitCase{"ExportWordsWithAProfileOption", {"export-words", "x.ini", "--index", "0"}, ExitUsage},
        ExitCase{"ExportWordsUnwritable",
                 {"export-words", "/nonexistent/x.ini", "--language", "de"},
                 ExitUnwritable}),
    [](const auto& info) { return std::string(info.param.what); });

struct ArgumentCase {
    const char* what;
    std::vector<std::string> arguments; // PROFILES and SETTINGS, also at an end, stand for the files
    int status;
    std::string out;        // what standard output holds; empty when it must be empty
    std::string err;        // the same for standard error
    std::string input = ""; // standard input
};

void PrintTo(const ArgumentCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

// Runs in the fixture's folder, where the profiles file is also "--x".
class CliArguments : public Cli, public testing::WithParamInterface<ArgumentCase> {};

TEST_P(CliArguments, AreReadAsUnixToolsReadThem) {
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        for (const auto& [word, path] : {std::pair{"PROFILES", profiles}, std::pair{"SETTINGS", settings}}) {
            if (argument.ends_with(word)) {
                argument.replace(argument.size() - std::strlen(word), std::strlen(word), path);
            }
        }
    }
    std::filesystem::copy_file(profiles, folder / "--x");
    std::ofstream(folder / "input") << GetParam().input;
    const int input = ::open((folder / "input").c_str(), O_RDONLY);
    const int savedInput = ::dup(STDIN_FILENO);
    ASSERT_TRUE(input >= 0 && savedInput >= 0 && ::dup2(input, STDIN_FILENO) == STDIN_FILENO);
    const auto savedFolder = std::filesystem::current_path();
    std::filesystem::current_path(folder.path());
    const int status = run(arguments);
    std::filesystem::current_path(savedFolder);
    ASSERT_TRUE(::dup2(savedInput, STDIN_FILENO) == STDIN_FILENO && ::close(savedInput) == 0 &&
                ::close(input) == 0);

    EXPECT_EQ(status, GetParam().status) << err.str();
    EXPECT_NE(out.str().find(GetParam().out), std::string::npos) << out.str();
    EXPECT_EQ(out.str().empty(), GetParam().out.empty()) << out.str();
    EXPECT_NE(err.str().find(GetParam().err), std::string::npos) << err.str();
    EXPECT_EQ(err.str().empty(), GetParam().err.empty()) << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliArguments,
    testing::Values(
        ArgumentCase{"Version", {"--version"}, ExitDone, "tavu-cli " + std::string(kVersion) + "\n", ""},
        ArgumentCase{"ValuesAfterEquals",
                     {"generate", "PROFILES", "--profile=Owner", "--settings=SETTINGS", "--date=1.1.",
                      "--option=sClear=1", "--word=wHub=Hubinfo", "--encoding=utf-8"},
                     ExitDone,
                     kOwnerCommands,
                     ""},
        ArgumentCase{"OutDirAfterEquals",
                     {"generate", "PROFILES", "--all", "--out-dir=menus", "--settings=SETTINGS"},
                     ExitStopped,
                     "wrote menus/Owner.txt",
                     "MayShowHubInfo"},
        ArgumentCase{"StandardInputInItsCodePage",
                     {"check", "--encoding=windows-1251", "-"},
                     ExitDone,
                     "- \"К\" -> \"x\"",
                     "",
                     "$UserCommand 1 3 \xCA$x|"},
        ArgumentCase{"FlagTakesNoValue",
                     {"generate", "PROFILES", "--all=yes", "--out-dir", "x"},
                     ExitUsage,
                     "",
                     "--all takes no value"},
        ArgumentCase{"DoubleDashEndsOptions", {"list", "--", "--x"}, ExitDone, "Owner\nBroken\n", ""},
        ArgumentCase{
            "UnknownOption", {"check", "--foo", "x"}, ExitUsage, "", "unknown option --foo for check\n"},
        ArgumentCase{"UnknownOptionFirst", {"-x"}, ExitUsage, "", "unknown option -x\n"},
        ArgumentCase{"SettingsFileMissing",
                     {"tree", "PROFILES", "--index=0", "--settings", "missing.ini"},
                     ExitNoProfiles,
                     "",
                     "tavu-cli: the settings file missing.ini does not exist\n"},
        ArgumentCase{"NameInAnotherCase",
                     {"generate", "PROFILES", "--profile", "bROKEN"},
                     ExitNoProfiles,
                     "",
                     ": no profile named bROKEN; did you mean Broken?\n"},
        ArgumentCase{"NameNotThere",
                     {"generate", "PROFILES", "--profile", "Brok"},
                     ExitNoProfiles,
                     "",
                     ": no profile named Brok (it holds 2"},
        ArgumentCase{"TreeFindingsNameTheProfile",
                     {"tree", "PROFILES", "--index=0", "--settings=SETTINGS", "--word=wHub=A&B"},
                     ExitDone,
                     "\n<profile 0>:1: warning: the \"&\"",
                     ""},
        ArgumentCase{"StandardInputIsNamedAsCompilersNameIt",
                     {"check", "/dev/stdin"},
                     ExitUnreadablePiece,
                     "\n<stdin>:2: error: no \"|\" ends \"\\nB\", so clients never read it (piece 2)\n",
                     "",
                     "A|\nB"},
        ArgumentCase{"ExtraFile",
                     {"list", "PROFILES", "more"},
                     ExitUsage,
                     "",
                     "unexpected argument \"more\" for list\n"}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(Cli, CommandHelpIsThatCommandsOnly) {
    const std::vector<std::string> names{"list", "generate", "tree", "check", "keys"};
    for (const std::string& name : names) {
        for (const char* flag : {"--help", "-h"}) {
            EXPECT_EQ(run({name, profiles, flag}), ExitDone) << name;
            EXPECT_TRUE(out.str().starts_with("Usage:\n  tavu-cli " + name + (name == "keys" ? "\n" : " ")))
                << out.str();
            EXPECT_EQ(err.str(), "");
            for (const std::string& other : names) {
                EXPECT_EQ(out.str().find("tavu-cli " + other) == std::string::npos, other != name)
                    << out.str();
            }
        }
    }
}

// The codes and meanings of a Markdown table headed "| exit status | meaning |".
std::vector<std::pair<int, std::string>> markdownStatuses(const std::string& text) {
    std::vector<std::pair<int, std::string>> statuses;
    const auto table = text.find("| exit status | meaning |\n|---|---|\n");
    std::istringstream lines(table == std::string::npos ? "" : text.substr(table + 36));
    for (std::string line; std::getline(lines, line) && line.starts_with("| ");) {
        const auto bar = line.find(" | ");
        statuses.emplace_back(std::atoi(line.c_str() + 2), line.substr(bar + 3, line.size() - bar - 5));
    }
    return statuses;
}

// The codes and meanings of the manual page's EXIT STATUS: ".TP", the code,
// then the meaning's lines.
std::vector<std::pair<int, std::string>> manualStatuses(const std::string& text) {
    std::vector<std::pair<int, std::string>> statuses;
    const auto section = text.find(".SH EXIT STATUS\n");
    std::istringstream lines(section == std::string::npos ? "" : text.substr(section + 16));
    for (std::string line; std::getline(lines, line) && !line.starts_with(".SH");) {
        if (line == ".TP" && std::getline(lines, line)) {
            statuses.emplace_back(std::atoi(line.c_str()), "");
        } else if (!statuses.empty()) {
            for (std::size_t at; (at = line.find("\\-")) != std::string::npos;) {
                line.erase(at, 1);
            }
            statuses.back().second += (statuses.back().second.empty() ? "" : " ") + line;
        }
    }
    return statuses;
}

TEST(CliDocuments, ListEveryExitStatusWithItsMeaning) {
    std::vector<std::pair<int, std::string>> expected;
    for (const ExitStatus& status : kExitStatuses) {
        expected.emplace_back(status.code, status.meaning);
    }
    EXPECT_EQ(markdownStatuses(sourceFileText("docs/scripting.md")), expected);
    EXPECT_EQ(manualStatuses(sourceFileText("packaging/tavu-cli.1")), expected);
    // Written once: the other pages point to the scripting guide.
    for (const char* page : {"README.md", "docs/windows.md", "docs/files.md", "docs/building.md"}) {
        EXPECT_EQ(sourceFileText(page).find("| exit status |"), std::string::npos) << page;
    }
}

// Ends as cat does when the reader of its output goes away, also when the
// parent left SIGPIPE ignored.
TEST_F(Cli, AClosedPipeEndsTheProgramQuietly) {
    const std::vector<std::vector<std::string>> commands{{TAVU_CLI_PROGRAM, "list", profiles},
                                                         {TAVU_CLI_PROGRAM, "tree", profiles, "--index=0"}};
    for (const auto& command : commands) {
        ChildProcess child(command, {.errors = (folder / "errors.txt").string(), .nobodyReads = true});
        EXPECT_EQ(child.endingSignal(), SIGPIPE) << command[1];
        EXPECT_EQ(folder.read("errors.txt"), "") << command[1];
    }
}

} // namespace
} // namespace tavu::test

namespace tavu::test {
namespace {

TEST_F(Cli, AProfileNameGivenTwiceChoosesTheFirst) {
    const std::string first = ProfileBuilder()
                                  .enable("General/ProfileSettings/MayUseHubCommands")
                                  .enable("General/Information/MayShowHubInfo")
                                  .profile("Owner");
    const std::string second =
        ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes").profile("Owner");
    std::ofstream(profiles) << "<Profiles>" << first << second << "</Profiles>";
    EXPECT_EQ(run({"generate", profiles, "--profile", "Owner", "--settings", settings}), ExitDone)
        << err.str();
    EXPECT_EQ(out.str(), kOwnerCommands);
}

struct MatrixCase {
    const char* what;
    std::vector<std::string> arguments; // OLD and NEW stand for the files, SETTINGS for the settings file
    int status;
    std::vector<std::string> shown; // what standard output holds
    std::string notShown;           // what it must not hold
};

void PrintTo(const MatrixCase& value, std::ostream* out) {
    *out << value.what;
}

class CliMatrix : public Cli, public testing::WithParamInterface<MatrixCase> {};

// Names made to break markup, CSV and the terminal are shown as text in every format.
TEST_P(CliMatrix, ShowsMenusSideBySideAndTheirChanges) {
    const ProfileBuilder owner = ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands");
    const std::string before = owner.profile("Owner") + ProfileBuilder().profile("&lt;script&gt;");
    std::ofstream(folder / "old.xml") << "<Profiles>" << before << "</Profiles>";
    std::ofstream(folder / "new.xml")
        << "<Profiles>" << ProfileBuilder(owner).enable("General/Information/MayShowHubInfo").profile("Owner")
        << ProfileBuilder().profile("&lt;script&gt;") << ProfileBuilder().profile("=a,\"b&#10;&#x202E;")
        << "</Profiles>";
    std::vector<std::string> arguments = GetParam().arguments;
    for (std::string& argument : arguments) {
        argument = argument == "OLD"        ? (folder / "old.xml").string()
                   : argument == "NEW"      ? (folder / "new.xml").string()
                   : argument == "SETTINGS" ? settings
                   : argument == "PROFILES" ? profiles
                                            : argument;
    }
    EXPECT_EQ(run(arguments), GetParam().status) << err.str();
    for (const std::string& shown : GetParam().shown) {
        EXPECT_NE(out.str().find(shown), std::string::npos) << shown << "\n" << out.str();
    }
    EXPECT_EQ(out.str().find(GetParam().notShown), std::string::npos) << out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CliMatrix,
    testing::Values(
        MatrixCase{"Text",
                   {"matrix", "NEW", "--settings", "SETTINGS"},
                   ExitDone,
                   {"item                 Owner  <script>  =a,\"b\\n\\u{2\u2026\n",
                    "Information\\Core     x      .         .\n",
                    "items written        3      0         0\n"},
                   "\u202E"},
        MatrixCase{"Csv",
                   {"matrix", "NEW", "--settings", "SETTINGS", "--format", "csv"},
                   ExitDone,
                   {"\"Owner\",\"<script>\",\"'=a,\"\"b\\n\\u{202E}\"\r\n", ",x,,\r\n"},
                   "\u202E"},
        MatrixCase{"Html",
                   {"matrix", "NEW", "--settings", "SETTINGS", "--format=html"},
                   ExitDone,
                   {"&lt;script&gt;<br><small>0 items</small>", "=a,&quot;b\\n\\u{202E}"},
                   "<script>"},
        MatrixCase{"Json",
                   {"matrix", "NEW", "--settings", "SETTINGS", "--format", "json"},
                   ExitDone,
                   {R"({"name":"<script>","itemsWritten":0})", R"("writtenFor":[0],"switchedOffFor":[]})"},
                   "\n{"},
        MatrixCase{"UnknownFormat", {"matrix", "NEW", "--format", "xml"}, ExitUsage, {}, "item"},
        MatrixCase{"AProfileChoice", {"matrix", "NEW", "--index", "0"}, ExitUsage, {}, "item"},
        MatrixCase{
            "AProfileThatStops", {"matrix", "PROFILES", "--settings", "SETTINGS"}, ExitStopped, {}, "item"},
        MatrixCase{"MissingFile", {"matrix", "/nonexistent/profiles.xml"}, ExitNoProfiles, {}, "item"},
        MatrixCase{"Diff",
                   {"diff", "OLD", "NEW", "--settings", "SETTINGS"},
                   ExitMenusChange,
                   {"profile 0 \"Owner\": gains 2, loses 0\n+ wInformation\\wHub\tInformation\\Hubinfo\n",
                    "profile 2 \"=a,\\\"b\\n\\u{202E}\": added\n"},
                   "<script>"},
        MatrixCase{"DiffJson",
                   {"diff", "NEW", "OLD", "--settings", "SETTINGS", "--format", "json"},
                   ExitMenusChange,
                   {R"("lost":[{"identity":"wInformation\\wHub","path":"Information\\Hubinfo"})",
                    R"("removed":[{"index":2,)"},
                   "added\":[{"},
        MatrixCase{"DiffOfTheSameFile", {"diff", "OLD", "OLD"}, ExitDone, {}, "profile"},
        MatrixCase{
            "DiffOfOneProfile", {"diff", "OLD", "NEW", "--profile", "<script>"}, ExitDone, {}, "profile"},
        MatrixCase{
            "DiffOfNoSuchProfile", {"diff", "OLD", "NEW", "--profile", "Nobody"}, ExitNoProfiles, {}, "+"},
        MatrixCase{"DiffOfOneFile", {"diff", "OLD"}, ExitUsage, {}, "profile"},
        MatrixCase{"DiffOfAFileThatStops",
                   {"diff", "OLD", "PROFILES", "--settings", "SETTINGS"},
                   ExitStopped,
                   {},
                   "profile"},
        MatrixCase{"DiffWithUnreadableSettings",
                   {"diff", "OLD", "NEW", "--settings", "/dev/zero"},
                   ExitNoProfiles,
                   {},
                   "profile"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace tavu::test
