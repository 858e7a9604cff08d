#pragma once

// What the program keeps for one run: the options and the remembered profiles
// file, the vocabulary, and the profiles file with the chosen profile. Both
// sections of the settings file are read at start and written at close, in
// one save; the windows show and edit the session and do no file I/O.

#include "platform/file.h"
#include "profiles/profiles_document.h"
#include "settings/settings.h"
#include "vocabulary/vocabulary.h"

#include <filesystem>
#include <string>

namespace tavu {

class Session {
public:
    explicit Session(std::filesystem::path settingsFile, FileOperations& operations = systemFileOperations())
        : settingsFile_(std::move(settingsFile)), operations_(operations) {}

    // Reads the sections "Settings" and "Strings". A missing file gives every
    // default. A file that exists but cannot be read whole also gives every
    // default, and the result is the error to report, once; otherwise empty.
    std::string load();

    // Writes both sections in one save, so that the file has both new or both
    // old. The result is empty, or "Unable to write to <path>" with the reason
    // on a second line; a file that could not be read is never overwritten.
    std::string save() const;

    const std::filesystem::path& settingsFile() const { return settingsFile_; }
    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    Vocabulary& vocabulary() { return vocabulary_; }
    const Vocabulary& vocabulary() const { return vocabulary_; }
    ProfileSession& profiles() { return profiles_; }
    const ProfileSession& profiles() const { return profiles_; }

private:
    std::filesystem::path settingsFile_;
    FileOperations& operations_;
    Settings settings_;
    Vocabulary vocabulary_;
    ProfileSession profiles_;
};

} // namespace tavu
