#include "preview/menu_preview.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

using preview::ClientFamily;
using preview::MenuNode;
using Kind = preview::Finding::Kind;

// A menu on one line: "T=command" an item, "-" a separator, "T[...]" a submenu.
std::string shape(const std::vector<MenuNode>& entries) {
    std::string text;
    for (const MenuNode& entry : entries) {
        text += text.empty() ? "" : ",";
        text += entry.kind == MenuNode::Kind::Separator ? "-"
                : entry.kind == MenuNode::Kind::Item    ? entry.title + "=" + entry.command
                                                        : entry.title + "[" + shape(entry.children) + "]";
    }
    return text;
}

struct FamilyCase {
    const char* what;
    ClientFamily family;
    std::string block;
    std::string menus; // the hub menu's shape, "|", the user-list menu's
    std::vector<std::pair<Kind, std::size_t>> findings;
};

class Family : public testing::TestWithParam<FamilyCase> {};

TEST_P(Family, BuildsTheMenusOfItsSources) {
    const preview::MenuPreview preview =
        preview::previewUserCommands(GetParam().block, GetParam().family, preview::only(GetParam().family));
    EXPECT_EQ(shape(preview.hubMenu) + "|" + shape(preview.userListMenu), GetParam().menus);
    std::vector<std::pair<Kind, std::size_t>> found;
    for (const preview::Finding& finding : preview.findings) {
        found.emplace_back(finding.kind, finding.piece);
    }
    EXPECT_EQ(found, GetParam().findings);
}

constexpr auto kDcpp = ClientFamily::Dcpp;
constexpr auto kEiskalt = ClientFamily::EiskaltDc;
const std::string kRepeat = "$UserCommand 1 3 A$a|$UserCommand 1 3 B$b|$UserCommand 1 3 A$c|";
const std::string kSeparators =
    "$UserCommand 1 1 A$a|$UserCommand 0 1|$UserCommand 1 1 B$b|$UserCommand 0 1|$UserCommand 1 1 C$c|";

INSTANTIATE_TEST_SUITE_P(
    Rows, Family,
    testing::Values(
        FamilyCase{"RepeatRunsInTheFirstPlace", kDcpp, kRepeat, "A=c,B=b|A=c,B=b", {{Kind::Duplicate, 3}}},
        FamilyCase{"RepeatShownTwice", kEiskalt, kRepeat, "A=a,B=b,A=c|A=a,B=b,A=c", {{Kind::Duplicate, 3}}},
        FamilyCase{"OtherContextOrTypeAddsAnItem",
                   kDcpp,
                   "$UserCommand 1 3 A$a|$UserCommand 1 1 A$b|$UserCommand 2 3 A$c|",
                   "A=a,A=b,A=c|A=a,A=c",
                   {{Kind::Duplicate, 2}, {Kind::Duplicate, 3}}},
        FamilyCase{"SlashAndTwoBackslashesAreOneName",
                   kDcpp,
                   "$UserCommand 1 1 A/B$a|$UserCommand 1 1 A\\\\B$b|",
                   "A/B=b|",
                   {{Kind::TitleReadOtherwise, 2}, {Kind::Duplicate, 2}}},
        FamilyCase{
            "FirstSeparatorOfAContextStays", kDcpp, kSeparators, "A=a,-,B=b,C=c|", {{Kind::Duplicate, 4}}},
        FamilyCase{"EverySeparatorStays", kEiskalt, kSeparators, "A=a,-,B=b,-,C=c|", {}},
        FamilyCase{"ClearOfOneContext",
                   kDcpp,
                   "$UserCommand 1 3 A$a|$UserCommand 1 2 B$b|$UserCommand 0 1|$UserCommand 255 1|"
                   "$UserCommand 1 3 A$c|$UserCommand 0 1|",
                   "A=c,-|B=b,A=c",
                   {}},
        FamilyCase{"SubmenusDifferingInCaseAreOne",
                   kDcpp,
                   "$UserCommand 1 1 Sub\\a$a|$UserCommand 1 1 SUB\\b$b|",
                   "Sub[a=a,b=b]|",
                   {{Kind::SubmenuCase, 2}}},
        FamilyCase{"SeparatorFirstIsNotAdded",
                   kDcpp,
                   "$UserCommand 0 1|$UserCommand 1 1 A$a|",
                   "-,A=a|",
                   {{Kind::HiddenSeparator, 1}}}),
    [](const auto& info) { return std::string(info.param.what); });

// Items I0, I1, ... in the hub menu, a clear of it after `before` of them.
std::string items(std::size_t before, bool clear = false, std::size_t after = 0) {
    std::string block;
    for (std::size_t i = 0; i < before + after; ++i) {
        block += (i == before && clear ? "$UserCommand 255 1|" : "") + std::string("$UserCommand 1 1 I") +
                 std::to_string(i) + "$c|";
    }
    return block;
}

struct LimitCase {
    ClientFamily family;
    std::size_t before;  // items before the clear
    bool clear;          // "$UserCommand 255 1|" after them
    std::size_t after;   // new items after it
    bool repeatFirst;    // the first item again, last
    std::size_t kept;    // items in the hub menu
    std::size_t dropped; // the piece of the past-limit finding, 0 for none
};

class Limit : public testing::TestWithParam<LimitCase> {};

TEST_P(Limit, KeepsAsManyCommandsAsTheSourcesSay) {
    const LimitCase& row = GetParam();
    const std::string block =
        items(row.before, row.clear, row.after) + (row.repeatFirst ? "$UserCommand 1 1 I0$again|" : "");
    const preview::MenuPreview preview =
        preview::previewUserCommands(block, row.family, preview::only(row.family));
    EXPECT_EQ(preview.hubMenu.size(), row.kept);
    EXPECT_EQ(preview.hubMenu.front().command, row.repeatFirst ? "again" : "c");
    std::vector<std::size_t> dropped;
    for (const preview::Finding& finding : preview.findings) {
        if (finding.kind == Kind::PastLimit) {
            dropped.push_back(finding.piece);
        }
    }
    EXPECT_EQ(dropped, row.dropped == 0 ? std::vector<std::size_t>{} : std::vector<std::size_t>{row.dropped});
}

INSTANTIATE_TEST_SUITE_P(Rows, Limit,
                         testing::Values(LimitCase{ClientFamily::AirDcpp, 2000, false, 0, false, 2000, 0},
                                         LimitCase{ClientFamily::AirDcpp, 2001, false, 0, false, 2000, 2001},
                                         LimitCase{kDcpp, 5000, false, 0, false, 5000, 0},
                                         LimitCase{kDcpp, 5001, false, 0, false, 5000, 5001},
                                         LimitCase{kEiskalt, 5001, false, 0, false, 5001, 0},
                                         LimitCase{ClientFamily::AirDcpp, 2000, true, 1, false, 1, 0},
                                         LimitCase{ClientFamily::AirDcpp, 2000, false, 0, true, 2000, 0}));

struct WordingCase {
    std::string block;
    std::string detail; // of the last finding, every family reported
};

class FamilyWording : public testing::TestWithParam<WordingCase> {};

TEST_P(FamilyWording, NamesEachFamilyWhereTheyDiffer) {
    const preview::MenuPreview preview = preview::previewUserCommands(GetParam().block);
    ASSERT_FALSE(preview.findings.empty());
    EXPECT_EQ(preview.findings.back().detail, GetParam().detail);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FamilyWording,
    testing::Values(
        WordingCase{kRepeat,
                    R"(the item "A" repeats the title, context and type of the item of piece 1: DC++ and )"
                    R"(AirDC++ show one item, running the command of piece 3, where piece 1 stood; )"
                    R"(EiskaltDC++ shows both)"},
        WordingCase{
            kSeparators,
            "the separator repeats the context of the separator of piece 2: DC++ and AirDC++ keep only the "
            "first separator of each context until the next clear, and show none here; EiskaltDC++ shows it"},
        WordingCase{
            "$UserCommand 1 1 Sub\\a$a|$UserCommand 1 1 SUB\\b$b|",
            R"(the submenu "SUB" differs from the submenu "Sub" beside it only in case: EiskaltDC++ makes )"
            R"(it a submenu of its own; DC++ and AirDC++ put its entries into "Sub")"},
        WordingCase{items(2002),
                    "AirDC++ keeps at most 2,000 user commands of a hub and drops the rest without a "
                    "word: this command and the 1 after it are not in its menus; EiskaltDC++ and DC++ "
                    "show them"}));

} // namespace
} // namespace tavu::test
