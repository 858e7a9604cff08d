#include "app/message_box.h"

#include <QCoreApplication>

#include <utility>

namespace tavu {

namespace {

std::optional<QMessageBox::StandardButton> nextAnswer;
std::optional<MessageBox::Shown> lastShown;

} // namespace

void MessageBox::error(QWidget* parent, const QString& text) {
    show(parent, QStringLiteral("Error"), text);
}

void MessageBox::standardError(QWidget* parent, const QString& text) {
    show(parent, QCoreApplication::applicationName(), withFullStop(text));
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton button) {
    nextAnswer = button;
}

std::optional<MessageBox::Shown> MessageBox::takeLastShown() {
    return std::exchange(lastShown, std::nullopt);
}

void MessageBox::show(QWidget* parent, const QString& caption, const QString& text) {
    lastShown = Shown{caption, text};
    if (std::exchange(nextAnswer, std::nullopt)) {
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

QString withFullStop(const QString& text) {
    return !text.isEmpty() && text.back() > QLatin1Char('.') ? text + QLatin1Char('.') : text;
}

} // namespace tavu
