#include "preview/user_command_text.h"
#include "support.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

const std::string kBotMessage = "<<botname>> I have installed rightclick menu created by TAVU for you|";
const std::string kTopLevel = "$UserCommand 1 3 " + kPrefix + "User commands$<%[mynick]> .h&#124;|";

// The permissions of the top-level item and the first Miscellaneous and
// Information groups, all granted.
ProfileBuilder firstGroupsGranted() {
    return ProfileBuilder()
        .enable("General/ProfileSettings/MayUseHubCommands")
        .enable("General/ProfileSettings/MayHideShare")
        .enable("General/ProfileSettings/MayHideMe")
        .enable("General/Information/MayShowHubInfo")
        .value("General/Information/MayShowUserInfo")
        .enable("General/Information/MayShowIPInfo")
        .enable("General/Information/MayShowNickInfo")
        .value("General/Information/MayShowTrafficInfo")
        .enable("General/Information/MayShowTrafficStats");
}

GenerationOptions withGroups(bool miscellaneous, bool information) {
    GenerationOptions options = onlyItemOptions();
    options.menuMiscellaneous = miscellaneous;
    options.menuInformation = information;
    return options;
}

TEST(Frame, WorkedExampleTopLevelItemAndBotMessage) {
    GenerationOptions options = onlyItemOptions();
    options.clear = options.message = true;
    const auto document = ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands").document();
    const Generation generation = generate(document, options);
    EXPECT_EQ(generation.text,
              "$UserCommand 255 3|$UserCommand 1 3 " + kPrefix +
                  "User commands$<%[mynick]> .h&#124;|<<botname>> I have installed rightclick "
                  "menu created by TAVU for you|");
    EXPECT_FALSE(generation.stop);
}

struct FrameCase {
    const char* what;
    bool clear;
    bool message;
    bool topLevelGranted;
    std::string expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FrameCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class ClearAndMessage : public testing::TestWithParam<FrameCase> {};

TEST_P(ClearAndMessage, WithEveryGroupOff) {
    GenerationOptions options = onlyItemOptions();
    options.clear = GetParam().clear;
    options.message = GetParam().message;
    ProfileBuilder profile = firstGroupsGranted();
    if (!GetParam().topLevelGranted) {
        profile.enable("General/ProfileSettings/MayUseHubCommands", "false");
    }
    EXPECT_EQ(generate(profile.document(), options).text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ClearAndMessage,
                         testing::Values(FrameCase{"ClearOnly", true, false, false, "$UserCommand 255 3|"},
                                         FrameCase{"ClearAndMessage", true, true, false,
                                                   "$UserCommand 255 3|" + kBotMessage},
                                         FrameCase{"NothingAtAll", false, false, false, ""},
                                         FrameCase{"TopLevelWithoutClear", false, false, true, kTopLevel},
                                         FrameCase{"TopLevelNeedsNoGroup", true, true, true,
                                                   "$UserCommand 255 3|" + kTopLevel + kBotMessage}),
                         [](const auto& info) { return std::string(info.param.what); });

TEST(Frame, GroupsFollowTheirCheckBoxes) {
    const auto document = firstGroupsGranted().document();
    EXPECT_EQ(emissions(generate(document, withGroups(false, false)).text).size(), 1u);
    EXPECT_EQ(emissions(generate(document, withGroups(true, false)).text).size(), 5u);
    EXPECT_EQ(emissions(generate(document, withGroups(false, true)).text).size(), 26u);
    EXPECT_EQ(emissions(generate(document, withGroups(true, true)).text).size(), 30u);
}

TEST(Frame, InformationRowWithDefaultWords) {
    const auto document = ProfileBuilder().enable("General/Information/MayShowHubInfo").document();
    const auto lines = emissions(generate(document, withGroups(false, true)).text);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0],
              "$UserCommand 1 3 " + kPrefix + "Information\\ " + kPrefix + "Hub$<%[mynick]> .hi&#124;|");
}

// Which Information commands appear, by their command text, for a set of item options.
struct OptionCase {
    const char* what;
    bool selected;
    bool any;
    bool offsets;
    std::string userInfo; // MayShowUserInfo value
    std::vector<std::string> commands;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const OptionCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

std::vector<std::string> commandsOf(const std::string& text) {
    std::vector<std::string> commands;
    for (const std::string& emission : emissions(text)) {
        const auto start = emission.find("> ");
        commands.push_back(start == std::string::npos ? emission : emission.substr(start + 2));
    }
    return commands;
}

class InformationOptions : public testing::TestWithParam<OptionCase> {};

TEST_P(InformationOptions, GateSingleRows) {
    GenerationOptions options = withGroups(false, true);
    options.selectedUser = GetParam().selected;
    options.anyUser = GetParam().any;
    options.offsets = GetParam().offsets;
    const auto document = ProfileBuilder()
                              .value("General/Information/MayShowUserInfo", GetParam().userInfo)
                              .enable("General/Information/MayShowIPInfo")
                              .value("General/Information/MayShowTrafficInfo", "1")
                              .document();
    EXPECT_EQ(commandsOf(generate(document, options).text), GetParam().commands);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InformationOptions,
    testing::Values(
        OptionCase{
            "NoOptions", false, false, false, "1", {".ui&#124;|", ".ii&#124;|", ".ii %[line:IP]&#124;|"}},
        OptionCase{"AnyAndOffsetsWithoutSelected",
                   false,
                   true,
                   true,
                   "1",
                   {".ui&#124;|", ".ui %[line:Nick]&#124;|", ".ui %[line:Nick] %[line:Offset]&#124;|",
                    ".ii&#124;|", ".ii %[line:IP]&#124;|", ".ii %[line:IP] %[line:Offset]&#124;|"}},
        OptionCase{"SelectedAndOffsets",
                   true,
                   false,
                   true,
                   "1",
                   {".ui&#124;|", ".ui %[nick]&#124;|", ".ui %[nick] %[line:Offset]&#124;|", ".ii&#124;|",
                    ".ii %[line:IP]&#124;|", ".ii %[line:IP] %[line:Offset]&#124;|", ".ti %[nick]&#124;|"}},
        OptionCase{"UserInfoZero",
                   true,
                   true,
                   true,
                   "0",
                   {".ii&#124;|", ".ii %[line:IP]&#124;|", ".ii %[line:IP] %[line:Offset]&#124;|",
                    ".ti %[nick]&#124;|"}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(Frame, EveryOptionOffStillWritesTheRowsThatNeedNone) {
    GenerationOptions options = withGroups(false, true);
    options.selectedUser = options.anyUser = options.offsets = options.fastUserControl = false;
    // The top-level item; hub, core, user all, IP all and find, nick all and find,
    // and the eleven statistics.
    EXPECT_EQ(emissions(generate(firstGroupsGranted().document(), options).text).size(), 19u);
}

TEST(Frame, AnUnreadablePermissionStopsTheGenerationAndKeepsWhatCameBefore) {
    GenerationOptions options = withGroups(true, true);
    options.clear = options.message = true;
    // Selected is off, so no traffic row could be written, but the test is still made.
    options.selectedUser = false;
    const auto document =
        firstGroupsGranted().value("General/Information/MayShowTrafficInfo", "abc").document();
    const Generation generation = generate(document, options);
    ASSERT_TRUE(generation.stop);
    EXPECT_EQ(generation.stop->element, "General/Information/MayShowTrafficInfo");
    EXPECT_EQ(generation.stop->text, "abc");
    EXPECT_NE(generation.stop->description().find("General/Information/MayShowTrafficInfo"),
              std::string::npos);
    const auto lines = emissions(generation.text);
    EXPECT_EQ(lines.front(), "$UserCommand 255 3|");
    EXPECT_EQ(lines.back(), "$UserCommand 1 3 " + kPrefix + "Information\\ " + kPrefix + "Nick\\ " + kPrefix +
                                "Find by offset$<%[mynick]> .ni %[line:IP] %[line:Offset]&#124;|");
    EXPECT_EQ(generation.text.find("<<botname>>"), std::string::npos);
}

TEST(Frame, AnUnreadableEnableAttributeStopsTheGeneration) {
    const auto document = firstGroupsGranted().enable("General/ProfileSettings/MayHideMe", "yes").document();
    const Generation generation = generate(document, withGroups(true, true));
    ASSERT_TRUE(generation.stop);
    EXPECT_EQ(generation.stop->text, "yes");
    EXPECT_EQ(emissions(generation.text).size(), 3u); // top level, hide share on and off
}

TEST(Frame, NoProfileStopsAfterTheClearCommand) {
    const Generation generation = CreateUserCommands(XmlElement{}, allOptionsOn(), Vocabulary{}, "d");
    EXPECT_EQ(generation.text, "$UserCommand 255 3|");
    ASSERT_TRUE(generation.stop);
}

TEST(Frame, WordsAreEscapedSoTheyCannotBreakACommand) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wUserCommands, "Cmd|$UserCommand 255 3|");
    vocabulary.setText(Word::wStartWith, "$>");
    vocabulary.setText(Word::wBotMessage, "bye|$Kick all");
    GenerationOptions options = onlyItemOptions();
    options.message = true;
    const auto document = ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands").document();
    EXPECT_EQ(generate(document, options, vocabulary).text,
              "$UserCommand 1 3 &#36;>Cmd&#124;&#36;UserCommand 255 3&#124;$<%[mynick]> .h&#124;|"
              "<<botname>> bye&#124;&#36;Kick all|");
}

// What a client reads back from the generated item is the word as typed, even
// a word that spells the escapes clients decode into "|" and "$".
class HostileWord : public testing::TestWithParam<std::string> {};

TEST_P(HostileWord, ReachesTheClientExactlyAsTyped) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wStartWith, "");
    vocabulary.setText(Word::wIp, GetParam());
    const auto document = ProfileBuilder().enable("General/Information/MayShowIPInfo").document();
    const std::string block = generate(document, withGroups(false, true), vocabulary).text;
    const auto pieces = preview::cutIntoPieces(block);
    ASSERT_EQ(pieces.size(), 3u) << block;                               // nothing but the three items
    EXPECT_EQ(preview::titlePath(pieces[1].title)[1], " " + GetParam()); // after the menu separator
    EXPECT_EQ(pieces[1].command, "<%[mynick]> .ii %[line:" + GetParam() + "]|");
}

INSTANTIATE_TEST_SUITE_P(Words, HostileWord,
                         testing::Values("Salasana&#124;&#36;To: x", "a&amp;b", "&#36;", "&", "Q&A",
                                         "&#124;$UserCommand 255 3|", "&&#124;;"));

TEST(Frame, AWordWithoutAmpersandIsWrittenAsBefore) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wIp, "Address #124;");
    const auto document = ProfileBuilder().enable("General/Information/MayShowIPInfo").document();
    EXPECT_EQ(commandsOf(generate(document, withGroups(false, true), vocabulary).text)[1],
              ".ii %[line:Address #124;]&#124;|");
}

TEST(Frame, AnEmptyItemPrefixLeavesOnlyTheSeparators) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wStartWith, "");
    vocabulary.setText(Word::wHub, "");
    const auto document = ProfileBuilder().enable("General/Information/MayShowHubInfo").document();
    EXPECT_EQ(emissions(generate(document, withGroups(false, true), vocabulary).text)[0],
              "$UserCommand 1 3 Information\\ $<%[mynick]> .hi&#124;|");
}

TEST(Frame, StatisticsKeepTheirFixedNamesAndSeparator) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wStatistics, "Stats");
    const auto document = ProfileBuilder().enable("General/Information/MayShowTrafficStats").document();
    const auto lines = emissions(generate(document, withGroups(false, true), vocabulary).text);
    ASSERT_EQ(lines.size(), 11u);
    EXPECT_EQ(lines[1], "$UserCommand 0 3|");
    EXPECT_EQ(lines[2], "$UserCommand 1 3 " + kPrefix + "Information\\ " + kPrefix + "Traffic\\ " + kPrefix +
                            "Stats\\ " + kPrefix + "Search$<%[mynick]> .ts Search&#124;|");
    EXPECT_EQ(lines[10], "$UserCommand 1 3 " + kPrefix + "Information\\ " + kPrefix + "Traffic\\ " + kPrefix +
                             "Stats\\ " + kPrefix + "BW$<%[mynick]> .ts BW&#124;|");
}

} // namespace
} // namespace tavu::test
