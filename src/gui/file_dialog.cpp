#include "file_dialog.h"

#include <QFileDialog>

namespace tavu {

namespace {

// Shows the dialog on the given file; the chosen file, or empty when cancelled.
QString chosenFile(QFileDialog& dialog, const QString& startFile) {
    if (!startFile.isEmpty()) {
        dialog.selectFile(startFile);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

} // namespace

AnsweredInAdvance<FileDialog::Request, QString>& FileDialog::prompts() {
    static AnsweredInAdvance<Request, QString> prompts;
    return prompts;
}

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& startFile,
                                    const QString& filter) {
    if (auto answer = prompts().ask(Request{Purpose::open, caption, startFile, filter})) {
        return *answer;
    }
    QFileDialog dialog(parent, caption);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    // The one filter reads "profiles.xml", not "profiles.xml (profiles.xml)".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    return chosenFile(dialog, startFile);
}

QString FileDialog::getSaveFileName(QWidget* parent, const QString& caption, const QString& startFile,
                                    const QString& filter, const QString& defaultSuffix) {
    if (auto answer = prompts().ask(Request{Purpose::save, caption, startFile, filter})) {
        return *answer;
    }
    QFileDialog dialog(parent, caption);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    return chosenFile(dialog, startFile);
}

void FileDialog::setNextFileName(const QString& fileName) {
    prompts().setNextAnswer(fileName);
}

std::optional<FileDialog::Request> FileDialog::takeLastRequest() {
    return prompts().takeLastRequest();
}

void FileDialog::forget() {
    prompts().forget();
}

void FileDialog::refuseUnanswered(const std::function<void(const QString&)>& report) {
    prompts().refuseUnanswered([report](const Request& dialog) { report(dialog.caption); }, QString());
}

void FileDialog::showUnanswered() {
    prompts().showUnanswered();
}

} // namespace tavu
