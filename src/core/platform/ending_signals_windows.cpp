#include "platform/ending_signals.h"

#include <windows.h>

#include <mutex>
#include <utility>

namespace tavu {

struct EndingSignalWatch::State {
    std::function<void()> taken;
    bool interrupt = false;
};

namespace {

// The watch the console's handler calls, and the lock that keeps it alive
// while the handler runs on the thread the system made for it.
std::mutex watchLock;
EndingSignalWatch::State* activeWatch = nullptr;

// Ctrl+C is taken when the watch takes Interrupt; anything else (Ctrl+Break,
// the console's close, a logout) goes on to the system's handler.
BOOL WINAPI onConsoleControl(DWORD control) {
    if (control != CTRL_C_EVENT) {
        return FALSE;
    }
    const std::scoped_lock lock(watchLock);
    if (activeWatch == nullptr || !activeWatch->interrupt) {
        return FALSE;
    }
    activeWatch->taken();
    return TRUE;
}

} // namespace

// Windows ends a console program at Ctrl+C without running any of it: there
// is nothing to handle, and no file to remove.
Result<Done, std::error_code> handleEndingSignals() {
    return Done{};
}

EndingSignalsHeld::EndingSignalsHeld() = default;

EndingSignalsHeld::~EndingSignalsHeld() = default;

std::size_t noteFileToRemove(const char* /*path*/) {
    return kUnnoted;
}

void forgetFileToRemove(std::size_t /*place*/) {}

Result<std::unique_ptr<EndingSignalWatch>, std::error_code>
EndingSignalWatch::start(std::initializer_list<EndingSignal> signals, std::function<void()> taken,
                         Ignored /*ignored*/) {
    auto state = std::make_unique<State>();
    state->taken = std::move(taken);
    for (const EndingSignal signal : signals) {
        state->interrupt = state->interrupt || signal == EndingSignal::Interrupt;
    }
    if (!::SetConsoleCtrlHandler(onConsoleControl, TRUE)) {
        return std::error_code(static_cast<int>(::GetLastError()), std::system_category());
    }
    const std::scoped_lock lock(watchLock);
    activeWatch = state.get();
    return std::unique_ptr<EndingSignalWatch>(new EndingSignalWatch(std::move(state)));
}

EndingSignalWatch::EndingSignalWatch(std::unique_ptr<State> state) : state_(std::move(state)) {}

// Removing the handler cannot fail for one that was added; once the lock is
// had, no call of the handler is left that reads the watch.
EndingSignalWatch::~EndingSignalWatch() {
    ::SetConsoleCtrlHandler(onConsoleControl, FALSE);
    const std::scoped_lock lock(watchLock);
    activeWatch = nullptr;
}

} // namespace tavu
