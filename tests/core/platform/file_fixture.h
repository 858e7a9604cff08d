#pragma once

// What the file tests of both systems share (file_test.cpp, file_posix_test.cpp,
// file_windows_test.cpp): a folder of their own whose name is not ASCII, so that
// every case also passes a name through the system's own form of it, system calls
// that fail on demand, and the tables that each system adds its own rows to.

#include "platform/file.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>

namespace tavu::test {

// Writes the bytes as they are: no line end becomes the system's own.
inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
}

class AtomicWrite : public testing::Test {
protected:
    std::string contents() const { return readRegularFile(path, kSettingsFileLimit).bytes; }
    std::size_t fileCount() const {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
    }
    // Its name is not ASCII: every case also passes a name through the system's own form of it.
    const TemporaryFolder temporary{std::filesystem::path(u8"tavu-files-\u0416\u00e9-")};
    const std::filesystem::path folder = temporary.path();
    const std::filesystem::path path =
        folder / std::filesystem::path(u8"\u041d\u0430\u0441\u0442\u0440\u043e\u0439\u043a\u0438.ini");
};

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
    std::array<int, static_cast<std::size_t>(Call::Rename) + 1> counts_{};
};

// A step of a save that fails (file_test.cpp): the steps of both systems
// there, each system's own in its own test source.
struct SaveFailure {
    FailingOperations::Call call;
    int failAt;
    const char* what;
    bool afterRename = false;
};
class AtomicWriteFailure : public AtomicWrite, public testing::WithParamInterface<SaveFailure> {};

// Something at a path that is not read (file_test.cpp), each system's devices
// and FIFOs in its own test source.
struct ReadCase {
    const char* what;
    std::function<std::filesystem::path(const std::filesystem::path& folder)> make;
    ReadStatus status;
    const char* reason; // the end of the reason
};
class Reading : public AtomicWrite, public testing::WithParamInterface<ReadCase> {};

// A case's name in the test list: what it is, its spaces made underscores.
struct NamedByWhat {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        std::string name = info.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    }
};

} // namespace tavu::test
