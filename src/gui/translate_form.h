#pragma once

#include "secondary_form.h"
#include "vocabulary/vocabulary.h"

#include <array>
#include <string>

class QLabel;
class QPushButton;

namespace tavu {

class WordEdit;

// The Translator. Its fields show and edit the session's vocabulary, the one
// store of the words for the whole run: the generator reads the words as the
// fields hold them at every Create, and the session writes them back when the
// program closes.
class TTranslateForm : public SecondaryForm {
    Q_OBJECT
public:
    explicit TTranslateForm(Vocabulary& vocabulary);

    // Shows every word as the vocabulary holds it.
    void LoadStrings();

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
    void showWord(Word word);

    std::array<WordEdit*, kWordCount> wordEdits_{};
    QLabel* wStartWithLabel;
    QLabel* wBotMessageLabel;
    QPushButton* ResetButton;

    Vocabulary& vocabulary_;
};

} // namespace tavu
