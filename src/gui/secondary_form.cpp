#include "secondary_form.h"

#include "form_font.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>

namespace tavu {

SecondaryForm::SecondaryForm(const QString& caption, Qt::WindowFlags frameButtons) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | frameButtons);
    setWindowTitle(caption);
    setFont(formFont());
    // Closing only hides the window, so the main window must not wait for it to
    // go away before the program may end.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void SecondaryForm::setVisible(bool visible) {
    // Only the first time: later the window comes back where the operator left it.
    if (visible && !placed_) {
        placed_ = true;
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
    }
    QWidget::setVisible(visible);
}

void SecondaryForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit FormClosed();
    }
}

} // namespace tavu
