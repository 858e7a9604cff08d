#pragma once

// Centring a window on the screen with its frame: the title bar and borders
// the window manager draws around it count as part of the window.

#include <QApplication>
#include <QEvent>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace tavu {

// Where the outer top-left corner of a window goes so that the centre of the
// whole window, frame included, is the centre of the available screen area.
// `client`: the window's size without its frame; `frame`: the frame around it.
inline QPoint centredFramePosition(const QRect& available, const QSize& client, const QMargins& frame) {
    return available.center() - QRect(QPoint(), client.grownBy(frame)).center();
}

// Centres a window on the primary screen when it is first shown, and only
// then: later it comes back where the operator left it. Qt knows the frame only
// once the window manager has put it around the window on the screen, so the
// window is placed first with the frame another window of the program already
// has, which the window manager draws alike, and placed once more when it
// first appears if its own frame turned out otherwise. The object belongs to
// the window.
class FirstShowCentring : public QObject {
public:
    explicit FirstShowCentring(QWidget& window) : QObject(&window), window_(window) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &window_ && event->type() == QEvent::Show) {
            window_.removeEventFilter(this);
            placeWithFrame(likelyFrame());
            handle_ = window_.windowHandle();
            if (handle_ != nullptr) {
                handle_->installEventFilter(this);
            }
        } else if (watched == handle_ && event->type() == QEvent::Expose && handle_->isExposed()) {
            handle_->removeEventFilter(this);
            // Now the frame is known, and the window is where the window manager put it.
            const QPoint target = framePosition(handle_->frameMargins());
            if (handle_->framePosition() != target) {
                window_.move(target);
            }
            handle_ = nullptr;
        }
        return false;
    }

private:
    // The window's own frame if Qt knows it already, otherwise that of another
    // window of the program on the screen, otherwise none.
    QMargins likelyFrame() const {
        if (const QWindow* own = window_.windowHandle(); own != nullptr && !own->frameMargins().isNull()) {
            return own->frameMargins();
        }
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            const QWindow* shown = other->windowHandle();
            if (other != &window_ && other->windowType() == Qt::Window && other->isVisible() &&
                shown != nullptr && shown->isExposed()) {
                return shown->frameMargins();
            }
        }
        return {};
    }

    QPoint framePosition(const QMargins& frame) const {
        const QScreen* screen = QGuiApplication::primaryScreen();
        return screen == nullptr ? window_.pos()
                                 : centredFramePosition(screen->availableGeometry(), window_.size(), frame);
    }

    // move() places a window's frame, not its client area.
    void placeWithFrame(const QMargins& frame) { window_.move(framePosition(frame)); }

    QWidget& window_;
    QWindow* handle_ = nullptr;
};

} // namespace tavu
