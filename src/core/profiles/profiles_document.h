#pragma once

#include "base/result.h"
#include "formats/xml.h"
#include "platform/file.h"

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tavu {

// A parsed profiles file: the document and, in document order, each profile's
// element and display name.
class ProfilesDocument {
public:
    // Reads and parses the file and every profile's name. Only a file that
    // succeeds in all of that gives a document.
    static Result<ProfilesDocument, Unreadable> load(const std::filesystem::path& path);
    static Result<ProfilesDocument, Unreadable> parse(std::string_view bytes, const std::string& name);

    const std::vector<std::string>& names() const { return names_; }
    XmlElement profile(int index) const;

private:
    XmlDocumentPtr document_;
    std::vector<XmlElement> profiles_;
    std::vector<std::string> names_;
};

} // namespace tavu
