#include "closing_signals.h"

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>
#include <QtGlobal>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// The end of the pipe that the handler writes to.
volatile std::sig_atomic_t signalledPipe = -1;

} // namespace

// Async-signal-safe: one byte into a non-blocking pipe, errno kept. When the
// pipe is full it already holds bytes the window has yet to read.
extern "C" {
static void noteClosingSignal(int /*signal*/) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalledPipe, &byte, 1);
    errno = savedErrno;
}
}

namespace tavu {

namespace {

constexpr std::array kClosingSignals{SIGTERM, SIGHUP, SIGINT};

void warnIfFailed(bool failed, const char* what) {
    if (failed) {
        qWarning("tavu: %s: %s", what, std::strerror(errno));
    }
}

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

struct ClosingSignals::Watch {
    std::array<int, 2> pipe{-1, -1};
    std::array<struct sigaction, kClosingSignals.size()> previous{};
    std::array<bool, kClosingSignals.size()> handled{};
    std::unique_ptr<QSocketNotifier> notifier;
    bool closing = false;

    // Reads every byte the handler wrote: one close for signals that came together.
    void drain() const {
        char bytes[64];
        while (::read(pipe[0], bytes, sizeof bytes) > 0) {
        }
    }
};

ClosingSignals::ClosingSignals(QWidget& window) : watch_(std::make_unique<Watch>()) {
    Q_ASSERT(signalledPipe == -1);
    if (::pipe2(watch_->pipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        warnIfFailed(true, "the signals to end the program keep their default action");
        return;
    }
    signalledPipe = watch_->pipe[1];
    watch_->notifier = std::make_unique<QSocketNotifier>(watch_->pipe[0], QSocketNotifier::Read);
    Watch& watch = *watch_;
    QObject::connect(watch.notifier.get(), &QSocketNotifier::activated, &window, [&watch, &window] {
        watch.drain();
        // A signal while the close asks about a failed save waits for the answer.
        if (watch.closing) {
            return;
        }
        watch.closing = true;
        closeModalBoxes();
        window.close();
        watch.closing = false;
    });
    struct sigaction action {};
    action.sa_handler = noteClosingSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (std::size_t i = 0; i < kClosingSignals.size(); ++i) {
        // A signal the program was started to ignore (nohup) stays ignored.
        if (::sigaction(kClosingSignals[i], nullptr, &watch_->previous[i]) != 0 ||
            watch_->previous[i].sa_handler == SIG_IGN) {
            continue;
        }
        watch_->handled[i] = ::sigaction(kClosingSignals[i], &action, nullptr) == 0;
        warnIfFailed(!watch_->handled[i], "a signal to end the program keeps its default action");
    }
}

ClosingSignals::~ClosingSignals() {
    for (std::size_t i = 0; i < kClosingSignals.size(); ++i) {
        if (watch_->handled[i]) {
            warnIfFailed(::sigaction(kClosingSignals[i], &watch_->previous[i], nullptr) != 0,
                         "a signal's action cannot be restored");
        }
    }
    watch_->notifier.reset();
    signalledPipe = -1;
    for (const int end : watch_->pipe) {
        if (end >= 0) {
            warnIfFailed(::close(end) != 0, "the pipe of the signals cannot be closed");
        }
    }
}

} // namespace tavu
