#include "own_item_dialog.h"

#include "settings/menu_changes_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

namespace tavu {

namespace {

// The entries of the menus box, in its order.
constexpr std::array kMenusChoices{std::pair{OwnItemMenus::Hub, "Hub menu"},
                                   std::pair{OwnItemMenus::UserList, "User list"},
                                   std::pair{OwnItemMenus::Both, "Both"}};

constexpr char kPathHint[] =
    "Submenus and title joined by \\. Begin with {wKey} elements to go into a generated "
    "submenu that follows the language, e.g. {wHubControl}\\Scripts\\Restart. For a "
    "separator, the submenu it goes in.";
constexpr char kCommandHint[] = "Typed as in main chat. %[nick] is the user clicked on, %[mynick] you, and "
                                "%[line:TITLE] asks for a text when the item is clicked.";
constexpr char kNoProfileChosen[] = "choose at least one profile, or every profile";

QLabel* hintLabel(QWidget* parent, const char* text) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setWordWrap(true);
    label->setEnabled(false);
    return label;
}

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

} // namespace

OwnItemDialog::OwnItemDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(kOwnItemCaption));
    setObjectName(QStringLiteral("OwnItemDialog"));
    setWindowModality(Qt::WindowModal);
    buildControls();
}

void OwnItemDialog::buildControls() {
    PathEdit = new QLineEdit(this);
    PathEdit->setObjectName(QStringLiteral("PathEdit"));
    MenusComboBox = new QComboBox(this);
    MenusComboBox->setObjectName(QStringLiteral("MenusComboBox"));
    for (const auto& [menus, caption] : kMenusChoices) {
        MenusComboBox->addItem(QString::fromUtf8(caption));
    }
    CommandEdit = new QLineEdit(this);
    CommandEdit->setObjectName(QStringLiteral("CommandEdit"));
    SeparatorBox = new QCheckBox(QStringLiteral("Separator"), this);
    SeparatorBox->setObjectName(QStringLiteral("SeparatorBox"));
    EveryProfileRadio = new QRadioButton(QStringLiteral("Every profile"), this);
    EveryProfileRadio->setObjectName(QStringLiteral("EveryProfileRadio"));
    ChosenProfilesRadio = new QRadioButton(QStringLiteral("These profiles:"), this);
    ChosenProfilesRadio->setObjectName(QStringLiteral("ChosenProfilesRadio"));
    ProfilesList = new QListWidget(this);
    ProfilesList->setObjectName(QStringLiteral("ProfilesList"));
    ProfilesList->setMaximumHeight(90);
    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setWordWrap(true);
    // Room for a reason from the start: the form keeps its size when one is shown.
    ProblemLabel->setMinimumHeight(ProblemLabel->fontMetrics().lineSpacing() * 3);
    ProblemLabel->setStyleSheet(QStringLiteral("color: #b00000"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OkButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Title path:"), PathEdit);
    form->addRow(QString(), hintLabel(this, kPathHint));
    form->addRow(QStringLiteral("Menus:"), MenusComboBox);
    form->addRow(QStringLiteral("Command:"), CommandEdit);
    form->addRow(QString(), hintLabel(this, kCommandHint));
    form->addRow(QString(), SeparatorBox);
    auto* profiles = new QVBoxLayout;
    profiles->addWidget(EveryProfileRadio);
    profiles->addWidget(ChosenProfilesRadio);
    profiles->addWidget(ProfilesList);
    form->addRow(QStringLiteral("Profiles:"), profiles);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(ProblemLabel);
    layout->addWidget(buttons);
    setMinimumWidth(460);

    connect(SeparatorBox, &QCheckBox::toggled, this, &OwnItemDialog::SeparatorBoxClick);
    connect(EveryProfileRadio, &QRadioButton::toggled, this, &OwnItemDialog::showProfileChoice);
    connect(buttons, &QDialogButtonBox::accepted, this, &OwnItemDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &OwnItemDialog::reject);
}

void OwnItemDialog::setItem(const OwnItem& item, const std::vector<std::string>& profileNames) {
    original_ = item;
    PathEdit->setText(QString::fromStdString(item.path));
    const auto menus =
        std::ranges::find(kMenusChoices, item.menus, &std::pair<OwnItemMenus, const char*>::first);
    MenusComboBox->setCurrentIndex(static_cast<int>(menus - kMenusChoices.begin()));
    CommandEdit->setText(QString::fromStdString(item.command));
    SeparatorBox->setChecked(item.separator);
    SeparatorBoxClick();
    std::vector<std::string> offered = profileNames;
    for (const std::string& name : item.profiles.names) {
        if (std::ranges::find(offered, name) == offered.end()) {
            offered.push_back(name);
        }
    }
    ProfilesList->clear();
    for (const std::string& name : offered) {
        auto* row = new QListWidgetItem(QString::fromStdString(name), ProfilesList);
        const bool chosen = std::ranges::find(item.profiles.names, name) != item.profiles.names.end();
        row->setCheckState(chosen ? Qt::Checked : Qt::Unchecked);
    }
    const bool every = item.profiles.names.empty() && !item.profiles.none;
    EveryProfileRadio->setChecked(every);
    ChosenProfilesRadio->setChecked(!every);
    showProfileChoice();
    ProblemLabel->clear();
    PathEdit->setFocus();
}

OwnItem OwnItemDialog::item() const {
    OwnItem item = original_;
    item.path = text(PathEdit);
    item.menus = kMenusChoices.at(static_cast<std::size_t>(std::max(0, MenusComboBox->currentIndex()))).first;
    item.command = text(CommandEdit);
    item.separator = SeparatorBox->isChecked();
    item.profiles = profiles();
    forgetUnreadValues(item);
    return item;
}

ProfileChoice OwnItemDialog::profiles() const {
    ProfileChoice choice;
    if (EveryProfileRadio->isChecked()) {
        return choice;
    }
    for (int i = 0; i < ProfilesList->count(); ++i) {
        if (ProfilesList->item(i)->checkState() == Qt::Checked) {
            choice.names.push_back(ProfilesList->item(i)->text().toStdString());
        }
    }
    return choice;
}

void OwnItemDialog::accept() {
    // No names would read back as every profile.
    const bool noProfile = ChosenProfilesRadio->isChecked() && profiles().names.empty();
    const std::string problem = noProfile ? std::string(kNoProfileChosen) : ownItemProblem(item());
    if (!problem.empty()) {
        ProblemLabel->setText(QStringLiteral("Not accepted: ") + QString::fromStdString(problem) + '.');
        return;
    }
    QDialog::accept();
}

void OwnItemDialog::SeparatorBoxClick() {
    // A separator has no command to send.
    CommandEdit->setEnabled(!SeparatorBox->isChecked());
}

void OwnItemDialog::showProfileChoice() {
    ProfilesList->setEnabled(ChosenProfilesRadio->isChecked());
}

} // namespace tavu
