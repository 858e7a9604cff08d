#pragma once

// The windows' state: what the program keeps for one run: the options and the remembered profiles
// file, the vocabulary, the menu changes, and the profiles file with the chosen
// profile. The settings file's sections are read at start and written at close,
// in one save; the windows show and edit the session and do no file I/O.

#include "generator/menu_changes.h"
#include "platform/file.h"
#include "profiles/profiles_document.h"
#include "settings/settings.h"
#include "vocabulary/vocabulary.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavu {

// "Unable to write to PATH" with the reason on a line of its own, as a
// message box shows it.
std::string unwritableMessage(const Unwritable& failure);

// No profiles file has been loaded yet, one is loaded but no profile has been
// chosen since, or a profile is chosen.
enum class ProfileState { NothingLoaded = -1, Loaded = 0, Chosen = 1 };

// The profiles document with the profile list, the profile index and the
// profile state, as the main window keeps them.
class ProfileSession {
public:
    // Replaces the document, the list and the state only when the whole file
    // loads; otherwise returns the error and leaves everything as it was.
    [[nodiscard]] std::string load(const std::filesystem::path& path);
    // The operator picked the item at `index` in the profile list.
    void choose(int index);

    ProfileState state() const { return state_; }
    int index() const { return index_; }
    const std::vector<std::string>& names() const;
    // The chosen profile's name; empty when none is chosen.
    std::string chosenName() const;
    // The chosen profile's element; null when no document is loaded or the index
    // names no profile.
    XmlElement profileNode() const;
    // The loaded document; null when none is loaded.
    const ProfilesDocument* document() const { return document_ ? &*document_ : nullptr; }

private:
    std::optional<ProfilesDocument> document_;
    int index_ = -1;
    ProfileState state_ = ProfileState::NothingLoaded;
};

class Session {
public:
    explicit Session(std::filesystem::path settingsFile, FileOperations& operations = systemFileOperations())
        : settingsFile_(std::move(settingsFile)), operations_(operations) {}

    // Reads the sections "Settings" and "Strings" and the menu changes. A
    // missing file gives every default. A file that exists but cannot be read
    // whole also gives every default, and the result is the error to report,
    // once; otherwise empty. What of the menu changes was not taken as it
    // stands is in menuChangesProblems(), to report once as well.
    [[nodiscard]] std::string load();

    // Writes every section in one save, so that the file has all new or all
    // old. The result is empty, or "Unable to write to <path>" with the reason
    // on a second line; a file that could not be read is never overwritten.
    [[nodiscard]] std::string save() const;

    const std::filesystem::path& settingsFile() const { return settingsFile_; }
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    Vocabulary& vocabulary() { return vocabulary_; }
    const Vocabulary& vocabulary() const { return vocabulary_; }
    ProfileSession& profiles() { return profiles_; }
    const ProfileSession& profiles() const { return profiles_; }
    MenuChanges& menuChanges() { return menuChanges_; }
    const MenuChanges& menuChanges() const { return menuChanges_; }
    const std::vector<std::string>& menuChangesProblems() const { return menuChangesProblems_; }

private:
    std::filesystem::path settingsFile_;
    FileOperations& operations_;
    Settings settings_;
    Vocabulary vocabulary_;
    ProfileSession profiles_;
    MenuChanges menuChanges_;
    std::vector<std::string> menuChangesProblems_;
};

} // namespace tavu
