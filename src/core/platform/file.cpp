#include "platform/file.h"

#include "platform/ending_signals.h"
#include "platform/file_system.h"
#include "platform/path_text.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>

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

// The temporary files of a save are noted for the ending signals to remove.
// Each step holds those signals, so that none finds a file created but not yet
// noted, or renamed but still noted.
static_assert(2 * FileBatch::kMostStaged <= kMostNotedFiles, "two full batches are noted at once");

int createNotedTemporary(FileOperations& operations, std::string& pathTemplate, std::size_t& noted) {
    const EndingSignalsHeld held;
    const int fd = operations.createTemporary(pathTemplate);
    noted = fd < 0 ? kUnnoted : noteFileToRemove(pathTemplate.c_str());
    return fd;
}

int renameNotedTemporary(FileOperations& operations, std::size_t noted, const char* from, const char* to) {
    const EndingSignalsHeld held;
    const int result = operations.rename(from, to);
    if (result == 0) {
        forgetFileToRemove(noted);
    }
    return result;
}

void removeNotedTemporary(FileOperations& operations, std::size_t noted, const char* path) {
    const EndingSignalsHeld held;
    operations.remove(path);
    forgetFileToRemove(noted);
}

FileRead systemFailure(const std::string& name) {
    return refused(ReadStatus::Unreadable, name + " cannot be read: " + std::strerror(errno) + ".");
}

// A file that ends before the size it had when opened was cut short while
// being read, and is not taken as whole.
FileRead endedEarly(const std::string& name, std::uintmax_t read, std::uintmax_t expected) {
    return refused(ReadStatus::Unreadable, name + " ended after " + std::to_string(read) + " of its " +
                                               std::to_string(expected) + " bytes.");
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
        const std::ptrdiff_t count = operations.read(fd, chunk, sizeof chunk);
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
        return endedEarly(name, result.bytes.size(), expected);
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

// Opens a regular file and gives its size, or refuses it with the reason:
// anything else than a regular file is refused before a byte of it is read.
// The descriptor closes when `file` goes.
std::optional<FileRead> openRegularFile(FileOperations& operations, const std::filesystem::path& path,
                                        const std::string& name, std::optional<Descriptor>& file,
                                        std::uintmax_t& size) {
    const int fd = file_system::openForReading(operations, path);
    if (fd < 0) {
        return errno == ENOENT || errno == ENOTDIR ? refused(ReadStatus::Missing, name + " does not exist.")
                                                   : systemFailure(name);
    }
    file.emplace(operations, fd);
    FileStatus info;
    if (operations.status(fd, info) != 0) {
        return systemFailure(name);
    }
    if (info.kind == FileStatus::Kind::Folder) {
        return refused(ReadStatus::Unreadable, name + " is a folder, not a file.");
    }
    if (info.kind != FileStatus::Kind::Regular) {
        return refused(ReadStatus::Unreadable, name + " is not a regular file.");
    }
    size = info.size;
    return std::nullopt;
}

bool writeAll(FileOperations& operations, int fd, std::string_view text) {
    for (std::size_t done = 0; done < text.size();) {
        const std::ptrdiff_t written = operations.write(fd, text.data() + done, text.size() - done);
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

} // namespace

namespace file_system {

bool resolveSavePath(const std::filesystem::path& path, SymbolicLink link, std::filesystem::path& resolved) {
    std::error_code code;
    resolved = path;
    if (link == SymbolicLink::Follow && std::filesystem::is_symlink(path, code)) {
        resolved = std::filesystem::canonical(path, code);
        if (code) {
            errno = code.value();
            return false;
        }
    }
    resolved = std::filesystem::absolute(resolved, code);
    if (code) {
        errno = code.value();
        return false;
    }
    return true;
}

} // namespace file_system

FileOperations& systemFileOperations() {
    static FileOperations operations;
    return operations;
}

FileRead readRegularFile(const std::filesystem::path& path, std::uintmax_t limit,
                         FileOperations& operations) {
    const std::string name = utf8FromPath(path);
    std::optional<Descriptor> file;
    std::uintmax_t size = 0;
    if (auto refusal = openRegularFile(operations, path, name, file, size)) {
        return std::move(*refusal);
    }
    if (size > limit) {
        return refused(ReadStatus::Unreadable, name + " is larger than " + limitText(limit) + ".");
    }
    return readToEnd(operations, file->get(), name, limit, size);
}

FileRead readRegularFileStart(const std::filesystem::path& path, std::size_t size,
                              FileOperations& operations) {
    const std::string name = utf8FromPath(path);
    std::optional<Descriptor> file;
    std::uintmax_t fileSize = 0;
    if (auto refusal = openRegularFile(operations, path, name, file, fileSize)) {
        return std::move(*refusal);
    }
    FileRead result;
    result.bytes.resize(static_cast<std::size_t>(std::min<std::uintmax_t>(fileSize, size)));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        const std::ptrdiff_t count =
            operations.read(file->get(), result.bytes.data() + done, result.bytes.size() - done);
        if (count < 0 && errno == EINTR) {
            continue;
        }
        if (count < 0) {
            return systemFailure(name);
        }
        if (count == 0) {
            return endedEarly(name, done, result.bytes.size());
        }
        done += static_cast<std::size_t>(count);
    }
    result.status = ReadStatus::Read;
    return result;
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
            removeNotedTemporary(operations_, file.noted, file.temporary.c_str());
        }
    }
    staged_.clear();
}

bool FileBatch::stage(const std::filesystem::path& path, std::string_view text, SymbolicLink link) {
    if (full()) {
        errno = ENOBUFS;
        return false;
    }
    file_system::SaveTarget target;
    if (!file_system::checkSaveTarget(path, link, target)) {
        return false;
    }
    // mkostemp creates the file exclusively (O_EXCL): it never opens a file
    // that is already there, whoever made it. Its name is made in place in the
    // batch, where a signal finds it.
    Staged& file = staged_.emplace_back(
        Staged{target.path, utf8FromPath(target.path) + std::string(kTemporaryMarker) + "XXXXXX", 0});
    const int fd = createNotedTemporary(operations_, file.temporary, file.noted);
    if (fd < 0) {
        const int failure = errno;
        staged_.pop_back();
        errno = failure;
        return false;
    }
    const bool syncNow = sync_ == Sync::EachFile || file_system::syncsEachFile();
    bool written = writeAll(operations_, fd, text) && file_system::finishTemporary(operations_, fd, target) &&
                   (!syncNow || operations_.sync(fd) == 0);
    int failure = errno;
    if (operations_.close(fd) != 0 && written) {
        written = false;
        failure = errno;
    }
    if (!written) {
        removeNotedTemporary(operations_, file.noted, file.temporary.c_str());
        staged_.pop_back();
        errno = failure;
        return false;
    }
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
            if (const int failure = file_system::syncFolderBeforeRenames(operations_, folder); failure != 0) {
                std::fill(results.begin(), results.end(), failure);
                removeTemporaries();
                return results;
            }
        }
    }
    for (std::size_t i = 0; i < staged_.size(); ++i) {
        Staged& file = staged_[i];
        if (renameNotedTemporary(operations_, file.noted, file.temporary.c_str(),
                                 utf8FromPath(file.target).c_str()) != 0) {
            results[i] = errno;
            continue;
        }
        file.temporary.clear(); // it is the target now
    }
    // The renames survive a power cut only once their folders are synced. The
    // old files are gone by then, so a failure here is reported with the new
    // files in place.
    for (const std::filesystem::path& folder : folders) {
        if (const int failure = file_system::syncFolderAfterRenames(operations_, folder); failure != 0) {
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

Result<Done, Unwritable> writeFileAtomically(const std::filesystem::path& path, std::string_view text,
                                             SymbolicLink link, FileOperations& operations) {
    FileBatch batch(FileBatch::Sync::EachFile, operations);
    const int failure = batch.stage(path, text, link) ? batch.commit().front() : errno;
    if (failure != 0) {
        return Unwritable{path, std::string(std::strerror(failure)) + "."};
    }
    return Done{};
}

} // namespace tavu
