#include "preview/menu_preview.h"
#include "preview/preview_text.h"
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace tavu::test {
namespace {

using preview::MenuNode;

std::size_t countItems(const std::vector<MenuNode>& entries) {
    return std::accumulate(entries.begin(), entries.end(), std::size_t{0},
                           [](std::size_t sum, const MenuNode& n) {
                               return sum + (n.kind == MenuNode::Kind::Item ? 1 : countItems(n.children));
                           });
}

std::size_t countPieces(std::string_view text, std::string_view start) {
    std::size_t count = 0;
    for (auto at = text.find(start); at != std::string_view::npos; at = text.find(start, at + 1)) {
        ++count;
    }
    return count;
}

const MenuNode* child(const std::vector<MenuNode>& entries, std::string_view title) {
    const auto found =
        std::find_if(entries.begin(), entries.end(), [&](const MenuNode& n) { return n.title == title; });
    return found == entries.end() ? nullptr : &*found;
}

std::string prefixed(std::string_view word) {
    return kPrefix + std::string(word);
}

class OwnerPreview : public testing::Test {
protected:
    void SetUp() override {
        const auto loaded = ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml");
        ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
        const Generation generation = generate(loaded.value(), allOptionsOn());
        ASSERT_FALSE(generation.stop);
        text = generation.text;
        menus = preview::previewUserCommands(text);
    }
    std::string text;
    preview::MenuPreview menus;
};

TEST_F(OwnerPreview, EveryGeneratedItemLandsInTheMenusOfItsContext) {
    EXPECT_TRUE(menus.findings.empty()) << preview::previewText(menus);
    const std::size_t bothMenus = countPieces(text, "$UserCommand 1 3 ");
    const std::size_t userListOnly = countPieces(text, "$UserCommand 1 2 ");
    ASSERT_GT(userListOnly, 0u);
    EXPECT_EQ(countItems(menus.hubMenu), bothMenus);
    EXPECT_EQ(countItems(menus.userListMenu), bothMenus + userListOnly);
}

TEST_F(OwnerPreview, SubmenusAreMergedWithTheSpaceAfterTheBackslashKept) {
    std::vector<std::string> top;
    for (const MenuNode& node : menus.hubMenu) {
        top.push_back(node.title);
    }
    EXPECT_EQ(top, (std::vector<std::string>{prefixed("User commands"), prefixed("Miscellaneous"),
                                             prefixed("Information"), prefixed("Hub control"),
                                             prefixed("Accounts"), prefixed("User control")}));
    const MenuNode* information = child(menus.hubMenu, prefixed("Information"));
    ASSERT_NE(information, nullptr);
    const MenuNode* user = child(information->children, " " + prefixed("User"));
    ASSERT_NE(user, nullptr);
    EXPECT_EQ(user->kind, MenuNode::Kind::Submenu);
    const MenuNode* find = child(user->children, " " + prefixed("Find"));
    ASSERT_NE(find, nullptr);
    EXPECT_EQ(find->command, "<%[mynick]> .ui %[line:Nick]|");
    EXPECT_EQ(find->prompts, std::vector<std::string>{"Nick"});
}

TEST_F(OwnerPreview, TheSeparatorGoesWhereThePreviousItemWent) {
    const MenuNode* statistics = child(menus.hubMenu, prefixed("Information"));
    for (std::string_view title : {"Traffic", "Statistics"}) {
        ASSERT_NE(statistics, nullptr);
        statistics = child(statistics->children, " " + prefixed(title));
    }
    ASSERT_NE(statistics, nullptr);
    ASSERT_GE(statistics->children.size(), 2u);
    EXPECT_EQ(statistics->children[0].title, " " + prefixed("All"));
    EXPECT_EQ(statistics->children[1].kind, MenuNode::Kind::Separator);
}

TEST_F(OwnerPreview, SelectedUserItemsAreInTheUserListMenuOnly) {
    const auto say = [](const std::vector<MenuNode>& menu) {
        const MenuNode* node = child(menu, prefixed("Miscellaneous"));
        return node == nullptr ? nullptr : child(node->children, " " + prefixed("Say"));
    };
    ASSERT_NE(say(menus.hubMenu), nullptr);
    ASSERT_NE(say(menus.userListMenu), nullptr);
    EXPECT_EQ(child(say(menus.hubMenu)->children, " " + prefixed("Selected")), nullptr);
    EXPECT_NE(child(say(menus.userListMenu)->children, " " + prefixed("Selected")), nullptr);
    ASSERT_EQ(menus.chat.size(), 1u);
    EXPECT_EQ(menus.chat[0].text, "<<botname>> I have installed rightclick menu created by TAVU for you");
}

struct TreeCase {
    const char* what;
    std::string block;
    std::string hubMenu;      // the lines under "Hub menu"
    std::string userListMenu; // the lines under "User-list menu"
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TreeCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class PreviewTree : public testing::TestWithParam<TreeCase> {};

TEST_P(PreviewTree, Menus) {
    const std::string text = preview::previewText(preview::previewUserCommands(GetParam().block));
    const auto menusEnd = text.find("Chat text\n");
    EXPECT_EQ(text.substr(0, menusEnd),
              "Hub menu\n" + GetParam().hubMenu + "User-list menu\n" + GetParam().userListMenu);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PreviewTree,
    testing::Values(
        TreeCase{
            "SameTitleMergedNothingTrimmed",
            "$UserCommand 1 1 A\\ B$b|$UserCommand 1 1 A\\ C$c|$UserCommand 1 1 A \\D$d|",
            "  + \"A\"\n    - \" B\" -> \"b\"\n    - \" C\" -> \"c\"\n  + \"A \"\n    - \"D\" -> \"d\"\n",
            "  (empty)\n"},
        TreeCase{"SameTitleUnderOtherParentsStaysApart",
                 "$UserCommand 1 1 A\\X\\1$a|$UserCommand 1 1 B\\X\\2$b|",
                 "  + \"A\"\n    + \"X\"\n      - \"1\" -> \"a\"\n  + \"B\"\n    + \"X\"\n      - \"2\" -> "
                 "\"b\"\n",
                 "  (empty)\n"},
        TreeCase{"ItemAndSubmenuOfOneTitleStaySeparate", "$UserCommand 1 2 A$a|$UserCommand 1 2 A\\B$b|",
                 "  (empty)\n", "  - \"A\" -> \"a\"\n  + \"A\"\n    - \"B\" -> \"b\"\n"},
        TreeCase{"EscapesUndoneOneAfterTheOther",
                 "$UserCommand 1 1 Pay &#36;5 &amp;#124;$say &#124;&#36;&amp;|",
                 "  - \"Pay $5 &#124;\" -> \"say |$&\"\n", "  (empty)\n"},
        TreeCase{"TitleRunsToTheFirstDollar", "$UserCommand 1 1 T$a$b|", "  - \"T\" -> \"a$b\"\n",
                 "  (empty)\n"},
        TreeCase{"SeparatorInTheLastItemsMenuEachMenuItsOwn",
                 "$UserCommand 0 3|$UserCommand 1 1 A\\B$x|$UserCommand 1 2 C$y|$UserCommand 0 3|",
                 "  ---\n  + \"A\"\n    - \"B\" -> \"x\"\n    ---\n", "  ---\n  - \"C\" -> \"y\"\n  ---\n"},
        TreeCase{"ClearRemovesCommandsSharingABit",
                 "$UserCommand 1 3 Both$b|$UserCommand 1 1 Hub$h|$UserCommand 1 2 List$l|$UserCommand 255 "
                 "2|$UserCommand 1 2 After$a|",
                 "  - \"Hub\" -> \"h\"\n", "  - \"After\" -> \"a\"\n"},
        TreeCase{"OtherContextsInNeitherMenu", "$UserCommand 1 4 Search$s|$UserCommand 1 8 List$l|",
                 "  (empty)\n", "  (empty)\n"},
        TreeCase{"RawOnceIsAnItem", "$UserCommand 2 1 Once$o|", "  - \"Once\" -> \"o\"\n", "  (empty)\n"},
        TreeCase{"DuplicatesBothShown",
                 "$UserCommand 1 1 A$first|$UserCommand 1 1 B$b|$UserCommand 1 1 A$second|",
                 "  - \"A\" -> \"first\"\n  - \"B\" -> \"b\"\n  - \"A\" -> \"second\"\n", "  (empty)\n"},
        TreeCase{
            "TitlesReadAsTheReferenceLibraryReadsThem",
            "$UserCommand 1 1 A\\$a|$UserCommand 1 1 A\\\\B$b|$UserCommand 1 1 \\C$c|$UserCommand 1 1 "
            "$d|$UserCommand 1 1 T\tab$t|$UserCommand 1 1 Sub\\x$x|$UserCommand 1 1 SUB\\y$y|",
            "  - \"A\" -> \"a\"\n  - \"A/B\" -> \"b\"\n  + \"\"\n    - \"C\" -> \"c\"\n"
            "  - \"T/ab\" -> \"t\"\n  + \"Sub\"\n    - \"x\" -> \"x\"\n  + \"SUB\"\n    - \"y\" -> \"y\"\n",
            "  (empty)\n"},
        TreeCase{"PromptsOnceEachTitleToTheFirstBracket",
                 "$UserCommand 1 1 P$x %[line:Nick] %[line:Re]ason] %[line:Nick] %[nick]|",
                 "  - \"P\" -> \"x %[line:Nick] %[line:Re]ason] %[line:Nick] %[nick]\"\n"
                 "    asks for \"Nick\", \"Re\"\n",
                 "  (empty)\n"}),
    [](const auto& info) { return std::string(info.param.what); });

struct PathCase {
    std::string title;
    std::vector<std::string> path;
};

void PrintTo(const PathCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.title);
}

class TitlePath : public testing::TestWithParam<PathCase> {};

// As the client library of EiskaltDC++ 2.4.2 read each title in the reference test.
TEST_P(TitlePath, ReadsAsTheReferenceLibrary) {
    EXPECT_EQ(preview::titlePath(GetParam().title), GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Titles, TitlePath,
                         testing::Values(PathCase{"A\\", {"A"}}, PathCase{"A\\\\B", {"A/B"}},
                                         PathCase{"\\A", {"", "A"}}, PathCase{"", {}}, PathCase{"\\", {""}},
                                         PathCase{"A\\\\\\B", {"A/", "B"}}, PathCase{"A\\/B", {"A/", "B"}},
                                         PathCase{"A/\\B", {"A/", "B"}}, PathCase{"\\\\A", {"/A"}},
                                         PathCase{"A\\ \\B", {"A", " ", "B"}},
                                         PathCase{"a\tb\\c", {"a/b", "c"}}, PathCase{"a//b", {"a//b"}},
                                         PathCase{"A\\B\\", {"A", "B"}}));

std::string nestedTitle(std::size_t levels) {
    std::string title;
    for (std::size_t level = 1; level < levels; ++level) {
        title += "a\\";
    }
    return title + "x";
}

// Deeper levels would crash the printing, the window and the destruction of
// the tree, and print text growing with the square of the depth.
TEST(PreviewDepth, ItemsDeeperThanTheCapAreBuiltAtTheCap) {
    const std::string block = "$UserCommand 1 3 " + nestedTitle(20'000) + "$y|";
    const preview::MenuPreview menus = preview::previewUserCommands(block);
    const std::vector<MenuNode>* entries = &menus.hubMenu;
    std::size_t depth = 1;
    for (; entries->size() == 1 && entries->front().kind == MenuNode::Kind::Submenu; ++depth) {
        entries = &entries->front().children;
    }
    EXPECT_EQ(depth, preview::kMaxMenuDepth);
    ASSERT_EQ(entries->size(), 1u);
    // Compared whole, but not printed whole when it differs.
    EXPECT_TRUE(entries->front().title == nestedTitle(20'000 - preview::kMaxMenuDepth + 1));
    EXPECT_LT(preview::previewText(menus).size(), 4 * block.size());
}

// A "]" in any word or in the date cuts every prompt it is in short.
TEST(PreviewOfCutPrompts, EveryGeneratedPromptHoldingABracketIsAnError) {
    Vocabulary vocabulary;
    for (std::size_t word = 0; word < kWordCount; ++word) {
        vocabulary.setText(static_cast<Word>(word), vocabulary.text(static_cast<Word>(word)) + " [1]");
    }
    const std::string text =
        generate(everythingGranted().document(), allOptionsOn(), vocabulary, "07]12]2026").text;
    std::size_t prompting = 0;
    for (const std::string& emission : emissions(text)) {
        prompting += emission.find("%[line:") != std::string::npos ? 1 : 0;
    }
    const preview::MenuPreview menus = preview::previewUserCommands(text);
    ASSERT_GT(prompting, 0u);
    EXPECT_EQ(std::count_if(menus.findings.begin(), menus.findings.end(),
                            [](const preview::Finding& f) { return f.isError(); }),
              prompting);
}

TEST(PreviewText, ShowsChatTextAndFindingsAfterTheMenus) {
    EXPECT_EQ(
        preview::previewText(preview::previewUserCommands("<<bot>> Hi|$UserCommand 1 1 X|")),
        "Hub menu\n  (empty)\nUser-list menu\n  (empty)\nChat text\n  piece 1: \"<<bot>> Hi\"\n"
        "Findings\n  error: piece 2, line 1: no client can read \"$UserCommand 1 1 X\": no \"$\" between "
        "the title and the command\n");
}

TEST(PreviewText, NamesDeepItemsAndCutPrompts) {
    const std::string text = preview::previewText(preview::previewUserCommands(
        "$UserCommand 1 4 " + nestedTitle(33) + "$y|$UserCommand 1 4 K$.kick %[line:Re]ason] %[nick]|"));
    EXPECT_EQ(text.substr(text.find("Findings\n")),
              R"(Findings
  warning: piece 1, line 1: the item "a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\a\\")"
              R"(... is nested 33 levels deep; )"
              R"(the preview shows it at level 32, with the deeper levels left in its title
  error: piece 2, line 1: the prompt "Re" is followed by "ason]", whose "]" closes no %[...] variable: )"
              R"(a "]" in the prompt's title ends the prompt early, and clients send the rest of the title )"
              R"(with the command
)");
}

} // namespace
} // namespace tavu::test
