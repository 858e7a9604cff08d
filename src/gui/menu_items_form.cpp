#include "menu_items_form.h"

#include "menu_items_exchange.h"
#include "menu_tree.h"
#include "own_item_dialog.h"
#include "session.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tavu {

namespace {

constexpr char kNoProfileChosen[] =
    "Choose a profile first: this window shows the menu of the chosen profile.";

} // namespace

MenuItemsForm::MenuItemsForm(Session& session)
    : SecondaryForm(QString::fromUtf8(kMenuItemsCaption), Qt::WindowMaximizeButtonHint), session_(session) {
    buildControls();
}

MenuItemsForm::~MenuItemsForm() = default;

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
    tree_ = std::make_unique<MenuTree>(*ItemsTree);
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
            .arg(QString::fromStdString(profileName_).replace(QLatin1Char('&'), QStringLiteral("&&"))));
    ThisProfileRadio->setChecked(true);
    showMenu({});
    ItemsTree->setFocus();
    return {};
}

MenuListing MenuItemsForm::listing() const {
    return listMenuItemsToEdit(session_.profiles().profileNode(), session_.settings().options,
                               session_.vocabulary(), changes_, profileName_);
}

void MenuItemsForm::showMenu(const std::string& identity) {
    const MenuListing listed = listing();
    tree_->fill(listed, changes_, profileName_);
    {
        const QSignalBlocker blocker(ItemsTree);
        tree_->select(identity);
    }
    showSummary(listed);
    ItemsTreeSelect();
}

void MenuItemsForm::showChecks() {
    const MenuListing listed = listing();
    tree_->showChecks(listed, changes_, profileName_);
    showSummary(listed);
}

void MenuItemsForm::showSummary(const MenuListing& listed) {
    const auto off = std::ranges::count(listed.items, false, &MenuItem::on);
    const auto own =
        std::ranges::count_if(listed.items, [](const MenuItem& item) { return item.ownItem.has_value(); });
    QString summary = QStringLiteral("The menu of %1: %2 items, %3 switched off, %4 own.")
                          .arg(QString::fromStdString(profileName_))
                          .arg(listed.items.size())
                          .arg(off)
                          .arg(own);
    if (listed.stop) {
        summary += QLatin1Char(' ') + QString::fromStdString(listed.stop->description());
    }
    SummaryLabel->setText(summary);
}

bool MenuItemsForm::selectItem(const std::string& identity) {
    return tree_->select(identity);
}

std::optional<std::size_t> MenuItemsForm::selectedOwnItem() const {
    const MenuItem* selected = tree_->selected();
    return selected != nullptr ? selected->ownItem : std::nullopt;
}

std::optional<std::size_t> MenuItemsForm::neighbourOfSelected(int step) const {
    const auto own = selectedOwnItem();
    return own ? ownItemNeighbour(tree_->items(), *own, step) : std::nullopt;
}

SwitchScope MenuItemsForm::switchScope() const {
    return ThisProfileRadio->isChecked() ? SwitchScope::ThisProfile : SwitchScope::EveryProfile;
}

void MenuItemsForm::ItemsTreeSelect() {
    const bool own = selectedOwnItem().has_value();
    EditButton->setEnabled(own);
    RemoveButton->setEnabled(own);
    MoveUpButton->setEnabled(neighbourOfSelected(-1).has_value());
    MoveDownButton->setEnabled(neighbourOfSelected(1).has_value());
}

void MenuItemsForm::ItemsTreeChange(QTreeWidgetItem* item, int column) {
    const MenuItem* listed = tree_->listedAt(item);
    const std::string submenu = MenuTree::submenuIdentity(item);
    if (column != 0 || (listed == nullptr && submenu.empty())) {
        return;
    }
    const bool checked = item->checkState(0) == Qt::Checked;
    if (listed != nullptr && checked == listed->on) {
        return;
    }
    const std::vector<std::string>& every = session_.profiles().names();
    if (listed != nullptr && listed->ownItem) {
        changes_.switchOwnItem(*listed->ownItem, checked, profileName_, switchScope(), every);
    } else if (checked) {
        changes_.switchOn(listed != nullptr ? listed->identity : submenu, profileName_, every);
    } else {
        changes_.switchOff(listed != nullptr ? listed->identity : submenu, profileName_, switchScope());
    }
    // Switching a submenu on or off changes every item in it.
    showChecks();
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
    std::size_t index = 0;
    if (editedOwnItem_) {
        index = *editedOwnItem_;
        changes_.replaceOwnItem(index, ownItemDialog_->item());
    } else {
        index = changes_.addOwnItem(ownItemDialog_->item());
    }
    showMenu(ownItemIdentity(index));
}

void MenuItemsForm::RemoveButtonClick() {
    if (const auto index = selectedOwnItem()) {
        changes_.removeOwnItem(*index);
        showMenu({});
    }
}

void MenuItemsForm::MoveUpButtonClick() {
    moveSelectedOwnItem(-1);
}

void MenuItemsForm::MoveDownButtonClick() {
    moveSelectedOwnItem(1);
}

void MenuItemsForm::moveSelectedOwnItem(int step) {
    const auto moved = selectedOwnItem();
    const auto neighbour = neighbourOfSelected(step);
    if (!moved || !neighbour) {
        return;
    }
    changes_.tradeOwnItems(*moved, *neighbour);
    showMenu(ownItemIdentity(*neighbour));
}

void MenuItemsForm::ExportButtonClick() {
    exportMenuItems(this, changes_, session_.settingsFile());
}

void MenuItemsForm::ImportButtonClick() {
    if (std::optional<MenuChanges> imported = importMenuItems(this)) {
        changes_ = std::move(*imported);
        showMenu({});
    }
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
