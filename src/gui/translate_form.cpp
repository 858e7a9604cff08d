#include "translate_form.h"

#include "file_dialog.h"
#include "generator/generator.h"
#include "message_box.h"
#include "session.h"
#include "vocabulary/language_files.h"
#include "word_edit.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include <string_view>
#include <utility>
#include <vector>

namespace tavu {

namespace {

constexpr char kResetQuestion[] =
    "This will reset all fields to default english values. Are you sure you want to do this?";
constexpr char kReplaceQuestion[] =
    "This will replace the words in all fields with those of %1. Are you sure you want to do this?";
constexpr char kLoadLanguageCaption[] = "Load language";
constexpr char kNoLanguages[] = "No languages installed";
constexpr char kLanguagesLeftOut[] = "Language files not looked at: %1";
constexpr char kImportCaption[] = "Import words from file…";
constexpr char kExportCaption[] = "Export words to file…";
constexpr char kImportDialogCaption[] = "Import words";
constexpr char kExportDialogCaption[] = "Export words";
constexpr char kExportStartFile[] = "words.ini";
constexpr char kLanguageFilter[] = "Language files (*.ini)";

// The grid of the menu words: six columns of 24 rows, filled column by column.
constexpr int kRows = 24;
constexpr int kColumnPitch = 128;
constexpr int kRowPitch = 24;
constexpr int kMargin = 8;
constexpr int kFieldWidth = 121;
constexpr int kFieldHeight = 21;
// The foot of the last column, below its menu words: the item prefix and the
// bot message, the last two words, each under a label.
constexpr int kFootLeft = kMargin + 5 * kColumnPitch;
constexpr int kStartWithLabelTop = 424;
constexpr std::size_t kMenuWordCount = kWordCount - 2;
static_assert(static_cast<std::size_t>(Word::wStartWith) == kMenuWordCount &&
              static_cast<std::size_t>(Word::wBotMessage) == kMenuWordCount + 1);

constexpr QRect gridCell(std::size_t index) {
    const int column = static_cast<int>(index) / kRows;
    const int row = static_cast<int>(index) % kRows;
    return {kMargin + column * kColumnPitch, kMargin + row * kRowPitch, kFieldWidth, kFieldHeight};
}

// A word more than the grid holds would land beside the window's last column
// or over the foot's first label.
static_assert(gridCell(kMenuWordCount - 1).left() == kFootLeft &&
                  gridCell(kMenuWordCount - 1).bottom() < kStartWithLabelTop,
              "the Translator's grid has no room for every menu word");

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a field stands for, since its text is its only caption: "wNick: Nick".
QString wordHint(Word word) {
    return fromView(wordKey(word)) + QStringLiteral(": ") + fromView(defaultText(word));
}

// The hint, and below it the field's whole text, quoted so that an empty text
// or spaces at its ends show, once it is no longer the default, then why it
// would break the menu, if it would. Whatever the text holds, the first line
// never looks like markup, so Qt shows the tip as plain text and at its full width.
QString wordToolTip(Word word, const QString& text, const QString& problem) {
    QString tip = wordHint(word);
    if (text != fromView(defaultText(word))) {
        tip += QStringLiteral("\nNow: \"") + text + QLatin1Char('"');
    }
    if (!problem.isEmpty()) {
        tip += QStringLiteral("\nBreaks the menu: ") + problem + QLatin1Char('.');
    }
    return tip;
}

// A language's own name as a menu entry: "&" is shown, not taken as a shortcut.
QString menuEntryText(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

std::filesystem::path filePath(const QString& fileName) {
    return QFileInfo(fileName).filesystemFilePath();
}

QLabel* placeLabel(QWidget* form, const char* name, int top, const char* caption) {
    auto* label = new QLabel(QString::fromUtf8(caption), form);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(kFootLeft, top, kFieldWidth, 13);
    return label;
}

} // namespace

QRect wordFieldGeometry(Word word) {
    switch (word) {
    case Word::wStartWith:
        return {kFootLeft, 440, kFieldWidth, kFieldHeight};
    case Word::wBotMessage:
        return {kFootLeft, 488, kFieldWidth, kFieldHeight};
    default:
        return gridCell(static_cast<std::size_t>(word));
    }
}

TTranslateForm::TTranslateForm(Vocabulary& vocabulary)
    : SecondaryForm(QStringLiteral("TAVU Translator"), {}), vocabulary_(vocabulary) {
    buildControls();
    arrangeTabOrder();
    FormCreate();
}

void TTranslateForm::buildControls() {
    setFixedSize(777, 588);
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        auto* edit = new WordEdit(this);
        edit->setObjectName(QString::fromLatin1(wordKey(word)) + QStringLiteral("Edit"));
        edit->setGeometry(wordFieldGeometry(word));
        edit->setStatusTip(wordHint(word));
        edit->setToolTip(wordToolTip(word, edit->text(), {}));
        // The field's own edit menu, with the words' entries below it.
        edit->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint& at) {
            QMenu* menu = edit->createStandardContextMenu();
            menu->addSeparator();
            popUpMenu(menu, edit->mapToGlobal(at));
        });
        connect(edit, &QLineEdit::textChanged, this, [this, edit, word](const QString& text) {
            // Marked as it is typed, not first at Create.
            edit->setProblem(QString::fromStdString(wordProblem(word, text.toStdString())));
            edit->setToolTip(wordToolTip(word, text, edit->problem()));
            WordEditChange(word, text);
        });
        wordEdits_[i] = edit;
    }
    wStartWithLabel = placeLabel(this, "wStartWithLabel", kStartWithLabelTop, "Items starts with:");
    wBotMessageLabel = placeLabel(this, "wBotMessageLabel", 472, "Bot message:");
    ResetButton = new QPushButton(QStringLiteral("Reset defaults"), this);
    ResetButton->setObjectName(QStringLiteral("ResetButton"));
    ResetButton->setGeometry(kFootLeft, 560, kFieldWidth, kFieldHeight);
    connect(ResetButton, &QPushButton::clicked, this, &TTranslateForm::ResetButtonClick);
    // Shift+F10 opens a context menu as the menu key does, where the platform
    // does not already make it do so.
    auto* contextMenuKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
    connect(contextMenuKey, &QShortcut::activated, this, &TTranslateForm::openKeyboardContextMenu);
}

void TTranslateForm::arrangeTabOrder() {
    for (std::size_t i = 1; i < kWordCount; ++i) {
        QWidget::setTabOrder(wordEdits_[i - 1], wordEdits_[i]);
    }
    QWidget::setTabOrder(wordEdits_.back(), ResetButton);
}

void TTranslateForm::FormCreate() {
    LoadStrings();
}

void TTranslateForm::LoadStrings() {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        showWord(static_cast<Word>(i));
    }
}

void TTranslateForm::showWord(Word word) {
    wordEdits_[static_cast<std::size_t>(word)]->showWord(QString::fromStdString(vocabulary_.text(word)));
}

void TTranslateForm::WordEditChange(Word word, const QString& text) {
    vocabulary_.setText(word, text.toStdString());
}

void TTranslateForm::ResetButtonClick() {
    // No is the default, so that a stray Enter does not wipe every word.
    if (!MessageBox::confirm(this, QString::fromUtf8(kResetQuestion), QMessageBox::No)) {
        return;
    }
    vocabulary_.resetToDefaults();
    LoadStrings();
}

void TTranslateForm::contextMenuEvent(QContextMenuEvent* event) {
    popUpMenu(new QMenu(this), event->globalPos());
}

// The menu of the control with the focus, at its text cursor or its middle, as
// the platform places a menu opened with the menu key.
void TTranslateForm::openKeyboardContextMenu() {
    QWidget* target = focusWidget() != nullptr ? focusWidget() : this;
    const QRect cursor = target->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QPoint at = cursor.isValid() ? cursor.center() : target->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
}

void TTranslateForm::popUpMenu(QMenu* menu, const QPoint& at) {
    addWordsActions(*menu);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(at);
}

void TTranslateForm::addWordsActions(QMenu& menu) {
    // Looked for anew each time, so a language put in while the program runs shows.
    const LanguageListing listing = findLanguages(languageFolders());
    QMenu* languageMenu = menu.addMenu(QString::fromUtf8(kLoadLanguageCaption));
    if (listing.languages.empty()) {
        languageMenu->addAction(QString::fromUtf8(kNoLanguages))->setEnabled(false);
    }
    for (const LanguageFile& language : listing.languages) {
        languageMenu->addAction(menuEntryText(language.name), this,
                                [this, language] { LoadLanguage(language); });
    }
    // A crowded languages folder is read only in part; the menu says so.
    if (listing.leftOut > 0) {
        languageMenu->addSeparator();
        languageMenu->addAction(QString::fromUtf8(kLanguagesLeftOut).arg(listing.leftOut))->setEnabled(false);
    }
    menu.addAction(QString::fromUtf8(kImportCaption), this, &TTranslateForm::ImportWordsClick);
    menu.addAction(QString::fromUtf8(kExportCaption), this, &TTranslateForm::ExportWordsClick);
}

void TTranslateForm::LoadLanguage(const LanguageFile& language) {
    replaceWordsFrom(language.path, QString::fromStdString(language.name));
}

void TTranslateForm::ImportWordsClick() {
    const QString chosen = FileDialog::getOpenFileName(this, QString::fromUtf8(kImportDialogCaption),
                                                       QString(), QString::fromUtf8(kLanguageFilter));
    if (!chosen.isEmpty()) {
        replaceWordsFrom(filePath(chosen), QFileInfo(chosen).fileName());
    }
}

// The file is read before the operator is asked, so that a file that cannot be
// loaded is refused at once; nothing changes unless the operator agrees.
void TTranslateForm::replaceWordsFrom(const std::filesystem::path& path, const QString& source) {
    auto read = readLanguageFile(path, vocabulary_);
    if (!read) {
        MessageBox::error(this, QString::fromStdString(read.failure().reason));
        return;
    }
    if (!MessageBox::confirm(this, QString::fromUtf8(kReplaceQuestion).arg(source))) {
        return;
    }
    vocabulary_ = std::move(read).value();
    LoadStrings();
}

void TTranslateForm::ExportWordsClick() {
    const QString chosen =
        FileDialog::getSaveFileName(this, QString::fromUtf8(kExportDialogCaption),
                                    QString::fromUtf8(kExportStartFile), QString::fromUtf8(kLanguageFilter));
    if (chosen.isEmpty()) {
        return;
    }
    // The words carry no name of their own: the file's name stands for it.
    const std::string name = QFileInfo(chosen).completeBaseName().toStdString();
    const auto written = writeLanguageFile(filePath(chosen), vocabulary_, name, name);
    if (!written) {
        MessageBox::error(this, QString::fromStdString(unwritableMessage(written.failure())));
    }
}

void TTranslateForm::closeEvent(QCloseEvent* event) {
    FormClose();
    SecondaryForm::closeEvent(event);
}

void TTranslateForm::FormClose() {
    // Clients trim ordinary spaces from menu items; a no-break space survives.
    vocabulary_.normaliseItemPrefix();
    showWord(Word::wStartWith);
}

} // namespace tavu
