#pragma once

#include <QMessageBox>
#include <QString>

#include <optional>

class QWidget;

namespace tavu {

// The program's one question, a box with Yes and No. Like MessageBox, a test
// answers the next box in advance instead of having a modal box block it.
class ConfirmationBox {
public:
    // True only when the operator answers Yes. `defaultButton` is the one
    // Enter presses.
    static bool confirm(QWidget* parent, const QString& text,
                        QMessageBox::StandardButton defaultButton = QMessageBox::Yes);

    // The next box is not shown; it is noted and answered with `button`.
    static void setNextAnswer(QMessageBox::StandardButton button);
    // The text of the last box asked for, shown or answered in advance; forgets it.
    static std::optional<QString> takeLastAsked();
};

} // namespace tavu
