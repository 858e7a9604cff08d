#include "edit_form.h"

#include "editor/editor_text.h"
#include "message_box.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tavu {

namespace {

constexpr char kNothingToCopy[] = "Why should I fill clipboard with nothing?";
constexpr char kNothingToEdit[] =
    "I think you should create some commands first. Or would you like to edit an empty window?";
constexpr int kMargin = 8;
constexpr int kButtonsPanelHeight = 33;

QPushButton* placeButton(QWidget* panel, const char* name, int left, const char* caption) {
    auto* button = new QPushButton(QString::fromUtf8(caption), panel);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 6, 75, 21);
    return button;
}

} // namespace

TEditForm::TEditForm() : SecondaryForm(QStringLiteral("TAVU Easy Editor"), Qt::WindowMaximizeButtonHint) {
    buildControls();
}

void TEditForm::buildControls() {
    resize(720, 502);
    TopPanel = placePanel("TopPanel", 0, kMargin);
    LeftPanel = placePanel("LeftPanel", kMargin, 0);
    RightPanel = placePanel("RightPanel", kMargin, 0);
    ButtonsPanel = placePanel("ButtonsPanel", 0, kButtonsPanelHeight);
    EditMemo = new QPlainTextEdit(this);
    EditMemo->setObjectName(QStringLiteral("EditMemo"));
    EditMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    EditMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    EditMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves on to the buttons, as in the main window's output box.
    EditMemo->setTabChangesFocus(true);
    DoneButton = placeButton(ButtonsPanel, "DoneButton", 8, "Done");
    CopyButton = placeButton(ButtonsPanel, "CopyButton", 88, "Copy");

    // The text area takes whatever the margins and the button bar leave.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TopPanel, 0, 0, 1, 3);
    layout->addWidget(LeftPanel, 1, 0);
    layout->addWidget(EditMemo, 1, 1);
    layout->addWidget(RightPanel, 1, 2);
    layout->addWidget(ButtonsPanel, 2, 0, 1, 3);

    setTabOrder(EditMemo, DoneButton);
    setTabOrder(DoneButton, CopyButton);
    connect(DoneButton, &QPushButton::clicked, this, &TEditForm::DoneButtonClick);
    connect(CopyButton, &QPushButton::clicked, this, &TEditForm::CopyButtonClick);
}

// A panel of fixed width or height (0: as the layout gives).
QWidget* TEditForm::placePanel(const char* name, int width, int height) {
    auto* panel = new QWidget(this);
    panel->setObjectName(QString::fromLatin1(name));
    if (width > 0) {
        panel->setFixedWidth(width);
    }
    if (height > 0) {
        panel->setFixedHeight(height);
    }
    return panel;
}

QString TEditForm::takeOutput(const QString& output) {
    if (!output.startsWith(QLatin1Char('$'))) {
        return QString::fromUtf8(kNothingToEdit);
    }
    FormShow(output);
    return {};
}

void TEditForm::FormShow(const QString& output) {
    EditMemo->setPlainText(QString::fromStdString(editorTextFromOutput(output.toStdString())));
}

QString TEditForm::editorText() const {
    // toPlainText() would turn the no-break space of the item prefix into an
    // ordinary space; the raw text keeps it and marks line ends as separators.
    QString text = EditMemo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    text.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return text;
}

void TEditForm::DoneButtonClick() {
    emit OutputEdited(QString::fromStdString(outputFromEditorText(editorText().toStdString())));
    close();
}

void TEditForm::CopyButtonClick() {
    const QString text = editorText();
    if (text.isEmpty()) {
        MessageBox::error(this, QString::fromUtf8(kNothingToCopy));
        return;
    }
    QGuiApplication::clipboard()->setText(text);
}

void TEditForm::closeEvent(QCloseEvent* event) {
    FormClose();
    SecondaryForm::closeEvent(event);
}

void TEditForm::FormClose() {
    EditMemo->clear();
}

} // namespace tavu
