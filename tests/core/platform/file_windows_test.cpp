#include "platform/file.h"

#include "platform/environment.h"
#include "platform/executable_folder.h"
#include "platform/line_end.h"
#include "platform/path_text.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <array>
#include <filesystem>
#include <fstream>

namespace tavu {
namespace {

class WindowsFiles : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 std::filesystem::path(u8"tavu-\u0416\u00e9-" + std::u8string(u8"files"));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path = folder / std::filesystem::path(u8"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438.ini");
    }
    void TearDown() override {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        std::filesystem::remove_all(folder);
    }
    std::string contents() const { return readRegularFile(path, kSettingsFileLimit).bytes; }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }
    std::filesystem::path folder;
    std::filesystem::path path;
};

TEST_F(WindowsFiles, AFileWithAUnicodeNameIsReplacedWholeAndReadBack) {
    std::ofstream(path) << "old";
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(contents(), "new");
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(WindowsFiles, AReadOnlyFileIsNeverReplaced) {
    std::ofstream(path) << "old";
    ASSERT_TRUE(::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    EXPECT_EQ(contents(), "old");
    EXPECT_EQ(fileCount(), 1u);
}

// Fails one kind of call the first time it is made.
class FailingOperations : public FileOperations {
public:
    enum class Call { Create, Write, Sync, Close, Rename, Read };
    explicit FailingOperations(Call failing) : failing_(failing) {}

    int createTemporary(std::string& pathTemplate) override {
        return fails(Call::Create) ? -1 : FileOperations::createTemporary(pathTemplate);
    }
    std::ptrdiff_t write(int fd, const char* data, std::size_t size) override {
        return fails(Call::Write) ? -1 : FileOperations::write(fd, data, size);
    }
    int sync(int fd) override { return fails(Call::Sync) ? -1 : FileOperations::sync(fd); }
    int close(int fd) override {
        const int result = FileOperations::close(fd);
        return fails(Call::Close) ? -1 : result;
    }
    int rename(const char* from, const char* to) override {
        return fails(Call::Rename) ? -1 : FileOperations::rename(from, to);
    }
    std::ptrdiff_t read(int fd, char* data, std::size_t size) override {
        return fails(Call::Read) ? -1 : FileOperations::read(fd, data, size);
    }

private:
    bool fails(Call call) {
        if (call != failing_ || failed_) {
            return false;
        }
        failed_ = true;
        errno = EIO;
        return true;
    }
    Call failing_;
    bool failed_ = false;
};

class WindowsSaveFailure : public WindowsFiles,
                           public testing::WithParamInterface<FailingOperations::Call> {};

TEST_P(WindowsSaveFailure, IsReportedAndLeavesTheOldFileAlone) {
    std::ofstream(path) << "old";
    FailingOperations operations(GetParam());
    EXPECT_FALSE(writeFileAtomically(path, "new", SymbolicLink::Follow, operations));
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(contents(), "old");
    EXPECT_EQ(fileCount(), 1u);
}

using Call = FailingOperations::Call;
INSTANTIATE_TEST_SUITE_P(EachStep, WindowsSaveFailure,
                         testing::Values(Call::Create, Call::Write, Call::Sync, Call::Close, Call::Rename));

// Files named like a save's temporary file belong to someone else: no save,
// whole or failed, ever removes one.
TEST_F(WindowsFiles, FilesNamedLikeTemporaryFilesAreNeverRemoved) {
    std::array<std::filesystem::path, 2> others{path, path};
    others[0] += ".saving-ab1234";
    others[1] += ".saving-backup";
    for (const auto& other : others) {
        ASSERT_TRUE(std::ofstream(other) << "theirs");
    }
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    FailingOperations operations(Call::Rename);
    EXPECT_FALSE(writeFileAtomically(path, "newer", SymbolicLink::Follow, operations));
    for (const auto& other : others) {
        EXPECT_EQ(readRegularFile(other, kSettingsFileLimit).bytes, "theirs");
    }
    EXPECT_EQ(contents(), "new");
    EXPECT_EQ(fileCount(), 3u);
}

TEST_F(WindowsFiles, AFolderInPlaceOfTheFileIsNotReplaced) {
    std::filesystem::create_directory(path);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(WindowsFiles, AFailedReadFailsWhole) {
    std::ofstream(path) << "[Settings]\n";
    FailingOperations operations(Call::Read);
    EXPECT_EQ(readRegularFile(path, kSettingsFileLimit, operations).status, ReadStatus::Unreadable);
}

TEST_F(WindowsFiles, OnlyAWholeRegularFileWithinTheLimitIsRead) {
    std::ofstream(path) << std::string(kMebibyte + 1, 'x');
    EXPECT_TRUE(readRegularFile(folder, kMebibyte).reason.ends_with(" is a folder, not a file."));
    EXPECT_TRUE(readRegularFile("NUL", kMebibyte).reason.ends_with(" is not a regular file."));
    EXPECT_TRUE(readRegularFile(path, kMebibyte).reason.ends_with(" is larger than 1 MiB."));
    EXPECT_EQ(readRegularFile(folder / "none", kMebibyte).status, ReadStatus::Missing);
}

TEST_F(WindowsFiles, AFileNamedInUtf8TextIsTheFileOfThatName) {
    const std::string name = utf8FromPath(folder) + "\\\u041f\u0440\u043e\u0444\u0438\u043b\u0438.xml";
    ASSERT_TRUE(writeFileAtomically(pathFromUtf8(name), "<Profiles/>"));
    EXPECT_EQ(readRegularFile(pathFromUtf8(name), kProfilesFileLimit).bytes, "<Profiles/>");
    EXPECT_TRUE(std::filesystem::exists(folder / u8"\u041f\u0440\u043e\u0444\u0438\u043b\u0438.xml"));
}

// Windows names are UTF-16: what has no UTF-16 or no UTF-8 form names no file, and throws nothing.
TEST(LineEnd, IsTheSystemsOwn) {
    EXPECT_EQ(systemLineEnd(), "\r\n");
}

TEST(WindowsPathText, WhatIsNotUnicodeBecomesTheReplacementCharacter) {
    EXPECT_EQ(pathFromUtf8("a\xFF.ini"), std::filesystem::path(u8"a\uFFFD.ini"));
    EXPECT_EQ(utf8FromPath(std::wstring{L'a', wchar_t{0xD800}}), "a\uFFFD");
}

TEST(WindowsPathText, EnvironmentVariablesAreReadAsUtf8) {
    ASSERT_EQ(::_wputenv_s(L"TAVU_TEST_TEXT", L"\u041f\u0440\u043e\u0444\u0438\u043b\u0438"), 0);
    EXPECT_EQ(environmentText("TAVU_TEST_TEXT"), "\u041f\u0440\u043e\u0444\u0438\u043b\u0438");
    ASSERT_EQ(::_wputenv_s(L"TAVU_TEST_TEXT", L""), 0);
    EXPECT_FALSE(environmentText("TAVU_TEST_TEXT").has_value());
}

TEST(WindowsSettingsFile, LiesBesideTheProgramUnlessTavuIniIsSet) {
    const auto portable = executableFolder() / kSettingsFileName;
    ASSERT_FALSE(std::filesystem::exists(portable));
    ASSERT_EQ(::_putenv_s("TAVU_INI", ""), 0);
    // Also before the first save has made it.
    EXPECT_EQ(settingsFilePath(), portable);
    std::ofstream(portable) << "";
    ASSERT_EQ(::_putenv_s("TAVU_INI", ""), 0);
    const auto chosen = settingsFilePath();
    ASSERT_EQ(::_putenv_s("TAVU_INI", "elsewhere.ini"), 0);
    const auto overridden = settingsFilePath();
    ASSERT_EQ(::_putenv_s("TAVU_INI", ""), 0);
    std::filesystem::remove(portable);
    EXPECT_EQ(chosen, portable);
    EXPECT_EQ(overridden, "elsewhere.ini");
}

} // namespace
} // namespace tavu
