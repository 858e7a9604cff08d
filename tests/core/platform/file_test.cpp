#include "platform/file.h"

#include "platform/line_end.h"
#include "settings/settings.h"
#include "settings/settings_file.h"
#include "vocabulary/language_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace tavu {
namespace {

class AtomicWrite : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tavu-ini-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        path = folder / "TAVU.ini";
    }
    void TearDown() override {
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all);
        std::filesystem::remove_all(folder);
    }
    std::string contents() const { return readRegularFile(path, kSettingsFileLimit).bytes; }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }
    std::filesystem::path folder;
    std::filesystem::path path;
};

TEST_F(AtomicWrite, ReplacesTheFileWholeAndKeepsItsMode) {
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    EXPECT_EQ(contents(), "new");
    struct stat info {};
    ::stat(path.c_str(), &info);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicWrite, ARefusedWriteLeavesTheOldFileAndNoTemporaryFile) {
    std::ofstream(path) << "old";
    ::chmod(path.c_str(), 0444);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    EXPECT_EQ(contents(), "old");
    ::chmod(path.c_str(), 0644);
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicWrite, AFolderInPlaceOfTheFileIsNotReplaced) {
    std::filesystem::create_directory(path);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    EXPECT_TRUE(std::filesystem::is_directory(path));
    EXPECT_EQ(fileCount(), 1u);
}

// Fails one kind of system call, the n-th time it is made (counting from 1),
// and counts the calls of each kind.
class FailingOperations : public FileOperations {
public:
    enum class Call { Open, Status, Read, Create, Write, Owner, Mode, Sync, SyncFileSystem, Close, Rename };

    FailingOperations(Call failing, int failAt, int error = EIO)
        : failing_(failing), failAt_(failAt), error_(error) {}
    int count(Call call) const { return counts_[static_cast<std::size_t>(call)]; }

    int open(const char* path, int flags) override {
        return fails(Call::Open) ? -1 : FileOperations::open(path, flags);
    }
    int status(int fd, FileStatus& info) override {
        return fails(Call::Status) ? -1 : FileOperations::status(fd, info);
    }
    std::ptrdiff_t read(int fd, char* data, std::size_t size) override {
        // 4096 bytes at a time, so that a failure can fall after a partial read.
        return fails(Call::Read) ? -1 : FileOperations::read(fd, data, std::min<std::size_t>(size, 4096));
    }
    int createTemporary(std::string& pathTemplate) override {
        return fails(Call::Create) ? -1 : FileOperations::createTemporary(pathTemplate);
    }
    std::ptrdiff_t write(int fd, const char* data, std::size_t size) override {
        // Half a write first, so that a failure can fall after a partial write.
        return fails(Call::Write) ? -1 : FileOperations::write(fd, data, std::max<std::size_t>(1, size / 2));
    }
    int changeOwner(int fd, std::uint32_t owner, std::uint32_t group) override {
        return fails(Call::Owner) ? -1 : FileOperations::changeOwner(fd, owner, group);
    }
    int changeMode(int fd, std::uint32_t mode) override {
        return fails(Call::Mode) ? -1 : FileOperations::changeMode(fd, mode);
    }
    int sync(int fd) override { return fails(Call::Sync) ? -1 : FileOperations::sync(fd); }
    int syncFileSystem(int fd) override {
        return fails(Call::SyncFileSystem) ? -1 : FileOperations::syncFileSystem(fd);
    }
    int close(int fd) override {
        const int result = FileOperations::close(fd);
        return fails(Call::Close) ? -1 : result;
    }
    int rename(const char* from, const char* to) override {
        return fails(Call::Rename) ? -1 : FileOperations::rename(from, to);
    }

private:
    bool fails(Call call) {
        const bool failing = ++counts_[static_cast<std::size_t>(call)] == failAt_ && call == failing_;
        if (failing) {
            errno = error_;
        }
        return failing;
    }
    Call failing_;
    int failAt_;
    int error_;
    std::array<int, 11> counts_{};
};
using Call = FailingOperations::Call;

struct SaveFailure {
    Call call;
    int failAt;
    const char* what;
    bool afterRename = false;
};

class AtomicWriteFailure : public AtomicWrite, public testing::WithParamInterface<SaveFailure> {};

// Every step of a save checks its result: a failure is reported, and until the
// rename the old file stays whole. After the rename the old file is gone, so a
// failed sync of the folder is reported with the new file in place.
TEST_P(AtomicWriteFailure, IsReportedAndLeavesNoTemporaryFile) {
    const std::string before = "[Settings]\nsClear=0\n";
    const std::string after(100000, 'n');
    std::ofstream(path) << before;
    FailingOperations operations(GetParam().call, GetParam().failAt);
    errno = 0;
    EXPECT_FALSE(writeFileAtomically(path, after, SymbolicLink::Follow, operations));
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(operations.count(GetParam().call), GetParam().failAt);
    EXPECT_EQ(contents(), GetParam().afterRename ? after : before);
    EXPECT_EQ(fileCount(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, AtomicWriteFailure,
    testing::Values(SaveFailure{Call::Create, 1, "create"}, SaveFailure{Call::Write, 1, "first write"},
                    SaveFailure{Call::Write, 2, "second write"}, SaveFailure{Call::Mode, 1, "mode"},
                    SaveFailure{Call::Sync, 1, "file sync"}, SaveFailure{Call::Close, 1, "file close"},
                    SaveFailure{Call::Rename, 1, "rename"}, SaveFailure{Call::Open, 1, "folder open", true},
                    SaveFailure{Call::Sync, 2, "folder sync", true}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(AtomicWrite, AKilledSaveLeavesOneWholeVersion) {
    const std::string first(4 << 20, 'a');
    const std::string second(4 << 20, 'b');
    ASSERT_TRUE(writeFileAtomically(path, first));
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Saves until killed; a failed save is what the parent looks for.
            for (int i = 0;; ++i) {
                static_cast<void>(writeFileAtomically(path, i % 2 ? first : second));
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 30000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = contents();
        EXPECT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
    }
}

// Files whose names look like a save's temporary file belong to someone else:
// no save ever removes them, nor another save's temporary file.
TEST_F(AtomicWrite, FilesNamedLikeTemporaryFilesAreNeverRemoved) {
    for (const char* name : {"TAVU.ini.saving-AB1234", "TAVU.ini.saving-2024q4", "TAVU.ini.saving-backup"}) {
        std::ofstream(folder / name) << name;
    }
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    for (const char* name : {"TAVU.ini.saving-AB1234", "TAVU.ini.saving-2024q4", "TAVU.ini.saving-backup"}) {
        EXPECT_EQ(readRegularFile(folder / name, kSettingsFileLimit).bytes, name);
    }
}

TEST_F(AtomicWrite, SavesFromSeveralProcessesAtOnceAllSucceed) {
    constexpr int kProcesses = 3;
    constexpr int kSaves = 15;
    std::vector<pid_t> children;
    for (int process = 0; process < kProcesses; ++process) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            int failures = 0;
            for (int i = 0; i < kSaves; ++i) {
                failures +=
                    writeFileAtomically(path, std::string(100000, static_cast<char>('a' + process))) ? 0 : 1;
            }
            ::_exit(failures);
        }
        children.push_back(child);
    }
    for (const pid_t child : children) {
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "failed saves: " << WEXITSTATUS(status);
    }
    const std::string last = contents();
    EXPECT_EQ(last.size(), 100000u);
    EXPECT_EQ(last.find_first_not_of(last.front()), std::string::npos);
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicWrite, KeepsOwnerAndGroupButNoSetIdBits) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a file another user's";
    }
    std::ofstream(path) << "old";
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(path.c_str(), 06640), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Only root may give a file away; anyone else saves the file as their own.
TEST_F(AtomicWrite, AnOwnerThatCannotBeKeptDoesNotFailTheSave) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can make a file another user's";
    }
    std::ofstream(path) << "old";
    ASSERT_EQ(::chown(path.c_str(), 4321, 4322), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    FailingOperations notPermitted(Call::Owner, 1, EPERM);
    ASSERT_TRUE(writeFileAtomically(path, "new", SymbolicLink::Follow, notPermitted));
    EXPECT_EQ(notPermitted.count(Call::Owner), 1);
    EXPECT_EQ(contents(), "new");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(AtomicWrite, TheGroupIsKeptWhenTheOwnerIsTheUser) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "only root can give its file any group";
    }
    std::ofstream(path) << "old";
    ASSERT_EQ(::chown(path.c_str(), ::geteuid(), 4322), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, ::geteuid());
    EXPECT_EQ(info.st_gid, 4322u);
}

// A new file is made as any program makes one, not with the temporary file's 0600.
TEST_F(AtomicWrite, ANewFileGetsTheUsualMode) {
    const mode_t before = ::umask(022);
    const bool written = writeFileAtomically(path, "new");
    ::umask(before);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
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

// A signal that ends the process removes the temporary files of its batch and
// nothing else, then ends it as the signal does.
TEST_F(AtomicWrite, AnEndingSignalRemovesTheBatchsTemporaryFiles) {
    std::ofstream(folder / "a.txt") << "old";
    std::ofstream(folder / "a.txt.saving-AB1234") << "someone else's";
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileBatch batch;
        const bool ready = removeTemporaryFilesOnSignals() && batch.stage(folder / "a.txt", "new") &&
                           batch.stage(folder / "b.txt", "new");
        ::raise(SIGTERM);
        ::_exit(ready ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
    EXPECT_EQ(readRegularFile(folder / "a.txt", kSettingsFileLimit).bytes, "old");
    EXPECT_EQ(readRegularFile(folder / "a.txt.saving-AB1234", kSettingsFileLimit).bytes, "someone else's");
    EXPECT_EQ(fileCount(), 2u);
}

TEST_F(AtomicWrite, ABatchSyncsOnceForAllItsFiles) {
    FailingOperations operations(Call::Open, 0);
    FileBatch batch(FileBatch::Sync::Together, operations);
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        ASSERT_TRUE(batch.stage(folder / name, name));
    }
    EXPECT_EQ(batch.commit(), std::vector<int>(3, 0));
    EXPECT_EQ(operations.count(Call::SyncFileSystem), 1);
    EXPECT_EQ(operations.count(Call::Sync), 1); // the folder, once
    EXPECT_EQ(readRegularFile(folder / "b.txt", kSettingsFileLimit).bytes, "b.txt");
    EXPECT_EQ(fileCount(), 3u);
}

TEST_F(AtomicWrite, AFailedSyncOfABatchPutsNoFileInPlace) {
    std::ofstream(folder / "a.txt") << "old";
    FailingOperations operations(Call::SyncFileSystem, 1);
    FileBatch batch(FileBatch::Sync::Together, operations);
    ASSERT_TRUE(batch.stage(folder / "a.txt", "new"));
    ASSERT_TRUE(batch.stage(folder / "b.txt", "new"));
    EXPECT_EQ(batch.commit(), std::vector<int>(2, EIO));
    EXPECT_EQ(readRegularFile(folder / "a.txt", kSettingsFileLimit).bytes, "old");
    EXPECT_EQ(fileCount(), 1u);
}

struct ReadCase {
    const char* what;
    std::function<std::filesystem::path(const std::filesystem::path& folder)> make;
    ReadStatus status;
    const char* reason; // the end of the reason
};

class Reading : public AtomicWrite, public testing::WithParamInterface<ReadCase> {};

// Only a regular file within the limit is read, and never blocks.
TEST_P(Reading, RefusesWhatIsNotAWholeRegularFile) {
    const FileRead read = readRegularFile(GetParam().make(folder), 1 << 20);
    EXPECT_EQ(read.status, GetParam().status);
    EXPECT_TRUE(read.reason.ends_with(GetParam().reason)) << read.reason;
    EXPECT_EQ(read.bytes, "");
}

INSTANTIATE_TEST_SUITE_P(
    Files, Reading,
    testing::Values(ReadCase{"missing", [](const auto& f) { return f / "none"; }, ReadStatus::Missing,
                             " does not exist."},
                    ReadCase{"folder", [](const auto& f) { return f; }, ReadStatus::Unreadable,
                             " is a folder, not a file."},
                    ReadCase{"device", [](const auto&) { return std::filesystem::path("/dev/zero"); },
                             ReadStatus::Unreadable, " is not a regular file."},
                    ReadCase{"fifo",
                             [](const auto& f) {
                                 ::mkfifo((f / "fifo").c_str(), 0600);
                                 return f / "fifo";
                             },
                             ReadStatus::Unreadable, " is not a regular file."},
                    ReadCase{"too large",
                             [](const auto& f) {
                                 std::ofstream(f / "large") << std::string((1 << 20) + 1, 'x');
                                 return f / "large";
                             },
                             ReadStatus::Unreadable, " is larger than 1 MiB."}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

TEST_F(AtomicWrite, AReadThatFailsPartWayFailsWhole) {
    std::ofstream(path) << std::string(20000, 'x');
    FailingOperations afterFourKilobytes(Call::Read, 2);
    const FileRead read = readRegularFile(path, kSettingsFileLimit, afterFourKilobytes);
    EXPECT_EQ(read.status, ReadStatus::Unreadable);
    EXPECT_EQ(read.reason, path.string() + " cannot be read: Input/output error.");
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
    std::ofstream(path) << std::string(20000, 'x');
    EndingEarly cutShort;
    const FileRead read = readRegularFile(path, kSettingsFileLimit, cutShort);
    EXPECT_EQ(read.status, ReadStatus::Unreadable);
    EXPECT_EQ(read.reason, path.string() + " ended after 4096 of its 20000 bytes.");
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
    std::ofstream(path) << std::string(GetParam().size, 'x');
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    const FileRead read = readStream(fd, "standard input", 1 << 20);
    ::close(fd);
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
    std::ofstream(path) << before;
    for (const int failAt : {1, 2}) {
        FailingOperations failing(Call::Read, failAt);
        EXPECT_EQ(updateSettingsFile(
                      path, [](IniFile& file) { file.replaceSection("Settings", {}); }, failing),
                  "Unable to write to " + path.string() + "\n" + path.string() +
                      " cannot be read: Input/output error.");
        EXPECT_EQ(contents(), before);
    }
}

// A file exported into a folder must never write outside it.
TEST_F(AtomicWrite, ASymbolicLinkToReplaceIsReplacedNotFollowed) {
    const auto outside = folder / "outside.txt";
    std::ofstream(outside) << "keep";
    std::filesystem::create_symlink(outside, path);
    ASSERT_TRUE(writeFileAtomically(path, "menu", SymbolicLink::Replace));
    EXPECT_EQ(readRegularFile(outside, kSettingsFileLimit).bytes, "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(contents(), "menu");
}

TEST_F(AtomicWrite, AReadOnlyFolderIsNotWritten) {
    ::chmod(folder.c_str(), 0555);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(fileCount(), 0u);
}

// What the settings and language files do on POSIX systems alone; their own
// tests cover the rest, file_windows_test.cpp the same on Windows.

TEST(LineEnd, IsTheSystemsOwn) {
    EXPECT_EQ(systemLineEnd(), "\n");
}

// XDG_CONFIG_HOME is a POSIX desktop's.
TEST_F(AtomicWrite, TheEnvironmentNamesTheSettingsFile) {
    const auto named = folder / "mine.ini";
    ::setenv("TAVU_INI", named.c_str(), 1);
    EXPECT_EQ(settingsFilePath(), named);
    ::unsetenv("TAVU_INI");
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    EXPECT_EQ(settingsFilePath(), folder / "tavu" / "TAVU.ini");
    ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(AtomicWrite, AFailedSettingsSaveReportsThePathAndLeavesTheFile) {
    std::ofstream(path) << "[Settings]\nsClear=0\n";
    std::filesystem::permissions(path, std::filesystem::perms::owner_read);
    EXPECT_EQ(updateSettingsFile(path, [](IniFile& file) { writeSettingsSection(Settings{}, file); }),
              "Unable to write to " + path.string() + "\nPermission denied.");
    EXPECT_EQ(readSettingsFile(path).file.text(), "[Settings]\nsClear=0\n");
    EXPECT_EQ(fileCount(), 1u);

    const auto folderPath = folder / "folder.ini";
    std::filesystem::create_directory(folderPath);
    EXPECT_TRUE(updateSettingsFile(folderPath, [](IniFile&) {
                }).starts_with("Unable to write to " + folderPath.string() + "\n"));
}

// Words written into a folder never write outside it: a link is replaced.
TEST_F(AtomicWrite, WritingALanguageFileOntoALinkReplacesTheLink) {
    std::filesystem::create_directory(folder / "second");
    const auto outside = folder / "second" / "outside.ini";
    std::ofstream(outside) << "kept";
    std::filesystem::create_symlink(outside, folder / "link.ini");
    ASSERT_EQ(writeLanguageFile(folder / "link.ini", Vocabulary{}, "", ""), "");
    EXPECT_FALSE(std::filesystem::is_symlink(folder / "link.ini"));
    EXPECT_EQ(readLanguageFile(folder / "link.ini", {}).error, "");
    std::ifstream kept(outside);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "kept");
}

} // namespace
} // namespace tavu
