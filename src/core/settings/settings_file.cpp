#include "settings/settings_file.h"

#include "platform/environment.h"
#include "platform/executable_folder.h"
#include "platform/path_text.h"

#include <system_error>

namespace tavu {

std::filesystem::path settingsFilePath() {
    if (const auto overridden = environmentText("TAVU_INI")) {
        return pathFromUtf8(*overridden);
    }
    std::error_code code;
    auto portable = executableFolder() / kSettingsFileName;
    if (!executableFolder().empty() && std::filesystem::is_regular_file(portable, code)) {
        return portable;
    }
    return userSettingsFolder() / kSettingsFileName;
}

Result<IniFile, Unreadable> readSettingsFile(const std::filesystem::path& path, FileOperations& operations,
                                             MissingSettingsFile missing) {
    FileRead read = readRegularFile(path, kSettingsFileLimit, operations);
    switch (read.status) {
    case ReadStatus::Read:
        return IniFile::parse(read.bytes);
    case ReadStatus::Missing:
        if (missing == MissingSettingsFile::IsError) {
            return Unreadable{"the settings file " + utf8FromPath(path) + " does not exist"};
        }
        return IniFile{};
    case ReadStatus::Unreadable:
        break;
    }
    return Unreadable{std::move(read.reason)};
}

Result<StoredSettings, Unreadable> loadSettings(const std::filesystem::path& path,
                                                MissingSettingsFile missing, FileOperations& operations) {
    const auto read = readSettingsFile(path, operations, missing);
    if (!read) {
        return read.failure();
    }
    StoredSettings stored{readSettingsSection(read.value()), Vocabulary{}, readMenuChanges(read.value())};
    readStringsSection(stored.vocabulary, read.value());
    return stored;
}

Result<Done, Unwritable> updateSettingsFile(const std::filesystem::path& path,
                                            const std::function<void(IniFile&)>& change,
                                            FileOperations& operations) {
    auto read = readSettingsFile(path, operations);
    if (!read) {
        return Unwritable{path, std::move(read).failure().reason};
    }
    change(read.value());
    std::error_code code;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), code);
    }
    return writeFileAtomically(path, read->text(), SymbolicLink::Follow, operations);
}

} // namespace tavu
