#include "preview/batch_export.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

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

TEST(SafeFileStemLength, BoundedWithoutCuttingACharacter) {
    std::string name;
    for (int i = 0; i < 150; ++i) {
        name += "Ж";
    }
    const std::string stem = safeFileStem(name);
    EXPECT_LE(stem.size(), 200u);
    EXPECT_EQ(stem.size() % 2, 0u);
    EXPECT_EQ(stem, name.substr(0, stem.size()));
}

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
            "EmptyAndDots", {"", "..", "profile"}, {"profile.txt", "profile (2).txt", "profile (3).txt"}}),
    [](const auto& info) { return std::string(info.param.what); });

class ReplaceFile : public testing::Test {
protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() / ("tavu-export-" + std::to_string(::getpid()));
        folder = root / "out";
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    static std::string read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream content;
        content << in.rdbuf();
        return content.str();
    }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::filesystem::path root;
    std::filesystem::path folder;
};

TEST_F(ReplaceFile, WritesAndReplacesWhole) {
    EXPECT_EQ(replaceFileInFolder(folder, "Owner.txt", "first, longer"), "");
    EXPECT_EQ(replaceFileInFolder(folder, "Owner.txt", "second"), "");
    EXPECT_EQ(read(folder / "Owner.txt"), "second");
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Owner.txt"});
}

TEST_F(ReplaceFile, ASymbolicLinkIsReplacedNotFollowed) {
    const auto outside = root / "outside.txt";
    std::ofstream(outside) << "keep";
    std::filesystem::create_symlink(outside, folder / "Owner.txt");
    EXPECT_EQ(replaceFileInFolder(folder, "Owner.txt", "menu"), "");
    EXPECT_EQ(read(outside), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "Owner.txt"));
    EXPECT_EQ(read(folder / "Owner.txt"), "menu");
}

TEST_F(ReplaceFile, AFailureLeavesNothingBehind) {
    std::filesystem::create_directory(folder / "Owner.txt");
    const std::string failure = replaceFileInFolder(folder, "Owner.txt", "menu");
    EXPECT_NE(failure.find("Owner.txt"), std::string::npos) << failure;
    EXPECT_EQ(folderEntries(), std::vector<std::string>{"Owner.txt"});
    EXPECT_TRUE(std::filesystem::is_directory(folder / "Owner.txt"));
}

} // namespace
} // namespace tavu::test
