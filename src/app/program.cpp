#include "program.h"

#include "main_form.h"
#include "message_box.h"
#include "settings/settings_file.h"

#include <QFileInfo>

namespace tavu {

namespace {

// Follows the reason a settings file could not be read at start.
constexpr char kUnreadableSettingsConsequence[] = "\n\nThe options and words are at their defaults, and the "
                                                  "file is not overwritten when the program closes.";
constexpr char kUsage[] = "Usage: tavu [profiles.xml]";

} // namespace

Program::Program() : session_(settingsFilePath()) {
    const std::string unreadable = session_.load();
    windows_ = std::make_unique<Windows>(session_);
    closingSignals_.emplace(windows_->mainForm());
    if (!unreadable.empty()) {
        MessageBox::standardError(&windows_->mainForm(),
                                  QString::fromStdString(unreadable + kUnreadableSettingsConsequence));
    }
}

void Program::start(const QStringList& arguments) {
    TMainForm& mainForm = windows_->mainForm();
    // Shown first, so that a file that does not load is reported over the window.
    mainForm.show();
    if (arguments.size() > 1) {
        MessageBox::error(&mainForm, QString::fromUtf8(kUsage));
    } else if (!arguments.isEmpty()) {
        // The dialog of the Open button gives a full path, and the settings
        // file must remember one that holds from any folder.
        mainForm.openProfilesFile(QFileInfo(arguments.front()).absoluteFilePath());
    }
}

} // namespace tavu
