#include "app/settings_file.h"

#include <cstdlib>
#include <system_error>

namespace tavu {

namespace {

std::filesystem::path executableFolder() {
    std::error_code code;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", code);
    return code ? std::filesystem::path{} : executable.parent_path();
}

std::filesystem::path userConfigFolder() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/') {
        return config;
    }
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home != nullptr ? home : "") / ".config";
}

} // namespace

std::filesystem::path settingsFilePath() {
    if (const char* overridden = std::getenv("TAVU_INI"); overridden != nullptr && *overridden != '\0') {
        return overridden;
    }
    std::error_code code;
    const auto portable = executableFolder() / kSettingsFileName;
    if (!executableFolder().empty() && std::filesystem::is_regular_file(portable, code)) {
        return portable;
    }
    return userConfigFolder() / "tavu" / kSettingsFileName;
}

IniFile readSettingsFile(const std::filesystem::path& path) {
    std::string bytes;
    return readWholeFile(path, bytes) == ReadStatus::Read ? IniFile::parse(bytes) : IniFile{};
}

std::string updateSettingsFile(const std::filesystem::path& path,
                               const std::function<void(IniFile&)>& change) {
    const std::string failure = "Unable to write to " + path.string();
    std::string bytes;
    const ReadStatus status = readWholeFile(path, bytes);
    // A file that exists but cannot be read would lose its other sections.
    if (status == ReadStatus::Unreadable) {
        return failure;
    }
    IniFile file = status == ReadStatus::Read ? IniFile::parse(bytes) : IniFile{};
    change(file);
    std::error_code code;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), code);
    }
    return writeFileAtomically(path, file.text()) ? std::string{} : failure;
}

} // namespace tavu
