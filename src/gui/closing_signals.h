#pragma once

// The signals that ask a desktop program to end (SIGTERM at logout or from a
// service manager, SIGHUP, SIGINT) close every modal box that is open, nested
// ones included, as Cancel would, then the main window the normal way, so that
// its close saves the options and words, and a failed save is reported and
// asked about as at any close. Where the system has no such signals (Windows),
// nothing changes.

#include <memory>

class QWidget;

namespace tavu {

class EndingSignalWatch;

class ClosingSignals {
public:
    // One at a time: the program's signals have one watch.
    explicit ClosingSignals(QWidget& window);
    // The signals end the program again.
    ~ClosingSignals();
    ClosingSignals(const ClosingSignals&) = delete;
    ClosingSignals& operator=(const ClosingSignals&) = delete;

private:
    std::unique_ptr<EndingSignalWatch> watch_;
};

} // namespace tavu
