#pragma once

#include "preview/menu_preview.h"
#include "secondary_form.h"

#include <string_view>
#include <vector>

class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavu {

inline constexpr char kPreviewCaption[] = "TAVU Menu preview";

// The Menu preview: the hub menu and the user-list menu as a client builds them
// from the main window's output, and the problems found in it. It shows the
// output as it was when the window was opened.
class TPreviewForm : public SecondaryForm {
    Q_OBJECT
public:
    TPreviewForm();

    // Refuses an output of white space alone; fills the window from any other.
    QString takeOutput(const QString& output) override;

signals:
    // The operator asked for the window of own items and items switched off.
    void MenuItemsRequested();

private slots:
    void FindingsListDoubleClick(QTreeWidgetItem* finding);
    void CloseButtonClick();
    void MenuItemsButtonClick();

private:
    void FormShow(std::string_view output);
    void buildControls();
    QTreeWidget* placeMenuTree(const char* name, const char* caption);
    void showFindings(const std::vector<preview::Finding>& findings);
    struct TreeItem {
        QTreeWidget* tree = nullptr;
        QTreeWidgetItem* item = nullptr;
    };
    // The tree item a piece made, looked for first in the menu on show.
    TreeItem itemOfPiece(std::size_t piece) const;

    QLabel* SummaryLabel;
    QTabWidget* MenuTabs;
    QTreeWidget* HubMenuTree;
    QTreeWidget* UserListMenuTree;
    QTreeWidget* FindingsList;
    QPushButton* MenuItemsButton;
    QPushButton* CloseButton;
};

} // namespace tavu
