#pragma once

#include "generator/menu_changes.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace tavu {

inline constexpr char kOwnItemCaption[] = "Own item";

// The small form of one own item: its title path, menus, command, whether it
// is a separator, and its profiles. OK takes only an item that can be written
// into a menu; otherwise the form stays open and says why.
class OwnItemDialog : public QDialog {
    Q_OBJECT
public:
    explicit OwnItemDialog(QWidget* parent);

    // Fills the form from `item`; `profileNames` are offered as the profiles
    // to choose from, besides those the item names already.
    void setItem(const OwnItem& item, const std::vector<std::string>& profileNames);
    // The item as the form holds it, with the values it could not read
    // forgotten, since the operator has now given each of them.
    OwnItem item() const;

public slots:
    void accept() override;

private:
    void buildControls();
    void SeparatorBoxClick();
    void showProfileChoice();
    ProfileChoice profiles() const;

    QLineEdit* PathEdit;
    QComboBox* MenusComboBox;
    QLineEdit* CommandEdit;
    QCheckBox* SeparatorBox;
    QRadioButton* EveryProfileRadio;
    QRadioButton* ChosenProfilesRadio;
    QListWidget* ProfilesList;
    QLabel* ProblemLabel;

    // The item being edited, for the values the form does not show.
    OwnItem original_;
};

} // namespace tavu
