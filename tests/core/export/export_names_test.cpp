#include "export/export_names.h"
#include "formats/case_folding.h"

#include "base/text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tavu::test {
namespace {

struct StemCase {
    const char* what;
    std::string profileName;
    std::string stem;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const StemCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class SafeFileStem : public testing::TestWithParam<StemCase> {};

TEST_P(SafeFileStem, Stem) {
    EXPECT_EQ(safeFileStem(GetParam().profileName), GetParam().stem);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeFileStem,
    testing::Values(StemCase{"Plain", "Owner", "Owner"}, StemCase{"Unicode", "Админ №1", "Админ №1"},
                    StemCase{"Slashes", "a/b\\c", "a_b_c"}, StemCase{"ParentFolder", "..", "profile"},
                    StemCase{"Traversal", "../../etc/passwd", "_.._etc_passwd"},
                    StemCase{"WindowsForbidden", "a:b*c?d\"e<f>g|h", "a_b_c_d_e_f_g_h"},
                    StemCase{"ControlCharacters", "tab\there\nnew\x7F", "tab_here_new_"},
                    StemCase{"LeadingDotsTrailingDotsAndSpaces", " .hidden. . ", "hidden"},
                    StemCase{"Empty", "", "profile"}, StemCase{"OnlySpaces", "   ", "profile"},
                    StemCase{"DeviceName", "CON", "_CON"}, StemCase{"DeviceNameAnyCase", "nul", "_nul"},
                    StemCase{"DeviceNameWithExtension", "com1.backup", "_com1.backup"},
                    StemCase{"DeviceNameSpaceBeforeDot", "lpt9 .x", "_lpt9 .x"},
                    StemCase{"NotADeviceName", "COM10", "COM10"},
                    StemCase{"DeviceNameInside", "CONSOLE", "CONSOLE"}),
    [](const auto& info) { return std::string(info.param.what); });

struct NamesCase {
    const char* what;
    std::vector<std::string> profileNames;
    std::vector<std::string> fileNames;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const NamesCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class ExportFileNames : public testing::TestWithParam<NamesCase> {};

TEST_P(ExportFileNames, Names) {
    EXPECT_EQ(exportFileNames(GetParam().profileNames), GetParam().fileNames);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExportFileNames,
    testing::Values(
        NamesCase{"Distinct", {"Owner", "Operator"}, {"Owner.txt", "Operator.txt"}},
        NamesCase{"CaseInsensitiveCollisions",
                  {"Owner", "owner", "OWNER", "Owner (2)"},
                  {"Owner.txt", "owner (2).txt", "OWNER (3).txt", "Owner (2) (2).txt"}},
        NamesCase{"CyrillicAndLatin1Case",
                  {"Админ", "АДМИН", "Élan", "élan"},
                  {"Админ.txt", "АДМИН (2).txt", "Élan.txt", "élan (2).txt"}},
        NamesCase{"SameAfterMakingSafe", {"a/b", "a\\b", "a:b"}, {"a_b.txt", "a_b (2).txt", "a_b (3).txt"}},
        NamesCase{
            "EmptyAndDots", {"", "..", "profile"}, {"profile.txt", "profile (2).txt", "profile (3).txt"}},
        NamesCase{"TitlecaseDigraph", {"ǅ", "ǆ", "Ǆ"}, {"ǅ.txt", "ǆ (2).txt", "Ǆ (3).txt"}},
        NamesCase{"CircledLetters", {"Ⓐ", "ⓐ"}, {"Ⓐ.txt", "ⓐ (2).txt"}},
        // Armenian, Georgian (Mtavruli and Mkhedruli) and Cherokee capitals and small letters.
        NamesCase{
            "OtherScripts",
            {"\u0531", "\u0561", "\u1C90", "\u10D0", "\u13A0", "\uAB70"},
            {"\u0531.txt", "\u0561 (2).txt", "\u1C90.txt", "\u10D0 (2).txt", "\u13A0.txt", "\uAB70 (2).txt"}},
        NamesCase{"DotlessIUpcasedByNtfs", {"I", "ı"}, {"I.txt", "ı (2).txt"}},
        NamesCase{"SharpSFoldedInFull", {"ß", "SS"}, {"ß.txt", "SS (2).txt"}},
        NamesCase{"DecomposedAccent", {"\u00E9", "e\u0301"}, {"\u00E9.txt", "e\u0301 (2).txt"}},
        NamesCase{"NotUtf8", {"\xFF-A", "\xFF-a"}, {"\xFF-A.txt", "\xFF-a (2).txt"}}),
    [](const auto& info) { return std::string(info.param.what); });

// The rule stated plainly: each name takes the first " (k)" whose folded name
// no earlier name has, trying every number against every earlier name.
std::vector<std::string> namesByTryingEveryNumber(const std::vector<std::string>& profileNames) {
    std::vector<std::string> names;
    std::vector<std::string> taken;
    for (const std::string& profileName : profileNames) {
        const std::string stem = safeFileStem(profileName);
        std::string name = stem + ".txt";
        for (int copy = 2; std::find(taken.begin(), taken.end(), foldedFileName(name)) != taken.end();
             ++copy) {
            name = stem + " (" + std::to_string(copy) + ").txt";
        }
        taken.push_back(foldedFileName(name));
        names.push_back(name);
    }
    return names;
}

TEST(ExportFileNamesRandom, SameAsTryingEveryNumber) {
    const std::vector<std::string> alphabet{"a",       "A",  "a (2)", "A (2)",   "a (2) (2)", "a (3)", "a.",
                                            " a",      "a/", "a_",    "CON",     "con.txt",   "",      "..",
                                            "profile", "é",  "É",     "e\u0301", "ß",         "SS",    "ı"};
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<std::size_t> count(0, 12);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> profileNames(count(random));
        std::generate(profileNames.begin(), profileNames.end(), [&] { return alphabet[pick(random)]; });
        ASSERT_EQ(exportFileNames(profileNames), namesByTryingEveryNumber(profileNames))
            << testing::PrintToString(profileNames);
    }
}

// Too long for any file system, of characters of two to four bytes after one of
// one byte, and given many times: each name is cut between characters, before its
// " (k)", and stays within the 255 bytes file systems allow.
TEST(ExportFileNamesLength, WholeCharactersWithinTheLimit) {
    for (const std::string character : {"Ж", "€", "𝄞"}) {
        std::string profileName = "x";
        while (profileName.size() < 300) {
            profileName += character;
        }
        for (const std::string& name : exportFileNames(std::vector<std::string>(12, profileName))) {
            EXPECT_TRUE(isValidUtf8(name)) << name;
            EXPECT_LE(name.size(), 255u) << name;
            EXPECT_EQ(name.substr(0, 150), profileName.substr(0, 150));
        }
    }
}

} // namespace
} // namespace tavu::test
