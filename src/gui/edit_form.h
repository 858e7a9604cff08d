#pragma once

#include "secondary_form.h"

class QPlainTextEdit;
class QPushButton;

namespace tavu {

// The Easy Editor: the main window's output one command per line, to touch up
// and copy, or to hand back joined again into one run of commands. Its text
// exists only while it is shown.
class TEditForm : public SecondaryForm {
    Q_OBJECT
public:
    TEditForm();

    // Refuses an output that holds no commands; fills the text area from any
    // other. "Done" hands the edited text back as the new output.
    QString takeOutput(const QString& output) override;

private slots:
    void DoneButtonClick();
    void CopyButtonClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormShow(const QString& output);
    void FormClose();

    void buildControls();
    QWidget* placePanel(const char* name, int width, int height);
    QString editorText() const;

    QWidget* TopPanel;
    QWidget* LeftPanel;
    QWidget* RightPanel;
    QWidget* ButtonsPanel;
    QPlainTextEdit* EditMemo;
    QPushButton* DoneButton;
    QPushButton* CopyButton;
};

} // namespace tavu
