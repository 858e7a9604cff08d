#include "platform/file.h"

#include "file_fixture.h"
#include "platform/environment.h"
#include "platform/executable_folder.h"
#include "platform/line_end.h"
#include "platform/path_text.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// What reading and saving files do on Windows alone: UTF-16 names, its devices,
// and a sync of each file in place of one of the whole file system.
// file_test.cpp holds what every system does.

namespace tavu {
namespace {

using test::AtomicWrite;
using test::FailingOperations;
using test::NamedByWhat;
using test::ReadCase;
using test::Reading;
using Call = FailingOperations::Call;

TEST_F(AtomicWrite, AFileNamedInUtf8TextIsTheFileOfThatName) {
    const std::string name = utf8FromPath(folder) + "\\\u041f\u0440\u043e\u0444\u0438\u043b\u0438.xml";
    ASSERT_TRUE(writeFileAtomically(pathFromUtf8(name), "<Profiles/>"));
    EXPECT_EQ(readRegularFile(pathFromUtf8(name), kProfilesFileLimit).bytes, "<Profiles/>");
    EXPECT_TRUE(std::filesystem::exists(folder / u8"\u041f\u0440\u043e\u0444\u0438\u043b\u0438.xml"));
}

// No sync covers a whole file system: each file is synced as it is written.
TEST_F(AtomicWrite, ABatchSyncsEachFileAsItIsWritten) {
    FailingOperations operations(Call::Open, 0);
    FileBatch batch(FileBatch::Sync::Together, operations);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        ASSERT_TRUE(batch.stage(folder / name, name));
    }
    EXPECT_EQ(batch.commit(), std::vector<int>(3, 0));
    EXPECT_EQ(operations.count(Call::SyncFileSystem), 0);
    EXPECT_EQ(operations.count(Call::Sync), 3);
    EXPECT_EQ(fileCount(), 3u);
}

INSTANTIATE_TEST_SUITE_P(WindowsFiles, Reading,
                         testing::Values(ReadCase{"device",
                                                  [](const auto&) { return std::filesystem::path("NUL"); },
                                                  ReadStatus::Unreadable, " is not a regular file."}),
                         NamedByWhat{});

TEST(LineEnd, IsTheSystemsOwn) {
    EXPECT_EQ(systemLineEnd(), "\r\n");
}

// Windows names are UTF-16: what has no UTF-16 or no UTF-8 form names no file, and throws nothing.
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
