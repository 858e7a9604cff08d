#pragma once

#include "matrix/profile_matrix.h"
#include "secondary_form.h"

#include <memory>
#include <optional>

class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QSortFilterProxyModel;
class QTreeView;

namespace tavu {

class MatrixModel;
class Session;

inline constexpr char kProfilesGlanceCaption[] = "TAVU Profiles at a glance";

// Every profile of the profiles file side by side, as generate writes each
// profile's block with the session's options, words and menu changes: the
// items as a tree of submenus that fold, on the left, and a column for each
// profile with its count of items, the chosen one marked. The paths and the
// header stay in view while the columns scroll; a filter keeps the items
// whose path or identity holds its text; a cell's tooltip is the item's
// command. Export writes the matrix as CSV or as a web page.
class ProfilesGlanceForm : public SecondaryForm {
    Q_OBJECT
public:
    explicit ProfilesGlanceForm(Session& session);
    ~ProfilesGlanceForm() override;

    // Refuses when no profiles file is loaded, or when a profile's
    // generation stops; otherwise shows the matrix anew.
    QString takeOutput(const QString& output) override;

signals:
    // A cell was double-clicked: the Menu items window is asked for that
    // profile, at that item.
    void MenuItemsRequested(int profile, const QString& identity);

private slots:
    void FilterEditChange(const QString& text);
    void MarksViewDoubleClick(const QModelIndex& index);
    void ExportButtonClick();

private:
    void buildControls();
    void joinViews();

    QLabel* SummaryLabel;
    QLineEdit* FilterEdit;
    QTreeView* PathsView;
    QTreeView* MarksView;
    QPushButton* ExportButton;
    QPushButton* CloseButton;

    Session& session_;
    std::optional<ProfileMatrix> matrix_;
    std::unique_ptr<MatrixModel> model_;
    QSortFilterProxyModel* filter_;
};

} // namespace tavu
