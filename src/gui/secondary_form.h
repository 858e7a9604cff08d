#pragma once

#include <QWidget>

namespace tavu {

// A window that the main window shows while it disables itself. It lives for
// the whole run and only hides when the operator closes it; closing it is what
// lets the main window work again. It stays above the program's other windows
// and is centred on the screen the first time it is shown.
class SecondaryForm : public QWidget {
    Q_OBJECT
public:
    // `frameButtons`: the boxes of the title bar besides the close box.
    SecondaryForm(const QString& caption, Qt::WindowFlags frameButtons);

    // Takes the main window's output before the window is shown. Returns why
    // the window has nothing to show for it, or "" when it may be shown; a
    // window that does not work on the output takes any.
    virtual QString takeOutput(const QString& output);

signals:
    void FormClosed();
    // The window hands the main window a new output.
    void OutputEdited(const QString& output);
    // The hint of the control under the pointer, or "" when it leaves one: the
    // program shows the hints of every window in the main window's status bar.
    void HintChanged(const QString& hint);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // Escape closes the window as its close box does.
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace tavu
