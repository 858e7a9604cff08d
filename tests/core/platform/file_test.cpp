#include "platform/file.h"

#include "file_fixture.h"
#include "platform/path_text.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support.h"
#include "vocabulary/language_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// What reading and saving files promise on every system; what a system does
// its own way is in file_posix_test.cpp and file_windows_test.cpp.

namespace tavu {
namespace {

using test::AtomicWrite;
using test::AtomicWriteFailure;
using test::FailingOperations;
using test::NamedByWhat;
using test::ReadCase;
using test::Reading;
using test::SaveFailure;
using test::writeBytes;
using Call = FailingOperations::Call;

TEST_F(AtomicWrite, ReplacesTheFileWhole) {
    writeBytes(path, "old");
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(contents(), "new");
    EXPECT_EQ(fileCount(), 1u);
}

// Read-only as each system marks it: no write permission, or the read-only attribute.
TEST_F(AtomicWrite, AReadOnlyFileIsNeverReplaced) {
    writeBytes(path, "old");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    const auto written = writeFileAtomically(path, "new");
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.failure().reason, std::string(std::strerror(EACCES)) + ".");
    EXPECT_EQ(written.failure().path, path);
    EXPECT_EQ(contents(), "old");
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicWrite, AFolderInPlaceOfTheFileIsNotReplaced) {
    std::filesystem::create_directory(path);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(fileCount(), 1u);
}

// Every step of a save checks its result: a failure is reported, and until the
// rename the old file stays whole. After the rename the old file is gone, so a
// failed sync of the folder is reported with the new file in place.
TEST_P(AtomicWriteFailure, IsReportedAndLeavesNoTemporaryFile) {
    const std::string before = "[Settings]\nsClear=0\n";
    const std::string after(100000, 'n');
    writeBytes(path, before);
    FailingOperations operations(GetParam().call, GetParam().failAt);
    const auto written = writeFileAtomically(path, after, SymbolicLink::Follow, operations);
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.failure().reason, std::string(std::strerror(EIO)) + ".");
    EXPECT_EQ(operations.count(GetParam().call), GetParam().failAt);
    EXPECT_EQ(contents(), GetParam().afterRename ? after : before);
    EXPECT_EQ(fileCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, AtomicWriteFailure,
    testing::Values(SaveFailure{Call::Create, 1, "create"}, SaveFailure{Call::Write, 1, "first write"},
                    SaveFailure{Call::Write, 2, "second write"}, SaveFailure{Call::Sync, 1, "file sync"},
                    SaveFailure{Call::Close, 1, "file close"}, SaveFailure{Call::Rename, 1, "rename"}),
    NamedByWhat{});

// Files whose names look like a save's temporary file belong to someone else:
// no save, whole or failed, ever removes them, nor another save's temporary file.
TEST_F(AtomicWrite, FilesNamedLikeTemporaryFilesAreNeverRemoved) {
    std::vector<std::filesystem::path> others;
    for (const char* ending : {".saving-AB1234", ".saving-cd5678", ".saving-2024q4", ".saving-backup"}) {
        others.push_back(std::filesystem::path(path) += ending);
        writeBytes(others.back(), "theirs");
    }
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    FailingOperations failingRename(Call::Rename, 1);
    EXPECT_FALSE(writeFileAtomically(path, "newer", SymbolicLink::Follow, failingRename));
    for (const auto& other : others) {
        EXPECT_EQ(readRegularFile(other, kSettingsFileLimit).bytes, "theirs");
    }
    EXPECT_EQ(contents(), "new");
    EXPECT_EQ(fileCount(), others.size() + 1);
}

TEST_F(AtomicWrite, ABatchHoldsAtMostItsBound) {
    FileBatch batch;
    for (std::size_t i = 0; i < FileBatch::kMostStaged; ++i) {
        ASSERT_TRUE(batch.stage(folder / (std::to_string(i) + ".txt"), "menu")) << i;
    }
    EXPECT_TRUE(batch.full());
    errno = 0;
    EXPECT_FALSE(batch.stage(folder / "one more.txt", "menu"));
    EXPECT_EQ(errno, ENOBUFS);
    EXPECT_EQ(fileCount(), FileBatch::kMostStaged);
    EXPECT_EQ(batch.commit(), std::vector<int>(FileBatch::kMostStaged, 0));
    EXPECT_FALSE(batch.full());
    EXPECT_FALSE(std::filesystem::exists(folder / "one more.txt"));
}

// Only a regular file within the limit is read, and never blocks.
TEST_P(Reading, RefusesWhatIsNotAWholeRegularFile) {
    const FileRead read = readRegularFile(GetParam().make(folder), 1 << 20);
    EXPECT_EQ(read.status, GetParam().status);
    EXPECT_TRUE(read.reason.ends_with(GetParam().reason)) << read.reason;
    EXPECT_EQ(read.bytes, "");
}

INSTANTIATE_TEST_SUITE_P(Files, Reading,
                         testing::Values(ReadCase{"missing", [](const auto& f) { return f / "none"; },
                                                  ReadStatus::Missing, " does not exist."},
                                         ReadCase{"folder", [](const auto& f) { return f; },
                                                  ReadStatus::Unreadable, " is a folder, not a file."},
                                         ReadCase{"too large",
                                                  [](const auto& f) {
                                                      writeBytes(f / "large",
                                                                 std::string((1 << 20) + 1, 'x'));
                                                      return f / "large";
                                                  },
                                                  ReadStatus::Unreadable, " is larger than 1 MiB."}),
                         NamedByWhat{});

TEST_F(AtomicWrite, AReadThatFailsPartWayFailsWhole) {
    writeBytes(path, std::string(20000, 'x'));
    FailingOperations afterFourKilobytes(Call::Read, 2);
    const FileRead read = readRegularFile(path, kSettingsFileLimit, afterFourKilobytes);
    EXPECT_EQ(read.status, ReadStatus::Unreadable);
    EXPECT_EQ(read.reason, utf8FromPath(path) + " cannot be read: " + std::strerror(EIO) + ".");
    EXPECT_EQ(read.bytes, "");
}

// Reads 4096 bytes, then finds the end: the file was cut short while it was read.
class EndingEarly : public FileOperations {
public:
    std::ptrdiff_t read(int fd, char* data, std::size_t size) override {
        return std::exchange(ended_, true)
                   ? 0
                   : FileOperations::read(fd, data, std::min<std::size_t>(size, 4096));
    }

private:
    bool ended_ = false;
};

TEST_F(AtomicWrite, AFileCutShortWhileReadIsNotTakenAsWhole) {
    writeBytes(path, std::string(20000, 'x'));
    EndingEarly cutShort;
    const FileRead read = readRegularFile(path, kSettingsFileLimit, cutShort);
    EXPECT_EQ(read.status, ReadStatus::Unreadable);
    EXPECT_EQ(read.reason, utf8FromPath(path) + " ended after 4096 of its 20000 bytes.");
    EXPECT_EQ(read.bytes, "");
}

struct StreamCase {
    std::size_t size;
    ReadStatus status;
    const char* reason;
};

class StreamLimit : public AtomicWrite, public testing::WithParamInterface<StreamCase> {};

// Standard input has no size to refuse before reading: what comes past the
// limit is refused as it comes.
TEST_P(StreamLimit, RefusesMoreThanTheLimit) {
    writeBytes(path, std::string(GetParam().size, 'x'));
    FileOperations& system = systemFileOperations();
    const int fd = system.open(utf8FromPath(path).c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    const FileRead read = readStream(fd, "standard input", 1 << 20);
    EXPECT_EQ(system.close(fd), 0);
    EXPECT_EQ(read.status, GetParam().status);
    EXPECT_EQ(read.reason, GetParam().reason);
    EXPECT_EQ(read.bytes.size(), GetParam().status == ReadStatus::Read ? GetParam().size : 0u);
}

INSTANTIATE_TEST_SUITE_P(Sizes, StreamLimit,
                         testing::Values(StreamCase{1 << 20, ReadStatus::Read, ""},
                                         StreamCase{(1 << 20) + 1, ReadStatus::Unreadable,
                                                    "standard input is larger than 1 MiB."}));

// A settings file that cannot be read whole is never replaced by what was read
// of it: its other sections would be cut off.
TEST_F(AtomicWrite, ASettingsFileThatFailsPartWayIsNeverOverwritten) {
    std::string before = "[Other]\n";
    while (before.size() < 20000) {
        before += "line=" + std::to_string(before.size()) + "\n";
    }
    writeBytes(path, before);
    for (const int failAt : {1, 2}) {
        FailingOperations failing(Call::Read, failAt);
        EXPECT_EQ(test::writeFailureText(updateSettingsFile(
                      path, [](IniFile& file) { file.replaceSection("Settings", {}); }, failing)),
                  "Unable to write to " + utf8FromPath(path) + "\n" + utf8FromPath(path) +
                      " cannot be read: " + std::strerror(EIO) + ".");
        EXPECT_EQ(contents(), before);
    }
}

TEST_F(AtomicWrite, AFailedSettingsSaveReportsThePathAndLeavesTheFile) {
    writeBytes(path, "[Settings]\nsClear=0\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(test::writeFailureText(
                  updateSettingsFile(path, [](IniFile& file) { writeSettingsSection(Settings{}, file); })),
              "Unable to write to " + utf8FromPath(path) + "\nPermission denied.");
    EXPECT_EQ(readSettingsFile(path).value().text(), "[Settings]\nsClear=0\n");
    EXPECT_EQ(fileCount(), 1u);

    const auto folderPath = folder / "folder.ini";
    std::filesystem::create_directory(folderPath);
    EXPECT_TRUE(test::writeFailureText(updateSettingsFile(folderPath, [](IniFile&) {
                })).starts_with("Unable to write to " + utf8FromPath(folderPath) + "\n"));
}

// A symbolic link to a file elsewhere, where this user may make one.
bool linked(const std::filesystem::path& target, const std::filesystem::path& link) {
    std::error_code code;
    std::filesystem::create_symlink(target, link, code);
    return !code;
}

struct LinkCase {
    const char* what;
    SymbolicLink link;
    const char* outside; // the file the link points to, after the save
};

class SavingOntoALink : public AtomicWrite, public testing::WithParamInterface<LinkCase> {};

// A file exported into a folder must never write outside it: its link is
// replaced. A settings file kept elsewhere is saved where the link points.
TEST_P(SavingOntoALink, ReplacesTheLinkOrTheFileItNames) {
    const auto outside = folder / "outside.txt";
    writeBytes(outside, "old");
    if (!linked(outside, path)) {
        GTEST_SKIP() << "this user may not make symbolic links";
    }
    ASSERT_TRUE(writeFileAtomically(path, "new", GetParam().link));
    EXPECT_EQ(readRegularFile(outside, kSettingsFileLimit).bytes, GetParam().outside);
    EXPECT_EQ(std::filesystem::is_symlink(path), GetParam().link == SymbolicLink::Follow);
    EXPECT_EQ(contents(), "new");
    EXPECT_EQ(fileCount(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Links, SavingOntoALink,
                         testing::Values(LinkCase{"replaced", SymbolicLink::Replace, "old"},
                                         LinkCase{"followed", SymbolicLink::Follow, "new"}),
                         NamedByWhat{});

// Words written into a folder never write outside it: a link is replaced.
TEST_F(AtomicWrite, WritingALanguageFileOntoALinkReplacesTheLink) {
    std::filesystem::create_directory(folder / "second");
    const auto outside = folder / "second" / "outside.ini";
    writeBytes(outside, "kept");
    if (!linked(outside, folder / "link.ini")) {
        GTEST_SKIP() << "this user may not make symbolic links";
    }
    ASSERT_TRUE(writeLanguageFile(folder / "link.ini", Vocabulary{}, "", "").ok());
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_TRUE(readLanguageFile(folder / "link.ini", {}).ok());
    EXPECT_EQ(readRegularFile(outside, kSettingsFileLimit).bytes, "kept");
}

} // namespace
} // namespace tavu
