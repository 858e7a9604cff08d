#include "settings/settings.h"

#include "base/text.h"
#include "formats/ini_file.h"

#include <charconv>
#include <cstdint>

namespace tavu {

std::optional<bool> readIniBoolean(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with('$')) {
        base = 16;
        text.remove_prefix(1);
    }
    // The native reader takes a 32-bit number; a longer one is not a whole number.
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return std::nullopt;
    }
    if (base == 10 && number > (negative ? 0x80000000u : 0x7FFFFFFFu)) {
        return std::nullopt;
    }
    return number != 0;
}

Settings readSettingsSection(const IniFile& file) {
    Settings settings;
    settings.file = file.value(kSettingsSection, kFileKey).value_or("");
    for (const OptionEntry& entry : kOptionTable) {
        if (const auto text = file.value(kSettingsSection, entry.key)) {
            if (const auto value = readIniBoolean(*text)) {
                settings.options.*entry.option = *value;
            }
        }
    }
    return settings;
}

void writeSettingsSection(const Settings& settings, IniFile& file) {
    std::vector<IniFile::Entry> entries;
    entries.push_back({std::string(kFileKey), settings.file});
    for (const OptionEntry& entry : kOptionTable) {
        entries.push_back({std::string(entry.key), settings.options.*entry.option ? "1" : "0"});
    }
    file.replaceSection(kSettingsSection, entries);
}

} // namespace tavu
