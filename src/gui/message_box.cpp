#include "message_box.h"

#include <QCoreApplication>

namespace tavu {

AnsweredInAdvance<MessageBox::Shown, QMessageBox::StandardButton>& MessageBox::prompts() {
    static AnsweredInAdvance<Shown, QMessageBox::StandardButton> prompts;
    return prompts;
}

void MessageBox::error(QWidget* parent, const QString& text) {
    show(parent, QStringLiteral("Error"), text);
}

void MessageBox::standardError(QWidget* parent, const QString& text) {
    show(parent, QCoreApplication::applicationName(), withFullStop(text));
}

bool MessageBox::confirm(QWidget* parent, const QString& text, QMessageBox::StandardButton defaultButton) {
    const QString caption = QStringLiteral("Confirm");
    if (const auto answer = prompts().ask(Shown{caption, text})) {
        return *answer == QMessageBox::Yes;
    }
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(defaultButton);
    return box.exec() == QMessageBox::Yes;
}

void MessageBox::setNextAnswer(QMessageBox::StandardButton button) {
    prompts().setNextAnswer(button);
}

std::optional<MessageBox::Shown> MessageBox::takeLastShown() {
    return prompts().takeLastRequest();
}

std::vector<MessageBox::Shown> MessageBox::takeAllShown() {
    return prompts().takeRequests();
}

void MessageBox::show(QWidget* parent, const QString& caption, const QString& text) {
    if (prompts().ask(Shown{caption, text})) {
        return;
    }
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

QString withFullStop(const QString& text) {
    return !text.isEmpty() && text.back() > QLatin1Char('.') ? text + QLatin1Char('.') : text;
}

void MessageBox::forget() {
    prompts().forget();
}

void MessageBox::refuseUnanswered(const std::function<void(const QString&)>& report) {
    prompts().refuseUnanswered([report](const Shown& box) { report(box.caption + ": " + box.text); },
                               QMessageBox::No);
}

void MessageBox::showUnanswered() {
    prompts().showUnanswered();
}

} // namespace tavu
