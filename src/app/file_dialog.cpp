#include "app/file_dialog.h"

#include <QFileDialog>

#include <utility>

namespace tavu {

namespace {

std::optional<QString> nextFileName;
std::optional<FileDialog::Request> lastRequest;

} // namespace

QString FileDialog::getOpenFileName(QWidget* parent, const QString& caption, const QString& startFile,
                                    const QString& filter) {
    lastRequest = Request{caption, startFile, filter};
    if (auto answer = std::exchange(nextFileName, std::nullopt)) {
        return *answer;
    }
    QFileDialog dialog(parent, caption);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    // The one filter reads "profiles.xml", not "profiles.xml (profiles.xml)".
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    if (!startFile.isEmpty()) {
        dialog.selectFile(startFile);
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

void FileDialog::setNextFileName(const QString& fileName) {
    nextFileName = fileName;
}

std::optional<FileDialog::Request> FileDialog::takeLastRequest() {
    return std::exchange(lastRequest, std::nullopt);
}

} // namespace tavu
