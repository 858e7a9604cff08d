#include "matrix/matrix_export.h"
#include "matrix/profile_matrix.h"
#include "matrix/profiles_diff.h"
#include "support.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

// One file of several profiles, each a builder's.
ProfilesDocument documentOf(const std::vector<std::pair<std::string, ProfileBuilder>>& profiles) {
    std::string xml = "<Profiles>";
    for (const auto& [name, builder] : profiles) {
        xml += builder.profile(name);
    }
    return ProfilesDocument::parse(xml + "</Profiles>", "profiles.xml").value();
}

GenerationOptions withoutClearAndMessage() {
    GenerationOptions options = allOptionsOn();
    options.clear = false;
    options.message = false;
    return options;
}

OwnItem ownItem(std::string path, std::vector<std::string> profiles, std::string damage = {}) {
    OwnItem item;
    item.path = std::move(path);
    item.command = "+rules";
    item.profiles.names = std::move(profiles);
    item.damage = std::move(damage);
    return item;
}

struct MatrixCase {
    const char* what;
    MenuChanges changes;
    std::vector<std::size_t> switchedOff; // how many cells say so, a profile each
};

void PrintTo(const MatrixCase& value, std::ostream* out) {
    *out << value.what;
}

class ProfileMatrixCases : public testing::TestWithParam<MatrixCase> {};

// For each profile, the commands of the items marked written, in the matrix's
// order, are the block generate writes for it.
TEST_P(ProfileMatrixCases, MarksWhatGenerateWritesForEachProfile) {
    const ProfilesDocument document =
        documentOf({{"Guest", ProfileBuilder().enable("General/Information/MayShowHubInfo")},
                    {"Operator", everythingGranted()},
                    {"Guest", ProfileBuilder()}});
    const GenerationInput input{
        withoutClearAndMessage(), Vocabulary{}, "07/12/2026", {}, GetParam().changes, {}};
    const auto matrix = buildProfileMatrix(document, input);
    ASSERT_TRUE(matrix.ok());
    ASSERT_EQ(matrix->profiles(), document.names());
    for (std::size_t profile = 0; profile < document.names().size(); ++profile) {
        std::string written;
        std::size_t off = 0;
        for (std::size_t row = 0; row < matrix->items().size(); ++row) {
            const Mark mark = matrix->mark(row, profile);
            written += mark == Mark::Written ? matrix->items()[row].command : "";
            off += mark == Mark::SwitchedOff ? 1 : 0;
        }
        EXPECT_EQ(written,
                  CreateUserCommands(document.profile(static_cast<int>(profile)), input.options,
                                     input.vocabulary, input.date, input.changes, document.names()[profile])
                      .text)
            << profile;
        EXPECT_EQ(off, GetParam().switchedOff[profile]) << profile;
        EXPECT_EQ(matrix->writtenCount(profile), emissions(written).size()) << profile;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Changes, ProfileMatrixCases,
    testing::Values(
        MatrixCase{"None", {}, {0, 0, 0}},
        MatrixCase{"ItemOffForOneName", {{}, {ItemOff{"wInformation\\wHub", {{"Guest"}}}}}, {1, 0, 0}},
        MatrixCase{"SubmenuOffForEvery", {{}, {ItemOff{"wInformation", {}}}}, {2, 25, 0}},
        MatrixCase{"OwnItemInASubmenu", {{ownItem("{wUserControl}\\Rules", {"Operator"})}, {}}, {0, 0, 0}},
        MatrixCase{"OwnItemAtTheEndForEvery", {{ownItem("Rules", {})}, {}}, {0, 0, 0}},
        MatrixCase{
            "RefusedOwnItem", {{ownItem("Rules", {"Guest"}, "the menus cannot be read")}, {}}, {1, 0, 1}}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(ProfileMatrix, AProfileThatStopsIsNamedAndGivesNoMatrix) {
    const ProfilesDocument document =
        documentOf({{"Guest", ProfileBuilder()},
                    {"Broken", ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes")}});
    const auto matrix =
        buildProfileMatrix(document, {allOptionsOn(), Vocabulary{}, "07/12/2026", {}, {}, {}});
    ASSERT_FALSE(matrix.ok());
    EXPECT_EQ(matrix.failure().profile, 1U);
    EXPECT_EQ(matrix.failure().name, "Broken");
    EXPECT_EQ(matrix.failure().stop.element, "General/Information/MayShowHubInfo");
}

// A matrix written by hand: items by identity, and the identities each profile writes.
ProfileMatrix matrixOf(const std::vector<std::string>& identities,
                       const std::vector<std::pair<std::string, std::string>>& profiles) {
    std::vector<MatrixItem> items;
    for (const std::string& identity : identities) {
        items.push_back(MatrixItem{identity, "path of " + identity, "", 3, false, false});
    }
    std::vector<std::string> names;
    for (const auto& [name, written] : profiles) {
        names.push_back(name);
    }
    ProfileMatrix matrix(names, items);
    for (std::size_t profile = 0; profile < profiles.size(); ++profile) {
        for (std::size_t row = 0; row < identities.size(); ++row) {
            if (profiles[profile].second.find(identities[row]) != std::string::npos) {
                matrix.setMark(row, profile, Mark::Written);
            } else if (profiles[profile].second.find(char(identities[row][0] - 'a' + 'A')) !=
                       std::string::npos) {
                matrix.setMark(row, profile, Mark::SwitchedOff);
            }
        }
    }
    return matrix;
}

struct DiffCase {
    const char* what;
    std::vector<std::string> oldItems;
    std::vector<std::pair<std::string, std::string>> before; // name, items written ("ab"; "B": b off)
    std::vector<std::string> newItems;
    std::vector<std::pair<std::string, std::string>> after;
    std::string changes; // "NAME:old>new:+gained-lost;" a changed profile
    std::vector<std::size_t> added;
    std::vector<std::size_t> removed;
    std::vector<std::string> twice; // in the old file, then in the new
};

void PrintTo(const DiffCase& value, std::ostream* out) {
    *out << value.what;
}

class ProfilesDiffCases : public testing::TestWithParam<DiffCase> {};

TEST_P(ProfilesDiffCases, MatchesByNameThenPlace) {
    const DiffCase& c = GetParam();
    const ProfileMatrix before = matrixOf(c.oldItems, c.before);
    const ProfileMatrix after = matrixOf(c.newItems, c.after);
    const ProfilesDiff diff = diffProfiles(before, after);
    std::string changes;
    for (const ProfileChange& change : diff.changed) {
        changes +=
            change.name + ":" + std::to_string(change.oldIndex) + ">" + std::to_string(change.newIndex) + ":";
        for (const MatrixItem* item : change.gained) {
            changes += "+" + item->identity;
        }
        for (const MatrixItem* item : change.lost) {
            changes += "-" + item->identity;
        }
        changes += ";";
    }
    EXPECT_EQ(changes, c.changes);
    EXPECT_EQ(diff.added, c.added);
    EXPECT_EQ(diff.removed, c.removed);
    std::vector<std::string> twice = diff.oldNamesTwice;
    twice.insert(twice.end(), diff.newNamesTwice.begin(), diff.newNamesTwice.end());
    EXPECT_EQ(twice, c.twice);
    EXPECT_EQ(diff.menusChange(), !c.changes.empty() || !c.added.empty() || !c.removed.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProfilesDiffCases,
    testing::Values(
        DiffCase{"Same", {"a", "b"}, {{"X", "ab"}}, {"a", "b"}, {{"X", "ab"}}, "", {}, {}, {}},
        DiffCase{"Renamed", {"a"}, {{"X", "a"}}, {"a"}, {{"Y", "a"}}, "", {0}, {0}, {}},
        DiffCase{
            "GainsAndLoses", {"a", "b"}, {{"X", "a"}}, {"a", "b"}, {{"X", "b"}}, "X:0>0:+b-a;", {}, {}, {}},
        DiffCase{"SwitchedOffIsLost",
                 {"a", "b"},
                 {{"X", "ab"}},
                 {"a", "b"},
                 {{"X", "aB"}},
                 "X:0>0:-b;",
                 {},
                 {},
                 {}},
        DiffCase{
            "ItemOnlyInOneFile", {"a"}, {{"X", "a"}}, {"a", "c"}, {{"X", "ac"}}, "X:0>0:+c;", {}, {}, {}},
        DiffCase{"Moved", {"a"}, {{"X", "a"}, {"Y", ""}}, {"a"}, {{"Y", ""}, {"X", "a"}}, "", {}, {}, {}},
        DiffCase{"SameNameByPlace",
                 {"a", "b", "c"},
                 {{"X", "a"}, {"X", "b"}},
                 {"a", "b", "c"},
                 {{"X", "a"}, {"X", "c"}},
                 "X:1>1:+c-b;",
                 {},
                 {},
                 {"X", "X"}},
        DiffCase{
            "SameNameOnceMore", {"a"}, {{"X", "a"}}, {"a"}, {{"X", "a"}, {"X", "a"}}, "", {1}, {}, {"X"}}),
    [](const auto& info) { return std::string(info.param.what); });

struct HostileName {
    const char* what;
    std::string name;
    std::string csvField; // as the CSV header holds it
    std::string notInHtml;
};

void PrintTo(const HostileName& value, std::ostream* out) {
    *out << value.what;
}

class HostileNames : public testing::TestWithParam<HostileName> {};

TEST_P(HostileNames, AreWrittenAsText) {
    ProfileMatrix matrix = matrixOf({"a"}, {{GetParam().name, "a"}});
    const std::string csv = matrixCsv(matrix);
    EXPECT_EQ(csv, "\"identity\",\"path\",\"command\"," + GetParam().csvField +
                       "\r\n\"a\",\"path of a\",\"\",x\r\n");
    const std::string html = matrixHtml(matrix, GetParam().name);
    EXPECT_EQ(html.find(GetParam().notInHtml), std::string::npos) << html;
    EXPECT_EQ(html.find("<script"), std::string::npos) << html;
    EXPECT_NE(html.find("position:sticky"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostileNames,
    testing::Values(HostileName{"Markup", "<script>x</script>", "\"<script>x</script>\"", "<script>"},
                    HostileName{"QuotesAndCommas", "a\"b,c", "\"a\"\"b,c\"", "a\"b"},
                    HostileName{"Apostrophe", "a'b", "\"a'b\"", "a'b"},
                    HostileName{"Ampersand", "&amp;", "\"&amp;\"", ">&amp;<"},
                    HostileName{"LineBreak", "a\r\nb", "\"a\\r\\nb\"", "a\r\nb"},
                    HostileName{"Formula", "=1+1", "\"'=1+1\"", "'=1+1"},
                    HostileName{"TerminalEscape", "\x1b[31mred", "\"\\x1B[31mred\"", "\x1b"},
                    HostileName{"RightToLeft", "\u202Eevil", "\"\\u{202E}evil\"", "\u202E"}),
    [](const auto& info) { return std::string(info.param.what); });

} // namespace
} // namespace tavu::test
