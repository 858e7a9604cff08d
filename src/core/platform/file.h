#pragma once

// Reading a regular file whole within a size limit, and replacing files whole
// so that none is ever seen half-written.

#include "base/result.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

// The largest file of each kind that is read. Each is far above any real file
// of its kind and far below what would strain memory; a larger file is refused
// before a byte of it is read.
inline constexpr std::uintmax_t kMebibyte = 1024 * 1024;
inline constexpr std::uintmax_t kProfilesFileLimit = 64 * kMebibyte;
inline constexpr std::uintmax_t kSettingsFileLimit = 16 * kMebibyte;
inline constexpr std::uintmax_t kBlockFileLimit = 16 * kMebibyte;

// What the status of an open file tells: its kind and its size.
struct FileStatus {
    enum class Kind { Regular, Folder, Other };
    Kind kind = Kind::Other;
    std::uintmax_t size = 0;
};

// The system calls that reading and saving make, so that tests can make any
// one of them fail. Paths are UTF-8 on every system; on Windows the calls take
// them as UTF-16, descriptors stand for Windows file handles, and `flags` are
// unused. Owners, modes and the sync of a whole file system are POSIX systems'
// own: Windows has none of them, syncs every file as it is written and renames
// with write-through, so that no save there asks for them.
class FileOperations {
public:
    virtual ~FileOperations() = default;
    virtual int open(const char* path, int flags);
    virtual int status(int fd, FileStatus& info);
    virtual std::ptrdiff_t read(int fd, char* data, std::size_t size);
    virtual int createTemporary(std::string& pathTemplate);
    virtual std::ptrdiff_t write(int fd, const char* data, std::size_t size);
    virtual int changeOwner(int fd, std::uint32_t owner, std::uint32_t group);
    virtual int changeMode(int fd, std::uint32_t mode);
    virtual int syncFileSystem(int fd);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int remove(const char* path);
};
FileOperations& systemFileOperations();

// Why a file was not read, or not taken as what it was read for: a sentence
// for a message, naming the file.
struct Unreadable {
    std::string reason;
};

// Why a file was not written.
struct Unwritable {
    std::filesystem::path path;
    std::string reason; // the system's, as a sentence
};

enum class ReadStatus { Read, Missing, Unreadable };

struct [[nodiscard]] FileRead {
    ReadStatus status = ReadStatus::Unreadable;
    std::string bytes;  // the whole file, when read
    std::string reason; // why it was not read, as a sentence for a message
};

// Reads a regular file whole. Anything else (a folder, a device, a FIFO) is
// refused without blocking, so is a file larger than `limit`, and a read that
// fails or ends early fails the whole read: no part of a file is ever taken
// for the whole.
FileRead readRegularFile(const std::filesystem::path& path, std::uintmax_t limit,
                         FileOperations& operations = systemFileOperations());

// Reads the start of a regular file: the whole file when it is no larger than
// `size`, else its first `size` bytes. Refuses what readRegularFile refuses,
// but never a file for its size, so that a header is found in a file of any size.
FileRead readRegularFileStart(const std::filesystem::path& path, std::size_t size,
                              FileOperations& operations = systemFileOperations());

// Reads an open descriptor (standard input) to its end, refusing more than
// `limit` bytes. `name` labels the reason.
FileRead readStream(int fd, const std::string& name, std::uintmax_t limit,
                    FileOperations& operations = systemFileOperations());

// Whether the two paths name one existing file under any names: a symbolic
// link, a hard link, a relative path or, where the system ignores it, a
// difference in letter case. False when either does not exist.
[[nodiscard]] bool isSameFile(const std::filesystem::path& first, const std::filesystem::path& second);

// What a symbolic link at the path means: the file it points to is the one to
// save (a settings file kept elsewhere), or the link itself is replaced (a file
// written into a folder, which must never write outside it).
enum class SymbolicLink { Follow, Replace };

// Replaces files whole: each is written to a temporary file of its own, created
// exclusively in the same folder, made durable and renamed over its target, so
// every target is either as before or wholly new. Two programs saving the same
// file at once both succeed; the last rename wins. The owner, group and
// permissions of a replaced file are kept where the process may (never a
// set-user-ID or set-group-ID bit). A file or folder that is read-only is
// never written, even by a user who could. No file this program did not create
// is ever removed: on failure only its own temporary file goes.
//
class FileBatch {
public:
    // Each file synced as it is staged (right for one file), or all of them
    // with one sync of the file system at commit (right for many).
    enum class Sync { EachFile, Together };

    // The most files a batch holds: a process killed outright, with no chance
    // to remove its temporary files, leaves at most this many behind.
    static constexpr std::size_t kMostStaged = 128;

    explicit FileBatch(Sync sync = Sync::Together, FileOperations& operations = systemFileOperations())
        : sync_(sync), operations_(operations) {
        // The signal handler reads the temporary files' names where they are.
        staged_.reserve(kMostStaged);
    }
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Writes the temporary file for `path`. On failure errno tells why (ENOBUFS
    // when the batch is full), nothing is left behind, and the result is false.
    [[nodiscard]] bool stage(const std::filesystem::path& path, std::string_view text,
                             SymbolicLink link = SymbolicLink::Follow);

    // Makes every staged file durable and puts it in place. One entry per
    // staged file, in order: 0 when it is in place and durable, else the errno
    // of its failure. A file that failed before its rename is left as it was.
    [[nodiscard]] std::vector<int> commit();

    bool full() const { return staged_.size() >= kMostStaged; }

private:
    struct Staged {
        std::filesystem::path target;
        std::string temporary;
        std::size_t noted; // its place among the files a signal removes
    };
    void removeTemporaries();

    Sync sync_;
    FileOperations& operations_;
    std::vector<Staged> staged_;
};

// Replaces one file as FileBatch does; a failure gives the system's reason.
Result<Done, Unwritable> writeFileAtomically(const std::filesystem::path& path, std::string_view text,
                                             SymbolicLink link = SymbolicLink::Follow,
                                             FileOperations& operations = systemFileOperations());

} // namespace tavu
