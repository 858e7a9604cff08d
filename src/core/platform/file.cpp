#include "platform/file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace tavu {

namespace {

constexpr std::string_view kTemporaryMarker = ".saving-";
constexpr std::size_t kReadChunk = 64 * 1024;

std::string limitText(std::uintmax_t limit) {
    return std::to_string(limit / kMebibyte) + " MiB";
}

FileRead refused(ReadStatus status, std::string reason) {
    return FileRead{status, {}, std::move(reason)};
}

FileRead systemFailure(const std::string& name) {
    return refused(ReadStatus::Unreadable, name + " cannot be read: " + std::strerror(errno) + ".");
}

// Reads until the end or until more than `limit` bytes came. `expected` is the
// size the file had when opened; a file that ends before it was cut short
// while being read, and is not taken as whole.
FileRead readToEnd(FileOperations& operations, int fd, const std::string& name, std::uintmax_t limit,
                   std::uintmax_t expected) {
    FileRead result;
    result.bytes.reserve(static_cast<std::size_t>(std::min(expected, limit)));
    char chunk[kReadChunk];
    for (;;) {
        const ssize_t count = operations.read(fd, chunk, sizeof chunk);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return systemFailure(name);
        }
        if (count == 0) {
            break;
        }
        if (result.bytes.size() + static_cast<std::size_t>(count) > limit) {
            return refused(ReadStatus::Unreadable, name + " is larger than " + limitText(limit) + ".");
        }
        result.bytes.append(chunk, static_cast<std::size_t>(count));
    }
    if (result.bytes.size() < expected) {
        return refused(ReadStatus::Unreadable, name + " ended after " + std::to_string(result.bytes.size()) +
                                                   " of its " + std::to_string(expected) + " bytes.");
    }
    result.status = ReadStatus::Read;
    return result;
}

// Closes a descriptor on every path out of a read.
class Descriptor {
public:
    Descriptor(FileOperations& operations, int fd) : operations_(operations), fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            operations_.close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    FileOperations& operations_;
    int fd_;
};

bool isReadOnly(const struct stat& info, const std::filesystem::path& path) {
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

bool writeAll(FileOperations& operations, int fd, std::string_view text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = operations.write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            if (written == 0) {
                errno = EIO;
            }
            return false;
        }
        done += static_cast<std::size_t>(written);
    }
    return true;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// The file the save replaces, checked before anything is written: a symbolic
// link followed when asked, and the path made absolute.
struct Target {
    std::filesystem::path path;
    bool exists = false;
    struct stat info {};
};

bool checkTarget(const std::filesystem::path& path, SymbolicLink link, Target& target) {
    std::error_code code;
    target.path = path;
    if (link == SymbolicLink::Follow && std::filesystem::is_symlink(path, code)) {
        target.path = std::filesystem::canonical(path, code);
        if (code) {
            errno = code.value();
            return false;
        }
    }
    target.path = std::filesystem::absolute(target.path, code);
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

// Owner, group and permissions of the file being replaced; a new file gets the
// process's defaults. A set-user-ID or set-group-ID bit is never carried over.
bool applyOwnershipAndMode(FileOperations& operations, int fd, const Target& target) {
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

FileOperations& systemFileOperations() {
    static FileOperations operations;
    return operations;
}

FileRead readRegularFile(const std::filesystem::path& path, std::uintmax_t limit,
                         FileOperations& operations) {
    const std::string name = path.string();
    // Non-blocking, so that a FIFO cannot hold the program before it is refused.
    const int fd = operations.open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? refused(ReadStatus::Missing, name + " does not exist.")
                                                   : systemFailure(name);
    }
    const Descriptor file(operations, fd);
    struct stat info {};
    if (operations.status(fd, info) != 0) {
        return systemFailure(name);
    }
    if (S_ISDIR(info.st_mode)) {
        return refused(ReadStatus::Unreadable, name + " is a folder, not a file.");
    }
    if (!S_ISREG(info.st_mode)) {
        return refused(ReadStatus::Unreadable, name + " is not a regular file.");
    }
    if (static_cast<std::uintmax_t>(info.st_size) > limit) {
        return refused(ReadStatus::Unreadable, name + " is larger than " + limitText(limit) + ".");
    }
    return readToEnd(operations, fd, name, limit, static_cast<std::uintmax_t>(info.st_size));
}

FileRead readStream(int fd, const std::string& name, std::uintmax_t limit, FileOperations& operations) {
    return readToEnd(operations, fd, name, limit, 0);
}

FileBatch::~FileBatch() {
    removeTemporaries();
}

void FileBatch::removeTemporaries() {
    for (const Staged& file : staged_) {
        if (!file.temporary.empty()) {
            operations_.remove(file.temporary.c_str());
        }
    }
    staged_.clear();
}

bool FileBatch::stage(const std::filesystem::path& path, std::string_view text, SymbolicLink link) {
    Target target;
    if (!checkTarget(path, link, target)) {
        return false;
    }
    // mkostemp creates the file exclusively (O_EXCL): it never opens a file
    // that is already there, whoever made it.
    std::string temporary = target.path.string() + std::string(kTemporaryMarker) + "XXXXXX";
    const int fd = operations_.createTemporary(temporary);
    if (fd < 0) {
        return false;
    }
    bool written = writeAll(operations_, fd, text) && applyOwnershipAndMode(operations_, fd, target) &&
                   (sync_ == Sync::Together || operations_.sync(fd) == 0);
    int failure = errno;
    if (operations_.close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (!written) {
        operations_.remove(temporary.c_str());
        errno = failure;
        return false;
    }
    staged_.push_back(Staged{std::move(target.path), std::move(temporary)});
    return true;
}

std::vector<int> FileBatch::commit() {
    std::vector<int> results(staged_.size(), 0);
    std::set<std::filesystem::path> folders;
    for (const Staged& file : staged_) {
        folders.insert(file.target.parent_path());
    }
    // Written, then synced together: one sync per file system for the batch.
    if (sync_ == Sync::Together) {
        for (const std::filesystem::path& folder : folders) {
            if (const int failure = syncFolder(folder, &FileOperations::syncFileSystem); failure != 0) {
                std::fill(results.begin(), results.end(), failure);
                removeTemporaries();
                return results;
            }
        }
    }
    for (std::size_t i = 0; i < staged_.size(); ++i) {
        Staged& file = staged_[i];
        if (operations_.rename(file.temporary.c_str(), file.target.c_str()) != 0) {
            results[i] = errno;
            continue;
        }
        file.temporary.clear(); // it is the target now
    }
    // The renames survive a power cut only once their folders are synced. The
    // old files are gone by then, so a failure here is reported with the new
    // files in place.
    for (const std::filesystem::path& folder : folders) {
        if (const int failure = syncFolder(folder, &FileOperations::sync); failure != 0) {
            for (std::size_t i = 0; i < staged_.size(); ++i) {
                if (results[i] == 0 && staged_[i].target.parent_path() == folder) {
                    results[i] = failure;
                }
            }
        }
    }
    removeTemporaries();
    return results;
}

int FileBatch::syncFolder(const std::filesystem::path& folder, int (FileOperations::*syncCall)(int)) {
    const int fd = operations_.open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    int failure = (operations_.*syncCall)(fd) == 0 ? 0 : errno;
    if (operations_.close(fd) != 0 && failure == 0) {
        failure = errno;
    }
    return failure;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view text, SymbolicLink link,
                         FileOperations& operations) {
    FileBatch batch(FileBatch::Sync::EachFile, operations);
    if (!batch.stage(path, text, link)) {
        return false;
    }
    const int failure = batch.commit().front();
    errno = failure;
    return failure == 0;
}

} // namespace tavu
