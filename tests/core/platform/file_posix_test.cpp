#include "platform/file.h"

#include "file_fixture.h"
#include "platform/ending_signals.h"
#include "platform/line_end.h"
#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

// What reading and saving files do on POSIX systems alone: owners and modes,
// processes and signals, devices and FIFOs. file_test.cpp holds what every
// system does.

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

TEST_F(AtomicWrite, KeepsTheModeOfTheFileItReplaces) {
    writeBytes(path, "old");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new"));
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

// Giving the new file its mode, and syncing the folder after the rename, are
// steps of a save on POSIX systems alone.
INSTANTIATE_TEST_SUITE_P(PosixSteps, AtomicWriteFailure,
                         testing::Values(SaveFailure{Call::Mode, 1, "mode"},
                                         SaveFailure{Call::Open, 1, "folder open", true},
                                         SaveFailure{Call::Sync, 2, "folder sync", true}),
                         NamedByWhat{});

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
    writeBytes(path, "old");
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
    writeBytes(path, "old");
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
    writeBytes(path, "old");
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
    const bool written = writeFileAtomically(path, "new").ok();
    ::umask(before);
    ASSERT_TRUE(written);
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0644u);
}

// A signal that ends the process removes the temporary files of its batch and
// nothing else, then ends it as the signal does.
TEST_F(AtomicWrite, AnEndingSignalRemovesTheBatchsTemporaryFiles) {
    writeBytes(folder / "a.txt", "old");
    writeBytes(folder / "a.txt.saving-AB1234", "someone else's");
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileBatch batch;
        const bool ready = handleEndingSignals().ok() && batch.stage(folder / "a.txt", "new") &&
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

// A burst of signals, the later ones arriving while the first one is being
// handled, still leaves no temporary file; the moment a later one could end
// the process too soon is narrow, so the burst is repeated.
TEST_F(AtomicWrite, ABurstOfEndingSignalsLeavesNoTemporaryFile) {
    for (int round = 0; round < 100 && fileCount() == 0; ++round) {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            FileBatch batch;
            const bool staged = handleEndingSignals().ok() && batch.stage(folder / "a.txt", "new");
            while (staged && ::write(ready[1], "r", 1) >= 0) {
                ::pause();
            }
            ::_exit(1);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        for (int i = 0; i < 30; ++i) {
            ::kill(child, SIGTERM);
        }
        ::waitpid(child, nullptr, 0);
        ::close(ready[0]);
        ::close(ready[1]);
    }
    EXPECT_EQ(fileCount(), 0u);
}

// Started as nohup starts it, the process keeps a hangup ignored and goes on.
TEST_F(AtomicWrite, AHangupIgnoredFromTheStartStaysIgnored) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGHUP, SIG_IGN);
        FileBatch batch;
        const bool ready = handleEndingSignals().ok() && batch.stage(folder / "a.txt", "new");
        ::raise(SIGHUP);
        ::_exit(ready && batch.commit() == std::vector<int>{0} ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    EXPECT_EQ(readRegularFile(folder / "a.txt", kSettingsFileLimit).bytes, "new");
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
    writeBytes(folder / "a.txt", "old");
    FailingOperations operations(Call::SyncFileSystem, 1);
    FileBatch batch(FileBatch::Sync::Together, operations);
    ASSERT_TRUE(batch.stage(folder / "a.txt", "new"));
    ASSERT_TRUE(batch.stage(folder / "b.txt", "new"));
    EXPECT_EQ(batch.commit(), std::vector<int>(2, EIO));
    EXPECT_EQ(readRegularFile(folder / "a.txt", kSettingsFileLimit).bytes, "old");
    EXPECT_EQ(fileCount(), 1u);
}

// Windows has no read-only folders: its attribute means something else there.
TEST_F(AtomicWrite, AReadOnlyFolderIsNotWritten) {
    ::chmod(folder.c_str(), 0555);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(fileCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    PosixFiles, Reading,
    testing::Values(ReadCase{"device", [](const auto&) { return std::filesystem::path("/dev/zero"); },
                             ReadStatus::Unreadable, " is not a regular file."},
                    ReadCase{"fifo",
                             [](const auto& f) {
                                 ::mkfifo((f / "fifo").c_str(), 0600);
                                 return f / "fifo";
                             },
                             ReadStatus::Unreadable, " is not a regular file."}),
    NamedByWhat{});

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

} // namespace
} // namespace tavu
