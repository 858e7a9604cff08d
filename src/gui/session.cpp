#include "session.h"

#include "settings/settings_file.h"

namespace tavu {

std::string ProfileSession::load(const std::filesystem::path& path) {
    ProfilesDocument::LoadResult result = ProfilesDocument::load(path);
    if (!result.document) {
        return result.error;
    }
    document_ = std::move(result.document);
    state_ = ProfileState::Loaded;
    return {};
}

void ProfileSession::choose(int index) {
    index_ = index;
    state_ = ProfileState::Chosen;
}

const std::vector<std::string>& ProfileSession::names() const {
    static const std::vector<std::string> none;
    return document_ ? document_->names() : none;
}

XmlElement ProfileSession::profileNode() const {
    return document_ ? document_->profile(index_) : XmlElement{};
}

std::string Session::load() {
    StoredSettings stored = loadSettings(settingsFile_, MissingSettingsFile::MeansDefaults, operations_);
    settings_ = std::move(stored.settings);
    vocabulary_ = std::move(stored.vocabulary);
    return std::move(stored.error);
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
