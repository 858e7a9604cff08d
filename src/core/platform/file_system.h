#pragma once

// What reading and saving files does differently on POSIX systems
// (file_posix.cpp) and on Windows (file_windows.cpp); file.cpp holds the rest.

#include "platform/file.h"

#include <cstdint>
#include <filesystem>

namespace tavu::file_system {

// Opens a file for reading without blocking on a FIFO or a device, a folder
// included so that it can be refused as one: a descriptor, or -1 with errno.
[[nodiscard]] int openForReading(FileOperations& operations, const std::filesystem::path& path);

// The file a save replaces, checked before anything is written.
struct SaveTarget {
    std::filesystem::path path; // absolute, a symbolic link followed when asked
    bool exists = false;
    // What a replaced file has, for the new one to keep: POSIX systems' only.
    std::uint32_t owner = 0;
    std::uint32_t group = 0;
    std::uint32_t mode = 0;
};

// The absolute path a save writes: the file a symbolic link names when asked to
// follow it, else the path itself. False, with errno, when it cannot be found.
[[nodiscard]] bool resolveSavePath(const std::filesystem::path& path, SymbolicLink link,
                                   std::filesystem::path& resolved);

// Refuses, with errno, a target that is a folder or some other non-file, or
// that is read-only, or whose folder is.
[[nodiscard]] bool checkSaveTarget(const std::filesystem::path& path, SymbolicLink link, SaveTarget& target);

// Gives a written temporary file what the replaced file had (its owner, group
// and permissions) or, for a new file, the process's defaults.
[[nodiscard]] bool finishTemporary(FileOperations& operations, int fd, const SaveTarget& target);

// Whether every staged file is synced alone, whatever the batch asks: where no
// one sync covers a whole file system.
bool syncsEachFile();

// Makes the batch's written files durable before the renames, and the renames
// durable after them, folder by folder: 0, or the errno of the failure.
[[nodiscard]] int syncFolderBeforeRenames(FileOperations& operations, const std::filesystem::path& folder);
[[nodiscard]] int syncFolderAfterRenames(FileOperations& operations, const std::filesystem::path& folder);

} // namespace tavu::file_system
