#include "translate_form.h"

#include "message_box.h"
#include "word_edit.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include <string_view>

namespace tavu {

namespace {

constexpr char kResetQuestion[] =
    "This will reset all fields to default english values. Are you sure you want to do this?";

// The grid of the menu words: six columns of 24 rows, filled column by column.
constexpr int kRows = 24;
constexpr int kColumnPitch = 128;
constexpr int kRowPitch = 24;
constexpr int kMargin = 8;
constexpr int kFieldWidth = 121;
constexpr int kFieldHeight = 21;
// The foot of the last column, below its 17 menu words.
constexpr int kFootLeft = kMargin + 5 * kColumnPitch;

QRect gridCell(std::size_t index) {
    const int column = static_cast<int>(index) / kRows;
    const int row = static_cast<int>(index) % kRows;
    return {kMargin + column * kColumnPitch, kMargin + row * kRowPitch, kFieldWidth, kFieldHeight};
}

QRect fieldGeometry(Word word) {
    switch (word) {
    case Word::wStartWith:
        return {kFootLeft, 440, kFieldWidth, kFieldHeight};
    case Word::wBotMessage:
        return {kFootLeft, 488, kFieldWidth, kFieldHeight};
    default:
        return gridCell(static_cast<std::size_t>(word));
    }
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a field stands for, since its text is its only caption: "wNick: Nick".
QString wordHint(Word word) {
    return fromView(wordKey(word)) + QStringLiteral(": ") + fromView(defaultText(word));
}

// The hint, and below it the field's whole text, quoted so that an empty text
// or spaces at its ends show, once it is no longer the default. Whatever the
// text holds, the first line never looks like markup, so Qt shows the tip as
// plain text and at its full width.
QString wordToolTip(Word word, const QString& text) {
    QString tip = wordHint(word);
    if (text != fromView(defaultText(word))) {
        tip += QStringLiteral("\nNow: \"") + text + QLatin1Char('"');
    }
    return tip;
}

QLabel* placeLabel(QWidget* form, const char* name, int top, const char* caption) {
    auto* label = new QLabel(QString::fromUtf8(caption), form);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(kFootLeft, top, kFieldWidth, 13);
    return label;
}

} // namespace

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
        edit->setGeometry(fieldGeometry(word));
        edit->setStatusTip(wordHint(word));
        edit->setToolTip(wordToolTip(word, edit->text()));
        connect(edit, &QLineEdit::textChanged, this, [this, edit, word](const QString& text) {
            edit->setToolTip(wordToolTip(word, text));
            WordEditChange(word, text);
        });
        wordEdits_[i] = edit;
    }
    wStartWithLabel = placeLabel(this, "wStartWithLabel", 424, "Items starts with:");
    wBotMessageLabel = placeLabel(this, "wBotMessageLabel", 472, "Bot message:");
    ResetButton = new QPushButton(QStringLiteral("Reset defaults"), this);
    ResetButton->setObjectName(QStringLiteral("ResetButton"));
    ResetButton->setGeometry(kFootLeft, 560, kFieldWidth, kFieldHeight);
    connect(ResetButton, &QPushButton::clicked, this, &TTranslateForm::ResetButtonClick);
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
    if (!MessageBox::confirm(this, QString::fromUtf8(kResetQuestion))) {
        return;
    }
    vocabulary_.resetToDefaults();
    LoadStrings();
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
