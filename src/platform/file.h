#pragma once

// Reading a file whole, and replacing one whole so that it is never seen
// half-written.

#include <filesystem>
#include <string>
#include <string_view>
#include <sys/types.h>

namespace tavu {

enum class ReadStatus { Read, Missing, Unreadable };
ReadStatus readWholeFile(const std::filesystem::path& path, std::string& bytes);

// The system calls a save makes, so that tests can make any one of them fail.
class FileOperations {
public:
    virtual ~FileOperations() = default;
    virtual int createTemporary(std::string& pathTemplate);
    virtual ssize_t write(int fd, const char* data, std::size_t size);
    virtual int changeMode(int fd, mode_t mode);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const char* from, const char* to);
    virtual int remove(const char* path);
};
FileOperations& systemFileOperations();

// What a symbolic link at the path means: the file it points to is the one to
// save (a settings file kept elsewhere), or the link itself is replaced (a file
// written into a folder, which must never write outside it).
enum class SymbolicLink { Follow, Replace };

// Writes `text` to a temporary file in the same folder, flushes it and renames it
// over `path`, so the file is either as before or wholly new. On any failure the
// temporary file is removed, errno tells why, and the result is false. A file or
// folder that is read-only is never written, even by a user who could.
// Temporary files left by a save that was killed are removed first.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view text,
                         SymbolicLink link = SymbolicLink::Follow,
                         FileOperations& operations = systemFileOperations());

// The name of the temporary file while `path` is being saved, less its six
// random characters.
std::string temporaryPrefix(const std::filesystem::path& path);

} // namespace tavu
