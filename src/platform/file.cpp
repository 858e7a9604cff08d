#include "platform/file.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace tavu {

namespace {

constexpr std::string_view kTemporaryMarker = ".saving-";
constexpr std::size_t kRandomCharacters = 6;

bool isReadOnly(const struct stat& info, const std::filesystem::path& path) {
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

// Temporary files of a save that was killed before it could rename or remove them.
void removeAbandonedTemporaries(const std::filesystem::path& target, FileOperations& operations) {
    const std::string prefix = temporaryPrefix(target.filename());
    std::error_code code;
    for (const auto& entry : std::filesystem::directory_iterator(target.parent_path(), code)) {
        const std::string name = entry.path().filename().string();
        if (name.size() == prefix.size() + kRandomCharacters && name.starts_with(prefix) &&
            entry.is_regular_file(code)) {
            operations.remove(entry.path().c_str());
        }
    }
}

bool writeAll(FileOperations& operations, int fd, std::string_view text) {
    for (std::size_t done = 0; done < text.size();) {
        const ssize_t written = operations.write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
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

// Makes the rename itself durable; a failure here loses nothing already written.
void syncFolder(const std::filesystem::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int FileOperations::createTemporary(std::string& pathTemplate) {
    return ::mkostemp(pathTemplate.data(), O_CLOEXEC);
}
ssize_t FileOperations::write(int fd, const char* data, std::size_t size) {
    return ::write(fd, data, size);
}
int FileOperations::changeMode(int fd, mode_t mode) {
    return ::fchmod(fd, mode);
}
int FileOperations::sync(int fd) {
    return ::fsync(fd);
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

std::string temporaryPrefix(const std::filesystem::path& path) {
    return path.string() + std::string(kTemporaryMarker);
}

ReadStatus readWholeFile(const std::filesystem::path& path, std::string& bytes) {
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    if (status.type() == std::filesystem::file_type::not_found) {
        return ReadStatus::Missing;
    }
    if (code || status.type() == std::filesystem::file_type::directory) {
        return ReadStatus::Unreadable;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return ReadStatus::Unreadable;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        return ReadStatus::Unreadable;
    }
    bytes = std::move(content).str();
    return ReadStatus::Read;
}

bool writeFileAtomically(const std::filesystem::path& path, std::string_view text, SymbolicLink link,
                         FileOperations& operations) {
    std::error_code code;
    std::filesystem::path target = path;
    if (link == SymbolicLink::Follow && std::filesystem::is_symlink(path, code)) {
        target = std::filesystem::canonical(path, code);
        if (code) {
            errno = code.value();
            return false;
        }
    }
    target = std::filesystem::absolute(target, code);
    struct stat existing {};
    const bool exists = ::lstat(target.c_str(), &existing) == 0;
    const bool isLink = exists && S_ISLNK(existing.st_mode);
    if (exists && !isLink && (!S_ISREG(existing.st_mode) || isReadOnly(existing, target))) {
        errno = S_ISDIR(existing.st_mode) ? EISDIR : EACCES;
        return false;
    }
    struct stat folder {};
    if (::stat(target.parent_path().c_str(), &folder) != 0) {
        return false;
    }
    if (isReadOnly(folder, target.parent_path())) {
        errno = EACCES;
        return false;
    }
    removeAbandonedTemporaries(target, operations);

    std::string temporary = temporaryPrefix(target) + std::string(kRandomCharacters, 'X');
    const int fd = operations.createTemporary(temporary);
    if (fd < 0) {
        return false;
    }
    const mode_t mode = exists && !isLink ? (existing.st_mode & 07777) : newFileMode();
    bool saved =
        writeAll(operations, fd, text) && operations.changeMode(fd, mode) == 0 && operations.sync(fd) == 0;
    int failure = errno;
    if (operations.close(fd) != 0 && saved) {
        saved = false;
        failure = errno;
    }
    if (saved && operations.rename(temporary.c_str(), target.c_str()) != 0) {
        saved = false;
        failure = errno;
    }
    if (!saved) {
        operations.remove(temporary.c_str());
        errno = failure;
        return false;
    }
    syncFolder(target.parent_path());
    return true;
}

} // namespace tavu
