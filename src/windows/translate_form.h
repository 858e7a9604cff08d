#pragma once

#include "vocabulary/vocabulary.h"
#include "windows/secondary_form.h"

#include <array>
#include <string>

class QLabel;
class QPushButton;

namespace tavu {

class IniFile;

class WordEdit;

// The Translator. Its fields show and edit the one store of the vocabulary for
// the whole run: it reads the section "Strings" when it is created, the
// generator reads the words as the fields hold them at every Create, and the
// main window has it write the section back when the program closes.
class TTranslateForm : public SecondaryForm {
    Q_OBJECT
public:
    TTranslateForm();

    const Vocabulary& vocabulary() const { return vocabulary_; }

    void LoadStrings();
    // Writes the section "Strings" into the file being saved.
    void SaveStrings(IniFile& file) const;

private slots:
    void ResetButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void WordEditChange(Word word, const QString& text);

    void buildControls();
    void arrangeTabOrder();
    void showWords();
    void showWord(Word word);

    std::array<WordEdit*, kWordCount> wordEdits_{};
    QLabel* wStartWithLabel;
    QLabel* wBotMessageLabel;
    QPushButton* ResetButton;

    Vocabulary vocabulary_;
};

} // namespace tavu
