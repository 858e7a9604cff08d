#pragma once

#include "generator/generator.h"
#include "generator/menu_changes.h"

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace tavu {

// The Menu items window's tree: each listed item under a node for each
// submenu of its path, with a check box that shows whether it is written, and
// own items in italics. A submenu whose items share one identity has a check
// box too, which switches them all.
class MenuTree {
public:
    explicit MenuTree(QTreeWidget& tree) : tree_(tree) {}

    // Fills the tree anew with the listing's items and their check boxes.
    void fill(const MenuListing& listing, const MenuChanges& changes, const std::string& profileName);
    // Sets every check box from a new listing of the same items.
    void showChecks(const MenuListing& listing, const MenuChanges& changes, const std::string& profileName);
    // Selects the item of that identity and scrolls to it; false when no item has it.
    bool select(const std::string& identity);

    const std::vector<MenuItem>& items() const { return items_; }
    // The listed item a node shows; null for a submenu.
    const MenuItem* listedAt(const QTreeWidgetItem* node) const;
    const MenuItem* selected() const;
    // The identity a submenu's check box switches; empty for an item, or a
    // submenu without one.
    static std::string submenuIdentity(const QTreeWidgetItem* node);

private:
    QTreeWidgetItem* submenuNode(std::string_view path);
    // Names the submenus above a generated item by the leading keys of its identity.
    static void nameSubmenus(QTreeWidgetItem* node, const MenuItem& item);
    // Each named submenu checked when all in it is on, unchecked when all is off.
    void showSubmenuChecks();

    QTreeWidget& tree_;
    std::vector<MenuItem> items_;
    std::vector<QTreeWidgetItem*> nodes_; // the node of each item
    // The submenus of the tree by their parent and title, while it is filled.
    std::map<std::pair<QTreeWidgetItem*, std::string>, QTreeWidgetItem*> submenus_;
};

} // namespace tavu
