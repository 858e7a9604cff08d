#pragma once

#include "generator/generator.h"
#include "generator/menu_changes.h"
#include "secondary_form.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavu {

class MenuTree;
class OwnItemDialog;
class Session;

inline constexpr char kMenuItemsCaption[] = "TAVU Menu items";

// The chosen profile's menu as a tree: every generated item with a check box
// that switches it off, and the own items where they are written, with the
// buttons that add, edit, remove, move, export and import them. The window
// works on a copy of the session's menu changes: OK puts the copy into the
// session, which writes it at close; Cancel, Escape and the close box drop it.
class MenuItemsForm : public SecondaryForm {
    Q_OBJECT
public:
    explicit MenuItemsForm(Session& session);
    ~MenuItemsForm() override;

    // Refuses when no profile is chosen; otherwise shows the chosen profile's
    // menu with the session's changes.
    QString takeOutput(const QString& output) override;

    // Selects the item of that identity in the tree and scrolls to it, as
    // another window opens this one at an item; false when no item has it.
    bool selectItem(const std::string& identity);

signals:
    // OK put the window's changes into the session.
    void ChangesKept();

private slots:
    void ItemsTreeChange(QTreeWidgetItem* item, int column);
    void ItemsTreeSelect();
    void AddButtonClick();
    void EditButtonClick();
    void RemoveButtonClick();
    void MoveUpButtonClick();
    void MoveDownButtonClick();
    void ExportButtonClick();
    void ImportButtonClick();
    void OkButtonClick();
    void CancelButtonClick();
    void OwnItemDialogAccept();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    QPushButton* addButton(const char* name, const char* caption, const char* hint);
    MenuListing listing() const;
    // Fills the tree anew from one listing and selects the item of `identity`, if any.
    void showMenu(const std::string& identity);
    // Sets every check box and the summary from one new listing.
    void showChecks();
    void showSummary(const MenuListing& listed);
    // The index in the changes of the selected own item.
    std::optional<std::size_t> selectedOwnItem() const;
    // The own item the selected one trades places with `step` ways.
    std::optional<std::size_t> neighbourOfSelected(int step) const;
    SwitchScope switchScope() const;
    void moveSelectedOwnItem(int step);
    void editOwnItem(const OwnItem& item, std::optional<std::size_t> index);

    QLabel* SummaryLabel;
    QTreeWidget* ItemsTree;
    QRadioButton* ThisProfileRadio;
    QRadioButton* EveryProfileRadio;
    QPushButton* AddButton;
    QPushButton* EditButton;
    QPushButton* RemoveButton;
    QPushButton* MoveUpButton;
    QPushButton* MoveDownButton;
    QPushButton* ExportButton;
    QPushButton* ImportButton;
    QPushButton* OkButton;
    QPushButton* CancelButton;
    OwnItemDialog* ownItemDialog_;

    Session& session_;
    // The changes as the window holds them until OK or Cancel.
    MenuChanges changes_;
    std::string profileName_;
    std::unique_ptr<MenuTree> tree_;
    // The own item the dialog edits; none when it adds one.
    std::optional<std::size_t> editedOwnItem_;
};

} // namespace tavu
