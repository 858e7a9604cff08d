#include "generator/menu_changes.h"

#include "base/escaping.h"
#include "base/text.h"
#include "generator/generator.h"
#include "preview/lint.h"
#include "vocabulary/vocabulary.h"

#include <algorithm>

namespace tavu {

namespace {

bool isWordReference(std::string_view element) {
    return element.size() > 2 && element.front() == '{' && element.back() == '}';
}

std::vector<std::string_view> pathParts(std::string_view path) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = path.find('\\', start);
        parts.push_back(
            path.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool holdsControl(std::string_view text, bool tabAllowed) {
    return std::any_of(text.begin(), text.end(), [&](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte < 0x20 && !(tabAllowed && c == '\t')) || byte == 0x7F;
    });
}

// Why the typed text cannot be kept in the settings file or reach a client as
// typed; empty when it can.
std::string textProblem(std::string_view what, std::string_view text, bool tabAllowed) {
    if (!isValidUtf8(text)) {
        return std::string(what) + " is not UTF-8";
    }
    if (text.size() > kMaxOwnItemText) {
        return std::string(what) + " is longer than " + std::to_string(kMaxOwnItemText) + " bytes";
    }
    if (holdsControl(text, tabAllowed)) {
        return std::string(what) + (" holds a line break or another control character, which one line of the "
                                    "settings file cannot keep");
    }
    return {};
}

std::string pathProblem(const OwnItem& item) {
    if (auto problem = textProblem("its path", item.path, false); !problem.empty()) {
        return problem;
    }
    if (item.path.empty()) {
        return item.separator ? std::string{} : "it has no title";
    }
    bool leading = true;
    const std::vector<std::string_view> parts = pathParts(item.path);
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::string_view part = parts[i];
        if (trimmed(part, kAsciiWhiteSpace).empty()) {
            return i + 1 == parts.size() && !item.separator ? "its title is empty: the path ends in \"\\\""
                                                            : "its path holds an empty submenu name";
        }
        for (const char refused : {'|', '$'}) {
            if (part.find(refused) != std::string_view::npos) {
                return "its title " + quotedText(part) + " holds \"" + std::string(1, refused) +
                       "\", which ends or starts a command in the hub's protocol";
            }
        }
        leading = leading && isWordReference(part);
        if (leading && !wordByKey(part.substr(1, part.size() - 2))) {
            return "its path names " + quotedText(part) + ", but no word has the key " +
                   quotedText(part.substr(1, part.size() - 2));
        }
    }
    return {};
}

std::string promptProblem(std::string_view command) {
    for (std::size_t start = command.find(kPromptStart); start != std::string_view::npos;
         start = command.find(kPromptStart, start)) {
        start += kPromptStart.size();
        const std::size_t end = command.find(']', start);
        if (end == std::string_view::npos) {
            return "the prompt " + quotedText(command.substr(start - kPromptStart.size())) +
                   " is not closed by \"]\"";
        }
        const std::string_view title = command.substr(start, end - start);
        if (title.find('[') != std::string_view::npos) {
            return "the prompt title " + quotedText(title) +
                   " would end at its first \"]\": a prompt title cannot hold \"[\" or \"]\"";
        }
        start = end;
    }
    return {};
}

std::string commandProblem(const OwnItem& item) {
    if (item.separator) {
        return {};
    }
    if (auto problem = textProblem("its command", item.command, true); !problem.empty()) {
        return problem;
    }
    if (trimmed(item.command, kAsciiWhiteSpace).empty()) {
        return "it has no command";
    }
    return promptProblem(item.command);
}

std::string profilesProblem(const OwnItem& item) {
    for (const std::string& name : item.profiles.names) {
        if (name.empty() || name.find('|') != std::string::npos) {
            return "the profile name " + quotedText(name) + " is empty or holds \"|\"";
        }
    }
    return {};
}

// The item alone, as the generator would write it with the default words,
// read as clients read it: whatever the checks above missed.
std::string clientProblem(const OwnItem& item) {
    std::string line = item.separator ? "$UserCommand 0 " : "$UserCommand 1 ";
    line += std::to_string(static_cast<unsigned>(item.menus));
    if (!item.separator) {
        line += ' ';
        for (const OwnPathElement& element : ownPathElements(item.path)) {
            appendEscaped(line, element.word ? Vocabulary{}.text(*element.word) : element.title);
            line += '\\';
        }
        line.pop_back();
        line += ownItemCommand(item.command);
    }
    line += '|';
    const preview::MenuPreview preview = preview::previewUserCommands(line);
    for (const preview::Finding& finding : preview.findings) {
        if (finding.isError()) {
            return finding.detail;
        }
    }
    return {};
}

} // namespace

bool ProfileChoice::includes(std::string_view profile) const {
    return !none && (names.empty() || std::find(names.begin(), names.end(), profile) != names.end());
}

void ProfileChoice::add(std::string_view profile) {
    if (none) {
        none = false;
        names = {std::string(profile)};
    } else if (!includes(profile)) {
        names.emplace_back(profile);
    }
}

void ProfileChoice::remove(std::string_view profile, const std::vector<std::string>& every) {
    if (none) {
        return;
    }
    if (names.empty()) {
        names = every;
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    std::erase(names, profile);
    none = names.empty();
}

std::vector<OwnPathElement> ownPathElements(std::string_view path) {
    std::vector<OwnPathElement> elements;
    if (path.empty()) {
        return elements;
    }
    bool leading = true;
    for (const std::string_view part : pathParts(path)) {
        leading = leading && isWordReference(part);
        const auto word = leading ? wordByKey(part.substr(1, part.size() - 2)) : std::nullopt;
        leading = leading && word.has_value();
        elements.push_back(word ? OwnPathElement{word, {}} : OwnPathElement{std::nullopt, std::string(part)});
    }
    return elements;
}

std::string ownItemProblem(const OwnItem& item) {
    if (!item.damage.empty()) {
        return item.damage;
    }
    for (const auto& check : {pathProblem, commandProblem, profilesProblem, clientProblem}) {
        if (std::string problem = check(item); !problem.empty()) {
            return problem;
        }
    }
    return {};
}

std::string ownItemCommand(std::string_view typed) {
    std::string command = "$<%[mynick]> ";
    appendEscaped(command, typed);
    command += "&#124;";
    return command;
}

bool identityCovers(std::string_view off, std::string_view item) {
    return item.starts_with(off) && (item.size() == off.size() || item[off.size()] == '\\');
}

void MenuChanges::switchOff(std::string_view identity, std::string_view profile, SwitchScope scope) {
    const auto found = std::ranges::find(itemsOff, identity, &ItemOff::identity);
    if (found == itemsOff.end()) {
        itemsOff.push_back(ItemOff{std::string(identity), scope == SwitchScope::EveryProfile
                                                              ? ProfileChoice{}
                                                              : ProfileChoice{{std::string(profile)}}});
    } else if (scope == SwitchScope::EveryProfile) {
        found->profiles = {};
    } else {
        found->profiles.add(profile);
    }
}

void MenuChanges::switchOn(std::string_view identity, std::string_view profile,
                           const std::vector<std::string>& every) {
    std::vector<ItemOff> kept;
    for (ItemOff& off : itemsOff) {
        const bool touches = identityCovers(off.identity, identity) || identityCovers(identity, off.identity);
        if (touches && off.profiles.includes(profile)) {
            off.profiles.remove(profile, every);
        }
        if (!off.profiles.none) {
            kept.push_back(std::move(off));
        }
    }
    itemsOff = std::move(kept);
}

void MenuChanges::switchOwnItem(std::size_t index, bool on, std::string_view profile, SwitchScope scope,
                                const std::vector<std::string>& every) {
    ProfileChoice& profiles = ownItems[index].profiles;
    if (on) {
        profiles.add(profile);
    } else if (scope == SwitchScope::ThisProfile) {
        profiles.remove(profile, every);
    } else {
        profiles = ProfileChoice{{}, true};
    }
}

std::size_t MenuChanges::addOwnItem(OwnItem item) {
    ownItems.push_back(std::move(item));
    return ownItems.size() - 1;
}

void MenuChanges::replaceOwnItem(std::size_t index, OwnItem item) {
    ownItems[index] = std::move(item);
}

void MenuChanges::removeOwnItem(std::size_t index) {
    ownItems.erase(ownItems.begin() + static_cast<std::ptrdiff_t>(index));
}

void MenuChanges::tradeOwnItems(std::size_t index, std::size_t neighbour) {
    std::swap(ownItems[index], ownItems[neighbour]);
}

} // namespace tavu
