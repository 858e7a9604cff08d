#include "menu_items_form.h"

#include "file_dialog.h"
#include "message_box.h"
#include "own_item_dialog.h"
#include "platform/file.h"
#include "session.h"
#include "settings/menu_changes_file.h"

#include <QFileInfo>
#include <QFont>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <utility>

namespace tavu {

namespace {

constexpr char kNoProfileChosen[] =
    "Choose a profile first: this window shows the menu of the chosen profile.";
constexpr char kExportCaption[] = "Export menu items";
constexpr char kImportCaption[] = "Import menu items";
constexpr char kExportStartFile[] = "menu-items.ini";
constexpr char kExportOverSettings[] =
    "%1 is the settings file, which keeps the options and words too: export the menu items to another file.";
constexpr char kMenuItemsFilter[] = "Menu items (*.ini)";
constexpr char kReplaceQuestion[] = "Replace the own items and the items switched off with those of %1?";
constexpr std::string_view kOwnIdentityPrefix = "own:";
// Where a tree item keeps the number of its row.
constexpr int kRowRole = Qt::UserRole;
// Where a submenu keeps its identity: "" when its items have no one identity
// (two submenus whose words have the same title), and then it has no check box.
constexpr int kSubmenuRole = Qt::UserRole + 1;
const QString kSeparatorLine(24, QChar(0x2500));

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::filesystem::path filePath(const QString& fileName) {
    return QFileInfo(fileName).filesystemFilePath();
}

// The index in the changes of the own item that `identity` ("own:N") names.
std::size_t ownItemIndex(const MenuItem& listed) {
    std::size_t number = 0;
    const std::string_view digits = std::string_view(listed.identity).substr(kOwnIdentityPrefix.size());
    std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return number - 1;
}

std::string ownIdentity(std::size_t index) {
    return std::string(kOwnIdentityPrefix) + std::to_string(index + 1);
}

// The submenu an item is written in: its path up to the last "\".
std::string_view parentPath(std::string_view path) {
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

std::string_view lastTitle(std::string_view path) {
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

QString joinedNames(const std::vector<std::string>& names) {
    QStringList list;
    for (const std::string& name : names) {
        list << fromUtf8(name);
    }
    return list.join(QStringLiteral(", "));
}

QString ownToolTip(const OwnItem& own, const std::string& profileName) {
    if (const std::string problem = ownItemProblem(own); !problem.empty()) {
        return QStringLiteral("Refused: ") + fromUtf8(problem);
    }
    if (own.profiles.none) {
        return QStringLiteral("Switched off for every profile");
    }
    return own.profiles.includes(profileName) ? fromUtf8(own.command)
                                              : QStringLiteral("Only for ") + joinedNames(own.profiles.names);
}

QString submenuIdentity(const QTreeWidgetItem* item) {
    return item->data(0, kSubmenuRole).toString();
}

} // namespace

MenuItemsForm::MenuItemsForm(Session& session)
    : SecondaryForm(QString::fromUtf8(kMenuItemsCaption), Qt::WindowMaximizeButtonHint), session_(session) {
    buildControls();
}

QPushButton* MenuItemsForm::addButton(const char* name, const char* caption, const char* hint) {
    auto* button = new QPushButton(QString::fromUtf8(caption), this);
    button->setObjectName(QString::fromLatin1(name));
    button->setStatusTip(QString::fromUtf8(hint));
    return button;
}

void MenuItemsForm::buildControls() {
    resize(640, 560);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    ItemsTree = new QTreeWidget(this);
    ItemsTree->setObjectName(QStringLiteral("ItemsTree"));
    ItemsTree->setHeaderLabels({QStringLiteral("Title"), QStringLiteral("Own"), QStringLiteral("Identity")});
    ItemsTree->setColumnWidth(0, 300);
    ItemsTree->setColumnWidth(1, 40);
    ItemsTree->setUniformRowHeights(true);
    ItemsTree->setStatusTip(QStringLiteral("Uncheck an item to switch it off; own items are in italics"));
    ItemsTree->installEventFilter(this);
    auto* switchOffLabel = new QLabel(QStringLiteral("Switch off for:"), this);
    ThisProfileRadio = new QRadioButton(this);
    ThisProfileRadio->setObjectName(QStringLiteral("ThisProfileRadio"));
    EveryProfileRadio = new QRadioButton(QStringLiteral("every profile"), this);
    EveryProfileRadio->setObjectName(QStringLiteral("EveryProfileRadio"));
    AddButton = addButton("AddButton", "Add\u2026", "Add an own item");
    EditButton = addButton("EditButton", "Edit\u2026", "Edit the selected own item");
    RemoveButton = addButton("RemoveButton", "Remove", "Remove the selected own item");
    MoveUpButton = addButton("MoveUpButton", "Move up", "Move the own item before the own item above it");
    MoveDownButton =
        addButton("MoveDownButton", "Move down", "Move the own item after the own item below it");
    ExportButton =
        addButton("ExportButton", "Export\u2026", "Write the own items and items switched off to a file");
    ImportButton = addButton("ImportButton", "Import\u2026",
                             "Replace the own items and items switched off "
                             "with those of a file");
    OkButton = addButton("OkButton", "OK", "Keep the changes");
    CancelButton = addButton("CancelButton", "Cancel", "Drop the changes made since the window opened");
    ownItemDialog_ = new OwnItemDialog(this);

    auto* switchOff = new QHBoxLayout;
    switchOff->addWidget(switchOffLabel);
    switchOff->addWidget(ThisProfileRadio);
    switchOff->addWidget(EveryProfileRadio);
    switchOff->addStretch();
    auto* ownButtons = new QHBoxLayout;
    for (QPushButton* button : {AddButton, EditButton, RemoveButton, MoveUpButton, MoveDownButton}) {
        ownButtons->addWidget(button);
    }
    ownButtons->addStretch();
    ownButtons->addWidget(ExportButton);
    ownButtons->addWidget(ImportButton);
    auto* closeButtons = new QHBoxLayout;
    closeButtons->addStretch();
    closeButtons->addWidget(OkButton);
    closeButtons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(SummaryLabel);
    layout->addWidget(ItemsTree, 1);
    layout->addLayout(switchOff);
    layout->addLayout(ownButtons);
    layout->addLayout(closeButtons);

    connect(ItemsTree, &QTreeWidget::itemChanged, this, &MenuItemsForm::ItemsTreeChange);
    connect(ItemsTree, &QTreeWidget::currentItemChanged, this, &MenuItemsForm::ItemsTreeSelect);
    connect(ItemsTree, &QTreeWidget::itemDoubleClicked, this, &MenuItemsForm::EditButtonClick);
    connect(AddButton, &QPushButton::clicked, this, &MenuItemsForm::AddButtonClick);
    connect(EditButton, &QPushButton::clicked, this, &MenuItemsForm::EditButtonClick);
    connect(RemoveButton, &QPushButton::clicked, this, &MenuItemsForm::RemoveButtonClick);
    connect(MoveUpButton, &QPushButton::clicked, this, &MenuItemsForm::MoveUpButtonClick);
    connect(MoveDownButton, &QPushButton::clicked, this, &MenuItemsForm::MoveDownButtonClick);
    connect(ExportButton, &QPushButton::clicked, this, &MenuItemsForm::ExportButtonClick);
    connect(ImportButton, &QPushButton::clicked, this, &MenuItemsForm::ImportButtonClick);
    connect(OkButton, &QPushButton::clicked, this, &MenuItemsForm::OkButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &MenuItemsForm::CancelButtonClick);
    connect(ownItemDialog_, &OwnItemDialog::accepted, this, &MenuItemsForm::OwnItemDialogAccept);
}

QString MenuItemsForm::takeOutput(const QString&) {
    if (session_.profiles().state() != ProfileState::Chosen) {
        return QString::fromUtf8(kNoProfileChosen);
    }
    profileName_ = session_.profiles().chosenName();
    changes_ = session_.menuChanges();
    // "&" in a name is shown, not taken as a shortcut.
    ThisProfileRadio->setText(
        QStringLiteral("this profile (%1)")
            .arg(fromUtf8(profileName_).replace(QLatin1Char('&'), QStringLiteral("&&"))));
    ThisProfileRadio->setChecked(true);
    showMenu({});
    ItemsTree->setFocus();
    return {};
}

MenuListing MenuItemsForm::listing() const {
    // Every own item is listed where it would be written, so that the window
    // shows those of other profiles too; its check box tells which are written.
    MenuChanges everyOwnItem = changes_;
    for (OwnItem& item : everyOwnItem.ownItems) {
        item.profiles = {};
    }
    return listMenuItems(session_.profiles().profileNode(), session_.settings().options,
                         session_.vocabulary(), everyOwnItem, profileName_);
}

bool MenuItemsForm::shownOn(const MenuItem& listed) const {
    return listed.on &&
           (!listed.own || changes_.ownItems[ownItemIndex(listed)].profiles.includes(profileName_));
}

QTreeWidgetItem* MenuItemsForm::submenuItem(std::string_view path) {
    QTreeWidgetItem* parent = ItemsTree->invisibleRootItem();
    for (std::size_t start = 0; start < path.size();) {
        const std::size_t end = std::min(path.find('\\', start), path.size());
        std::pair key{parent, std::string(path.substr(start, end - start))};
        auto found = submenus_.find(key);
        if (found == submenus_.end()) {
            auto* submenu = new QTreeWidgetItem(parent, {fromUtf8(key.second)});
            found = submenus_.emplace(std::move(key), submenu).first;
        }
        parent = found->second;
        start = end + 1;
    }
    return parent;
}

void MenuItemsForm::showMenu(const std::string& identity) {
    const MenuListing listed = listing();
    const QSignalBlocker blocker(ItemsTree);
    ItemsTree->clear();
    rows_.clear();
    submenus_.clear();
    QTreeWidgetItem* selected = nullptr;
    for (const MenuItem& item : listed.items) {
        auto* node = new QTreeWidgetItem(submenuItem(parentPath(item.path)));
        node->setText(0, item.separator ? kSeparatorLine : fromUtf8(std::string(lastTitle(item.path))));
        node->setText(2, fromUtf8(item.identity));
        node->setData(0, kRowRole, static_cast<qulonglong>(rows_.size()));
        bool checkable = true;
        if (item.own) {
            node->setText(1, QStringLiteral("own"));
            QFont italic = node->font(0);
            italic.setItalic(true);
            node->setFont(0, italic);
            // A refused item stays out of every menu until it is edited.
            checkable = ownItemProblem(changes_.ownItems[ownItemIndex(item)]).empty();
        } else {
            nameSubmenus(node, item);
        }
        node->setFlags(checkable ? node->flags() | Qt::ItemIsUserCheckable
                                 : node->flags() & ~Qt::ItemIsUserCheckable);
        if (item.identity == identity) {
            selected = node;
        }
        rows_.push_back(Row{node, item});
    }
    for (const auto& [key, submenu] : submenus_) {
        if (!submenuIdentity(submenu).isEmpty()) {
            submenu->setFlags(submenu->flags() | Qt::ItemIsUserCheckable);
        }
    }
    ItemsTree->expandToDepth(0);
    if (selected != nullptr) {
        ItemsTree->setCurrentItem(selected);
        ItemsTree->scrollToItem(selected);
    }
    showChecks();
    if (listed.stop) {
        SummaryLabel->setText(SummaryLabel->text() + QLatin1Char(' ') + fromUtf8(listed.stop->description()));
    }
    ItemsTreeSelect();
}

void MenuItemsForm::showChecks() {
    const MenuListing listed = listing();
    const QSignalBlocker blocker(ItemsTree);
    int off = 0;
    int own = 0;
    for (std::size_t i = 0; i < rows_.size() && i < listed.items.size(); ++i) {
        Row& row = rows_[i];
        row.listed = listed.items[i];
        const bool on = shownOn(row.listed);
        row.item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
        if (row.listed.own) {
            row.item->setToolTip(0, ownToolTip(changes_.ownItems[ownItemIndex(row.listed)], profileName_));
        }
        off += on ? 0 : 1;
        own += row.listed.own ? 1 : 0;
    }
    showSubmenuChecks();
    SummaryLabel->setText(QStringLiteral("The menu of %1: %2 items, %3 switched off, %4 own.")
                              .arg(fromUtf8(profileName_))
                              .arg(rows_.size())
                              .arg(off)
                              .arg(own));
}

void MenuItemsForm::nameSubmenus(QTreeWidgetItem* node, const MenuItem& item) {
    // A word holding a backslash makes more submenus than the identity has keys.
    if (std::ranges::count(item.path, '\\') != std::ranges::count(item.identity, '\\')) {
        return;
    }
    std::string_view keys = parentPath(item.identity);
    for (QTreeWidgetItem* submenu = node->parent(); submenu != nullptr; submenu = submenu->parent()) {
        const QString identity = fromUtf8(std::string(keys));
        const QVariant named = submenu->data(0, kSubmenuRole);
        submenu->setData(0, kSubmenuRole,
                         !named.isValid() || named.toString() == identity ? identity : QString());
        keys = parentPath(keys);
    }
}

void MenuItemsForm::showSubmenuChecks() {
    // Backwards through the tree, so that each submenu comes after what is in it.
    std::vector<QTreeWidgetItem*> order;
    for (QTreeWidgetItemIterator it(ItemsTree); *it != nullptr; ++it) {
        order.push_back(*it);
    }
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        QTreeWidgetItem* submenu = *it;
        if (submenuIdentity(submenu).isEmpty()) {
            continue;
        }
        bool on = false;
        bool off = false;
        for (int i = 0; i < submenu->childCount(); ++i) {
            const QTreeWidgetItem* child = submenu->child(i);
            const QVariant row = child->data(0, kRowRole);
            // Own items and submenus of their own are not switched by it.
            const bool generated = row.isValid() ? !rows_[row.value<qulonglong>()].listed.own
                                                 : !submenuIdentity(child).isEmpty();
            on = on || (generated && child->checkState(0) != Qt::Unchecked);
            off = off || (generated && child->checkState(0) != Qt::Checked);
        }
        submenu->setCheckState(0, on && off ? Qt::PartiallyChecked : on ? Qt::Checked : Qt::Unchecked);
    }
}

const MenuItemsForm::Row* MenuItemsForm::selectedRow() const {
    const QTreeWidgetItem* current = ItemsTree->currentItem();
    const QVariant row = current == nullptr ? QVariant() : current->data(0, kRowRole);
    return row.isValid() ? &rows_[row.value<qulonglong>()] : nullptr;
}

std::optional<std::size_t> MenuItemsForm::selectedOwnItem() const {
    const Row* row = selectedRow();
    if (row == nullptr || !row->listed.own) {
        return std::nullopt;
    }
    return ownItemIndex(row->listed);
}

void MenuItemsForm::ItemsTreeSelect() {
    const bool own = selectedOwnItem().has_value();
    EditButton->setEnabled(own);
    RemoveButton->setEnabled(own);
    MoveUpButton->setEnabled(neighbourOfSelected(-1) != nullptr);
    MoveDownButton->setEnabled(neighbourOfSelected(1) != nullptr);
}

void MenuItemsForm::ItemsTreeChange(QTreeWidgetItem* item, int column) {
    const QVariant index = item->data(0, kRowRole);
    const std::string submenu = submenuIdentity(item).toStdString();
    if (column != 0 || (!index.isValid() && submenu.empty())) {
        return;
    }
    const bool checked = item->checkState(0) == Qt::Checked;
    const MenuItem* listed = index.isValid() ? &rows_[index.value<qulonglong>()].listed : nullptr;
    if (listed != nullptr && checked == shownOn(*listed)) {
        return;
    }
    if (listed != nullptr && listed->own) {
        switchOwnItem(ownItemIndex(*listed), checked);
    } else if (checked) {
        switchOn(listed != nullptr ? listed->identity : submenu);
    } else {
        switchOff(listed != nullptr ? listed->identity : submenu);
    }
    // Switching a submenu on or off changes every item in it.
    showChecks();
}

void MenuItemsForm::switchOff(const std::string& identity) {
    const auto found = std::ranges::find(changes_.itemsOff, identity, &ItemOff::identity);
    if (!ThisProfileRadio->isChecked()) {
        if (found == changes_.itemsOff.end()) {
            changes_.itemsOff.push_back(ItemOff{identity, {}});
        } else {
            found->profiles = {};
        }
    } else if (found == changes_.itemsOff.end()) {
        changes_.itemsOff.push_back(ItemOff{identity, {{profileName_}}});
    } else {
        found->profiles.add(profileName_);
    }
}

void MenuItemsForm::switchOn(const std::string& identity) {
    // Whatever switches the item off for this profile, or an item in the
    // submenu, stops doing so for this profile alone: the other profiles keep
    // what they had.
    std::vector<ItemOff> kept;
    for (ItemOff& off : changes_.itemsOff) {
        const bool touches = identityCovers(off.identity, identity) || identityCovers(identity, off.identity);
        if (touches && off.profiles.includes(profileName_)) {
            off.profiles.remove(profileName_, session_.profiles().names());
        }
        if (!off.profiles.none) {
            kept.push_back(std::move(off));
        }
    }
    changes_.itemsOff = std::move(kept);
}

void MenuItemsForm::switchOwnItem(std::size_t index, bool on) {
    ProfileChoice& profiles = changes_.ownItems[index].profiles;
    if (on) {
        profiles.add(profileName_);
    } else if (ThisProfileRadio->isChecked()) {
        profiles.remove(profileName_, session_.profiles().names());
    } else {
        profiles = ProfileChoice{{}, true};
    }
}

void MenuItemsForm::editOwnItem(const OwnItem& item, std::optional<std::size_t> index) {
    editedOwnItem_ = index;
    ownItemDialog_->setItem(item, session_.profiles().names());
    ownItemDialog_->open();
}

void MenuItemsForm::AddButtonClick() {
    editOwnItem(OwnItem{}, std::nullopt);
}

void MenuItemsForm::EditButtonClick() {
    if (const auto index = selectedOwnItem()) {
        editOwnItem(changes_.ownItems[*index], index);
    }
}

void MenuItemsForm::OwnItemDialogAccept() {
    std::size_t index = changes_.ownItems.size();
    if (editedOwnItem_) {
        index = *editedOwnItem_;
        changes_.ownItems[index] = ownItemDialog_->item();
    } else {
        changes_.ownItems.push_back(ownItemDialog_->item());
    }
    showMenu(ownIdentity(index));
}

void MenuItemsForm::RemoveButtonClick() {
    if (const auto index = selectedOwnItem()) {
        changes_.ownItems.erase(changes_.ownItems.begin() + static_cast<std::ptrdiff_t>(*index));
        showMenu({});
    }
}

void MenuItemsForm::MoveUpButtonClick() {
    moveSelectedOwnItem(-1);
}

void MenuItemsForm::MoveDownButtonClick() {
    moveSelectedOwnItem(1);
}

// Own items of one submenu are written in the order of their numbers, so the
// item trades its number with the next own item of its submenu that way.
const MenuItemsForm::Row* MenuItemsForm::neighbourOfSelected(int step) const {
    const Row* selected = selectedRow();
    if (selected == nullptr || !selected->listed.own) {
        return nullptr;
    }
    const std::string_view submenu = parentPath(selected->listed.path);
    const auto at = static_cast<std::ptrdiff_t>(selected - rows_.data());
    for (std::ptrdiff_t i = at + step; i >= 0 && i < static_cast<std::ptrdiff_t>(rows_.size()); i += step) {
        const Row& other = rows_[static_cast<std::size_t>(i)];
        if (parentPath(other.listed.path) == submenu) {
            return other.listed.own ? &other : nullptr;
        }
    }
    return nullptr;
}

void MenuItemsForm::moveSelectedOwnItem(int step) {
    const Row* other = neighbourOfSelected(step);
    if (other == nullptr) {
        return;
    }
    const std::size_t from = ownItemIndex(selectedRow()->listed);
    const std::size_t to = ownItemIndex(other->listed);
    std::swap(changes_.ownItems[from], changes_.ownItems[to]);
    showMenu(ownIdentity(to));
}

void MenuItemsForm::ExportButtonClick() {
    const QString chosen =
        FileDialog::getSaveFileName(this, QString::fromUtf8(kExportCaption),
                                    QString::fromUtf8(kExportStartFile), QString::fromUtf8(kMenuItemsFilter));
    if (chosen.isEmpty()) {
        return;
    }
    // The settings file written with the items alone would lose its options and words.
    if (isSameFile(filePath(chosen), session_.settingsFile())) {
        MessageBox::error(this, QString::fromUtf8(kExportOverSettings).arg(chosen));
        return;
    }
    if (const auto written = writeMenuChangesFile(changes_, filePath(chosen)); !written) {
        MessageBox::error(this, fromUtf8(unwritableMessage(written.failure())));
    }
}

// The file is read before the operator is asked, so that a file that cannot
// be read is refused at once; nothing changes unless the operator agrees.
void MenuItemsForm::ImportButtonClick() {
    const QString chosen = FileDialog::getOpenFileName(this, QString::fromUtf8(kImportCaption), QString(),
                                                       QString::fromUtf8(kMenuItemsFilter));
    if (chosen.isEmpty()) {
        return;
    }
    auto read = readMenuChangesFile(filePath(chosen));
    if (!read) {
        MessageBox::error(this, fromUtf8(read.failure().reason));
        return;
    }
    QString question = QString::fromUtf8(kReplaceQuestion).arg(QFileInfo(chosen).fileName());
    for (const std::string& problem : read->problems) {
        question += QStringLiteral("\n\n") + fromUtf8(problem);
    }
    if (!MessageBox::confirm(this, question)) {
        return;
    }
    changes_ = std::move(read->changes);
    showMenu({});
}

void MenuItemsForm::OkButtonClick() {
    session_.menuChanges() = changes_;
    close();
    emit ChangesKept();
}

void MenuItemsForm::CancelButtonClick() {
    close();
}

void MenuItemsForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        CancelButtonClick();
        return;
    }
    SecondaryForm::keyPressEvent(event);
}

bool MenuItemsForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched != ItemsTree || event->type() != QEvent::KeyPress) {
        return SecondaryForm::eventFilter(watched, event);
    }
    const int key = static_cast<QKeyEvent*>(event)->key();
    // The tree would take Escape for itself.
    if (key == Qt::Key_Escape) {
        CancelButtonClick();
        return true;
    }
    if (!selectedOwnItem()) {
        return SecondaryForm::eventFilter(watched, event);
    }
    switch (key) {
    case Qt::Key_Delete:
        RemoveButtonClick();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditButtonClick();
        return true;
    default:
        return SecondaryForm::eventFilter(watched, event);
    }
}

} // namespace tavu
