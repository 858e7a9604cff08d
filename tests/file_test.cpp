#include "platform/file.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

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
    std::string contents() const {
        std::string bytes;
        readWholeFile(path, bytes);
        return bytes;
    }
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

// Fails the n-th system call a save makes, counting from 1.
class FailingOperations : public FileOperations {
public:
    explicit FailingOperations(int failAt) : failAt_(failAt) {}
    int calls() const { return calls_; }

    int createTemporary(std::string& pathTemplate) override {
        return fails() ? -1 : FileOperations::createTemporary(pathTemplate);
    }
    ssize_t write(int fd, const char* data, std::size_t size) override {
        // Half a write first, so that a failure can fall after a partial write.
        return fails() ? -1 : FileOperations::write(fd, data, std::max<std::size_t>(1, size / 2));
    }
    int changeMode(int fd, mode_t mode) override {
        return fails() ? -1 : FileOperations::changeMode(fd, mode);
    }
    int sync(int fd) override { return fails() ? -1 : FileOperations::sync(fd); }
    int close(int fd) override {
        const int result = FileOperations::close(fd);
        return fails() ? -1 : result;
    }
    int rename(const char* from, const char* to) override {
        return fails() ? -1 : FileOperations::rename(from, to);
    }

private:
    bool fails() { return ++calls_ == failAt_; }
    int failAt_;
    int calls_ = 0;
};

TEST_F(AtomicWrite, AFailureAtAnyStepLeavesTheOldFileWholeAndNoTemporaryFile) {
    const std::string before = "[Settings]\nsClear=0\n";
    const std::string after(100000, 'n');
    int failAt = 1;
    for (;; ++failAt) {
        std::ofstream(path, std::ios::trunc) << before;
        FailingOperations operations(failAt);
        const bool saved = writeFileAtomically(path, after, SymbolicLink::Follow, operations);
        EXPECT_EQ(fileCount(), 1u) << "failing call " << failAt;
        if (saved) {
            EXPECT_EQ(contents(), after);
            break;
        }
        EXPECT_EQ(contents(), before) << "failing call " << failAt;
    }
    // Create, two or more writes, mode, sync, close, rename: every one was failed once.
    EXPECT_GE(failAt, 7);
}

TEST_F(AtomicWrite, AKilledSaveLeavesOneWholeVersionAndTheNextSaveCleansUp) {
    const std::string first(4 << 20, 'a');
    const std::string second(4 << 20, 'b');
    ASSERT_TRUE(writeFileAtomically(path, first));
    std::mt19937 random(7);
    for (int round = 0; round < 12; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                writeFileAtomically(path, i % 2 ? first : second);
            }
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + random() % 30000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string now = contents();
        EXPECT_TRUE(now == first || now == second) << "round " << round << ": " << now.size() << " bytes";
    }
    ASSERT_TRUE(writeFileAtomically(path, "final"));
    EXPECT_EQ(contents(), "final");
    EXPECT_EQ(fileCount(), 1u);
}

TEST_F(AtomicWrite, AReadOnlyFolderIsNotWritten) {
    ::chmod(folder.c_str(), 0555);
    EXPECT_FALSE(writeFileAtomically(path, "new"));
    ::chmod(folder.c_str(), 0755);
    EXPECT_EQ(fileCount(), 0u);
}

} // namespace
} // namespace tavu
