#pragma once

// An INI file with the semantics of the native private-profile functions:
// section and key names match without regard to ASCII letter case, the first of
// two equal sections or keys is the one read, a line starting with ";" is a
// comment, values lose surrounding white space and one pair of outer quotes,
// and are read back to at most 2047 characters.

#include "platform/line_end.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tavu {

class IniFile {
public:
    struct Entry {
        std::string key;
        std::string value;
    };

    static constexpr std::size_t kMaxValueCharacters = 2047;

    // A file that is valid UTF-8 (a byte-order mark is skipped) is read as
    // UTF-8, one with a UTF-16 byte-order mark as UTF-16; any other is a
    // single-byte file and is read as windows-1252.
    static IniFile parse(std::string_view bytes);

    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    bool hasKey(std::string_view section, std::string_view key) const {
        return value(section, key).has_value();
    }

    // A line of a section that holds no key (a comment, a blank line), with
    // the key it stands above, or none at the section's end, so that a writer
    // can put it back in its place.
    struct Remark {
        std::string above;
        std::string line;
        bool operator==(const Remark&) const = default;
    };

    struct Section {
        std::string name;
        std::vector<Entry> entries;
        std::vector<Remark> remarks = {};
    };

    // The names of the sections in the order of the file, each once (the
    // first of equal names, as written).
    std::vector<std::string> sectionNames() const;
    // The keys of the section that is read, in their order, each once (the
    // first of equal keys); empty when there is no such section.
    std::vector<Entry> entries(std::string_view section) const;
    // Every section in the order of the file, a repeated name each time it
    // stands, with its keys (the first of equal keys) and its remarks: what a
    // reader takes that loses nothing written, in one pass over the file.
    std::vector<Section> sections() const;

    // Erases every section of that name with all its lines, then writes it anew
    // at the end of the file. Every other line keeps its place.
    void replaceSection(std::string_view section, const std::vector<Entry>& entries);
    // Erases every section whose name `erased` accepts, then writes the
    // sections at the end of the file, in one pass over the file. A remark is
    // written above the key it stood above, or at the section's end when that
    // key is not written.
    void replaceSections(const std::function<bool(std::string_view)>& erased,
                         const std::vector<Section>& sections);

    // The file's text as UTF-8 without a byte-order mark, with the line ending
    // the file was read with (the system's own, systemLineEnd(), for a new or empty file).
    std::string text() const;

private:
    struct Line {
        enum class Kind { Other, Section, Key };
        Kind kind = Kind::Other;
        std::string raw;
        std::string name;  // section or key name, trimmed
        std::string value; // key value as read
    };

    void index();
    static void appendSection(const Section& section, std::vector<Line>& lines);

    std::vector<Line> lines_;
    std::string lineEnd_{systemLineEnd()};
    // Lower-case section name, then lower-case key name, to the first value.
    std::unordered_map<std::string, std::unordered_map<std::string, std::string>> sections_;
};

} // namespace tavu
