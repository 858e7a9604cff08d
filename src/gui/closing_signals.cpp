#include "closing_signals.h"

#include "platform/ending_signals.h"

#include <QApplication>
#include <QDialog>
#include <QMetaObject>
#include <QWidget>
#include <QtGlobal>

#include <memory>
#include <utility>

namespace tavu {

namespace {

// Closes every modal box open, the innermost first, as Cancel or Escape would:
// the code that opened each goes on as after that answer, and nothing is left
// for the operator to answer once the main window has closed. A box that does
// not close ends the loop rather than the program.
void closeModalBoxes() {
    const QWidget* last = nullptr;
    while (QWidget* modal = QApplication::activeModalWidget()) {
        if (modal == last) {
            return;
        }
        last = modal;
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }
}

} // namespace

ClosingSignals::ClosingSignals(QWidget& window) {
    // The watch's thread hands the close to the window's thread, where it runs
    // in whatever event loop turns, a modal box's included; a close on its way
    // when the watch goes still finds whether one is under way.
    const auto close = [&window, closing = std::make_shared<bool>(false)] {
        // A signal while the close asks about a failed save waits for the answer.
        if (*closing) {
            return;
        }
        *closing = true;
        closeModalBoxes();
        window.close();
        *closing = false;
    };
    auto watch = EndingSignalWatch::start(
        {EndingSignal::Interrupt, EndingSignal::Terminate, EndingSignal::Hangup},
        [&window, close] { QMetaObject::invokeMethod(&window, close, Qt::QueuedConnection); });
    if (!watch) {
        qWarning("tavu: the signals to end the program keep their default action: %s",
                 watch.failure().message().c_str());
        return;
    }
    watch_ = std::move(watch).value();
}

ClosingSignals::~ClosingSignals() = default;

} // namespace tavu
