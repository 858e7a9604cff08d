#include "windows/translate_form.h"

#include "app/settings_file.h"

namespace tavu {

TTranslateForm::TTranslateForm() : SecondaryForm(QStringLiteral("TAVU Translator")) {
    LoadStrings();
}

void TTranslateForm::LoadStrings() {
    tavu::LoadStrings(vocabulary_, readSettingsFile(settingsFilePath()));
}

std::string TTranslateForm::SaveStrings() const {
    return updateSettingsFile(settingsFilePath(),
                              [this](IniFile& file) { tavu::SaveStrings(vocabulary_, file); });
}

} // namespace tavu
