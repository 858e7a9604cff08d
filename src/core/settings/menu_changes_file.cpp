#include "settings/menu_changes_file.h"

#include "formats/text.h"
#include "platform/path_text.h"
#include "preview/user_command_text.h"
#include "settings/settings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
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

// The number of an own item's section, "Own item N"; none for any other section.
std::optional<unsigned> ownItemNumber(std::string_view section) {
    if (section.size() <= kOwnItemSectionPrefix.size() ||
        !equalsIgnoringAsciiCase(section.substr(0, kOwnItemSectionPrefix.size()), kOwnItemSectionPrefix)) {
        return std::nullopt;
    }
    const std::string_view digits = section.substr(kOwnItemSectionPrefix.size());
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size()) {
        return std::nullopt;
    }
    return number;
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
        item.damage =
            "its " + entry.key + " " + preview::quoted(entry.value) + " is not " + std::string(expected);
    }
}

OwnItem readOwnItem(const std::vector<IniFile::Entry>& entries) {
    OwnItem item;
    for (const IniFile::Entry& entry : entries) {
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
    return "own item " + std::to_string(number) + " " + preview::quoted(item.path);
}

} // namespace

MenuChangesRead readMenuChanges(const IniFile& file) {
    MenuChangesRead read;
    for (IniFile::Entry& entry : file.entries(kItemsOffSection)) {
        read.changes.itemsOff.push_back(ItemOff{std::move(entry.key), readProfiles(entry.value)});
    }
    std::vector<std::pair<unsigned, std::string>> sections;
    for (std::string& name : file.sectionNames()) {
        if (const auto number = ownItemNumber(name)) {
            sections.emplace_back(*number, std::move(name));
        }
    }
    std::stable_sort(sections.begin(), sections.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [number, name] : sections) {
        OwnItem item = readOwnItem(file.entries(name));
        if (const std::string problem = ownItemProblem(item); !problem.empty()) {
            read.problems.push_back("the " + ownItemLabel(read.changes.ownItems.size() + 1, item) +
                                    " is left out of the menu: " + problem);
        }
        read.changes.ownItems.push_back(std::move(item));
    }
    return read;
}

void writeMenuChanges(const MenuChanges& changes, IniFile& file) {
    std::vector<IniFile::Section> sections;
    std::vector<IniFile::Entry> off;
    for (const ItemOff& item : changes.itemsOff) {
        off.push_back(IniFile::Entry{item.identity, writtenProfiles(item.profiles)});
    }
    if (!off.empty()) {
        sections.push_back(IniFile::Section{std::string(kItemsOffSection), std::move(off)});
    }
    for (std::size_t i = 0; i < changes.ownItems.size(); ++i) {
        sections.push_back(IniFile::Section{std::string(kOwnItemSectionPrefix) + std::to_string(i + 1),
                                            ownItemEntries(changes.ownItems[i])});
    }
    file.replaceSections(
        [](std::string_view name) {
            return equalsIgnoringAsciiCase(name, kItemsOffSection) || ownItemNumber(name).has_value();
        },
        sections);
}

MenuChangesFileRead readMenuChangesFile(const std::filesystem::path& path, FileOperations& operations) {
    FileRead read = readRegularFile(path, kSettingsFileLimit, operations);
    switch (read.status) {
    case ReadStatus::Read:
        return {readMenuChanges(IniFile::parse(read.bytes)), {}};
    case ReadStatus::Missing:
        return {{}, "the file " + utf8FromPath(path) + " does not exist"};
    case ReadStatus::Unreadable:
        break;
    }
    return {{}, std::move(read.reason)};
}

std::string writeMenuChangesFile(const MenuChanges& changes, const std::filesystem::path& path,
                                 FileOperations& operations) {
    IniFile file;
    writeMenuChanges(changes, file);
    if (!writeFileAtomically(path, file.text(), SymbolicLink::Replace, operations)) {
        return "Unable to write to " + utf8FromPath(path) + "\n" + std::strerror(errno) + ".";
    }
    return {};
}

} // namespace tavu
