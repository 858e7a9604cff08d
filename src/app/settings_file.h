#pragma once

// Where the settings file lives, and reading and writing it whole.

#include "platform/file.h"
#include "platform/ini_file.h"

#include <filesystem>
#include <functional>
#include <string>

namespace tavu {

inline constexpr std::string_view kSettingsFileName = "TAVU.ini";

// TAVU_INI when set; otherwise "TAVU.ini" beside the executable when that file
// exists (portable use); otherwise $XDG_CONFIG_HOME/tavu/TAVU.ini, by default
// ~/.config/tavu/TAVU.ini.
std::filesystem::path settingsFilePath();

// Reading never fails: a missing or unreadable file reads as an empty one.
IniFile readSettingsFile(const std::filesystem::path& path);

// Reads the file as it is now, lets `change` rewrite sections, and replaces the
// file whole. On failure the file is untouched and the result is the message
// "Unable to write to <path>"; on success it is empty.
std::string updateSettingsFile(const std::filesystem::path& path,
                               const std::function<void(IniFile&)>& change);

} // namespace tavu
