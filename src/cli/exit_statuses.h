#pragma once

#include "cli.h"

#include <array>
#include <string_view>

namespace tavu {

struct ExitStatus {
    int code;
    std::string_view name;
    // Plain text, one paragraph: --help wraps it, and the README, the
    // scripting guide and the manual page carry it word for word.
    std::string_view meaning;
};

// Every status tavu-cli exits with, in the order of their codes.
inline constexpr std::array<ExitStatus, 8> kExitStatuses{{
    {ExitDone, "done", "done; for check, no error in the block (warnings may be printed)"},
    {ExitStopped, "stopped",
     "generate and tree: the generation stopped at a permission whose text cannot be read (nothing is "
     "written, and standard error names the profiles file, the profile, the element and its text); check: an "
     "error in "
     "the block (a piece that no client can read, or a prompt that a \"]\" ends early)"},
    {ExitUsage, "usage", "usage error"},
    {ExitNoProfiles, "unreadable input",
     "the profiles file cannot be loaded, or holds no such profile; the settings file exists but cannot "
     "be read, or --settings names a file that does not exist; --language names no installed language and "
     "no file, or a file that cannot be read as a language file or has a word holding ], |, $ or %[; for "
     "check, the block file cannot be read "
     "or is not in its code page"},
    {ExitUnencodable, "unencodable",
     "the block holds a character that the code page cannot hold; nothing is written for that profile"},
    {ExitUnwritable, "unwritable",
     "generate --all: the folder or a file in it cannot be written; export-words: FILE cannot be written"},
    {ExitOutputUnwritable, "output unwritable",
     "standard output cannot be written (a full disk, for example)"},
    {ExitMenuError, "menu error",
     "generate: the block holds an error that check reports (a piece that no client can read, or a prompt "
     "that a \"]\" ends early); nothing is written for that profile, and standard error lists the findings "
     "as check prints them"},
}};

static_assert(
    [] {
        for (std::size_t i = 0; i < kExitStatuses.size(); ++i) {
            if (kExitStatuses[i].code != static_cast<int>(i)) {
                return false;
            }
        }
        return kExitStatuses.back().code == ExitMenuError && ExitUnreadablePiece == ExitStopped;
    }(),
    "the list holds every exit status once, in order");

} // namespace tavu
