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

} // namespace tavu
