#include "session.h"

#include "platform/path_text.h"
#include "settings/settings_file.h"

namespace tavu {

std::string unwritableMessage(const Unwritable& failure) {
    return "Unable to write to " + utf8FromPath(failure.path) + "\n" + failure.reason;
}

std::string ProfileSession::load(const std::filesystem::path& path) {
    auto loaded = ProfilesDocument::load(path);
    if (!loaded) {
        return std::move(loaded).failure().reason;
    }
    document_ = std::move(loaded).value();
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
    auto loaded = loadSettings(settingsFile_, MissingSettingsFile::MeansDefaults, operations_);
    // A file that cannot be read gives every default.
    StoredSettings stored;
    std::string failure;
    if (loaded) {
        stored = std::move(loaded).value();
    } else {
        failure = loaded.failure().reason;
    }
    settings_ = std::move(stored.settings);
    vocabulary_ = std::move(stored.vocabulary);
    menuChanges_ = std::move(stored.menuChanges.changes);
    menuChangesProblems_ = std::move(stored.menuChanges.problems);
    return failure;
}

std::string Session::save() const {
    const auto saved = updateSettingsFile(
        settingsFile_,
        [this](IniFile& file) {
            writeSettingsSection(settings_, file);
            writeStringsSection(vocabulary_, file);
            writeMenuChanges(menuChanges_, file);
        },
        operations_);
    return saved ? std::string() : unwritableMessage(saved.failure());
}

} // namespace tavu
