#include "formats/ini_file.h"

#include "base/text.h"

#include <unordered_set>

namespace tavu {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// The file's text as UTF-8, whatever it was saved as. NUL bytes are dropped: no
// value can hold one, and a client would cut a command at it.
std::string decodedText(std::string_view bytes) {
    std::string text;
    if (bytes.starts_with(kUtf16LittleEndianMark) || bytes.starts_with(kUtf16BigEndianMark)) {
        text = utf16ToUtf8(bytes.substr(2), bytes.starts_with(kUtf16BigEndianMark));
    } else {
        if (bytes.starts_with(kUtf8ByteOrderMark)) {
            bytes.remove_prefix(kUtf8ByteOrderMark.size());
        }
        text = isValidUtf8(bytes) ? std::string(bytes) : windows1252ToUtf8(bytes);
    }
    std::erase(text, '\0');
    return text;
}

// The native private-profile functions end a line at every CR, LF or CR LF,
// whatever the file's first line ending is, so a CR alone inside a line of a
// CR LF file ends that line, and a save writes it as two. The line ending
// written back is the file's first one.
std::vector<std::string_view> splitLines(std::string_view text, std::string& firstLineEnd) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        const bool crlf = text.substr(end).starts_with("\r\n");
        if (firstLineEnd.empty()) {
            firstLineEnd = crlf ? "\r\n" : std::string(1, text[end]);
        }
        start = end + (crlf ? 2 : 1);
    }
    return lines;
}

std::string readValue(std::string_view raw) {
    std::string_view value = trimmed(raw, kAsciiWhiteSpace);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(firstCharacters(value, IniFile::kMaxValueCharacters));
}

// A value never spans lines, and one that would lose its outer white space or
// quotes on reading is quoted so that it reads back as it was written.
std::string writtenValue(std::string_view value) {
    std::string single(value);
    for (char& c : single) {
        if (c == '\r' || c == '\n') {
            c = ' ';
        }
    }
    const bool losesWhiteSpace =
        !single.empty() && (kAsciiWhiteSpace.find(single.front()) != std::string_view::npos ||
                            kAsciiWhiteSpace.find(single.back()) != std::string_view::npos);
    const bool losesQuotes = single.size() >= 2 && (single.front() == '"' || single.front() == '\'') &&
                             single.back() == single.front();
    if (losesWhiteSpace || losesQuotes) {
        return '"' + single + '"';
    }
    return single;
}

} // namespace

IniFile IniFile::parse(std::string_view bytes) {
    IniFile file;
    const std::string text = decodedText(bytes);
    std::string firstLineEnd;
    for (std::string_view raw : splitLines(text, firstLineEnd)) {
        Line line;
        line.raw = std::string(raw);
        const std::string_view content = trimmed(raw, kSpaceAndTab);
        if (content.starts_with('[')) {
            const auto close = content.find(']');
            if (close != std::string_view::npos) {
                line.kind = Line::Kind::Section;
                line.name = std::string(trimmed(content.substr(1, close - 1), kSpaceAndTab));
            }
        } else if (!content.starts_with(';')) {
            const auto equals = content.find('=');
            if (equals != std::string_view::npos) {
                line.kind = Line::Kind::Key;
                line.name = std::string(trimmed(content.substr(0, equals), kSpaceAndTab));
                // The value is taken from the raw line so that trailing white
                // space trimmed above is judged by the value's own rule.
                const auto rawEquals = raw.find('=');
                line.value = readValue(raw.substr(rawEquals + 1));
            }
        }
        file.lines_.push_back(std::move(line));
    }
    if (!firstLineEnd.empty()) {
        file.lineEnd_ = firstLineEnd;
    }
    file.index();
    return file;
}

void IniFile::index() {
    sections_.clear();
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            // A later section of the same name is never read.
            const auto [where, added] = sections_.try_emplace(toLowerAscii(line.name));
            current = added ? &where->second : nullptr;
        } else if (line.kind == Line::Kind::Key && current != nullptr) {
            current->try_emplace(toLowerAscii(line.name), line.value);
        }
    }
}

std::optional<std::string> IniFile::value(std::string_view section, std::string_view key) const {
    const auto found = sections_.find(toLowerAscii(section));
    if (found == sections_.end()) {
        return std::nullopt;
    }
    const auto value = found->second.find(toLowerAscii(key));
    if (value == found->second.end()) {
        return std::nullopt;
    }
    return value->second;
}

std::vector<std::string> IniFile::sectionNames() const {
    std::vector<std::string> names;
    std::unordered_map<std::string, bool> seen;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section && seen.try_emplace(toLowerAscii(line.name), true).second) {
            names.push_back(line.name);
        }
    }
    return names;
}

std::vector<IniFile::Entry> IniFile::entries(std::string_view section) const {
    std::vector<Entry> found;
    std::unordered_map<std::string, bool> seen;
    bool inSection = false;
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            // Only the first section of the name is read.
            if (inSection) {
                break;
            }
            inSection = equalsIgnoringAsciiCase(line.name, section);
        } else if (inSection && line.kind == Line::Kind::Key &&
                   seen.try_emplace(toLowerAscii(line.name), true).second) {
            found.push_back(Entry{line.name, line.value});
        }
    }
    return found;
}

std::vector<IniFile::Section> IniFile::sections() const {
    std::vector<Section> found;
    std::unordered_set<std::string> keys;
    std::vector<std::string> pending; // lines waiting for the key they stand above
    const auto remark = [&](std::string_view above) {
        for (std::string& line : pending) {
            found.back().remarks.push_back(Remark{std::string(above), std::move(line)});
        }
        pending.clear();
    };
    for (const Line& line : lines_) {
        if (line.kind == Line::Kind::Other) {
            pending.push_back(line.raw);
        } else if (line.kind == Line::Kind::Section) {
            // Lines before the first section belong to none.
            if (found.empty()) {
                pending.clear();
            } else {
                remark({});
            }
            found.push_back(Section{line.name, {}});
            keys.clear();
        } else if (!found.empty() && keys.insert(toLowerAscii(line.name)).second) {
            found.back().entries.push_back(Entry{line.name, line.value});
            remark(line.name);
        }
    }
    if (!found.empty()) {
        remark({});
    }
    return found;
}

void IniFile::replaceSection(std::string_view section, const std::vector<Entry>& entries) {
    replaceSections([section](std::string_view name) { return equalsIgnoringAsciiCase(name, section); },
                    {Section{std::string(section), entries}});
}

void IniFile::replaceSections(const std::function<bool(std::string_view)>& erased,
                              const std::vector<Section>& sections) {
    std::vector<Line> kept;
    kept.reserve(lines_.size() + sections.size() * 4);
    bool erasing = false;
    for (Line& line : lines_) {
        if (line.kind == Line::Kind::Section) {
            erasing = erased(line.name);
        }
        if (!erasing) {
            kept.push_back(std::move(line));
        }
    }
    for (const Section& section : sections) {
        appendSection(section, kept);
    }
    lines_ = std::move(kept);
    index();
}

void IniFile::appendSection(const Section& section, std::vector<Line>& lines) {
    Line header;
    header.kind = Line::Kind::Section;
    header.name = section.name;
    header.raw = "[" + header.name + "]";
    lines.push_back(std::move(header));
    // The remarks of each key, by its name in lower case, in their order.
    std::unordered_map<std::string, std::vector<std::size_t>> remarksAbove;
    for (std::size_t i = 0; i < section.remarks.size(); ++i) {
        if (!section.remarks[i].above.empty()) {
            remarksAbove[toLowerAscii(section.remarks[i].above)].push_back(i);
        }
    }
    std::vector<bool> placed(section.remarks.size(), false);
    const auto appendRemark = [&](std::size_t i) {
        Line line;
        line.raw = section.remarks[i].line;
        lines.push_back(std::move(line));
        placed[i] = true;
    };
    for (const Entry& entry : section.entries) {
        if (const auto found = remarksAbove.find(toLowerAscii(entry.key)); found != remarksAbove.end()) {
            for (const std::size_t i : found->second) {
                appendRemark(i);
            }
            remarksAbove.erase(found);
        }
        Line line;
        line.kind = Line::Kind::Key;
        line.name = entry.key;
        line.raw = entry.key + "=" + writtenValue(entry.value);
        line.value = readValue(line.raw.substr(entry.key.size() + 1));
        lines.push_back(std::move(line));
    }
    for (std::size_t i = 0; i < section.remarks.size(); ++i) {
        if (!placed[i]) {
            appendRemark(i);
        }
    }
}

std::string IniFile::text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.raw;
        out += lineEnd_;
    }
    return out;
}

} // namespace tavu
