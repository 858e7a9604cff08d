#pragma once

#include "preview/menu_preview.h"
#include "secondary_form.h"

#include <string>
#include <string_view>
#include <vector>

class QComboBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavu {

class TryInClientPanel;

namespace hub {
struct HubMenu;
} // namespace hub

inline constexpr char kPreviewCaption[] = "TAVU Menu preview";

// The Menu preview: the hub menu and the user-list menu as a client builds them
// from the main window's output, and the problems found in it. It shows the
// output as it was when the window was opened, or as it was handed over since.
// "Try in client…" serves that output on the loopback hub until the window
// closes.
class TPreviewForm : public SecondaryForm {
    Q_OBJECT
public:
    TPreviewForm();
    ~TPreviewForm() override;
    TPreviewForm(const TPreviewForm&) = delete;
    TPreviewForm& operator=(const TPreviewForm&) = delete;

    // Refuses an output of white space alone; fills the window from any other,
    // and a hub that runs sends it to its clients.
    QString takeOutput(const QString& output) override;

signals:
    // The operator asked for the window of own items and items switched off.
    void MenuItemsRequested();

private slots:
    void FindingsListDoubleClick(QTreeWidgetItem* finding);
    void ClientComboBoxChange();
    void CloseButtonClick();
    void MenuItemsButtonClick();
    void TryButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow(std::string_view output);
    hub::HubMenu hubMenu() const;
    void buildControls();
    QTreeWidget* placeMenuTree(const char* name, const char* caption);
    QHBoxLayout* clientRow();
    void showFindings(const std::vector<preview::Finding>& findings);
    struct TreeItem {
        QTreeWidget* tree = nullptr;
        QTreeWidgetItem* item = nullptr;
    };
    // The tree item a piece made, looked for first in the menu on show.
    TreeItem itemOfPiece(std::size_t piece) const;

    QLabel* SummaryLabel;
    QTabWidget* MenuTabs;
    QComboBox* ClientComboBox;
    QTreeWidget* HubMenuTree;
    QTreeWidget* UserListMenuTree;
    QTreeWidget* FindingsList;
    QPushButton* MenuItemsButton;
    QPushButton* CloseButton;
    QPushButton* TryButton;
    TryInClientPanel* TryPanel;

    std::string output_; // as shown, served by "Try in client…"
};

} // namespace tavu
