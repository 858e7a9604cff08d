#include "platform/file_system.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

// The interface's portable types hold what the system's do.
static_assert(sizeof(uid_t) <= sizeof(std::uint32_t) && sizeof(gid_t) <= sizeof(std::uint32_t) &&
              sizeof(mode_t) <= sizeof(std::uint32_t));

namespace {

// The names of the temporary files of the saves under way, for the signal
// handler: room for two full batches.
constexpr std::size_t kNotedPlaces = 2 * tavu::FileBatch::kMostStaged;
const char* volatile notedTemporaries[kNotedPlaces] = {};

constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP};

} // namespace

// Async-signal-safe: unlink, sigaction and raise only. The handler stays in
// place while it runs, and the ending signals are held meanwhile, so that a
// second signal of a burst cannot end the process before the files are gone
// (an action reset on entry would let one arriving at that moment end it at
// once). Only then does the signal get its default action back, and raised
// again it ends the process as soon as the handler returns, with the status
// it conventionally has.
extern "C" {
static void removeNotedAndEnd(int signal) {
    for (const char* const volatile& path : notedTemporaries) {
        if (const char* const name = path; name != nullptr) {
            ::unlink(name);
        }
    }
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}
}

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

// Holds the signals that remove temporary files for one step, errno kept.
class SignalsHeld {
public:
    SignalsHeld() {
        sigset_t ending;
        sigemptyset(&ending);
        for (const int signal : kEndingSignals) {
            sigaddset(&ending, signal);
        }
        held_ = ::pthread_sigmask(SIG_BLOCK, &ending, &before_) == 0;
    }
    ~SignalsHeld() {
        const int saved = errno;
        if (held_) {
            ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
        }
        errno = saved;
    }
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t before_{};
    bool held_ = false;
};

// Called with the signals held.
std::size_t note(const char* path) {
    for (std::size_t place = 0; place < kNotedPlaces; ++place) {
        if (notedTemporaries[place] == nullptr) {
            notedTemporaries[place] = path;
            return place;
        }
    }
    return file_system::kUnnoted;
}

void forget(std::size_t place) {
    if (place != file_system::kUnnoted) {
        notedTemporaries[place] = nullptr;
    }
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

int createNotedTemporary(FileOperations& operations, std::string& pathTemplate, std::size_t& noted) {
    const SignalsHeld held;
    const int fd = operations.createTemporary(pathTemplate);
    noted = fd < 0 ? kUnnoted : note(pathTemplate.c_str());
    return fd;
}

int renameNotedTemporary(FileOperations& operations, std::size_t noted, const char* from, const char* to) {
    const SignalsHeld held;
    const int result = operations.rename(from, to);
    if (result == 0) {
        forget(noted);
    }
    return result;
}

void removeNotedTemporary(FileOperations& operations, std::size_t noted, const char* path) {
    const SignalsHeld held;
    operations.remove(path);
    forget(noted);
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

bool removeTemporaryFilesOnSignals() {
    struct sigaction action {};
    action.sa_handler = removeNotedAndEnd;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : kEndingSignals) {
        sigaddset(&action.sa_mask, signal);
    }
    for (const int signal : kEndingSignals) {
        struct sigaction before {};
        if (::sigaction(signal, nullptr, &before) != 0) {
            return false;
        }
        if (before.sa_handler != SIG_IGN && ::sigaction(signal, &action, nullptr) != 0) {
            return false;
        }
    }
    return true;
}

bool isSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    struct stat one {};
    struct stat other {};
    return ::stat(first.c_str(), &one) == 0 && ::stat(second.c_str(), &other) == 0 &&
           one.st_dev == other.st_dev && one.st_ino == other.st_ino;
}

} // namespace tavu
