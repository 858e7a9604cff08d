#pragma once

// Where own items go among the generated ones: after the last generated item
// of the submenu their path begins in, else at the end of the menu.

#include "generator/frame.h"
#include "generator/menu_changes.h"

#include <cstddef>
#include <span>
#include <string_view>
#include <vector>

namespace tavu {

// Where an own item goes when no row met shares its submenu.
inline constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);

// An own item with its index in the changes and its place: after the row met
// `anchor`, or at the end of the menu when it is kAtEnd.
struct PlacedOwnItem {
    std::size_t index;
    std::size_t anchor;
    bool on; // written for the profile: chosen for it, and not refused
};

// Which own items are placed.
enum class OwnItemsPlaced : bool { OfTheProfile, Every };

// The own items in the order they are written: by their place, then by their
// index. Those of other profiles too when `which` says every one, each where it
// would go in this profile's menu.
std::vector<PlacedOwnItem> placeOwnItems(std::span<const MetRow> rows, const MenuChanges& changes,
                                         std::string_view profileName, OwnItemsPlaced which);

// Calls onRow for each row met and onOwn for each own item placed, in the
// order the menu holds them.
template <class OnRow, class OnOwn>
void inMenuOrder(std::span<const MetRow> rows, std::span<const PlacedOwnItem> placed, OnRow onRow,
                 OnOwn onOwn) {
    auto next = placed.begin();
    const auto ownItemsAfter = [&](std::size_t anchor) {
        for (; next != placed.end() && next->anchor == anchor; ++next) {
            onOwn(*next);
        }
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        onRow(rows[i]);
        ownItemsAfter(i);
    }
    ownItemsAfter(kAtEnd);
}

} // namespace tavu
