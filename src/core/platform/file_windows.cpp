#include "platform/file_system.h"
#include "platform/path_text.h"

#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <io.h>
#include <limits>
#include <optional>
#include <random>
#include <string>

namespace tavu {

namespace {

// Tries with fresh names before creating a temporary file is given up.
constexpr int kTemporaryNameTries = 100;
constexpr std::string_view kTemporaryPlaceholder = "XXXXXX";

std::wstring wide(const char* utf8) {
    const int length = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, nullptr, 0);
    if (length <= 0) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    if (::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8, -1, text.data(), length) != length) {
        return {};
    }
    text.pop_back(); // the terminating NUL
    return text;
}

int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO;
    }
}

// Sets errno from the last Windows error and gives `result`.
template <typename Result>
Result failed(Result result) {
    errno = errnoOf(::GetLastError());
    return result;
}

HANDLE handleOf(int fd) {
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

// A descriptor for a handle, which then owns it; -1 with errno when none can be had.
int descriptorOf(HANDLE handle) {
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0) {
        ::CloseHandle(handle);
        errno = EMFILE;
    }
    return fd;
}

// Windows reads and writes at most 4 GiB less one byte at a time.
DWORD chunkOf(std::size_t size) {
    return static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max()));
}

DWORD attributesOf(const std::filesystem::path& path) {
    return ::GetFileAttributesW(path.c_str());
}

// The volume and the index that name a file whatever path reaches it; none
// when the file cannot be opened even without access to its content.
struct FileIdentity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
    bool operator==(const FileIdentity&) const = default;
};

std::optional<FileIdentity> identityOf(const std::filesystem::path& path) {
    const HANDLE handle =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = ::GetFileInformationByHandle(handle, &information) != 0;
    const bool closed = ::CloseHandle(handle) != 0;
    if (!known || !closed) {
        return std::nullopt;
    }
    return FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh,
                        information.nFileIndexLow};
}

} // namespace

int FileOperations::open(const char* path, int) {
    const std::wstring name = wide(path);
    if (name.empty()) {
        errno = ENOENT;
        return -1;
    }
    // Backup semantics, so that a folder opens and is refused as a folder.
    const HANDLE handle =
        ::CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    return handle == INVALID_HANDLE_VALUE ? failed(-1) : descriptorOf(handle);
}

int FileOperations::status(int fd, FileStatus& info) {
    const HANDLE handle = handleOf(fd);
    info = {};
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        return 0; // a console, a pipe or a device
    }
    BY_HANDLE_FILE_INFORMATION file{};
    if (!::GetFileInformationByHandle(handle, &file)) {
        return failed(-1);
    }
    const bool folder = (file.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    info.kind = folder ? FileStatus::Kind::Folder : FileStatus::Kind::Regular;
    info.size = (std::uintmax_t{file.nFileSizeHigh} << 32) | file.nFileSizeLow;
    return 0;
}

std::ptrdiff_t FileOperations::read(int fd, char* data, std::size_t size) {
    DWORD count = 0;
    if (!::ReadFile(handleOf(fd), data, chunkOf(size), &count, nullptr)) {
        // A pipe whose writer has gone has ended.
        return ::GetLastError() == ERROR_BROKEN_PIPE ? 0 : failed<std::ptrdiff_t>(-1);
    }
    return static_cast<std::ptrdiff_t>(count);
}

// Replaces the trailing "XXXXXX" with random letters until CREATE_NEW makes a
// file no one else has: never one that is already there, whoever made it.
int FileOperations::createTemporary(std::string& pathTemplate) {
    if (!pathTemplate.ends_with(kTemporaryPlaceholder)) {
        errno = EINVAL;
        return -1;
    }
    static constexpr std::string_view kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device seed;
    std::minstd_rand random(seed());
    std::uniform_int_distribution<std::size_t> pick(0, kLetters.size() - 1);
    const std::size_t start = pathTemplate.size() - kTemporaryPlaceholder.size();
    for (int attempt = 0; attempt < kTemporaryNameTries; ++attempt) {
        for (std::size_t i = start; i < pathTemplate.size(); ++i) {
            pathTemplate[i] = kLetters[pick(random)];
        }
        const HANDLE handle = ::CreateFileW(wide(pathTemplate.c_str()).c_str(), GENERIC_READ | GENERIC_WRITE,
                                            0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return descriptorOf(handle);
        }
        if (::GetLastError() != ERROR_FILE_EXISTS) {
            return failed(-1);
        }
    }
    errno = EEXIST;
    return -1;
}

std::ptrdiff_t FileOperations::write(int fd, const char* data, std::size_t size) {
    DWORD count = 0;
    if (!::WriteFile(handleOf(fd), data, chunkOf(size), &count, nullptr)) {
        return failed<std::ptrdiff_t>(-1);
    }
    return static_cast<std::ptrdiff_t>(count);
}

// Windows has no owners and modes to carry over and no sync of a whole file
// system: no save asks for them there, and one that did would be refused.
int FileOperations::changeOwner(int, std::uint32_t, std::uint32_t) {
    errno = ENOSYS;
    return -1;
}

int FileOperations::changeMode(int, std::uint32_t) {
    errno = ENOSYS;
    return -1;
}

int FileOperations::syncFileSystem(int) {
    errno = ENOSYS;
    return -1;
}

int FileOperations::sync(int fd) {
    return ::FlushFileBuffers(handleOf(fd)) ? 0 : failed(-1);
}

int FileOperations::close(int fd) {
    return ::_close(fd);
}

// Write-through: the rename is durable when the call returns.
int FileOperations::rename(const char* from, const char* to) {
    return ::MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : failed(-1);
}

int FileOperations::remove(const char* path) {
    return ::DeleteFileW(wide(path).c_str()) ? 0 : failed(-1);
}

namespace file_system {

int openForReading(FileOperations& operations, const std::filesystem::path& path) {
    return operations.open(utf8FromPath(path).c_str(), O_RDONLY);
}

bool checkSaveTarget(const std::filesystem::path& path, SymbolicLink link, SaveTarget& target) {
    if (!resolveSavePath(path, link, target.path)) {
        return false;
    }
    const DWORD attributes = attributesOf(target.path);
    // A link (a reparse point) is itself replaced by the new file.
    target.exists = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (target.exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        errno = EISDIR;
        return false;
    }
    if (target.exists && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE)) != 0) {
        errno = EACCES;
        return false;
    }
    const DWORD folder = attributesOf(target.path.parent_path());
    if (folder == INVALID_FILE_ATTRIBUTES) {
        return failed(false);
    }
    if ((folder & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        errno = ENOTDIR;
        return false;
    }
    return true;
}

// A new file takes the folder's permissions, a replaced file's are not kept:
// Windows has no owner or mode to carry over in the way POSIX systems do.
bool finishTemporary(FileOperations&, int, const SaveTarget&) {
    return true;
}

// Windows syncs no whole file system: each file is synced as it is written.
bool syncsEachFile() {
    return true;
}

int syncFolderBeforeRenames(FileOperations&, const std::filesystem::path&) {
    return 0;
}

// MoveFileExW with write-through has made the renames durable.
int syncFolderAfterRenames(FileOperations&, const std::filesystem::path&) {
    return 0;
}

} // namespace file_system

bool isSameFile(const std::filesystem::path& first, const std::filesystem::path& second) {
    if (attributesOf(first) == INVALID_FILE_ATTRIBUTES || attributesOf(second) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const auto one = identityOf(first);
    const auto other = identityOf(second);
    if (one && other) {
        return *one == *other;
    }
    // A file that cannot be opened at all is told by its full path, letter
    // case aside as the file system sets it aside.
    std::error_code code;
    const std::filesystem::path oneFull = std::filesystem::weakly_canonical(first, code);
    const std::filesystem::path otherFull =
        code ? std::filesystem::path() : std::filesystem::weakly_canonical(second, code);
    return !code && ::CompareStringOrdinal(oneFull.c_str(), -1, otherFull.c_str(), -1, TRUE) == CSTR_EQUAL;
}

} // namespace tavu
