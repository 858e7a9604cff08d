#include "secondary_form.h"

#include "form_font.h"
#include "window_centring.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QStatusTipEvent>

namespace tavu {

SecondaryForm::SecondaryForm(const QString& caption, Qt::WindowFlags frameButtons) {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint | frameButtons);
    setWindowTitle(caption);
    setFont(formFont());
    // Closing only hides the window, so the main window must not wait for it to
    // go away before the program may end.
    setAttribute(Qt::WA_QuitOnClose, false);
    new FirstShowCentring(*this);
}

QString SecondaryForm::takeOutput(const QString&) {
    return {};
}

bool SecondaryForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        emit HintChanged(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void SecondaryForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit FormClosed();
    }
}

} // namespace tavu

namespace tavu {

void SecondaryForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace tavu
