#include "generator/frame.h"
#include "generator/item_paths.h"
#include "generator/own_item_placement.h"

#include <algorithm>

namespace tavu {

namespace {

unsigned contextOf(catalogue::Kind kind) {
    return kind == catalogue::K1_2 ? 2U : 3U;
}

MenuListing listed(XmlElement profileNode, const GenerationOptions& options, const Vocabulary& vocabulary,
                   const MenuChanges& changes, std::string_view profileName, std::string_view dateText,
                   OwnItemsPlaced which, const std::function<bool(std::size_t)>* describe = nullptr) {
    RowWalk walk = walkRows(profileNode, options, changes, profileName);
    MenuListing listing{{}, std::move(walk.stop)};
    // A listing cut short would pass for the whole menu.
    if (listing.stop) {
        return listing;
    }
    const EscapedWords words(vocabulary, dateText);
    const std::vector<PlacedOwnItem> placed = placeOwnItems(walk.rows, changes, profileName, which);
    listing.items.reserve(walk.rows.size() + placed.size());
    const std::size_t rowSlots = catalogueIdentities().size();
    const auto described = [describe](std::size_t slot) {
        return describe == nullptr || (*describe)(slot);
    };
    inMenuOrder(
        walk.rows, placed,
        [&](const MetRow& met) {
            MenuItem& item = listing.items.emplace_back();
            item.slot = met.catalogueIndex;
            if (described(item.slot)) {
                item.identity = catalogueIdentities()[met.catalogueIndex];
                item.path = rowPath(*met.row, met.previous, &vocabulary);
                appendRow(item.command, *met.row, words);
            }
            item.context = contextOf(met.row->kind);
            item.separator = met.row->kind == catalogue::Separator;
            item.on = met.on;
        },
        [&](const PlacedOwnItem& own) {
            const OwnItem& ownItem = changes.ownItems[own.index];
            MenuItem& item = listing.items.emplace_back();
            item.slot = rowSlots + own.index;
            if (described(item.slot)) {
                item.identity = ownItemIdentity(own.index);
                item.path = ownItemPath(ownItem, vocabulary);
                appendOwnItem(item.command, ownItem, words);
            }
            item.context = static_cast<unsigned>(ownItem.menus);
            item.separator = ownItem.separator;
            item.ownItem = own.index;
            item.on = own.on;
        });
    return listing;
}

} // namespace

MenuListing listMenuItems(XmlElement profileNode, const GenerationOptions& options,
                          const Vocabulary& vocabulary, const MenuChanges& changes,
                          std::string_view profileName, std::string_view dateText) {
    return listed(profileNode, options, vocabulary, changes, profileName, dateText,
                  OwnItemsPlaced::OfTheProfile);
}

MenuListing listMenuItemsDescribing(XmlElement profileNode, const GenerationOptions& options,
                                    const Vocabulary& vocabulary, const MenuChanges& changes,
                                    std::string_view profileName, std::string_view dateText,
                                    const std::function<bool(std::size_t slot)>& describe) {
    return listed(profileNode, options, vocabulary, changes, profileName, dateText,
                  OwnItemsPlaced::OfTheProfile, &describe);
}

MenuListing listMenuItemsToEdit(XmlElement profileNode, const GenerationOptions& options,
                                const Vocabulary& vocabulary, const MenuChanges& changes,
                                std::string_view profileName) {
    return listed(profileNode, options, vocabulary, changes, profileName, {}, OwnItemsPlaced::Every);
}

std::optional<std::size_t> ownItemNeighbour(std::span<const MenuItem> items, std::size_t ownItem, int step) {
    const auto moved = std::ranges::find(items, std::optional(ownItem), &MenuItem::ownItem);
    if (moved == items.end()) {
        return std::nullopt;
    }
    const std::string_view submenu = parentPath(moved->path);
    const auto count = static_cast<std::ptrdiff_t>(items.size());
    for (std::ptrdiff_t i = (moved - items.begin()) + step; i >= 0 && i < count; i += step) {
        const MenuItem& other = items[static_cast<std::size_t>(i)];
        if (parentPath(other.path) == submenu) {
            return other.ownItem;
        }
    }
    return std::nullopt;
}

} // namespace tavu
