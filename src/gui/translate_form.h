#pragma once

#include "secondary_form.h"
#include "vocabulary/vocabulary.h"

#include <QRect>

#include <array>
#include <filesystem>
#include <string>

class QLabel;
class QMenu;
class QPushButton;

namespace tavu {

struct LanguageFile;
class WordEdit;

// Where the Translator's field of a word stands: the menu words on a grid of six
// columns of 24 rows, filled column by column, the item prefix and the bot
// message at the foot of the last column.
QRect wordFieldGeometry(Word word);

// The Translator. Its fields show and edit the session's vocabulary, the one
// store of the words for the whole run: the generator reads the words as the
// fields hold them at every Create, and the session writes them back when the
// program closes. Its context menu, on the window and on every field, loads
// the words of an installed language or of any language file over them, and
// exports them as a language file.
class TTranslateForm : public SecondaryForm {
    Q_OBJECT
public:
    explicit TTranslateForm(Vocabulary& vocabulary);

    // Shows every word as the vocabulary holds it.
    void LoadStrings();

private slots:
    void ResetButtonClick();
    void ImportWordsClick();
    void ExportWordsClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void FormCreate();
    void FormClose();
    void WordEditChange(Word word, const QString& text);

    void buildControls();
    void arrangeTabOrder();
    void showWord(Word word);

    void openKeyboardContextMenu();
    void popUpMenu(QMenu* menu, const QPoint& at);
    void addWordsActions(QMenu& menu);
    void LoadLanguage(const LanguageFile& language);
    void replaceWordsFrom(const std::filesystem::path& path, const QString& source);

    std::array<WordEdit*, kWordCount> wordEdits_{};
    QLabel* wStartWithLabel;
    QLabel* wBotMessageLabel;
    QPushButton* ResetButton;

    Vocabulary& vocabulary_;
};

} // namespace tavu
