#include "preview/menu_preview.h"

#include "base/escaping.h"
#include "base/text.h"
#include "preview/lint.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

namespace tavu::preview {

namespace {

bool isOfType(const Piece& piece, CommandType type) {
    return piece.kind == Piece::Kind::UserCommand && piece.terminated && piece.type == static_cast<int>(type);
}

bool isMenuItem(const Piece& piece) {
    return isOfType(piece, CommandType::Raw) || isOfType(piece, CommandType::RawOnce);
}

// A command that a family holds: the piece that gave it its place, and the
// piece whose command it runs, a later one when a repeat replaced it.
struct Held {
    const Piece* placed = nullptr;
    const Piece* command = nullptr;
};

// A command that a family did not add as an entry of its own.
struct NotAdded {
    enum class Kind { Replaced, Dropped };
    Kind kind;
    std::size_t piece;
    std::size_t earlier = 0; // Replaced: the piece in whose place it runs
};

struct KeptCommands {
    std::vector<Held> held;         // in the order they were added
    std::vector<NotAdded> notAdded; // in the order of their pieces
};

// The name under which DC++ and AirDC++ hold a title: they turn each "/" into
// "//" and each "\\" into "/", so "A/B" and "A\\\\B" are held as one name.
std::string heldName(std::string_view title) {
    std::string name;
    for (const char c : title) {
        if (c == '/') {
            name.push_back('/');
        }
        name.push_back(c == '\\' ? '/' : c);
    }
    return name;
}

// The commands that a family holds once it has read every piece: a clear
// removes every earlier command that shares a bit of its context. For DC++
// and AirDC++ a command of the same title, context and type as one held
// replaces that one's command, and past the limit a command is dropped. A
// removed command leaves an empty slot, so that the order of the rest is kept
// without moving them; a clear finds what it removes in one list per context
// bit, a repeat its earlier command in a hash map.
class CommandStore {
public:
    explicit CommandStore(ClientFamily family) : family_(family) {}

    void read(const Piece& piece) {
        if (isOfType(piece, CommandType::Clear)) {
            clear(piece.context);
        } else if (isOfType(piece, CommandType::Separator) || isMenuItem(piece)) {
            keep(piece);
        }
    }

    KeptCommands take() && {
        std::erase_if(slots_, [](const Held& slot) { return slot.placed == nullptr; });
        return KeptCommands{std::move(slots_), std::move(notAdded_)};
    }

private:
    static constexpr int kContextBits = std::numeric_limits<unsigned>::digits;

    void keep(const Piece& piece) {
        if (replacesRepeats(family_) && !addsAnEntry(piece)) {
            return;
        }
        const std::size_t slot = slots_.size();
        slots_.push_back(Held{&piece, &piece});
        ++held_;
        for (int bit = 0; bit < kContextBits; ++bit) {
            if ((piece.context >> bit & 1U) != 0) {
                slotsWithBit_[static_cast<std::size_t>(bit)].push_back(slot);
            }
        }
    }

    // Whether the piece is held as a command of its own, and where: false when
    // it replaced the command of a held one or was dropped past the limit.
    bool addsAnEntry(const Piece& piece) {
        std::string key =
            std::to_string(piece.type) + ' ' + std::to_string(piece.context) + ' ' + heldName(piece.title);
        const auto found = slotOfKey_.find(key);
        if (found != slotOfKey_.end() && slots_[found->second].placed != nullptr) {
            Held& earlier = slots_[found->second];
            earlier.command = &piece;
            notAdded_.push_back(NotAdded{NotAdded::Kind::Replaced, piece.number, earlier.placed->number});
            return false;
        }
        if (held_ >= commandLimit(family_).value_or(std::numeric_limits<std::size_t>::max())) {
            notAdded_.push_back(NotAdded{NotAdded::Kind::Dropped, piece.number});
            return false;
        }
        slotOfKey_.insert_or_assign(std::move(key), slots_.size());
        return true;
    }

    // Each slot is in the list of each of its bits once, so that all clears
    // together look at no more slots than there are bits in the kept contexts.
    void clear(unsigned context) {
        for (int bit = 0; bit < kContextBits; ++bit) {
            if ((context >> bit & 1U) != 0) {
                std::vector<std::size_t>& withBit = slotsWithBit_[static_cast<std::size_t>(bit)];
                for (std::size_t slot : withBit) {
                    held_ -= slots_[slot].placed != nullptr ? 1 : 0;
                    slots_[slot] = Held{};
                }
                withBit.clear();
            }
        }
    }

    ClientFamily family_;
    std::vector<Held> slots_; // empty where a command was removed
    std::size_t held_ = 0;
    std::array<std::vector<std::size_t>, kContextBits> slotsWithBit_;
    std::unordered_map<std::string, std::size_t> slotOfKey_; // type, context and held name
    std::vector<NotAdded> notAdded_;
};

KeptCommands keptCommands(const std::vector<Piece>& pieces, ClientFamily family) {
    CommandStore store(family);
    for (const Piece& piece : pieces) {
        store.read(piece);
    }
    return std::move(store).take();
}

// 5000 as "5,000".
std::string withThousands(std::size_t number) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t at = 0; at < digits.size(); ++at) {
        if (at > 0 && (digits.size() - at) % 3 == 0) {
            grouped.push_back(',');
        }
        grouped.push_back(digits[at]);
    }
    return grouped;
}

// The findings of the menus, each piece's once though it is in both menus,
// naming the reported families.
class MenuFindings {
public:
    MenuFindings(const std::vector<Piece>& pieces, ClientFamilies reported)
        : pieces_(pieces), reported_(reported) {}

    void duplicate(std::size_t later, std::size_t earlier, const std::vector<std::string>& path) {
        add(Finding::Kind::Duplicate, later,
            "the item " + quotedPath(path) + " has the title path of the item of piece " +
                std::to_string(earlier) + " in the same menu; " + familyNames(reported_) +
                (isPlural(reported_) ? " keep both and show" : " keeps both and shows") +
                " two items of that title");
    }

    // A command that `families` put in the place of the earlier piece.
    void replaced(std::size_t later, std::size_t earlier, ClientFamilies families) {
        const Piece& piece = pieceAt(later);
        const bool separator = isOfType(piece, CommandType::Separator);
        const bool plural = isPlural(families);
        const ClientFamilies others = reported_ & ~families;
        std::string detail =
            separator
                ? "the separator repeats the context of the separator of piece " + std::to_string(earlier) +
                      ": " + familyNames(families) + (plural ? " keep" : " keeps") +
                      " only the first separator of each context until the next clear, and " +
                      (plural ? "show" : "shows") + " none here"
                : "the item " + quotedPath(titlePath(piece.title)) +
                      " repeats the title, context and type of the item of piece " + std::to_string(earlier) +
                      ": " + familyNames(families) + (plural ? " show" : " shows") +
                      " one item, running the command of piece " + std::to_string(later) + ", where piece " +
                      std::to_string(earlier) + " stood";
        if (others != 0) {
            detail += "; " + familyNames(others) + (isPlural(others) ? " show " : " shows ") +
                      (separator ? "it" : "both");
        }
        add(Finding::Kind::Duplicate, later, std::move(detail));
    }

    // The first command that the family dropped, and how many later ones it dropped.
    void dropped(std::size_t piece, ClientFamily family, std::size_t later, ClientFamilies keeping) {
        std::string detail =
            std::string(familyName(family)) + " keeps at most " + withThousands(*commandLimit(family)) +
            " user commands of a hub and drops the rest without a word: this command " +
            (later == 0 ? "is" : "and the " + withThousands(later) + " after it are") + " not in its menus";
        if (keeping != 0) {
            detail += "; " + familyNames(keeping) + (isPlural(keeping) ? " show" : " shows") + " them";
        }
        add(Finding::Kind::PastLimit, piece, std::move(detail));
    }

    // A separator first in its menu, right after another or last in it.
    void hiddenSeparator(std::size_t piece, std::string_view where, bool last) {
        std::vector<std::string> clients;
        if (contains(reported_, ClientFamily::EiskaltDc)) {
            clients.emplace_back("clients whose menus Qt draws, such as EiskaltDC++, draw none");
        }
        const ClientFamilies windows = reported_ & ~only(ClientFamily::EiskaltDc);
        if (windows != 0) {
            const bool plural = isPlural(windows);
            clients.push_back(familyNames(windows) + (last ? (plural ? " draw it" : " draws it")
                                                           : (plural ? " add none" : " adds none")));
        }
        if (!last || contains(reported_, ClientFamily::EiskaltDc)) {
            add(Finding::Kind::HiddenSeparator, piece,
                "the separator is " + std::string(where) + ", where " + joined(clients));
        }
    }

    void submenuCase(std::size_t piece, const std::string& title, const std::string& earlier) {
        const std::string differs = "the submenu " + quotedText(title) + " differs from the submenu " +
                                    quotedText(earlier) + " beside it only in case";
        if (reported_ == only(ClientFamily::EiskaltDc)) {
            add(Finding::Kind::SubmenuCase, piece, differs + ", and is a submenu of its own");
            return;
        }
        std::vector<std::string> clients;
        if (contains(reported_, ClientFamily::EiskaltDc)) {
            clients.emplace_back("EiskaltDC++ makes it a submenu of its own");
        }
        const ClientFamilies windows = reported_ & ~only(ClientFamily::EiskaltDc);
        if (windows != 0) {
            clients.push_back(familyNames(windows) + (isPlural(windows) ? " put" : " puts") +
                              " its entries into " + quotedText(earlier));
        }
        add(Finding::Kind::SubmenuCase, piece, differs + ": " + joined(clients));
    }

    std::vector<Finding> take() && { return std::move(findings_); }

private:
    static std::string joined(const std::vector<std::string>& parts) {
        std::string text;
        for (const std::string& part : parts) {
            text += (text.empty() ? "" : "; ") + part;
        }
        return text;
    }

    void add(Finding::Kind kind, std::size_t piece, std::string detail) {
        if (found_.insert(piece).second) {
            findings_.push_back(Finding{kind, piece, pieceAt(piece).line, std::move(detail)});
        }
    }

    const Piece& pieceAt(std::size_t number) const {
        return *std::lower_bound(pieces_.begin(), pieces_.end(), number,
                                 [](const Piece& piece, std::size_t n) { return piece.number < n; });
    }

    const std::vector<Piece>& pieces_;
    ClientFamilies reported_;
    std::set<std::size_t> found_;
    std::vector<Finding> findings_;
};

// The findings where DC++ and AirDC++ hold other commands than EiskaltDC++:
// a replaced command, and the first command each drops past its limit.
void findHeldDifferences(const std::vector<Piece>& pieces, ClientFamilies reported, MenuFindings& findings) {
    // The families that put a piece in an earlier one's place, by piece and earlier piece.
    std::map<std::pair<std::size_t, std::size_t>, ClientFamilies> replaced;
    std::array<std::vector<std::size_t>, kClientFamilies.size()> dropped; // each family's, in order
    for (std::size_t f = 0; f < kClientFamilies.size(); ++f) {
        if (!contains(reported, kClientFamilies[f]) || !replacesRepeats(kClientFamilies[f])) {
            continue;
        }
        for (const NotAdded& notAdded : keptCommands(pieces, kClientFamilies[f]).notAdded) {
            if (notAdded.kind == NotAdded::Kind::Replaced) {
                replaced[{notAdded.piece, notAdded.earlier}] |= only(kClientFamilies[f]);
            } else {
                dropped[f].push_back(notAdded.piece);
            }
        }
    }
    for (const auto& [numbers, families] : replaced) {
        findings.replaced(numbers.first, numbers.second, families);
    }
    for (std::size_t f = 0; f < kClientFamilies.size(); ++f) {
        if (dropped[f].empty()) {
            continue;
        }
        ClientFamilies keeping = 0;
        for (std::size_t other = 0; other < kClientFamilies.size(); ++other) {
            if (contains(reported, kClientFamilies[other]) &&
                !std::binary_search(dropped[other].begin(), dropped[other].end(), dropped[f].front())) {
                keeping |= only(kClientFamilies[other]);
            }
        }
        findings.dropped(dropped[f].front(), kClientFamilies[f], dropped[f].size() - 1, keeping);
    }
}

// Builds one menu entry by entry. Nodes are kept flat and reached by number,
// as adding a node would move its siblings in memory, and submenus and items
// are found by their parent and title in a map; the tree is made at the end.
class MenuBuilder {
public:
    MenuBuilder(MenuFindings& findings, ClientFamily family) : findings_(findings), family_(family) {}

    void add(const Held& held) {
        const Piece& piece = *held.placed;
        if (isOfType(piece, CommandType::Separator)) {
            addNode(lastItemParent_, MenuNode{MenuNode::Kind::Separator, {}, {}, {}, piece.number, {}});
            return;
        }
        std::vector<std::string> path = titlePath(piece.title, kMaxMenuDepth);
        if (path.empty()) {
            return; // an empty title, of which clients make no item
        }
        std::size_t parent = kTop;
        for (std::size_t level = 0; level + 1 < path.size(); ++level) {
            parent = submenu(parent, path[level], piece.number);
        }
        const auto [earlier, isNew] = items_.try_emplace({parent, path.back()}, piece.number);
        if (!isNew) {
            findings_.duplicate(piece.number, earlier->second, path);
        }
        addNode(parent, MenuNode{MenuNode::Kind::Item,
                                 std::move(path.back()),
                                 held.command->command,
                                 promptTitles(held.command->command),
                                 piece.number,
                                 {}});
        lastItemParent_ = parent;
    }

    std::vector<MenuNode> take() && {
        findHiddenSeparators();
        return entriesOf(kTop);
    }

private:
    struct Node {
        MenuNode node; // without its children
        std::vector<std::size_t> children;
    };
    static constexpr std::size_t kTop = 0;

    std::size_t addNode(std::size_t parent, MenuNode node) {
        nodes_.push_back(Node{std::move(node), {}});
        const std::size_t added = nodes_.size() - 1;
        nodes_[parent].children.push_back(added);
        return added;
    }

    // The submenu of this title under this parent, made when there is none
    // yet. A title that differs from another only in case makes a submenu of
    // its own in EiskaltDC++ and is that other one in DC++ and AirDC++.
    std::size_t submenu(std::size_t parent, const std::string& title, std::size_t piece) {
        const auto [found, isNew] = submenus_.try_emplace({parent, title}, 0);
        if (!isNew) {
            return found->second;
        }
        const auto [sameLetters, isFirst] =
            submenuLetters_.try_emplace({parent, toLowerAscii(title)}, title, 0);
        if (!isFirst) {
            findings_.submenuCase(piece, title, sameLetters->second.first);
            if (replacesRepeats(family_)) {
                found->second = sameLetters->second.second;
                return found->second;
            }
        }
        found->second = addNode(parent, MenuNode{MenuNode::Kind::Submenu, title, {}, {}, 0, {}});
        if (isFirst) {
            sameLetters->second.second = found->second;
        }
        return found->second;
    }

    bool isSeparator(std::size_t node) const { return nodes_[node].node.kind == MenuNode::Kind::Separator; }

    // A separator first in its menu, after another or with no item after it,
    // which Qt does not draw.
    void findHiddenSeparators() {
        for (const Node& menu : nodes_) {
            const std::vector<std::size_t>& entries = menu.children;
            const auto lastItem = std::find_if(entries.rbegin(), entries.rend(),
                                               [this](std::size_t node) { return !isSeparator(node); });
            const auto itemsEnd = static_cast<std::size_t>(entries.rend() - lastItem);
            for (std::size_t at = 0; at < entries.size(); ++at) {
                if (!isSeparator(entries[at])) {
                    continue;
                }
                const std::size_t piece = nodes_[entries[at]].node.piece;
                if (at == 0) {
                    findings_.hiddenSeparator(piece, "first in its menu", false);
                } else if (isSeparator(entries[at - 1])) {
                    findings_.hiddenSeparator(piece, "right after another", false);
                } else if (at >= itemsEnd) {
                    findings_.hiddenSeparator(piece, "last in its menu", true);
                }
            }
        }
    }

    // Recursion as deep as the menu, which kMaxMenuDepth bounds.
    std::vector<MenuNode> entriesOf(std::size_t parent) {
        std::vector<MenuNode> entries;
        entries.reserve(nodes_[parent].children.size());
        for (std::size_t child : nodes_[parent].children) {
            MenuNode entry = std::move(nodes_[child].node);
            entry.children = entriesOf(child);
            entries.push_back(std::move(entry));
        }
        return entries;
    }

    MenuFindings& findings_;
    ClientFamily family_;
    std::vector<Node> nodes_ = std::vector<Node>(1); // the menu itself first
    std::map<std::pair<std::size_t, std::string>, std::size_t> submenus_;
    // The title and node of the first submenu of each parent and title in lower case.
    std::map<std::pair<std::size_t, std::string>, std::pair<std::string, std::size_t>> submenuLetters_;
    // The piece of the first item of each parent and title.
    std::map<std::pair<std::size_t, std::string>, std::size_t> items_;
    std::size_t lastItemParent_ = kTop;
};

std::vector<MenuNode> buildMenu(const std::vector<Held>& commands, unsigned contextBit, ClientFamily family,
                                MenuFindings& findings) {
    MenuBuilder builder(findings, family);
    for (const Held& command : commands) {
        if ((command.placed->context & contextBit) != 0) {
            builder.add(command);
        }
    }
    return std::move(builder).take();
}

} // namespace

bool MenuPreview::hasError() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.isError(); });
}

MenuPreview previewUserCommands(std::string_view text, ClientFamily family, ClientFamilies reported) {
    const std::vector<Piece> pieces = cutIntoPieces(text);
    MenuPreview preview;
    preview.family = family;
    for (const Piece& piece : pieces) {
        std::vector<Finding> found = lintPiece(piece);
        preview.findings.insert(preview.findings.end(), found.begin(), found.end());
        if (piece.kind == Piece::Kind::Chat && piece.terminated) {
            preview.chat.push_back(ChatText{piece.number, std::string(piece.text)});
        }
    }
    const std::vector<Held> held = keptCommands(pieces, family).held;
    MenuFindings menuFindings(pieces, reported);
    // First, so that a piece that DC++ and AirDC++ hold otherwise is named for that.
    findHeldDifferences(pieces, reported, menuFindings);
    preview.hubMenu = buildMenu(held, kHubMenu, family, menuFindings);
    preview.userListMenu = buildMenu(held, kUserListMenu, family, menuFindings);
    const std::vector<Finding> found = std::move(menuFindings).take();
    preview.findings.insert(preview.findings.end(), found.begin(), found.end());
    std::stable_sort(preview.findings.begin(), preview.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.piece < b.piece; });
    return preview;
}

} // namespace tavu::preview
