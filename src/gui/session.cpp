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

std::string ProfileSession::chosenName() const {
    const std::vector<std::string>& all = names();
    return state_ == ProfileState::Chosen && index_ >= 0 && static_cast<std::size_t>(index_) < all.size()
               ? all[static_cast<std::size_t>(index_)]
               : std::string();
}

XmlElement ProfileSession::profileNode() const {
    return document_ ? document_->profile(index_) : XmlElement{};
}

std::string Session::load() {
    StoredSettings stored = loadSettings(settingsFile_, MissingSettingsFile::MeansDefaults, operations_);
    settings_ = std::move(stored.settings);
    vocabulary_ = std::move(stored.vocabulary);
    menuChanges_ = std::move(stored.menuChanges.changes);
    menuChangesProblems_ = std::move(stored.menuChanges.problems);
    return std::move(stored.error);
}

std::string Session::save() const {
    return updateSettingsFile(
        settingsFile_,
        [this](IniFile& file) {
            writeSettingsSection(settings_, file);
            writeStringsSection(vocabulary_, file);
            writeMenuChanges(menuChanges_, file);
        },
        operations_);
}

} // namespace tavu
