#include "program.h"

#include "main_form.h"
#include "message_box.h"
#include "settings/settings_file.h"

namespace tavu {

namespace {

// Follows the reason a settings file could not be read at start.
constexpr char kUnreadableSettingsConsequence[] = "\n\nThe options and words are at their defaults, and the "
                                                  "file is not overwritten when the program closes.";

} // namespace

Program::Program() : session_(settingsFilePath()) {
    const std::string unreadable = session_.load();
    windows_ = std::make_unique<Windows>(session_);
    if (!unreadable.empty()) {
        MessageBox::standardError(&windows_->mainForm(),
                                  QString::fromStdString(unreadable + kUnreadableSettingsConsequence));
    }
}

} // namespace tavu
