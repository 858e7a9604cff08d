#include "windows/secondary_form.h"

#include <QCloseEvent>

namespace tavu {

SecondaryForm::SecondaryForm(const QString& caption) {
    setWindowTitle(caption);
    // Closing only hides the window, so the main window must not wait for it to
    // go away before the program may end.
    setAttribute(Qt::WA_QuitOnClose, false);
}

void SecondaryForm::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted()) {
        emit FormClosed();
    }
}

} // namespace tavu
