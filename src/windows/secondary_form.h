#pragma once

#include <QWidget>

namespace tavu {

// A window that the main window shows while it disables itself. It lives for
// the whole run and only hides when the operator closes it; closing it is what
// lets the main window work again.
class SecondaryForm : public QWidget {
    Q_OBJECT
public:
    explicit SecondaryForm(const QString& caption);

signals:
    void FormClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
};

} // namespace tavu
