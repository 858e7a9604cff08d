#include "settings/session.h"

#include "settings/settings_file.h"

namespace tavu {

std::string Session::load() {
    const SettingsFileRead read = readSettingsFile(settingsFile_, operations_);
    settings_ = readSettingsSection(read.file);
    vocabulary_ = Vocabulary{};
    readStringsSection(vocabulary_, read.file);
    return read.error;
}

std::string Session::save() const {
    return updateSettingsFile(
        settingsFile_,
        [this](IniFile& file) {
            writeSettingsSection(settings_, file);
            writeStringsSection(vocabulary_, file);
        },
        operations_);
}

} // namespace tavu
