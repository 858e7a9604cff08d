#pragma once

#include "formats/xml.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavu {

// A parsed profiles file: the document and, in document order, each profile's
// element and display name.
class ProfilesDocument {
public:
    struct LoadResult;

    // Reads and parses the file and every profile's name. Only a file that
    // succeeds in all of that gives a document.
    static LoadResult load(const std::filesystem::path& path);
    static LoadResult parse(std::string_view bytes, const std::string& name);

    const std::vector<std::string>& names() const { return names_; }
    XmlElement profile(int index) const;

private:
    XmlDocumentPtr document_;
    std::vector<XmlElement> profiles_;
    std::vector<std::string> names_;
};

struct ProfilesDocument::LoadResult {
    std::optional<ProfilesDocument> document;
    std::string error; // set when document is empty
};

// No profiles file has been loaded yet, one is loaded but no profile has been
// chosen since, or a profile is chosen.
enum class ProfileState { NothingLoaded = -1, Loaded = 0, Chosen = 1 };

// The profiles document with the profile list, the profile index and the
// profile state, as the main window keeps them.
class ProfileSession {
public:
    // Replaces the document, the list and the state only when the whole file
    // loads; otherwise returns the error and leaves everything as it was.
    std::string load(const std::filesystem::path& path);
    // The operator picked the item at `index` in the profile list.
    void choose(int index);

    ProfileState state() const { return state_; }
    int index() const { return index_; }
    const std::vector<std::string>& names() const;
    // The chosen profile's element; null when no document is loaded or the index
    // names no profile.
    XmlElement profileNode() const;

private:
    std::optional<ProfilesDocument> document_;
    int index_ = -1;
    ProfileState state_ = ProfileState::NothingLoaded;
};

} // namespace tavu
