#include "windows/confirmation_box.h"

#include <utility>

namespace tavu {

namespace {

std::optional<QMessageBox::StandardButton> nextAnswer;
std::optional<QString> lastAsked;

} // namespace

bool ConfirmationBox::confirm(QWidget* parent, const QString& text,
                              QMessageBox::StandardButton defaultButton) {
    lastAsked = text;
    if (const auto answer = std::exchange(nextAnswer, std::nullopt)) {
        return *answer == QMessageBox::Yes;
    }
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), text,
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultButton);
    return box.exec() == QMessageBox::Yes;
}

void ConfirmationBox::setNextAnswer(QMessageBox::StandardButton button) {
    nextAnswer = button;
}

std::optional<QString> ConfirmationBox::takeLastAsked() {
    return std::exchange(lastAsked, std::nullopt);
}

} // namespace tavu
