#include "preview/menu_preview.h"

#include <gtest/gtest.h>

#include <algorithm>

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

struct DcppCase {
    const char* what;
    std::string block;
    std::string menus; // the hub menu's shape, "|", the user-list menu's
    std::vector<std::pair<Kind, std::size_t>> findings;
};

class DcppFamily : public testing::TestWithParam<DcppCase> {};

TEST_P(DcppFamily, BuildsTheMenusOfItsSources) {
    const preview::MenuPreview preview =
        preview::previewUserCommands(GetParam().block, ClientFamily::Dcpp, preview::only(ClientFamily::Dcpp));
    EXPECT_EQ(shape(preview.hubMenu) + "|" + shape(preview.userListMenu), GetParam().menus);
    std::vector<std::pair<Kind, std::size_t>> found;
    for (const preview::Finding& finding : preview.findings) {
        found.emplace_back(finding.kind, finding.piece);
    }
    EXPECT_EQ(found, GetParam().findings);
}

const std::string kRepeat = "$UserCommand 1 3 A$a|$UserCommand 1 3 B$b|$UserCommand 1 3 A$c|";

INSTANTIATE_TEST_SUITE_P(
    Rows, DcppFamily,
    testing::Values(DcppCase{"RepeatRunsInTheFirstPlace", kRepeat, "A=c,B=b|A=c,B=b", {{Kind::Duplicate, 3}}},
                    DcppCase{"OtherContextOrType",
                             "$UserCommand 1 3 A$a|$UserCommand 1 1 A$b|$UserCommand 2 3 A$c|",
                             "A=a,A=b,A=c|A=a,A=c",
                             {{Kind::Duplicate, 2}, {Kind::Duplicate, 3}}},
                    DcppCase{"SlashAndTwoBackslashes",
                             "$UserCommand 1 1 A/B$a|$UserCommand 1 1 A\\\\B$b|",
                             "A/B=b|",
                             {{Kind::TitleReadOtherwise, 2}, {Kind::Duplicate, 2}}},
                    DcppCase{"FirstSeparatorOfAContext",
                             "$UserCommand 1 1 A$a|$UserCommand 0 1|$UserCommand 1 1 B$b|"
                             "$UserCommand 0 1|$UserCommand 1 1 C$c|",
                             "A=a,-,B=b,C=c|",
                             {{Kind::Duplicate, 4}}},
                    DcppCase{"ClearOfOneContext",
                             "$UserCommand 1 3 A$a|$UserCommand 1 2 B$b|$UserCommand 0 1|"
                             "$UserCommand 255 1|$UserCommand 1 3 A$c|$UserCommand 0 1|",
                             "A=c,-|B=b,A=c",
                             {}},
                    DcppCase{"SubmenusDifferingInCase",
                             "$UserCommand 1 1 Sub\\a$a|$UserCommand 1 1 SUB\\b$b|",
                             "Sub[a=a,b=b]|",
                             {{Kind::SubmenuCase, 2}}},
                    DcppCase{"SeparatorFirst",
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

// Items before a clear, the clear or none, items after it, the first item
// again or not; the items kept, and the piece of the past-limit finding (0: none).
struct LimitCase {
    ClientFamily family;
    std::size_t before;
    bool clear;
    std::size_t after;
    bool repeatFirst;
    std::size_t kept;
    std::size_t dropped;
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
    const auto past =
        std::find_if(preview.findings.begin(), preview.findings.end(),
                     [](const preview::Finding& finding) { return finding.kind == Kind::PastLimit; });
    EXPECT_EQ(past == preview.findings.end() ? 0 : past->piece, row.dropped);
}

INSTANTIATE_TEST_SUITE_P(Rows, Limit,
                         testing::Values(LimitCase{ClientFamily::AirDcpp, 2000, false, 0, false, 2000, 0},
                                         LimitCase{ClientFamily::AirDcpp, 2001, false, 0, false, 2000, 2001},
                                         LimitCase{ClientFamily::Dcpp, 5000, false, 0, false, 5000, 0},
                                         LimitCase{ClientFamily::Dcpp, 5001, false, 0, false, 5000, 5001},
                                         LimitCase{ClientFamily::EiskaltDc, 5001, false, 0, false, 5001, 0},
                                         LimitCase{ClientFamily::AirDcpp, 2000, true, 1, false, 1, 0},
                                         LimitCase{ClientFamily::AirDcpp, 2000, false, 0, true, 2000, 0}));

TEST(EveryFamily, FindingsNameEachFamilyWhereTheyDiffer) {
    EXPECT_EQ(
        preview::previewUserCommands(kRepeat).findings.back().detail,
        R"(the item "A" repeats the title, context and type of the item of piece 1: DC++ and AirDC++ )"
        R"(show one item, running the command of piece 3, where piece 1 stood; EiskaltDC++ shows both)");
    EXPECT_EQ(preview::previewUserCommands(items(2002)).findings.back().detail,
              "AirDC++ keeps at most 2,000 user commands of a hub and drops the rest without a word: this "
              "command and the 1 after it are not in its menus; EiskaltDC++ and DC++ show them");
}

} // namespace
} // namespace tavu::test
