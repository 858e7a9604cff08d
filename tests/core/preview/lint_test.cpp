#include "preview/lint.h"
#include "preview/menu_preview.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

using Kind = preview::Finding::Kind;
using preview::only;

// The lint is worded for the client whose library the reference test reads.
constexpr preview::ClientFamily kEiskalt = preview::ClientFamily::EiskaltDc;

struct Found {
    Kind kind;
    std::size_t piece;
    std::size_t line;
    bool operator==(const Found&) const = default;
};

void PrintTo(const Found& found, std::ostream* out) {
    *out << "{kind " << static_cast<int>(found.kind) << ", piece " << found.piece << ", line " << found.line
         << "}";
}

struct LintCase {
    const char* what;
    std::string block;
    std::vector<Found> findings;
    bool unreadable;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LintCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

std::string repeated(std::string_view text, std::size_t times) {
    std::string out;
    for (std::size_t i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

class Lint : public testing::TestWithParam<LintCase> {};

TEST_P(Lint, Findings) {
    const preview::MenuPreview preview =
        preview::previewUserCommands(GetParam().block, kEiskalt, only(kEiskalt));
    std::vector<Found> found;
    for (const preview::Finding& finding : preview.findings) {
        found.push_back({finding.kind, finding.piece, finding.line});
    }
    EXPECT_EQ(found, GetParam().findings);
    EXPECT_EQ(preview.hasError(), GetParam().unreadable);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Lint,
    testing::Values(
        LintCase{"CleanBlock",
                 "$UserCommand 255 3|$UserCommand 1 3 A\\ B$<%[mynick]> .x %[line:Nick] %[nick]&#124;|"
                 "$UserCommand 0 3|$UserCommand 1 3 A\\ C$x|<<botname>> Hi|\r\n",
                 {},
                 false},
        LintCase{"NoDollar",
                 "$UserCommand 1 3 A$a|$UserCommand 1 3 Kick %[nick]|",
                 {{Kind::Unreadable, 2, 1}},
                 true},
        LintCase{"NoSpaceAfterContext", "$UserCommand 2 3|", {{Kind::Unreadable, 1, 1}}, true},
        LintCase{"NoSpaceAfterType",
                 "$UserCommand 1|$UserCommand|",
                 {{Kind::Unreadable, 1, 1}, {Kind::Unreadable, 2, 1}},
                 true},
        LintCase{"SeparatorNeedsNoTitle", "$UserCommand 0 3|$UserCommand 255 1|", {}, false},
        LintCase{"UnterminatedLastPiece",
                 "$UserCommand 1 3 A$a|$UserCommand 1 3 B$b",
                 {{Kind::Unterminated, 2, 1}},
                 true},
        LintCase{"LineBreakBetweenCommands",
                 "$UserCommand 1 3 A$a|\n$UserCommand 1 3 B$b|\r\n$UserCommand 1 3 C$c|",
                 {{Kind::CommandShownAsChat, 2, 2}, {Kind::CommandShownAsChat, 3, 3}},
                 false},
        LintCase{"SpaceBeforeCommand", "  $UserCommand 1 3 A$a|", {{Kind::CommandShownAsChat, 1, 1}}, false},
        LintCase{"ChatTextIsNoFinding", "\n<<botname>> Hi|", {}, false},
        LintCase{"SameTitleAndContext",
                 "$UserCommand 1 3 A\\ B$x|$UserCommand 1 3 A\\ B$y|",
                 {{Kind::Duplicate, 2, 1}},
                 false},
        LintCase{"SameTitleInOneMenuThroughAnotherContext",
                 "$UserCommand 1 3 A\\ B$x|$UserCommand 1 2 A\\ B$y|",
                 {{Kind::Duplicate, 2, 1}},
                 false},
        LintCase{"SameTitleOtherMenuOrPath",
                 "$UserCommand 1 1 A\\ B$x|$UserCommand 1 2 A\\ B$y|$UserCommand 1 3 A\\B$z|",
                 {},
                 false},
        LintCase{"DuplicateAfterAClearIsNew",
                 "$UserCommand 1 3 A$x|$UserCommand 255 1|$UserCommand 1 3 A$y|",
                 {},
                 false},
        LintCase{"AmpersandInTitle",
                 "$UserCommand 1 3 Kick & ban$a|$UserCommand 1 3 Q&amp;A$a|$UserCommand 1 3 X$a&b|",
                 {{Kind::Ampersand, 1, 1}, {Kind::Ampersand, 2, 1}},
                 false},
        LintCase{"StrayPercent",
                 "$UserCommand 1 3 A$.say 100%|$UserCommand 1 3 B$.topic %d|$UserCommand 1 3 C$%[line:X] %[|",
                 {{Kind::StrayPercent, 1, 1}, {Kind::StrayPercent, 2, 1}, {Kind::StrayPercent, 3, 1}},
                 false},
        LintCase{"UnknownTypeAndOtherCommand",
                 "$UserCommand 3 3 A$a|$Hello x|",
                 {{Kind::UnknownType, 1, 1}, {Kind::OtherCommand, 2, 1}},
                 false},
        LintCase{"EachRepeatIsReported",
                 "$UserCommand 1 3 A$x|$UserCommand 1 3 A$y|$UserCommand 1 3 A$z|",
                 {{Kind::Duplicate, 2, 1}, {Kind::Duplicate, 3, 1}},
                 false},
        LintCase{"DeeperThanTheCap",
                 "$UserCommand 1 3 " + repeated("a\\", preview::kMaxMenuDepth) + "x$y|$UserCommand 2 4 " +
                     repeated("a\\", preview::kMaxMenuDepth - 1) + "x$y|",
                 {{Kind::TooDeep, 1, 1}},
                 false},
        LintCase{"BracketInAPromptTitle",
                 "$UserCommand 1 3 A$.kick %[line:Re]ason]|$UserCommand 1 3 B$.x %[line:[Nick]] %[nick]|"
                 "$UserCommand 1 3 C$.x %[line:Date: 07]12] 0|$UserCommand 1 3 D$<[op]> %[line:X] %[nick]|"
                 "$UserCommand 1 3 E$.x] %[line:Nick]%[line:Re] [|",
                 {{Kind::PromptCutShort, 1, 1}, {Kind::PromptCutShort, 2, 1}, {Kind::PromptCutShort, 3, 1}},
                 true},
        LintCase{"PromptCutShortInARawOnceItem",
                 "$UserCommand 2 3 A$.kick %[line:Re]ason]|",
                 {{Kind::PromptCutShort, 1, 1}},
                 true},
        LintCase{
            "BracketAfterOtherVariables",
            "$UserCommand 1 3 A$<%[mynick]> %[nick] and ]|$UserCommand 1 3 B$.x %[nick] ] %[line:Re]ason]|",
            {{Kind::PromptCutShort, 2, 1}},
            true},
        LintCase{"NumbersPastWhatClientsRead",
                 "$UserCommand 99999999999999999999999 3 A$a|$UserCommand 1 4294967299 A$a|"
                 "$UserCommand 255 2147483648|$UserCommand 2147483647 3|$UserCommand 1 2147483647 B$b|",
                 {{Kind::Unreadable, 1, 1},
                  {Kind::Unreadable, 2, 1},
                  {Kind::Unreadable, 3, 1},
                  {Kind::UnknownType, 4, 1}},
                 true},
        LintCase{"ByteOrderMarkBeforeACommand",
                 "\xEF\xBB\xBF$UserCommand 1 3 A$a|\xEF\xBB\xBF\n$UserCommand 1 3 B$b|\n\xEF\xBB\xBFHi|",
                 {{Kind::Unreadable, 1, 1}, {Kind::Unreadable, 2, 1}},
                 true},
        LintCase{"TitlesReadIntoAnotherPath",
                 "$UserCommand 1 1 A\\$a|$UserCommand 1 1 A\\\\B$b|$UserCommand 1 1 T\tab$c|$UserCommand 1 1 "
                 "$d|$UserCommand 1 1 A\\/B$e|$UserCommand 1 1 \\U$f|$UserCommand 1 1 a/b\\c$g|",
                 {{Kind::TitleReadOtherwise, 1, 1},
                  {Kind::TitleReadOtherwise, 2, 1},
                  {Kind::TitleReadOtherwise, 3, 1},
                  {Kind::TitleReadOtherwise, 4, 1},
                  {Kind::TitleReadOtherwise, 5, 1}},
                 false},
        LintCase{"SeparatorsFirstAfterAnotherOrLast",
                 "$UserCommand 0 1|$UserCommand 1 1 A$a|$UserCommand 0 1|$UserCommand 0 1|$UserCommand 1 1 "
                 "B$b|$UserCommand 0 1|$UserCommand 0 3|",
                 {{Kind::HiddenSeparator, 1, 1},
                  {Kind::HiddenSeparator, 4, 1},
                  {Kind::HiddenSeparator, 6, 1},
                  {Kind::HiddenSeparator, 7, 1}},
                 false},
        LintCase{"SubmenusDifferingInCase",
                 "$UserCommand 1 1 Sub\\a$a|$UserCommand 1 1 SUB\\b$b|$UserCommand 1 1 Sub\\c$c|"
                 "$UserCommand 1 1 X\\SUB\\d$d|",
                 {{Kind::SubmenuCase, 2, 1}},
                 false},
        LintCase{"LinesCountedFromTheCommandNotTheBar",
                 "$UserCommand 1 3 A$a|\n\n$UserCommand 1 3 A|\n",
                 {{Kind::CommandShownAsChat, 2, 3}},
                 false}),
    [](const auto& info) { return std::string(info.param.what); });

struct DetailCase {
    std::string block;
    std::string detail; // of the last finding
};

void PrintTo(const DetailCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.block);
}

class LintDetail : public testing::TestWithParam<DetailCase> {};

TEST_P(LintDetail, SaysWhatClientsDo) {
    const preview::MenuPreview preview =
        preview::previewUserCommands(GetParam().block, kEiskalt, only(kEiskalt));
    ASSERT_FALSE(preview.findings.empty());
    EXPECT_EQ(preview.findings.back().detail, GetParam().detail);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LintDetail,
    testing::Values(
        DetailCase{"$UserCommand 1 1 A\\\\B\\$b|",
                   R"(EiskaltDC++ reads the title "A\\\\B\\" as "A/B": two "\" in a row stand for a "/", )"
                   R"(a "\" at the end adds no level)"},
        DetailCase{"$UserCommand 1 1 T\tab\\/x$b|",
                   R"(EiskaltDC++ reads the title "T\tab\\/x" as "T/ab/" > "x": "\/" reads as "/\", a tab )"
                   R"(is shown as "/")"},
        DetailCase{"$UserCommand 1 1 $b|", "the title is empty, and EiskaltDC++ makes no item of it"},
        DetailCase{"$ForceMove evil.example:411|", R"("$ForceMove" redirects the client to another hub)"},
        DetailCase{"$To: a From: b $<b> hi|", R"("$To:" shows the client a private message)"},
        DetailCase{"$Foo|", R"("$Foo" is a protocol command that adds nothing to the menus)"},
        DetailCase{"$UserCommand 1 1 A\\B$x|$UserCommand 1 3 A\\B$y|",
                   R"(the item "A" > "B" has the title path of the item of piece 1 in the same menu; )"
                   R"(EiskaltDC++ keeps both and shows two items of that title)"},
        DetailCase{"$UserCommand 1 1 A$x|$UserCommand 0 1|",
                   "the separator is last in its menu, where clients whose menus Qt draws, such as "
                   "EiskaltDC++, draw none"},
        DetailCase{"$UserCommand 1 1 Sub\\a$a|$UserCommand 1 1 SUB\\b$b|",
                   R"(the submenu "SUB" differs from the submenu "Sub" beside it only in case, and is a )"
                   R"(submenu of its own)"},
        DetailCase{"$UserCommand 1 1 R&&D\\E&$b|",
                   R"(clients whose menus Qt draws, such as EiskaltDC++, show the title "R&&D\\E&" as )"
                   R"("R&D\\E": "&&" stands for "&", and a "&" at the end of a level is not shown)"},
        DetailCase{"$UserCommand 1 1 A$say 100%% off|",
                   R"(the command "say 100%% off" holds "%%", which EiskaltDC++ sends as "%")"},
        DetailCase{"$UserCommand 1 1 A$topic %[nick] %-d.%m|",
                   R"(the command "topic %[nick] %-d.%m" holds "%-d", a code of the date formatter, which )"
                   R"(EiskaltDC++ replaces with the date or time of the click)"},
        DetailCase{"$UserCommand 1 1 A$say 50% off|",
                   R"(the command "say 50% off" holds "% ", a "%" outside a %[...] variable, which )"
                   R"(EiskaltDC++ sends as written though the command passes through the system's date )"
                   R"(formatter)"}));

TEST(LintDescription, NamesPieceLineAndWhatWasFound) {
    const preview::MenuPreview preview =
        preview::previewUserCommands("$UserCommand 1 3 A$a|\n$UserCommand 1 3 A$b|");
    ASSERT_EQ(preview.findings.size(), 1u);
    EXPECT_EQ(
        preview::describe(preview.findings[0]),
        "piece 2, line 2: a line break stands before \"$UserCommand 1 3 A$b\", so clients show the piece as "
        "chat text");
}

} // namespace
} // namespace tavu::test
