// Names and texts that could act on a terminal, and blocks whose commands
// clients cannot read as written.

#include "arguments.h"
#include "cli_run.h"
#include "exit_statuses.h"
#include "support.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tavu::test {
namespace {

struct EscapeCase {
    const char* what;
    std::string text;
    std::string line;    // as escapedLine writes it
    std::string message; // as escapedMessage writes it
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const EscapeCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class Escaping : public testing::TestWithParam<EscapeCase> {};

TEST_P(Escaping, LeavesNothingForATerminalToActOn) {
    EXPECT_EQ(cli::escapedLine(GetParam().text), GetParam().line);
    EXPECT_EQ(cli::escapedMessage(GetParam().text), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Escaping,
    testing::Values(
        EscapeCase{"Plain", "Op \xC3\xA9 \xE2\x82\xAC", "Op \xC3\xA9 \xE2\x82\xAC",
                   "Op \xC3\xA9 \xE2\x82\xAC"},
        EscapeCase{"C0", "a\nb\r\t\x1B\x07\x7F", "a\\nb\\r\\t\\x1B\\x07\\x7F", "a\nb\\r\\t\\x1B\\x07\\x7F"},
        EscapeCase{"Backslash", "C:\\dir", "C:\\\\dir", "C:\\dir"},
        EscapeCase{"C1",
                   "a\xC2\x85"
                   "b\xC2\x9B"
                   "c\xC2\x80\xC2\x9F\xC2\xA0",
                   "a\\u{0085}b\\u{009B}c\\u{0080}\\u{009F}\xC2\xA0",
                   "a\\u{0085}b\\u{009B}c\\u{0080}\\u{009F}\xC2\xA0"},
        EscapeCase{"LineAndParagraphSeparators",
                   "a\xE2\x80\xA8"
                   "b\xE2\x80\xA9",
                   "a\\u{2028}b\\u{2029}", "a\\u{2028}b\\u{2029}"},
        EscapeCase{
            "BidirectionalControls",
            "\xD8\x9C\xE2\x80\x8E\xE2\x80\x8F\xE2\x80\xAA\xE2\x80\xAE\xE2\x81\xA6\xE2\x81\xA9\xE2\x80\x8D",
            "\\u{061C}\\u{200E}\\u{200F}\\u{202A}\\u{202E}\\u{2066}\\u{2069}\xE2\x80\x8D",
            "\\u{061C}\\u{200E}\\u{200F}\\u{202A}\\u{202E}\\u{2066}\\u{2069}\xE2\x80\x8D"},
        EscapeCase{"NotUtf8",
                   "a\xFF\xC2"
                   "b\xE2\x80",
                   "a\\xFF\\xC2b\\xE2\\x80", "a\\xFF\\xC2b\\xE2\\x80"}),
    [](const auto& info) { return std::string(info.param.what); });

class OddInput : public testing::Test, public CliRun {
protected:
    std::string write(const std::string& name, const std::string& bytes) const {
        return folder.write(name, bytes).string();
    }

    TemporaryFolder folder{"tavu-odd-"};
};

TEST_F(OddInput, ListEscapesEveryNameToOneLine) {
    const std::string profiles = write("profiles.xml", "<Profiles><Profile><Name>a&#x85;b</Name></Profile>"
                                                       "<Profile><Name>c&#x2028;d&#x202E;e</Name></Profile>"
                                                       "</Profiles>");
    EXPECT_EQ(run({"list", profiles}), ExitDone);
    EXPECT_EQ(out.str(), "a\\u{0085}b\nc\\u{2028}d\\u{202E}e\n");
}

TEST_F(OddInput, MessagesEscapeTheNamesTheyPrint) {
    const std::string missing = (folder / "a\x1B]0;x\x07.xml").string();
    const std::string shown = (folder / "a\\x1B]0;x\\x07.xml").string();
    EXPECT_EQ(run({"list", missing}), ExitNoProfiles);
    EXPECT_EQ(err.str(), "tavu-cli: " + shown + " does not exist.\n");

    EXPECT_EQ(run({"\xC2\x9B"
                   "31m"}),
              ExitUsage);
    EXPECT_EQ(err.str(), "tavu-cli: unknown command \"\\u{009B}31m\"\nTry 'tavu-cli --help'.\n");

    const std::string block = write("b\x1B.txt", "\xFF|");
    EXPECT_EQ(run({"check", block}), ExitNoProfiles);
    EXPECT_TRUE(err.str().starts_with("tavu-cli: " + (folder / "b\\x1B.txt").string() + " is not utf-8"))
        << err.str();

    write("b\x1B.txt", "$Hello|");
    EXPECT_EQ(run({"check", block}), ExitDone);
    EXPECT_NE(out.str().find("\n" + (folder / "b\\x1B.txt").string() + ":1: warning: "), std::string::npos)
        << out.str();
}

TEST_F(OddInput, AStoppedGenerationEscapesTheFileName) {
    const std::string profiles =
        write("p\x1B.xml", ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes").xml("B"));
    const std::string settings = write("TAVU.ini", "");
    EXPECT_EQ(run({"tree", profiles, "--index", "0", "--settings", settings}), ExitStopped);
    EXPECT_TRUE(err.str().starts_with("tavu-cli: " + (folder / "p\\x1B.xml").string() + ": profile 0 "))
        << err.str();
}

TEST_F(OddInput, AMessageKeepsItsOwnLineBreaks) {
    const std::string profiles = write("profiles.xml", "<Profiles><Profile/></Profiles>");
    EXPECT_EQ(run({"list", profiles}), ExitNoProfiles);
    EXPECT_EQ(err.str(), "tavu-cli: Could not convert variant of type (Null) into type (String)\n\n"
                         "Profile 1 has no \"Name\" with a text.\n");
}

TEST_F(OddInput, ATooManyAttributesFileExitsThree) {
    std::string attributes;
    for (int i = 0; i < 5000; ++i) {
        attributes += " a" + std::to_string(i) + "='1'";
    }
    const std::string profiles =
        write("profiles.xml", "<Profiles><Profile" + attributes + "><Name>A</Name></Profile></Profiles>");
    EXPECT_EQ(run({"list", profiles}), ExitNoProfiles);
    EXPECT_EQ(err.str(), "tavu-cli: " + profiles +
                             ": an element carries more than 1000 attributes, more than any profiles file "
                             "holds, so the file is not read.\n");
}

TEST_F(OddInput, CheckReportsNumbersPastWhatClientsReadAndAByteOrderMark) {
    const std::string block = write("block.txt", "\xEF\xBB\xBF$UserCommand 1 3 A$a|"
                                                 "$UserCommand 99999999999999999999999 3 B$b|");
    EXPECT_EQ(run({"check", block}), ExitUnreadablePiece);
    EXPECT_NE(out.str().find(block + ":1: error: a byte-order mark (EF BB BF) stands before \"$UserCommand 1 "
                                     "3 A$a\", so clients show the piece as chat text; save the file "
                                     "without one (piece 1)\n"),
              std::string::npos)
        << out.str();
    EXPECT_NE(out.str().find(block + ":1: error: no client can read \"$UserCommand 99999999999999999999999 3 "
                                     "B$b\": the type is larger than 2147483647, the largest number "
                                     "clients read (piece 2)\n"),
              std::string::npos)
        << out.str();

    EXPECT_EQ(run({"check", "--format=json", block}), ExitUnreadablePiece);
    EXPECT_NE(out.str().find(R"({"severity":"error","kind":"unreadable","piece":2,"line":1,"message":"no )"
                             R"(client can read \"$UserCommand 99999999999999999999999 3 B$b\": the type )"),
              std::string::npos)
        << out.str();
}

TEST_F(OddInput, JsonEscapesABackslash) {
    const std::string block = write("block.txt", "$UserCommand 1 1 Dir$.say C:\\dir|");
    EXPECT_EQ(run({"check", "--format=json", block}), ExitDone);
    EXPECT_NE(out.str().find(R"("command":".say C:\\dir")"), std::string::npos) << out.str();
}

} // namespace
} // namespace tavu::test
