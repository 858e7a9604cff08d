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

    void setVisible(bool visible) override;

signals:
    void FormClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool placed_ = false;
};

} // namespace tavu
