#pragma once

#include "vocabulary/vocabulary.h"
#include "windows/secondary_form.h"

#include <string>

namespace tavu {

// The Translator. It holds the one store of the vocabulary for the whole run:
// it reads the section "Strings" when it is created, and the main window has it
// write the section back when the program closes. Its edit boxes come later.
class TTranslateForm : public SecondaryForm {
    Q_OBJECT
public:
    TTranslateForm();

    const Vocabulary& vocabulary() const { return vocabulary_; }

    void LoadStrings();
    // Empty on success, otherwise "Unable to write to <path>".
    std::string SaveStrings() const;

private:
    Vocabulary vocabulary_;
};

} // namespace tavu
