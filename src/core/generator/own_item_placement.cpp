#include "generator/own_item_placement.h"

#include <algorithm>

namespace tavu {

namespace {

using catalogue::Piece;

bool beginsWith(const catalogue::Row& row, std::span<const Word> words) {
    const auto path = row.path.view();
    if (row.kind == catalogue::Separator || path.size() <= words.size()) {
        return false;
    }
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (path[i].source != Piece::Source::Vocabulary || path[i].word != words[i]) {
            return false;
        }
    }
    return true;
}

// The last row met whose path begins with the words the own item's path
// begins with, the longest run of them that any row shares; kAtEnd when none.
std::size_t anchorOf(const OwnItem& item, std::span<const MetRow> rows) {
    const std::vector<OwnPathElement> elements = ownPathElements(item.path);
    std::vector<Word> words;
    for (const OwnPathElement& element : elements) {
        if (!element.word) {
            break;
        }
        words.push_back(*element.word);
    }
    // A separator's path is the submenu it goes in; an item's last element is its own title.
    if (!item.separator && words.size() == elements.size() && !words.empty()) {
        words.pop_back();
    }
    for (std::size_t length = words.size(); length > 0; --length) {
        for (std::size_t i = rows.size(); i-- > 0;) {
            if (beginsWith(*rows[i].row, std::span(words).first(length))) {
                return i;
            }
        }
    }
    return kAtEnd;
}

} // namespace

std::vector<PlacedOwnItem> placeOwnItems(std::span<const MetRow> rows, const MenuChanges& changes,
                                         std::string_view profileName, OwnItemsPlaced which) {
    std::vector<PlacedOwnItem> placed;
    for (std::size_t i = 0; i < changes.ownItems.size(); ++i) {
        const OwnItem& item = changes.ownItems[i];
        const bool chosen = item.profiles.includes(profileName);
        if (chosen || which == OwnItemsPlaced::Every) {
            placed.push_back(PlacedOwnItem{i, anchorOf(item, rows), chosen && ownItemProblem(item).empty()});
        }
    }
    std::stable_sort(placed.begin(), placed.end(), [](const PlacedOwnItem& a, const PlacedOwnItem& b) {
        // kAtEnd is the largest index, so the end comes last.
        return a.anchor < b.anchor;
    });
    return placed;
}

} // namespace tavu
