#pragma once

#include <QLabel>

namespace tavu {

// A label that reads as a link: navy text, the hand-pointer cursor, and a
// signal when the operator clicks it.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& caption, QWidget* parent);

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

} // namespace tavu
