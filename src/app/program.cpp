#include "program.h"

#include "about_form.h"
#include "application.h"
#include "edit_form.h"
#include "menu_items_form.h"
#include "message_box.h"
#include "preview_form.h"
#include "profiles_glance_form.h"
#include "program_arguments.h"
#include "settings/settings_file.h"
#include "translate_form.h"

#include <QAction>
#include <QFileInfo>

#include <array>
#include <utility>

namespace tavu {

namespace {

// Introduces what of the menu changes in the settings file was not taken as it stands.
constexpr char kMenuChangesProblems[] = "Some of the own items and items switched off in the settings file "
                                        "could not be taken as they stand. They are kept in the file, and "
                                        "an own item that is refused is left out of the menus until it is "
                                        "edited in the Menu items window:";
// Follows the reason a settings file could not be read at start.
constexpr char kUnreadableSettingsConsequence[] = "\n\nThe options and words are at their defaults, and the "
                                                  "file is not overwritten when the program closes.";

} // namespace

Windows::Windows(Session& session) {
    QCoreApplication::setApplicationName(QString::fromUtf8(kApplicationTitle));
    mainForm_ = std::make_unique<TMainForm>(session);
    // One row a window, created in this order: the control of the main window
    // that shows it, and the window.
    const std::array rows{
        SecondaryFormTrigger{"EditButton", add(std::make_unique<TEditForm>())},
        SecondaryFormTrigger{"AboutButton", add(std::make_unique<TAboutForm>())},
        SecondaryFormTrigger{"TranslateButton", add(std::make_unique<TTranslateForm>(session.vocabulary()))},
        SecondaryFormTrigger{"MenuPreviewAction", add(std::make_unique<TPreviewForm>())},
        SecondaryFormTrigger{"MenuItemsAction", add(std::make_unique<MenuItemsForm>(session))},
        SecondaryFormTrigger{"ProfilesGlanceAction", add(std::make_unique<ProfilesGlanceForm>(session))},
    };
    mainForm_->setSecondaryForms(rows);
    connectMenuItemsToPreview();
    connectProfilesGlanceToMenuItems();
}

// A double-click in Profiles at a glance chooses that cell's profile in the
// main window and opens the Menu items window over it, which shows the chosen
// profile's menu; the glance waits for it, and shows the changes kept there.
void Windows::connectProfilesGlanceToMenuItems() {
    auto& glance = form<ProfilesGlanceForm>();
    auto& menuItems = form<MenuItemsForm>();
    QObject::connect(&glance, &ProfilesGlanceForm::MenuItemsRequested, &glance,
                     [this, &glance, &menuItems](int profile, const QString& identity) {
                         mainForm_->chooseProfile(profile);
                         if (const QString refusal = menuItems.takeOutput({}); !refusal.isEmpty()) {
                             MessageBox::error(&glance, refusal);
                             return;
                         }
                         // An item the profile no longer has leaves the window at its top.
                         static_cast<void>(menuItems.selectItem(identity.toStdString()));
                         glance.setEnabled(false);
                         menuItems.show();
                         menuItems.raise();
                         menuItems.activateWindow();
                     });
    QObject::connect(&menuItems, &SecondaryForm::FormClosed, &glance, [&glance] { glance.setEnabled(true); });
    QObject::connect(&menuItems, &MenuItemsForm::ChangesKept, &glance, [&glance] {
        if (glance.isVisible()) {
            // The matrix was shown before, so it shows again; a refusal has nothing new to say.
            static_cast<void>(glance.takeOutput({}));
        }
    });
}

// The Menu preview's button opens the Menu items window over the preview,
// which stays open with its hub. OK there creates the output anew, as Create
// does, and hands it to the preview, which shows it and serves it.
void Windows::connectMenuItemsToPreview() {
    auto& preview = form<TPreviewForm>();
    auto& menuItems = form<MenuItemsForm>();
    QObject::connect(&preview, &TPreviewForm::MenuItemsRequested, &preview, [&preview, &menuItems] {
        if (const QString refusal = menuItems.takeOutput({}); !refusal.isEmpty()) {
            MessageBox::error(&preview, refusal);
            return;
        }
        // One window at a time: the preview waits for this one.
        preview.setEnabled(false);
        menuItems.show();
        menuItems.raise();
        menuItems.activateWindow();
    });
    QObject::connect(&menuItems, &SecondaryForm::FormClosed, &preview,
                     [&preview] { preview.setEnabled(true); });
    QObject::connect(&menuItems, &MenuItemsForm::ChangesKept, &preview, [this, &preview] {
        if (preview.isVisible()) {
            mainForm_->createCommands();
            mainForm_->findChild<QAction*>(QStringLiteral("MenuPreviewAction"))->trigger();
        }
    });
}

SecondaryForm* Windows::add(std::unique_ptr<SecondaryForm> form) {
    return secondaryForms_.emplace_back(std::move(form)).get();
}

Program::Program() : session_(settingsFilePath()) {
    const std::string unreadable = session_.load();
    windows_ = std::make_unique<Windows>(session_);
    QObject::connect(&windows_->mainForm(), &TMainForm::FormClosed, [this] { closed_ = true; });
    closingSignals_.emplace(windows_->mainForm());
    if (!unreadable.empty()) {
        MessageBox::standardError(&windows_->mainForm(),
                                  QString::fromStdString(unreadable + kUnreadableSettingsConsequence));
    }
    if (!session_.menuChangesProblems().empty()) {
        std::string text = kMenuChangesProblems;
        for (const std::string& problem : session_.menuChangesProblems()) {
            text += "\n\n" + problem;
        }
        MessageBox::standardError(&windows_->mainForm(), QString::fromStdString(text));
    }
}

void Program::start(const QStringList& files) {
    // A signal may have closed the window while a box about the settings was open.
    if (closed_) {
        return;
    }
    TMainForm& mainForm = windows_->mainForm();
    // Shown first, so that a file that does not load is reported over the window.
    mainForm.show();
    if (files.size() > 1) {
        MessageBox::error(&mainForm, QString::fromUtf8(kUsage));
    } else if (!files.isEmpty()) {
        // The dialog of the Open button gives a full path, and the settings
        // file must remember one that holds from any folder.
        mainForm.openProfilesFile(QFileInfo(files.front()).absoluteFilePath());
    }
}

int Program::run() {
    if (closed_) {
        return 0;
    }
    // Ends every event loop, those of boxes still unwinding included, whatever
    // other window is open.
    QObject::connect(&windows_->mainForm(), &TMainForm::FormClosed, [] { QCoreApplication::exit(0); });
    return QApplication::exec();
}

} // namespace tavu
