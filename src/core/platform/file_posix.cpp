#include "platform/file_system.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
int FileOperations::status(int fd, struct stat& info) {
    return ::fstat(fd, &info);
}
ssize_t FileOperations::read(int fd, char* data, std::size_t size) {
    return ::read(fd, data, size);
}
int FileOperations::createTemporary(std::string& pathTemplate) {
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}
ssize_t FileOperations::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
int FileOperations::changeOwner(int fd, uid_t owner, gid_t group) {
    return ::fchown(fd, owner, group);
}
int FileOperations::changeMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
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
    target.exists = ::lstat(target.path.c_str(), &target.info) == 0;
    const bool isLink = target.exists && S_ISLNK(target.info.st_mode);
    if (isLink) {
        target.exists = false; // the link itself is replaced by a new file
    }
    if (target.exists && (!S_ISREG(target.info.st_mode) || isReadOnly(target.info, target.path))) {
        errno = S_ISDIR(target.info.st_mode) ? EISDIR : EACCES;
        return false;
    }
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
    if ((target.info.st_uid != ::geteuid() || target.info.st_gid != ::getegid()) &&
        operations.changeOwner(fd, target.info.st_uid, target.info.st_gid) != 0 && errno != EPERM) {
        return false;
    }
    return operations.changeMode(fd, target.info.st_mode & 01777) == 0;
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

} // namespace tavu
