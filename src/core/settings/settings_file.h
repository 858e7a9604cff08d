#pragma once

// Where the settings file lives, and reading and writing it whole.

#include "base/result.h"
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

// What a missing settings file means: every default for the program's own
// file, an error for a file the operator names, since defaults in place of the
// file a script asked for would make a different menu without a word.
enum class MissingSettingsFile { MeansDefaults, IsError };

// A file that exists but cannot be read whole (not a regular file, too large, a
// read error) is refused; so is a missing file when `missing` says it is an
// error. Otherwise a missing file reads as empty.
Result<IniFile, Unreadable>
readSettingsFile(const std::filesystem::path& path, FileOperations& operations = systemFileOperations(),
                 MissingSettingsFile missing = MissingSettingsFile::MeansDefaults);

// The options and the words of a settings file, read as readSettingsFile does.
struct StoredSettings {
    Settings settings;
    Vocabulary vocabulary;
    MenuChangesRead menuChanges;
};

Result<StoredSettings, Unreadable> loadSettings(const std::filesystem::path& path,
                                                MissingSettingsFile missing,
                                                FileOperations& operations = systemFileOperations());

// Reads the file as it is now, lets `change` rewrite sections, and replaces the
// file whole. A file that exists but cannot be read whole is never replaced,
// since its other sections would be lost. On failure the file is untouched.
Result<Done, Unwritable> updateSettingsFile(const std::filesystem::path& path,
                                            const std::function<void(IniFile&)>& change,
                                            FileOperations& operations = systemFileOperations());

} // namespace tavu
