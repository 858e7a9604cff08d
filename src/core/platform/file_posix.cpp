#include "platform/file_system.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The interface's portable types hold what the system's do.
static_assert(sizeof(uid_t) <= sizeof(std::uint32_t) && sizeof(gid_t) <= sizeof(std::uint32_t) &&
              sizeof(mode_t) <= sizeof(std::uint32_t));

namespace tavu {

namespace {

bool isReadOnly(const struct stat& info, const std::filesystem::path& path) {
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Syncs the folder with `syncCall`: 0, or the errno of the failure.
int syncFolder(FileOperations& operations, const std::filesystem::path& folder,
               int (FileOperations::*syncCall)(int)) {
    const int fd = operations.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int failure = (operations.*syncCall)(fd) == 0 ? 0 : errno;
    if (operations.close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    return failure;
}

} // namespace

int FileOperations::open(const char* path, int flags) {
    return ::open(path, flags);
}
int FileOperations::status(int fd, FileStatus& info) {
    struct stat system {};
    if (::fstat(fd, &system) != 0) {
        return -1;
    }
    info.kind = S_ISREG(system.st_mode)   ? FileStatus::Kind::Regular
                : S_ISDIR(system.st_mode) ? FileStatus::Kind::Folder
                                          : FileStatus::Kind::Other;
    info.size = static_cast<std::uintmax_t>(system.st_size);
    return 0;
}
std::ptrdiff_t FileOperations::read(int fd, char* data, std::size_t size) {
    return ::read(fd, data, size);
}
int FileOperations::createTemporary(std::string& pathTemplate) {
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}
std::ptrdiff_t FileOperations::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
int FileOperations::changeOwner(int fd, std::uint32_t owner, std::uint32_t group) {
    return ::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group));
}
int FileOperations::changeMode(int fd, std::uint32_t mode) {
    return ::fchmod(fd, static_cast<mode_t>(mode));
}
int FileOperations::sync(int fd) {
    return ::fsync(fd);
}
int FileOperations::syncFileSystem(int fd) {
    return ::syncfs(fd);
}
int FileOperations::close(int fd) {
    return ::close(fd);
}
int FileOperations::rename(const char* from, const char* to) {
    return ::rename(from, to);
}
int FileOperations::remove(const char* path) {
    return ::unlink(path);
}

namespace file_system {

int openForReading(FileOperations& operations, const std::filesystem::path& path) {
    // Non-blocking, so that a FIFO cannot hold the program before it is refused.
    return operations.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool checkSaveTarget(const std::filesystem::path& path, SymbolicLink link, SaveTarget& target) {
    if (!resolveSavePath(path, link, target.path)) {
        return false;
    }
    struct stat info {};
    target.exists = ::lstat(target.path.c_str(), &info) == 0;
    const bool isLink = target.exists && S_ISLNK(info.st_mode);
    if (isLink) {
        target.exists = false; // the link itself is replaced by a new file
    }
    if (target.exists && (!S_ISREG(info.st_mode) || isReadOnly(info, target.path))) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EACCES;
        return false;
    }
    target.owner = info.st_uid;
    target.group = info.st_gid;
    target.mode = info.st_mode;
    struct stat folder {};
    if (::stat(target.path.parent_path().c_str(), &folder) != 0) {
        return false;
    }
    if (isReadOnly(folder, target.path.parent_path())) {
        errno = EACCES;
        return false;
    }
    return true;
}

// A set-user-ID or set-group-ID bit is never carried over.
bool finishTemporary(FileOperations& operations, int fd, const SaveTarget& target) {
    if (!target.exists) {
        return operations.changeMode(fd, newFileMode()) == 0;
    }
    // Only root may give a file away; anyone else keeps the file as their own.
    if ((target.owner != ::geteuid() || target.group != ::getegid()) &&
        operations.changeOwner(fd, target.owner, target.group) != 0 && errno != EPERM) {
        return false;
    }
    return operations.changeMode(fd, target.mode & 01777) == 0;
}

bool syncsEachFile() {
    return false;
}

int syncFolderBeforeRenames(FileOperations& operations, const std::filesystem::path& folder) {
    return syncFolder(operations, folder, &FileOperations::syncFileSystem);
}

int syncFolderAfterRenames(FileOperations& operations, const std::filesystem::path& folder) {
    return syncFolder(operations, folder, &FileOperations::sync);
}

} // namespace file_system

bool isSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    struct stat one {};
    struct stat other {};
    return ::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &other) == 0 &&
           one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

} // namespace tavu
