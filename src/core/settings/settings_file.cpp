#include "settings/settings_file.h"

#include "platform/environment.h"
#include "platform/executable_folder.h"
#include "platform/path_text.h"

#include <cerrno>
#include <cstring>
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

SettingsFileRead readSettingsFile(const std::filesystem::path& path, FileOperations& operations,
                                  MissingSettingsFile missing) {
    FileRead read = readRegularFile(path, kSettingsFileLimit, operations);
    switch (read.status) {
    case ReadStatus::Read:
        return {IniFile::parse(read.bytes), {}};
    case ReadStatus::Missing:
        if (missing == MissingSettingsFile::IsError) {
            return {IniFile{}, "the settings file " + utf8FromPath(path) + " does not exist"};
        }
        return {};
    case ReadStatus::Unreadable:
        break;
    }
    return {IniFile{}, std::move(read.reason)};
}

StoredSettings loadSettings(const std::filesystem::path& path, MissingSettingsFile missing,
                            FileOperations& operations) {
    const SettingsFileRead read = readSettingsFile(path, operations, missing);
    StoredSettings stored{readSettingsSection(read.file), Vocabulary{}, readMenuChanges(read.file),
                          read.error};
    readStringsSection(stored.vocabulary, read.file);
    return stored;
}

std::string updateSettingsFile(const std::filesystem::path& path, const std::function<void(IniFile&)>& change,
                               FileOperations& operations) {
    const std::string failure = "Unable to write to " + utf8FromPath(path);
    SettingsFileRead read = readSettingsFile(path, operations);
    if (!read.error.empty()) {
        return failure + "\n" + read.error;
    }
    change(read.file);
    std::error_code code;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), code);
    }
    if (!writeFileAtomically(path, read.file.text(), SymbolicLink::Follow, operations)) {
        return failure + "\n" + std::strerror(errno) + ".";
    }
    return {};
}

} // namespace tavu
