#include "menu_tree.h"

#include <QFont>
#include <QSignalBlocker>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <algorithm>

namespace tavu {

namespace {

// Where an item's node keeps the item's place in the listing.
constexpr int kRowRole = Qt::UserRole;
// Where a submenu keeps its identity: "" when its items have no one identity
// (two submenus whose words have the same title), and then it has no check box.
constexpr int kSubmenuRole = Qt::UserRole + 1;
const QString kSeparatorLine(24, QChar(0x2500));

QString joinedNames(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) {
        list << QString::fromStdString(name);
    }
    return list.join(QStringLiteral(", "));
}

QString ownToolTip(const OwnItem& own, const std::string& profileName) {
    if (const std::string problem = ownItemProblem(own); !problem.empty()) {
        return QStringLiteral("Refused: ") + QString::fromStdString(problem);
    }
    if (own.profiles.none) {
        return QStringLiteral("Switched off for every profile");
    }
    return own.profiles.includes(profileName) ? QString::fromStdString(own.command)
                                              : QStringLiteral("Only for ") + joinedNames(own.profiles.names);
}

} // namespace

void MenuTree::fill(const MenuListing& listing, const MenuChanges& changes, const std::string& profileName) {
    const QSignalBlocker blocker(tree_);
    tree_.clear();
    items_ = listing.items;
    nodes_.clear();
    submenus_.clear();
    for (const MenuItem& item : items_) {
        auto* node = new QTreeWidgetItem(submenuNode(parentPath(item.path)));
        node->setText(0, item.separator ? kSeparatorLine
                                        : QString::fromStdString(std::string(lastTitle(item.path))));
        node->setText(2, QString::fromStdString(item.identity));
        node->setData(0, kRowRole, static_cast<qulonglong>(nodes_.size()));
        bool checkable = true;
        if (item.ownItem) {
            node->setText(1, QStringLiteral("own"));
            QFont italic = node->font(0);
            italic.setItalic(true);
            node->setFont(0, italic);
            // A refused item stays out of every menu until it is edited.
            checkable = ownItemProblem(changes.ownItems[*item.ownItem]).empty();
        } else {
            nameSubmenus(node, item);
        }
        node->setFlags(checkable ? node->flags() | Qt::ItemIsUserCheckable
                                 : node->flags() & ~Qt::ItemIsUserCheckable);
        nodes_.push_back(node);
    }
    for (const auto& [key, submenu] : submenus_) {
        if (!submenuIdentity(submenu).empty()) {
            submenu->setFlags(submenu->flags() | Qt::ItemIsUserCheckable);
        }
    }
    tree_.expandToDepth(0);
    showChecks(listing, changes, profileName);
}

void MenuTree::showChecks(const MenuListing& listing, const MenuChanges& changes,
                          const std::string& profileName) {
    const QSignalBlocker blocker(tree_);
    for (std::size_t i = 0; i < nodes_.size() && i < listing.items.size(); ++i) {
        items_[i] = listing.items[i];
        nodes_[i]->setCheckState(0, items_[i].on ? Qt::Checked : Qt::Unchecked);
        if (const auto own = items_[i].ownItem) {
            nodes_[i]->setToolTip(0, ownToolTip(changes.ownItems[*own], profileName));
        }
    }
    showSubmenuChecks();
}

bool MenuTree::select(const std::string& identity) {
    const auto found = std::ranges::find(items_, identity, &MenuItem::identity);
    if (found == items_.end()) {
        return false;
    }
    // The tree scrolls to its current item, now or when it is shown, opening the submenus above it.
    tree_.setCurrentItem(nodes_[static_cast<std::size_t>(found - items_.begin())]);
    return true;
}

const MenuItem* MenuTree::listedAt(const QTreeWidgetItem* node) const {
    const QVariant row = node == nullptr ? QVariant() : node->data(0, kRowRole);
    return row.isValid() ? &items_[row.value<qulonglong>()] : nullptr;
}

const MenuItem* MenuTree::selected() const {
    return listedAt(tree_.currentItem());
}

std::string MenuTree::submenuIdentity(const QTreeWidgetItem* node) {
    return node->data(0, kSubmenuRole).toString().toStdString();
}

QTreeWidgetItem* MenuTree::submenuNode(std::string_view path) {
    QTreeWidgetItem* parent = tree_.invisibleRootItem();
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        std::pair key{parent, std::string(path.substr(start, end - start))};
        auto found = submenus_.find(key);
        if (found == submenus_.end()) {
            auto* submenu = new QTreeWidgetItem(parent, {QString::fromStdString(key.second)});
            found = submenus_.emplace(std::move(key), submenu).first;
        }
        parent = found->second;
        start = end + 1;
    }
    return parent;
}

void MenuTree::nameSubmenus(QTreeWidgetItem* node, const MenuItem& item) {
    // A word holding a backslash makes more submenus than the identity has keys.
    if (std::ranges::count(item.path, '\\') != std::ranges::count(item.identity, '\\')) {
        return;
    }
    std::string_view keys = parentPath(item.identity);
    for (QTreeWidgetItem* submenu = node->parent(); submenu != nullptr; submenu = submenu->parent()) {
        const QString identity = QString::fromStdString(std::string(keys));
        const QVariant named = submenu->data(0, kSubmenuRole);
        submenu->setData(0, kSubmenuRole,
                         !named.isValid() || named.toString() == identity ? identity : QString());
        keys = parentPath(keys);
    }
}

void MenuTree::showSubmenuChecks() {
    // Backwards through the tree, so that each submenu comes after what is in it.
    std::vector<QTreeWidgetItem*> order;
    for (QTreeWidgetItemIterator it(&tree_); *it != nullptr; ++it) {
        order.push_back(*it);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        QTreeWidgetItem* submenu = *it;
        if (submenuIdentity(submenu).empty()) {
            continue;
        }
        bool on = false;
        bool off = false;
        for (int i = 0; i < submenu->childCount(); ++i) {
            const QTreeWidgetItem* child = submenu->child(i);
            const MenuItem* listed = listedAt(child);
            // Own items and submenus of their own are not switched by it.
            const bool generated = listed != nullptr ? !listed->ownItem : !submenuIdentity(child).empty();
            on = on || (generated && child->checkState(0) != Qt::Unchecked);
            off = off || (generated && child->checkState(0) != Qt::Checked);
        }
        submenu->setCheckState(0, on && off ? Qt::PartiallyChecked : on ? Qt::Checked : Qt::Unchecked);
    }
}

} // namespace tavu
