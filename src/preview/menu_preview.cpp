#include "preview/menu_preview.h"

#include "preview/lint.h"

#include <algorithm>

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
    for (const std::string& part : titlePath(title)) {
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
std::vector<const Piece*> keptCommands(const std::vector<Piece>& pieces, std::vector<Finding>& findings) {
    std::vector<const Piece*> kept;
    for (const Piece& piece : pieces) {
        if (isOfType(piece, CommandType::Clear)) {
            std::erase_if(kept,
                          [&](const Piece* earlier) { return (earlier->context & piece.context) != 0; });
        } else if (isOfType(piece, CommandType::Separator)) {
            kept.push_back(&piece);
        } else if (isMenuItem(piece)) {
            const auto earlier = std::find_if(kept.begin(), kept.end(), [&](const Piece* other) {
                return isMenuItem(*other) && other->title == piece.title && other->context == piece.context;
            });
            if (earlier != kept.end()) {
                findings.push_back(duplicateFinding(piece, **earlier));
                kept.erase(earlier);
            }
            kept.push_back(&piece);
        }
    }
    return kept;
}

// Builds one menu entry by entry. Nodes are reached by their index path from
// the top, because adding a node may move its siblings in memory.
class MenuBuilder {
public:
    void add(const Piece& piece) {
        if (isOfType(piece, CommandType::Separator)) {
            entriesAt(lastItemParent_)
                .push_back(MenuNode{MenuNode::Kind::Separator, {}, {}, {}, piece.number, {}});
            return;
        }
        const std::vector<std::string> path = titlePath(piece.title);
        std::vector<std::size_t> parent;
        for (std::size_t level = 0; level + 1 < path.size(); ++level) {
            parent.push_back(submenuIndex(entriesAt(parent), path[level]));
        }
        entriesAt(parent).push_back(MenuNode{
            MenuNode::Kind::Item, path.back(), piece.command, promptTitles(piece.command), piece.number, {}});
        lastItemParent_ = std::move(parent);
    }

    std::vector<MenuNode> take() && { return std::move(top_); }

private:
    std::vector<MenuNode>& entriesAt(const std::vector<std::size_t>& indexPath) {
        std::vector<MenuNode>* entries = &top_;
        for (std::size_t index : indexPath) {
            entries = &(*entries)[index].children;
        }
        return *entries;
    }

    // The submenu of this title at this level, made when there is none yet.
    static std::size_t submenuIndex(std::vector<MenuNode>& entries, const std::string& title) {
        const auto found = std::find_if(entries.begin(), entries.end(), [&](const MenuNode& node) {
            return node.kind == MenuNode::Kind::Submenu && node.title == title;
        });
        if (found != entries.end()) {
            return static_cast<std::size_t>(found - entries.begin());
        }
        entries.push_back(MenuNode{MenuNode::Kind::Submenu, title, {}, {}, 0, {}});
        return entries.size() - 1;
    }

    std::vector<MenuNode> top_;
    std::vector<std::size_t> lastItemParent_;
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

bool MenuPreview::hasUnreadablePiece() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& f) { return f.isUnreadable(); });
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
