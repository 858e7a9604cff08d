#include "profiles/profiles_document.h"

#include "platform/file.h"
#include "platform/path_text.h"

namespace tavu {

namespace {

constexpr std::string_view kRootName = "Profiles";
constexpr std::string_view kNameElement = "Name";

} // namespace

Result<ProfilesDocument, Unreadable> ProfilesDocument::load(const std::filesystem::path& path) {
    const FileRead file = readRegularFile(path, kProfilesFileLimit);
    if (file.status != ReadStatus::Read) {
        return Unreadable{file.reason};
    }
    return parse(file.bytes, utf8FromPath(path));
}

Result<ProfilesDocument, Unreadable> ProfilesDocument::parse(std::string_view bytes,
                                                             const std::string& name) {
    auto parsed = parseXml(bytes, name);
    if (!parsed) {
        return std::move(parsed).failure();
    }
    const XmlElement root = documentElement(parsed->get());
    if (root.name() != kRootName) {
        return Unreadable{name + ": the root element is not \"Profiles\", so the file holds no profiles."};
    }
    ProfilesDocument document;
    document.document_ = std::move(parsed).value();
    // Only elements are profiles: comments and processing instructions between
    // them take no position.
    for (XmlElement profile = root.firstChildElement(); profile; profile = profile.nextSiblingElement()) {
        const ElementText text = profile.child(kNameElement).text();
        if (text.kind != ElementText::Kind::Text || text.text.empty()) {
            return Unreadable{"Could not convert variant of type (Null) into type (String)\n\nProfile " +
                              std::to_string(document.profiles_.size() + 1) +
                              " has no \"Name\" with a text."};
        }
        document.profiles_.push_back(profile);
        document.names_.push_back(text.text);
    }
    return document;
}

XmlElement ProfilesDocument::profile(int index) const {
    if (index < 0 || static_cast<std::size_t>(index) >= profiles_.size()) {
        return {};
    }
    return profiles_[static_cast<std::size_t>(index)];
}

} // namespace tavu
