#include "settings/menu_changes_file.h"

#include "base/escaping.h"
#include "base/text.h"
#include "platform/path_text.h"
#include "settings/settings.h"

#include <algorithm>
#include <optional>

namespace tavu {

namespace {

constexpr std::string_view kEveryProfile = "*";
constexpr std::string_view kProfileSeparator = "|";

struct MenusName {
    std::string_view name;
    OwnItemMenus menus;
};
constexpr MenusName kMenusNames[] = {
    {"hub", OwnItemMenus::Hub},
    {"user", OwnItemMenus::UserList},
    {"both", OwnItemMenus::Both},
};

// The number of an own item's section, "Own item N", as its digits without
// leading zeros (of any length, so that no number is too large to read); none
// for any other section.
std::optional<std::string_view> ownItemNumber(std::string_view section) {
    if (section.size() <= kOwnItemSectionPrefix.size() ||
        !equalsIgnoringAsciiCase(section.substr(0, kOwnItemSectionPrefix.size()), kOwnItemSectionPrefix)) {
        return std::nullopt;
    }
    std::string_view digits = section.substr(kOwnItemSectionPrefix.size());
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    digits.remove_prefix(std::min(digits.find_first_not_of('0'), digits.size() - 1));
    return digits;
}

bool numberIsLess(std::string_view a, std::string_view b) {
    return a.size() != b.size() ? a.size() < b.size() : a < b;
}

// A section named as an own item's whose name gives no number: read as none,
// told, and kept as it is.
bool looksLikeOwnItem(std::string_view section) {
    const std::string_view start = trimmed(kOwnItemSectionPrefix, kAsciiWhiteSpace);
    return section.size() >= start.size() && equalsIgnoringAsciiCase(section.substr(0, start.size()), start);
}

std::vector<KeptLine> keptLines(const std::vector<IniFile::Remark>& remarks) {
    std::vector<KeptLine> kept;
    kept.reserve(remarks.size());
    for (const IniFile::Remark& remark : remarks) {
        kept.push_back(KeptLine{remark.above, remark.line});
    }
    return kept;
}

std::vector<IniFile::Remark> remarks(const std::vector<KeptLine>& kept) {
    std::vector<IniFile::Remark> written;
    written.reserve(kept.size());
    for (const KeptLine& line : kept) {
        written.push_back(IniFile::Remark{line.above, line.line});
    }
    return written;
}

ProfileChoice readProfiles(std::string_view text) {
    ProfileChoice choice;
    if (trimmed(text, kAsciiWhiteSpace) == kEveryProfile) {
        return choice;
    }
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find(kProfileSeparator, start), text.size());
        const std::string_view name = trimmed(text.substr(start, end - start), kAsciiWhiteSpace);
        if (!name.empty()) {
            choice.names.emplace_back(name);
        }
        start = end + 1;
    }
    // Written by a switch-off for every profile; "*" is every profile.
    choice.none = choice.names.empty();
    return choice;
}

std::string writtenProfiles(const ProfileChoice& choice) {
    if (choice.none) {
        return {};
    }
    if (choice.names.empty()) {
        return std::string(kEveryProfile);
    }
    std::string text;
    for (const std::string& name : choice.names) {
        if (!text.empty()) {
            text += kProfileSeparator;
        }
        text += name;
    }
    return text;
}

std::optional<OwnItemMenus> readMenus(std::string_view text) {
    const std::string_view name = trimmed(text, kAsciiWhiteSpace);
    for (const MenusName& entry : kMenusNames) {
        if (equalsIgnoringAsciiCase(name, entry.name)) {
            return entry.menus;
        }
    }
    return std::nullopt;
}

std::string_view menusName(OwnItemMenus menus) {
    const auto* found = std::find_if(std::begin(kMenusNames), std::end(kMenusNames),
                                     [&](const MenusName& entry) { return entry.menus == menus; });
    return found->name;
}

// A value that could not be read is kept as written, and the item is damaged.
void keepUnread(OwnItem& item, const IniFile::Entry& entry, std::string_view expected) {
    item.otherKeys.push_back(KeptKey{entry.key, entry.value});
    if (item.damage.empty()) {
        item.damage = "its " + entry.key + " " + quotedText(entry.value) + " is not " + std::string(expected);
    }
}

OwnItem readOwnItem(const IniFile::Section& section) {
    OwnItem item;
    item.keptLines = keptLines(section.remarks);
    for (const IniFile::Entry& entry : section.entries) {
        if (equalsIgnoringAsciiCase(entry.key, kPathKey)) {
            item.path = entry.value;
        } else if (equalsIgnoringAsciiCase(entry.key, kCommandKey)) {
            item.command = entry.value;
        } else if (equalsIgnoringAsciiCase(entry.key, kProfilesKey)) {
            item.profiles = readProfiles(entry.value);
        } else if (equalsIgnoringAsciiCase(entry.key, kMenusKey)) {
            if (const auto menus = readMenus(entry.value)) {
                item.menus = *menus;
            } else {
                keepUnread(item, entry, "hub, user or both");
            }
        } else if (equalsIgnoringAsciiCase(entry.key, kSeparatorKey)) {
            if (const auto separator = readIniBoolean(entry.value)) {
                item.separator = *separator;
            } else {
                keepUnread(item, entry, "0 or 1");
            }
        } else {
            item.otherKeys.push_back(KeptKey{entry.key, entry.value});
        }
    }
    return item;
}

bool isKept(const OwnItem& item, std::string_view key) {
    return std::any_of(item.otherKeys.begin(), item.otherKeys.end(),
                       [&](const KeptKey& kept) { return equalsIgnoringAsciiCase(kept.key, key); });
}

std::vector<IniFile::Entry> ownItemEntries(const OwnItem& item) {
    std::vector<IniFile::Entry> entries;
    const auto add = [&](std::string_view key, std::string value) {
        // A value that could not be read is written back as it was, below.
        if (!isKept(item, key)) {
            entries.push_back(IniFile::Entry{std::string(key), std::move(value)});
        }
    };
    add(kPathKey, item.path);
    add(kMenusKey, std::string(menusName(item.menus)));
    if (item.separator) {
        add(kSeparatorKey, "1");
    } else {
        add(kCommandKey, item.command);
    }
    add(kProfilesKey, writtenProfiles(item.profiles));
    for (const KeptKey& kept : item.otherKeys) {
        entries.push_back(IniFile::Entry{kept.key, kept.value});
    }
    return entries;
}

std::string ownItemLabel(std::size_t number, const OwnItem& item) {
    return "own item " + std::to_string(number) + " " + quotedText(item.path);
}

} // namespace

MenuChangesRead readMenuChanges(const IniFile& file) {
    MenuChangesRead read;
    std::vector<IniFile::Section> sections = file.sections();
    // Every section of a name is read, so that two files pasted together lose
    // nothing; own items in the order of their numbers, equal numbers in the
    // order of the file.
    std::vector<std::pair<std::string_view, const IniFile::Section*>> ownItemSections;
    for (IniFile::Section& section : sections) {
        if (equalsIgnoringAsciiCase(section.name, kItemsOffSection)) {
            for (IniFile::Entry& entry : section.entries) {
                read.changes.itemsOff.push_back(ItemOff{std::move(entry.key), readProfiles(entry.value)});
            }
            std::vector<KeptLine> lines = keptLines(section.remarks);
            read.changes.itemsOffLines.insert(read.changes.itemsOffLines.end(), lines.begin(), lines.end());
        } else if (const auto number = ownItemNumber(section.name)) {
            ownItemSections.emplace_back(*number, &section);
        } else if (looksLikeOwnItem(section.name)) {
            read.problems.push_back(
                "the section [" + section.name +
                "] is not read (a save keeps it as it is, an export leaves it out): an own "
                "item's section is \"Own item\" and its number in digits alone, such as "
                "[Own item 1]");
        }
    }
    std::stable_sort(ownItemSections.begin(), ownItemSections.end(),
                     [](const auto& a, const auto& b) { return numberIsLess(a.first, b.first); });
    for (const auto& [number, section] : ownItemSections) {
        OwnItem item = readOwnItem(*section);
        if (const std::string problem = ownItemProblem(item); !problem.empty()) {
            read.problems.push_back("the " + ownItemLabel(read.changes.ownItems.size() + 1, item) +
                                    " is left out of the menu: " + problem);
        }
        read.changes.ownItems.push_back(std::move(item));
    }
    return read;
}

void forgetUnreadValues(OwnItem& item) {
    std::erase_if(item.otherKeys, [](const KeptKey& kept) {
        return std::any_of(kOwnItemKeys.begin(), kOwnItemKeys.end(),
                           [&](std::string_view known) { return equalsIgnoringAsciiCase(kept.key, known); });
    });
    item.damage.clear();
}

void writeMenuChanges(const MenuChanges& changes, IniFile& file) {
    std::vector<IniFile::Section> sections;
    std::vector<IniFile::Entry> off;
    for (const ItemOff& item : changes.itemsOff) {
        off.push_back(IniFile::Entry{item.identity, writtenProfiles(item.profiles)});
    }
    if (!off.empty() || !changes.itemsOffLines.empty()) {
        sections.push_back(
            IniFile::Section{std::string(kItemsOffSection), std::move(off), remarks(changes.itemsOffLines)});
    }
    for (std::size_t i = 0; i < changes.ownItems.size(); ++i) {
        const OwnItem& item = changes.ownItems[i];
        sections.push_back(IniFile::Section{std::string(kOwnItemSectionPrefix) + std::to_string(i + 1),
                                            ownItemEntries(item), remarks(item.keptLines)});
    }
    // A section named as an own item's that gave none was not read, and stays.
    file.replaceSections(
        [](std::string_view name) {
            return equalsIgnoringAsciiCase(name, kItemsOffSection) || ownItemNumber(name).has_value();
        },
        sections);
}

Result<MenuChangesRead, Unreadable> readMenuChangesFile(const std::filesystem::path& path,
                                                        FileOperations& operations) {
    FileRead read = readRegularFile(path, kSettingsFileLimit, operations);
    switch (read.status) {
    case ReadStatus::Read:
        return readMenuChanges(IniFile::parse(read.bytes));
    case ReadStatus::Missing:
        return Unreadable{"the file " + utf8FromPath(path) + " does not exist"};
    case ReadStatus::Unreadable:
        break;
    }
    return Unreadable{std::move(read.reason)};
}

std::string menuChangesFileText(const MenuChanges& changes) {
    IniFile file;
    writeMenuChanges(changes, file);
    return file.text();
}

Result<Done, Unwritable> writeMenuChangesFile(const MenuChanges& changes, const std::filesystem::path& path,
                                              FileOperations& operations) {
    return writeFileAtomically(path, menuChangesFileText(changes), SymbolicLink::Replace, operations);
}

} // namespace tavu
