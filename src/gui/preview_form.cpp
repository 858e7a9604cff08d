#include "preview_form.h"

#include "formats/code_page.h"
#include "hub/hub_session.h"
#include "try_in_client_panel.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <array>
#include <string>

namespace tavu {

namespace {

using preview::Finding;
using preview::MenuNode;

constexpr char kNothingToPreview[] = "A preview of nothing looks like nothing. Create some commands first.";
// Where a tree item or a finding keeps the number of its piece.
constexpr int kPieceRole = Qt::UserRole;
// A separator is a line across the title column; the font need not have a
// line-drawing glyph, the fallback font draws it.
const QString kSeparatorLine(24, QChar(0x2500));

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString joined(const std::vector<std::string>& prompts) {
    QStringList titles;
    for (const std::string& prompt : prompts) {
        titles << fromUtf8(prompt);
    }
    return titles.join(QStringLiteral(", "));
}

QTreeWidgetItem* menuItem(const MenuNode& node) {
    auto* item = new QTreeWidgetItem;
    switch (node.kind) {
    case MenuNode::Kind::Separator:
        item->setText(0, kSeparatorLine);
        item->setData(0, kPieceRole, QVariant::fromValue(node.piece));
        break;
    case MenuNode::Kind::Submenu:
        item->setText(0, fromUtf8(node.title));
        break;
    case MenuNode::Kind::Item:
        item->setText(0, fromUtf8(node.title));
        item->setText(1, fromUtf8(node.command));
        item->setText(2, joined(node.prompts));
        item->setData(0, kPieceRole, QVariant::fromValue(node.piece));
        break;
    }
    return item;
}

// Adds the entries under `parent`; returns how many of them, at any depth, are items.
int addEntries(QTreeWidgetItem* parent, const std::vector<MenuNode>& entries) {
    int items = 0;
    for (const MenuNode& node : entries) {
        QTreeWidgetItem* item = menuItem(node);
        parent->addChild(item);
        // Spanning needs the item in its tree.
        item->setFirstColumnSpanned(node.kind == MenuNode::Kind::Separator);
        items += node.kind == MenuNode::Kind::Item ? 1 : addEntries(item, node.children);
    }
    return items;
}

int showMenu(QTreeWidget* tree, const std::vector<MenuNode>& menu) {
    tree->clear();
    const int items = addEntries(tree->invisibleRootItem(), menu);
    // The top level is usually one submenu; its groups are what the operator looks for.
    tree->expandToDepth(0);
    return items;
}

QString counted(qsizetype count, const char* noun) {
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(noun) +
           (count == 1 ? QString() : QStringLiteral("s"));
}

QStringList findingColumns(const Finding& finding) {
    return {finding.isError() ? QStringLiteral("error") : QStringLiteral("warning"),
            QString::number(finding.piece), QString::number(finding.line), fromUtf8(finding.detail)};
}

QTreeWidget* newTree(QWidget* parent, const char* name, const QStringList& columns) {
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(QString::fromLatin1(name));
    tree->setHeaderLabels(columns);
    tree->setUniformRowHeights(true);
    return tree;
}

} // namespace

TPreviewForm::TPreviewForm()
    : SecondaryForm(QString::fromUtf8(kPreviewCaption), Qt::WindowMaximizeButtonHint) {
    buildControls();
}

TPreviewForm::~TPreviewForm() = default;

void TPreviewForm::buildControls() {
    resize(760, 520);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    ClientComboBox = new QComboBox(this);
    ClientComboBox->setObjectName(QStringLiteral("ClientComboBox"));
    ClientComboBox->addItems({QStringLiteral("EiskaltDC++"), QStringLiteral("DC++ and AirDC++")});
    ClientComboBox->setStatusTip(QStringLiteral("Show the menus and findings of this client family"));
    MenuTabs = new QTabWidget(this);
    MenuTabs->setObjectName(QStringLiteral("MenuTabs"));
    HubMenuTree = placeMenuTree("HubMenuTree", "Hub menu");
    UserListMenuTree = placeMenuTree("UserListMenuTree", "User-list menu");
    FindingsList = newTree(this, "FindingsList", {"Severity", "Piece", "Line", "Message"});
    FindingsList->setRootIsDecorated(false);
    FindingsList->setColumnWidth(0, 70);
    FindingsList->setColumnWidth(1, 50);
    FindingsList->setColumnWidth(2, 50);
    MenuItemsButton = new QPushButton(QStringLiteral("Menu items\u2026"), this);
    MenuItemsButton->setObjectName(QStringLiteral("MenuItemsButton"));
    MenuItemsButton->setStatusTip(QStringLiteral("Switch generated items off and add own items"));
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    CloseButton->setFixedSize(75, 21);
    TryButton = new QPushButton(QStringLiteral("Try in client\u2026"), this);
    TryButton->setObjectName(QStringLiteral("TryButton"));
    TryButton->setStatusTip(QStringLiteral(
        "Serve this output on this machine and try the menu in your own Direct Connect client"));

    // The menus and the findings share the height as the operator drags the bar.
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->addWidget(MenuTabs);
    splitter->addWidget(FindingsList);
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(TryButton);
    buttons->addWidget(MenuItemsButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(SummaryLabel);
    layout->addLayout(clientRow());
    layout->addWidget(splitter, 1);
    TryPanel = new TryInClientPanel(this);
    layout->addWidget(TryPanel);
    layout->addLayout(buttons);

    connect(FindingsList, &QTreeWidget::itemDoubleClicked, this, &TPreviewForm::FindingsListDoubleClick);
    connect(ClientComboBox, &QComboBox::currentIndexChanged, this, &TPreviewForm::ClientComboBoxChange);
    connect(CloseButton, &QPushButton::clicked, this, &TPreviewForm::CloseButtonClick);
    connect(MenuItemsButton, &QPushButton::clicked, this, &TPreviewForm::MenuItemsButtonClick);
    connect(TryButton, &QPushButton::clicked, this, &TPreviewForm::TryButtonClick);
}

// "Client:" and the choice of family above the trees; Alt+C reaches it.
QHBoxLayout* TPreviewForm::clientRow() {
    auto* label = new QLabel(QStringLiteral("&Client:"), this);
    label->setBuddy(ClientComboBox);
    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(ClientComboBox);
    row->addStretch();
    return row;
}

void TPreviewForm::ClientComboBoxChange() {
    if (!output_.empty()) {
        FormShow(output_);
    }
}

QTreeWidget* TPreviewForm::placeMenuTree(const char* name, const char* caption) {
    QTreeWidget* tree = newTree(MenuTabs, name, {"Title", "Command", "Prompts"});
    tree->setColumnWidth(0, 240);
    tree->setColumnWidth(1, 320);
    MenuTabs->addTab(tree, QString::fromUtf8(caption));
    return tree;
}

QString TPreviewForm::takeOutput(const QString& output) {
    // White space alone is no piece at all for a client.
    if (output.trimmed().isEmpty()) {
        return QString::fromUtf8(kNothingToPreview);
    }
    output_ = output.toStdString();
    FormShow(output_);
    // A hub that runs serves the new output at once, as `tavu-cli serve
    // --reload` does: the clients get the clear command, then the new menu.
    TryPanel->setMenu(hubMenu());
    return {};
}

hub::HubMenu TPreviewForm::hubMenu() const {
    const std::string description = "You are looking at the output of the Menu preview, encoded as " +
                                    std::string(codePageName(CodePage::Utf8)) + ".";
    return hub::HubMenu{output_, description, CodePage::Utf8};
}

void TPreviewForm::FormShow(std::string_view output) {
    // DC++ and AirDC++ differ only in how many commands they keep; the menus
    // shown for both are those of AirDC++, which keeps fewer, and the
    // findings name each of them.
    const bool windowsFamily = ClientComboBox->currentIndex() == 1;
    const preview::MenuPreview menus =
        windowsFamily ? preview::previewUserCommands(output, preview::ClientFamily::AirDcpp,
                                                     preview::only(preview::ClientFamily::Dcpp) |
                                                         preview::only(preview::ClientFamily::AirDcpp))
                      : preview::previewUserCommands(output, preview::ClientFamily::EiskaltDc,
                                                     preview::only(preview::ClientFamily::EiskaltDc));
    const int hubItems = showMenu(HubMenuTree, menus.hubMenu);
    const int userListItems = showMenu(UserListMenuTree, menus.userListMenu);
    showFindings(menus.findings);
    SummaryLabel->setText(QStringLiteral("Hub menu: %1. User-list menu: %2. %3.")
                              .arg(counted(hubItems, "item"), counted(userListItems, "item"),
                                   menus.findings.empty()
                                       ? QStringLiteral("No findings")
                                       : counted(static_cast<qsizetype>(menus.findings.size()), "finding")));
    MenuTabs->setCurrentWidget(HubMenuTree);
}

void TPreviewForm::showFindings(const std::vector<Finding>& findings) {
    FindingsList->clear();
    for (const Finding& finding : findings) {
        auto* row = new QTreeWidgetItem(FindingsList, findingColumns(finding));
        row->setData(0, kPieceRole, QVariant::fromValue(finding.piece));
        row->setToolTip(3, row->text(3));
    }
}

TPreviewForm::TreeItem TPreviewForm::itemOfPiece(std::size_t piece) const {
    auto* shown = static_cast<QTreeWidget*>(MenuTabs->currentWidget());
    const std::array<QTreeWidget*, 2> order{shown, shown == HubMenuTree ? UserListMenuTree : HubMenuTree};
    for (QTreeWidget* candidate : order) {
        for (QTreeWidgetItemIterator it(candidate); *it != nullptr; ++it) {
            const QVariant itemPiece = (*it)->data(0, kPieceRole);
            if (itemPiece.isValid() && itemPiece.value<std::size_t>() == piece) {
                return {candidate, *it};
            }
        }
    }
    return {};
}

void TPreviewForm::FindingsListDoubleClick(QTreeWidgetItem* finding) {
    // Pieces that are in no menu (chat text, unreadable or dropped commands)
    // have nothing to select.
    const auto [tree, item] = itemOfPiece(finding->data(0, kPieceRole).value<std::size_t>());
    if (item == nullptr) {
        return;
    }
    MenuTabs->setCurrentWidget(tree);
    tree->setCurrentItem(item);
    tree->scrollToItem(item);
    tree->setFocus();
}

void TPreviewForm::CloseButtonClick() {
    close();
}

void TPreviewForm::TryButtonClick() {
    // One hub for the window: a second click leaves the clients where they are.
    TryPanel->start(hubMenu());
}

void TPreviewForm::closeEvent(QCloseEvent* event) {
    SecondaryForm::closeEvent(event);
    if (event->isAccepted()) {
        TryPanel->stop();
    }
}

void TPreviewForm::MenuItemsButtonClick() {
    // The preview stays open under the Menu items window, with its hub and
    // what the clients sent, to try the changed menu at once.
    emit MenuItemsRequested();
}

} // namespace tavu
