#include "profiles_glance_form.h"

#include "base/escaping.h"
#include "file_dialog.h"
#include "generation/profile_generation.h"
#include "matrix/matrix_export.h"
#include "message_box.h"
#include "platform/date_text.h"
#include "session.h"

#include <QAbstractItemModel>
#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <cstring>
#include <map>
#include <string_view>
#include <utility>
#include <vector>

namespace tavu {

namespace {

constexpr char kNothingLoaded[] = "Open a profiles file first: this window shows every profile in it.";
constexpr char kExportCaption[] = "Export profiles at a glance";
constexpr char kExportStartFile[] = "profiles.csv";
constexpr char kExportFilter[] = "CSV (*.csv);;Web page (*.html *.htm)";
// What the filter looks in: the item's path and identity.
constexpr int kFilterRole = Qt::UserRole;
constexpr int kMarkColumnWidth = 76;
const QString kSeparatorLine(12, QChar(0x2500));

QString fromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Text from the hub's file as the window shows it: every control character
// written visibly, as the command line writes names.
QString visible(std::string_view text) {
    return fromUtf8(escapedControls(text, {}));
}

} // namespace

// The matrix as a tree: each submenu a row over its items, a column for the
// titles and one for each profile. Every cell is read from the matrix when
// it is painted, so that a thousand profiles cost no more than the columns
// in view.
class MatrixModel : public QAbstractItemModel {
public:
    // `font`: the views', which an own item's title and the chosen profile's name vary.
    MatrixModel(const ProfileMatrix& matrix, std::optional<int> chosen, const QFont& font)
        : matrix_(matrix), chosen_(chosen), font_(font) {
        nodes_.push_back(Node{});
        std::map<std::pair<int, std::string_view>, int> submenus;
        for (std::size_t item = 0; item < matrix.items().size(); ++item) {
            int parent = 0;
            std::string_view rest = matrix.items()[item].path;
            for (auto cut = rest.find('\\'); cut != std::string_view::npos; cut = rest.find('\\')) {
                const std::string_view title = rest.substr(0, cut);
                const auto [found, added] =
                    submenus.try_emplace({parent, title}, static_cast<int>(nodes_.size()));
                if (added) {
                    addNode(parent, -1, title);
                }
                parent = found->second;
                rest.remove_prefix(cut + 1);
            }
            addNode(parent, static_cast<int>(item), rest);
        }
    }

    // The item of a row; none for a submenu.
    const MatrixItem* itemAt(const QModelIndex& index) const {
        const Node& node = nodes_[nodeOf(index)];
        return node.item < 0 ? nullptr : &matrix_.items()[static_cast<std::size_t>(node.item)];
    }

    QModelIndex index(int row, int column, const QModelIndex& parent) const override {
        const Node& node = nodes_[nodeOf(parent)];
        if (row < 0 || row >= static_cast<int>(node.children.size()) || column < 0 ||
            column >= columnCount({})) {
            return {};
        }
        return createIndex(row, column, static_cast<quintptr>(node.children[static_cast<std::size_t>(row)]));
    }

    QModelIndex parent(const QModelIndex& child) const override {
        const int parent = nodes_[nodeOf(child)].parent;
        return parent <= 0 ? QModelIndex()
                           : createIndex(nodes_[static_cast<std::size_t>(parent)].row, 0, parent);
    }

    int rowCount(const QModelIndex& parent) const override {
        return parent.column() > 0 ? 0 : static_cast<int>(nodes_[nodeOf(parent)].children.size());
    }

    int columnCount(const QModelIndex&) const override {
        return static_cast<int>(matrix_.profiles().size()) + 1;
    }

    QVariant data(const QModelIndex& index, int role) const override {
        const Node& node = nodes_[nodeOf(index)];
        const MatrixItem* item = itemAt(index);
        // One height for every row of both views, whatever glyph a mark takes,
        // so that their rows stay side by side.
        if (role == Qt::SizeHintRole) {
            return QSize(-1, QFontMetrics(font_).height() + 4);
        }
        if (index.column() == 0) {
            return titleData(node, item, role);
        }
        const auto profile = static_cast<std::size_t>(index.column() - 1);
        if (role == Qt::BackgroundRole && chosen_ == index.column() - 1) {
            return QColor(255, 244, 204);
        }
        if (item == nullptr) {
            return {};
        }
        const Mark mark = matrix_.mark(static_cast<std::size_t>(node.item), profile);
        switch (role) {
        case Qt::DisplayRole:
            return mark == Mark::Written ? QStringLiteral("\u2713") : fromUtf8(markText(mark));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(Qt::AlignCenter);
        case Qt::ForegroundRole:
            return mark == Mark::SwitchedOff ? QVariant(QColor(Qt::gray)) : QVariant();
        case Qt::ToolTipRole:
            return commandTip(*item);
        default:
            return {};
        }
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation != Qt::Horizontal) {
            return {};
        }
        if (section == 0) {
            return role == Qt::DisplayRole ? QVariant(QStringLiteral("Item")) : QVariant();
        }
        const auto profile = static_cast<std::size_t>(section - 1);
        const bool chosen = chosen_ == section - 1;
        switch (role) {
        case Qt::DisplayRole:
            return (chosen ? QStringLiteral("\u25B6 ") : QString()) + visible(matrix_.profiles()[profile]) +
                   QStringLiteral("\n%1").arg(matrix_.writtenCount(profile));
        case Qt::ToolTipRole:
            return QStringLiteral("<p>%1</p>").arg(visible(matrix_.profiles()[profile]).toHtmlEscaped());
        case Qt::FontRole: {
            QFont font = font_;
            font.setBold(chosen);
            return font;
        }
        default:
            return {};
        }
    }

private:
    struct Node {
        int parent = -1;
        int row = 0;   // among its parent's children
        int item = -1; // in the matrix; -1 for a submenu
        std::string_view title;
        std::vector<int> children;
    };

    void addNode(int parent, int item, std::string_view title) {
        const auto above = static_cast<std::size_t>(parent);
        const auto row = static_cast<int>(nodes_[above].children.size());
        nodes_.push_back(Node{parent, row, item, title, {}});
        nodes_[above].children.push_back(static_cast<int>(nodes_.size()) - 1);
    }

    static std::size_t nodeOf(const QModelIndex& index) {
        return index.isValid() ? static_cast<std::size_t>(index.internalId()) : 0;
    }

    QVariant titleData(const Node& node, const MatrixItem* item, int role) const {
        switch (role) {
        case Qt::DisplayRole:
            return item != nullptr && item->separator ? kSeparatorLine : visible(node.title);
        case Qt::ToolTipRole:
            return item == nullptr ? QVariant() : commandTip(*item);
        case Qt::FontRole: {
            QFont font = font_;
            font.setItalic(item != nullptr && item->own);
            return font;
        }
        case kFilterRole:
            return item == nullptr ? visible(node.title)
                                   : visible(item->path) + QLatin1Char('\n') + visible(item->identity);
        default:
            return {};
        }
    }

    // Rich text, so that a command is never taken for markup of its own.
    static QVariant commandTip(const MatrixItem& item) {
        return QStringLiteral("<p style='white-space:pre'>%1</p>").arg(visible(item.command).toHtmlEscaped());
    }

    const ProfileMatrix& matrix_;
    std::optional<int> chosen_;
    QFont font_;
    std::vector<Node> nodes_; // the root first
};

ProfilesGlanceForm::ProfilesGlanceForm(Session& session)
    : SecondaryForm(QString::fromUtf8(kProfilesGlanceCaption), Qt::WindowMaximizeButtonHint),
      session_(session) {
    buildControls();
}

ProfilesGlanceForm::~ProfilesGlanceForm() = default;

void ProfilesGlanceForm::buildControls() {
    resize(760, 560);
    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    SummaryLabel->setTextFormat(Qt::PlainText);
    FilterEdit = new QLineEdit(this);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setPlaceholderText(QStringLiteral("Filter by path or identity"));
    FilterEdit->setClearButtonEnabled(true);
    FilterEdit->setStatusTip(QStringLiteral("Show only the items whose path or identity holds this text"));
    PathsView = new QTreeView(this);
    PathsView->setObjectName(QStringLiteral("PathsView"));
    PathsView->setStatusTip(QStringLiteral("The items of every profile's menu; click a submenu to fold it"));
    MarksView = new QTreeView(this);
    MarksView->setObjectName(QStringLiteral("MarksView"));
    MarksView->setStatusTip(QStringLiteral("\u2713: the profile's menu has the item; off: switched off. "
                                           "Double-click to open the Menu items window there"));
    for (QTreeView* view : {PathsView, MarksView}) {
        view->setUniformRowHeights(true);
        view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->header()->setSectionsMovable(false);
        view->header()->setDefaultAlignment(Qt::AlignCenter);
    }
    PathsView->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PathsView->setFixedWidth(300);
    MarksView->setRootIsDecorated(false);
    MarksView->setItemsExpandable(false);
    MarksView->header()->setDefaultSectionSize(kMarkColumnWidth);
    MarksView->header()->setStretchLastSection(false);
    ExportButton = new QPushButton(QStringLiteral("Export\u2026"), this);
    ExportButton->setObjectName(QStringLiteral("ExportButton"));
    ExportButton->setStatusTip(QStringLiteral("Write the table to a CSV file or a web page"));
    CloseButton = new QPushButton(QStringLiteral("Close"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    filter_ = new QSortFilterProxyModel(this);
    filter_->setRecursiveFilteringEnabled(true);
    filter_->setFilterRole(kFilterRole);
    filter_->setFilterCaseSensitivity(Qt::CaseInsensitive);

    auto* top = new QHBoxLayout;
    top->addWidget(SummaryLabel, 1);
    top->addWidget(FilterEdit);
    auto* table = new QHBoxLayout;
    table->setSpacing(0);
    table->addWidget(PathsView);
    table->addWidget(MarksView, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportButton);
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addLayout(table, 1);
    layout->addLayout(buttons);

    connect(FilterEdit, &QLineEdit::textChanged, this, &ProfilesGlanceForm::FilterEditChange);
    connect(MarksView, &QTreeView::doubleClicked, this, &ProfilesGlanceForm::MarksViewDoubleClick);
    connect(ExportButton, &QPushButton::clicked, this, &ProfilesGlanceForm::ExportButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
}

QString ProfilesGlanceForm::takeOutput(const QString&) {
    const ProfilesDocument* document = session_.profiles().document();
    if (document == nullptr) {
        return QString::fromUtf8(kNothingLoaded);
    }
    const GenerationInput input{
        session_.settings().options, session_.vocabulary(), todayText(), {}, session_.menuChanges(), {}};
    auto built = buildProfileMatrix(*document, input);
    if (!built) {
        return visible("The profile " + quotedText(built.failure().name) + " cannot be shown. ") +
               fromUtf8(built.failure().stop.description());
    }
    const bool chosen = session_.profiles().state() == ProfileState::Chosen;
    // The views let go of the old model before it goes.
    filter_->setSourceModel(nullptr);
    matrix_ = std::move(built).value();
    model_ = std::make_unique<MatrixModel>(
        *matrix_, chosen ? std::optional(session_.profiles().index()) : std::nullopt, PathsView->font());
    filter_->setSourceModel(model_.get());
    joinViews();
    SummaryLabel->setText(
        QStringLiteral("%1 items, %2 profiles").arg(matrix_->items().size()).arg(matrix_->profiles().size()));
    if (chosen) {
        MarksView->scrollTo(filter_->index(0, session_.profiles().index() + 1));
    }
    return {};
}

// Two views of one model: the paths on the left stay while the profiles'
// columns scroll, and both fold, scroll and select as one.
void ProfilesGlanceForm::joinViews() {
    PathsView->setModel(filter_);
    MarksView->setModel(filter_);
    MarksView->setSelectionModel(PathsView->selectionModel());
    for (int column = 1; column < filter_->columnCount(); ++column) {
        PathsView->setColumnHidden(column, true);
    }
    MarksView->setColumnHidden(0, true);
    PathsView->header()->setStretchLastSection(true);
    connect(PathsView, &QTreeView::expanded, MarksView, &QTreeView::expand, Qt::UniqueConnection);
    connect(PathsView, &QTreeView::collapsed, MarksView, &QTreeView::collapse, Qt::UniqueConnection);
    connect(MarksView->verticalScrollBar(), &QScrollBar::valueChanged, PathsView->verticalScrollBar(),
            &QScrollBar::setValue, Qt::UniqueConnection);
    connect(PathsView->verticalScrollBar(), &QScrollBar::valueChanged, MarksView->verticalScrollBar(),
            &QScrollBar::setValue, Qt::UniqueConnection);
    PathsView->expandAll();
    MarksView->expandAll();
    const int headerHeight =
        std::max(PathsView->header()->sizeHint().height(), MarksView->header()->sizeHint().height());
    PathsView->header()->setFixedHeight(headerHeight);
    MarksView->header()->setFixedHeight(headerHeight);
}

void ProfilesGlanceForm::FilterEditChange(const QString& text) {
    filter_->setFilterFixedString(text);
    // What the filter lets through is shown unfolded.
    PathsView->expandAll();
    MarksView->expandAll();
}

void ProfilesGlanceForm::MarksViewDoubleClick(const QModelIndex& index) {
    const MatrixItem* item = model_ == nullptr ? nullptr : model_->itemAt(filter_->mapToSource(index));
    if (item != nullptr && index.column() > 0) {
        emit MenuItemsRequested(index.column() - 1, fromUtf8(item->identity));
    }
}

void ProfilesGlanceForm::ExportButtonClick() {
    if (!matrix_) {
        return;
    }
    const QString chosen = FileDialog::getSaveFileName(
        this, QString::fromUtf8(kExportCaption), QString::fromUtf8(kExportStartFile),
        QString::fromUtf8(kExportFilter), QStringLiteral("csv"));
    if (chosen.isEmpty()) {
        return;
    }
    const auto written =
        writeMatrixFile(*matrix_, QFileInfo(chosen).filesystemFilePath(), "Profiles at a glance");
    if (!written) {
        MessageBox::error(this,
                          QStringLiteral("Unable to write to %1\n%2.")
                              .arg(chosen, QString::fromLocal8Bit(std::strerror(written.failure().reason))));
    }
}

} // namespace tavu
