#include "preview/menu_preview.h"

#include "preview/lint.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>
#include <utility>

namespace tavu::preview {

namespace {

bool isOfType(const Piece& piece, CommandType type) {
    return piece.kind == Piece::Kind::UserCommand && piece.terminated && piece.type == static_cast<int>(type);
}

bool isMenuItem(const Piece& piece) {
    return isOfType(piece, CommandType::Raw) || isOfType(piece, CommandType::RawOnce);
}

std::string pathText(std::string_view title) {
    std::string text;
    for (std::string_view part : titlePath(title)) {
        text += (text.empty() ? "" : " > ") + quoted(part);
    }
    return text;
}

Finding duplicateFinding(const Piece& later, const Piece& earlier) {
    return Finding{Finding::Kind::Duplicate, later.number, later.line,
                   "the item " + pathText(later.title) + " in context " + std::to_string(later.context) +
                       " repeats the one of piece " + std::to_string(earlier.number) +
                       ", and clients keep only the last"};
}

// The items and separators that clients hold once they have read every piece,
// in the order they were added. Duplicates are reported as they are dropped.
// A dropped command leaves an empty slot, so that the order of the rest is
// kept without moving them; items are found by context and title in a map,
// and a clear finds what it removes in one list per context bit.
class KeptCommands {
public:
    explicit KeptCommands(std::vector<Finding>& findings) : findings_(findings) {}

    void read(const Piece& piece) {
        if (isOfType(piece, CommandType::Clear)) {
            clear(piece.context);
        } else if (isOfType(piece, CommandType::Separator)) {
            keep(piece);
        } else if (isMenuItem(piece)) {
            const auto [slot, isNew] = itemSlots_.try_emplace({piece.context, piece.title}, 0);
            if (!isNew && slots_[slot->second] != nullptr) {
                findings_.push_back(duplicateFinding(piece, *slots_[slot->second]));
                slots_[slot->second] = nullptr;
            }
            slot->second = keep(piece);
        }
    }

    std::vector<const Piece*> take() && {
        std::erase(slots_, nullptr);
        return std::move(slots_);
    }

private:
    static constexpr int kContextBits = std::numeric_limits<unsigned>::digits;

    std::size_t keep(const Piece& piece) {
        const std::size_t slot = slots_.size();
        slots_.push_back(&piece);
        for (int bit = 0; bit < kContextBits; ++bit) {
            if ((piece.context >> bit & 1U) != 0) {
                slotsWithBit_[static_cast<std::size_t>(bit)].push_back(slot);
            }
        }
        return slot;
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

    std::vector<Finding>& findings_;
    std::vector<const Piece*> slots_; // nullptr where a command was dropped
    // The slot of the last item of each context and title; stale once it is dropped.
    std::map<std::pair<unsigned, std::string_view>, std::size_t> itemSlots_;
    std::array<std::vector<std::size_t>, kContextBits> slotsWithBit_;
};

std::vector<const Piece*> keptCommands(const std::vector<Piece>& pieces, std::vector<Finding>& findings) {
    KeptCommands kept(findings);
    for (const Piece& piece : pieces) {
        kept.read(piece);
    }
    return std::move(kept).take();
}

// Builds one menu entry by entry. Nodes are kept flat and reached by number,
// as adding a node would move its siblings in memory, and submenus are found
// by their parent and title in a map; the tree is made at the end.
class MenuBuilder {
public:
    void add(const Piece& piece) {
        if (isOfType(piece, CommandType::Separator)) {
            addNode(lastItemParent_, MenuNode{MenuNode::Kind::Separator, {}, {}, {}, piece.number, {}});
            return;
        }
        const std::vector<std::string_view> path = titlePath(piece.title, kMaxMenuDepth);
        std::size_t parent = kTop;
        for (std::size_t level = 0; level + 1 < path.size(); ++level) {
            parent = submenu(parent, path[level]);
        }
        addNode(parent, MenuNode{MenuNode::Kind::Item,
                                 std::string(path.back()),
                                 piece.command,
                                 promptTitles(piece.command),
                                 piece.number,
                                 {}});
        lastItemParent_ = parent;
    }

    std::vector<MenuNode> take() && { return entriesOf(kTop); }

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

    // The submenu of this title under this parent, made when there is none yet.
    // The title is a view into a piece, which outlives the builder.
    std::size_t submenu(std::size_t parent, std::string_view title) {
        const auto [found, isNew] = submenus_.try_emplace({parent, title}, 0);
        if (isNew) {
            found->second =
                addNode(parent, MenuNode{MenuNode::Kind::Submenu, std::string(title), {}, {}, 0, {}});
        }
        return found->second;
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

    std::vector<Node> nodes_ = std::vector<Node>(1); // the menu itself first
    std::map<std::pair<std::size_t, std::string_view>, std::size_t> submenus_;
    std::size_t lastItemParent_ = kTop;
};

std::vector<MenuNode> buildMenu(const std::vector<const Piece*>& commands, unsigned contextBit) {
    MenuBuilder builder;
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
    const std::vector<const Piece*> kept = keptCommands(pieces, preview.findings);
    preview.hubMenu = buildMenu(kept, kHubMenu);
    preview.userListMenu = buildMenu(kept, kUserListMenu);
    std::stable_sort(preview.findings.begin(), preview.findings.end(),
                     [](const Finding& a, const Finding& b) { return a.piece < b.piece; });
    return preview;
}

} // namespace tavu::preview
