#pragma once

// The section "Settings" of the settings file: the remembered profiles file and
// the main window's option check boxes.

#include "generator/generator.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tavu {

class IniFile;

inline constexpr std::string_view kSettingsSection = "Settings";
inline constexpr std::string_view kFileKey = "sFile";

struct Settings {
    std::string file; // the profiles file last chosen in the file dialog
    GenerationOptions options;

    bool operator==(const Settings&) const = default;
};

// A whole number, decimal or hexadecimal after "0x", "0X" or "$"; any number but
// 0 is true. Empty when the text is not a whole number.
std::optional<bool> readIniBoolean(std::string_view text);

// Missing keys and values that are not whole numbers give the defaults.
Settings readSettingsSection(const IniFile& file);
// Erases the section, with keys it does not know, and writes the twelve keys.
void writeSettingsSection(const Settings& settings, IniFile& file);

} // namespace tavu
