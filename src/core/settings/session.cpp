#include "settings/session.h"

#include "app/settings_file.h"

namespace tavu {

std::string Session::load() {
    const SettingsFileRead read = readSettingsFile(settingsFile_, operations_);
    settings_ = LoadSettings(read.file);
    vocabulary_ = Vocabulary{};
    LoadStrings(vocabulary_, read.file);
    return read.error;
}

std::string Session::save() const {
    return updateSettingsFile(
        settingsFile_,
        [this](IniFile& file) {
            SaveSettings(settings_, file);
            SaveStrings(vocabulary_, file);
        },
        operations_);
}

} // namespace tavu
