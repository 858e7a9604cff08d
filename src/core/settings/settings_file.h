#pragma once

// Where the settings file lives, and reading and writing it whole.

#include "formats/ini_file.h"
#include "platform/file.h"
#include "settings/menu_changes_file.h"
#include "settings/settings.h"
#include "vocabulary/vocabulary.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tavu {

inline constexpr std::string_view kSettingsFileName = "TAVU.ini";

// TAVU_INI when set; otherwise "TAVU.ini" beside the executable when that file
// exists (portable use); otherwise "TAVU.ini" in userSettingsFolder():
// $XDG_CONFIG_HOME/tavu/TAVU.ini, by default ~/.config/tavu/TAVU.ini, and on
// Windows beside the executable all the same.
std::filesystem::path settingsFilePath();

struct [[nodiscard]] SettingsFileRead {
    IniFile file;      // empty when the file is missing or cannot be read
    std::string error; // why a file that exists cannot be read; empty otherwise
};

// What a missing settings file means: every default for the program's own
// file, an error for a file the operator names, since defaults in place of the
// file a script asked for would make a different menu without a word.
enum class MissingSettingsFile { MeansDefaults, IsError };

// A file that exists but cannot be read whole (not a regular file, too large, a
// read error) reads as empty, with the error to report; so does a missing file
// when `missing` says it is an error. Otherwise a missing file reads as empty.
SettingsFileRead readSettingsFile(const std::filesystem::path& path,
                                  FileOperations& operations = systemFileOperations(),
                                  MissingSettingsFile missing = MissingSettingsFile::MeansDefaults);

// The options and the words of a settings file, read as readSettingsFile does.
struct StoredSettings {
    Settings settings;
    Vocabulary vocabulary;
    MenuChangesRead menuChanges;
    std::string error; // why the file cannot be read, when everything is at its default
};

StoredSettings loadSettings(const std::filesystem::path& path, MissingSettingsFile missing,
                            FileOperations& operations = systemFileOperations());

// Reads the file as it is now, lets `change` rewrite sections, and replaces the
// file whole. A file that exists but cannot be read whole is never replaced,
// since its other sections would be lost. On failure the file is untouched and
// the result is "Unable to write to <path>" with the reason on a second line;
// on success it is empty.
[[nodiscard]] std::string updateSettingsFile(const std::filesystem::path& path,
                                             const std::function<void(IniFile&)>& change,
                                             FileOperations& operations = systemFileOperations());

} // namespace tavu
