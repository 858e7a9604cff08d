#pragma once

#include <array>
#include <string_view>

namespace tavu {

// One exit status of tavu-cli: its code, which the code returns (it converts
// to int), with the name and meaning that --help, the scripting guide and the
// manual page print.
struct ExitStatus {
    int code;
    std::string_view name;
    // Plain text, one paragraph: --help wraps it, and the scripting guide and
    // the manual page carry it word for word.
    std::string_view meaning;

    constexpr operator int() const { return code; }
};

// The higher of two statuses is the worse, so that a run over several profiles
// can report its worst outcome.
inline constexpr ExitStatus ExitDone{
    0, "done", "done; for check, no error in the block (warnings may be printed); for diff, no menu changes"};
inline constexpr ExitStatus ExitStopped{
    1, "stopped",
    "generate, tree and items: the generation stopped at a permission whose text cannot be read (nothing is "
    "written, and standard error names the profiles file, the profile, the element and its text); check: an "
    "error in "
    "the block (a piece that no client can read, or a prompt that a \"]\" ends early); matrix and diff: as "
    "generate for any profile; diff: also when a profile's menu changes, or a profile is added or removed"};
// check: a piece that no client can read; the same status as a stop.
inline constexpr ExitStatus ExitUnreadablePiece = ExitStopped;
// diff: a menu changes, as diff(1) says that files differ; the same status as a stop.
inline constexpr ExitStatus ExitMenusChange = ExitStopped;
inline constexpr ExitStatus ExitUsage{2, "usage", "usage error"};
inline constexpr ExitStatus ExitNoProfiles{
    3, "unreadable input",
    "the profiles file cannot be loaded, or holds no such profile; the settings file exists but cannot "
    "be read, or --settings names a file that does not exist; --language names no installed language and "
    "no file, or a file that cannot be read as a language file or has a word holding ], |, $ or %[; for "
    "check, the block file cannot be read "
    "or is not in its code page"};
inline constexpr ExitStatus ExitUnencodable{
    4, "unencodable",
    "the block holds a character that the code page cannot hold; nothing is written for that profile"};
inline constexpr ExitStatus ExitUnwritable{5, "unwritable",
                                           "generate --all: the folder or a file in it cannot be written; "
                                           "export-words and export-items: FILE cannot be written"};
inline constexpr ExitStatus ExitOutputUnwritable{
    6, "output unwritable",
    "standard output cannot be written (a full disk, for example); serve: also when nobody reads it, so that "
    "lines are left unprinted when the hub stops"};
inline constexpr ExitStatus ExitMenuError{
    7, "menu error",
    "generate: the block holds an error that check reports (a piece that no client can read, or a prompt "
    "that a \"]\" ends early); nothing is written for that profile, and standard error lists the findings "
    "as check prints them"};

inline constexpr ExitStatus ExitCannotListen{
    8, "cannot listen",
    "serve: the address and port cannot be listened on (another program uses the port, or the address is "
    "not one of this machine's)"};

// Every status tavu-cli exits with, in the order of their codes.
inline constexpr std::array<ExitStatus, 9> kExitStatuses{
    ExitDone,       ExitStopped,          ExitUsage,     ExitNoProfiles,  ExitUnencodable,
    ExitUnwritable, ExitOutputUnwritable, ExitMenuError, ExitCannotListen};

static_assert(
    [] {
        for (std::size_t i = 0; i < kExitStatuses.size(); ++i) {
            if (kExitStatuses[i].code != static_cast<int>(i)) {
                return false;
            }
        }
        return true;
    }(),
    "the list holds every exit status once, in order");

} // namespace tavu
