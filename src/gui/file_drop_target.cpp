#include "file_drop_target.h"

#include <QDropEvent>
#include <QMimeData>
#include <QWidget>

namespace tavu {

namespace {

// The one local file a drag carries, or empty when it carries anything else
// or may not be copied: a drag offering only a move would have its source
// delete the file once dropped.
QString droppedFile(const QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasUrls() || !(event->possibleActions() & Qt::CopyAction)) {
        return {};
    }
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

bool isDragEvent(const QEvent* event) {
    return event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
           event->type() == QEvent::Drop;
}

} // namespace

FileDropTarget::FileDropTarget(QObject* parent, std::function<void(const QString&)> dropped)
    : QObject(parent), dropped_(std::move(dropped)) {}

void FileDropTarget::watch(QWidget* widget) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (!isDragEvent(event)) {
        return QObject::eventFilter(watched, event);
    }
    auto* drag = static_cast<QDropEvent*>(event);
    if (drag->mimeData() == nullptr || !drag->mimeData()->hasUrls()) {
        return false;
    }
    // Any single file shows the drop cursor; one of another name is explained
    // when dropped rather than refused without a word.
    const QString file = droppedFile(drag);
    if (file.isEmpty()) {
        drag->ignore();
        return true;
    }
    drag->setDropAction(Qt::CopyAction);
    drag->accept();
    if (event->type() == QEvent::Drop) {
        // Handed on once the drop is over: a message box inside the drop
        // would hold up the program the file was dragged from.
        QMetaObject::invokeMethod(
            this, [this, file] { dropped_(file); }, Qt::QueuedConnection);
    }
    return true;
}

} // namespace tavu
