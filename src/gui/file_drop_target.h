#pragma once

// Takes one local file dropped on the widgets it watches and hands its name
// on once the drop is over. Drags that carry no links are left to the widgets
// (text dragged into an editor, say); a drag of links is the target's, so
// that no file name is ever pasted as text.

#include <QObject>
#include <QString>

#include <functional>

class QWidget;

namespace tavu {

class FileDropTarget : public QObject {
    Q_OBJECT
public:
    FileDropTarget(QObject* parent, std::function<void(const QString&)> dropped);

    // Makes `widget` take drops; its drag events come here first.
    void watch(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const QString&)> dropped_;
};

} // namespace tavu
