#include "preview/menu_preview.h"

#include "base/escaping.h"
#include "base/text.h"
#include "preview/lint.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <set>
#include <utility>

namespace tavu::preview {

namespace {

bool isOfType(const Piece& piece, CommandType type) {
    return piece.kind == Piece::Kind::UserCommand && piece.terminated && piece.type == static_cast<int>(type);
}

bool isMenuItem(const Piece& piece) {
    return isOfType(piece, CommandType::Raw) || isOfType(piece, CommandType::RawOnce);
}

// The items and separators that clients hold once they have read every piece,
// in the order they were added: a clear removes every earlier command that
// shares a bit of its context; a repeated title replaces nothing. A dropped
// command leaves an empty slot, so that the order of the rest is kept without
// moving them; a clear finds what it removes in one list per context bit.
class KeptCommands {
public:
    void read(const Piece& piece) {
        if (isOfType(piece, CommandType::Clear)) {
            clear(piece.context);
        } else if (isOfType(piece, CommandType::Separator) || isMenuItem(piece)) {
            keep(piece);
        }
    }

    std::vector<const Piece*> take() && {
        std::erase(slots_, nullptr);
        return std::move(slots_);
    }

private:
    static constexpr int kContextBits = std::numeric_limits<unsigned>::digits;

    void keep(const Piece& piece) {
        const std::size_t slot = slots_.size();
        slots_.push_back(&piece);
        for (int bit = 0; bit < kContextBits; ++bit) {
            if ((piece.context >> bit & 1U) != 0) {
                slotsWithBit_[static_cast<std::size_t>(bit)].push_back(slot);
            }
        }
    }

    // Each slot is in the list of each of its bits once, so that all clears
    // together look at no more slots than there are bits in the kept contexts.
    void clear(unsigned context) {
        for (int bit = 0; bit < kContextBits; ++bit) {
            if ((context >> bit & 1U) != 0) {
                std::vector<std::size_t>& withBit = slotsWithBit_[static_cast<std::size_t>(bit)];
                for (std::size_t slot : withBit) {
                    slots_[slot] = nullptr;
                }
                withBit.clear();
            }
        }
    }

    std::vector<const Piece*> slots_; // nullptr where a command was dropped
    std::array<std::vector<std::size_t>, kContextBits> slotsWithBit_;
};

std::vector<const Piece*> keptCommands(const std::vector<Piece>& pieces) {
    KeptCommands kept;
    for (const Piece& piece : pieces) {
        kept.read(piece);
    }
    return std::move(kept).take();
}

// The findings of the menus, each piece's once though it is in both menus.
class MenuFindings {
public:
    explicit MenuFindings(const std::vector<Piece>& pieces) : pieces_(pieces) {}

    void duplicate(std::size_t later, std::size_t earlier, const std::vector<std::string>& path) {
        add(Finding::Kind::Duplicate, later,
            "the item " + quotedPath(path) + " has the title path of the item of piece " +
                std::to_string(earlier) +
                " in the same menu; EiskaltDC++ keeps both and shows two "
                "items of that title");
    }

    void hiddenSeparator(std::size_t piece, std::string_view where) {
        add(Finding::Kind::HiddenSeparator, piece,
            "the separator is " + std::string(where) +
                ", where clients whose menus Qt draws, such as EiskaltDC++, draw none");
    }

    void submenuCase(std::size_t piece, const std::string& title, const std::string& earlier) {
        add(Finding::Kind::SubmenuCase, piece,
            "the submenu " + quotedText(title) + " differs from the submenu " + quotedText(earlier) +
                " beside it only in case, and is a submenu of its own");
    }

    std::vector<Finding> take() && { return std::move(findings_); }

private:
    void add(Finding::Kind kind, std::size_t piece, std::string detail) {
        if (reported_.insert(piece).second) {
            findings_.push_back(Finding{kind, piece, pieceAt(piece).line, std::move(detail)});
        }
    }

    const Piece& pieceAt(std::size_t number) const {
        return *std::lower_bound(pieces_.begin(), pieces_.end(), number,
                                 [](const Piece& piece, std::size_t n) { return piece.number < n; });
    }

    const std::vector<Piece>& pieces_;
    std::set<std::size_t> reported_;
    std::vector<Finding> findings_;
};

// Builds one menu entry by entry. Nodes are kept flat and reached by number,
// as adding a node would move its siblings in memory, and submenus and items
// are found by their parent and title in a map; the tree is made at the end.
class MenuBuilder {
public:
    explicit MenuBuilder(MenuFindings& findings) : findings_(findings) {}

    void add(const Piece& piece) {
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
                                 piece.command,
                                 promptTitles(piece.command),
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
    // yet; a title that differs from another only in case makes a submenu of its own.
    std::size_t submenu(std::size_t parent, const std::string& title, std::size_t piece) {
        const auto [found, isNew] = submenus_.try_emplace({parent, title}, 0);
        if (isNew) {
            found->second = addNode(parent, MenuNode{MenuNode::Kind::Submenu, title, {}, {}, 0, {}});
            const auto [sameLetters, isFirst] =
                submenuLetters_.try_emplace({parent, toLowerAscii(title)}, title);
            if (!isFirst) {
                findings_.submenuCase(piece, title, sameLetters->second);
            }
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
                    findings_.hiddenSeparator(piece, "first in its menu");
                } else if (isSeparator(entries[at - 1])) {
                    findings_.hiddenSeparator(piece, "right after another");
                } else if (at >= itemsEnd) {
                    findings_.hiddenSeparator(piece, "last in its menu");
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
    std::vector<Node> nodes_ = std::vector<Node>(1); // the menu itself first
    std::map<std::pair<std::size_t, std::string>, std::size_t> submenus_;
    // The title of the first submenu of each parent and title in lower case.
    std::map<std::pair<std::size_t, std::string>, std::string> submenuLetters_;
    // The piece of the first item of each parent and title.
    std::map<std::pair<std::size_t, std::string>, std::size_t> items_;
    std::size_t lastItemParent_ = kTop;
};

std::vector<MenuNode> buildMenu(const std::vector<const Piece*>& commands, unsigned contextBit,
                                MenuFindings& findings) {
    MenuBuilder builder(findings);
    for (const Piece* command : commands) {
        if ((command->context & contextBit) != 0) {
            builder.add(*command);
        }
    }
    return std::move(builder).take();
}

} // namespace

bool MenuPreview::hasError() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.isError(); });
}

MenuPreview previewUserCommands(std::string_view text) {
    const std::vector<Piece> pieces = cutIntoPieces(text);
    MenuPreview preview;
    for (const Piece& piece : pieces) {
        std::vector<Finding> found = lintPiece(piece);
        preview.findings.insert(preview.findings.end(), found.begin(), found.end());
        if (piece.kind == Piece::Kind::Chat && piece.terminated) {
            preview.chat.push_back(ChatText{piece.number, std::string(piece.text)});
        }
    }
    const std::vector<const Piece*> kept = keptCommands(pieces);
    MenuFindings menuFindings(pieces);
    preview.hubMenu = buildMenu(kept, kHubMenu, menuFindings);
    preview.userListMenu = buildMenu(kept, kUserListMenu, menuFindings);
    const std::vector<Finding> found = std::move(menuFindings).take();
    preview.findings.insert(preview.findings.end(), found.begin(), found.end());
    std::stable_sort(preview.findings.begin(), preview.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.piece < b.piece; });
    return preview;
}

} // namespace tavu::preview
