#pragma once

// The signals that ask the program to end: Ctrl+C (SIGINT), SIGTERM (kill, a
// logout, a service manager) and SIGHUP (its terminal closed). A program
// handles them in this one place, and what it does on them registers here:
// a watch takes some of them instead of letting them end the process (the
// window's close, serve's stop); one that no watch takes removes the files
// noted for it (the temporary files of the saves under way), then ends the
// process as it does by default. A signal the process was started to ignore
// (nohup) stays ignored. On Windows a console's Ctrl+C is the one such signal
// a watch can take, and no file is noted: Windows ends a console program at
// Ctrl+C without running any of it.

#include "base/result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <system_error>

namespace tavu {

enum class EndingSignal { Interrupt, Terminate, Hangup };

// From now on the ending signals are handled here; repeating it changes
// nothing. The system's error when a signal cannot be given its handler.
[[nodiscard]] Result<Done, std::error_code> handleEndingSignals();

// Holds the ending signals on this thread while it lives, errno kept, so that
// no signal comes between two steps that must be seen together: a file
// created and noted, or renamed and forgotten.
class EndingSignalsHeld {
public:
    EndingSignalsHeld();
    ~EndingSignalsHeld();
    EndingSignalsHeld(const EndingSignalsHeld&) = delete;
    EndingSignalsHeld& operator=(const EndingSignalsHeld&) = delete;

private:
    unsigned released_ = 0; // the signals to let through again, a bit each
};

// The most files noted at once: two full batches of saves.
inline constexpr std::size_t kMostNotedFiles = 256;
inline constexpr std::size_t kUnnoted = SIZE_MAX;
// Notes a file that an ending signal removes; its name must stay where it is
// until it is forgotten. Its place, or kUnnoted when every place is taken.
// Called with the signals held.
std::size_t noteFileToRemove(const char* path);
void forgetFileToRemove(std::size_t place);

// While it lives, the signals it takes call `taken` on a thread of the watch
// rather than end the process; signals that come together may call it once.
// One watch at a time.
class EndingSignalWatch {
public:
    // Whether it takes a signal the process was started to ignore: a window
    // started under nohup stays open at a hangup, while a hub that a script
    // started in the background still stops at Ctrl+C.
    enum class Ignored { StayIgnored, Taken };

    // The system's error when the signals cannot be taken.
    [[nodiscard]] static Result<std::unique_ptr<EndingSignalWatch>, std::error_code>
    start(std::initializer_list<EndingSignal> signals, std::function<void()> taken,
          Ignored ignored = Ignored::StayIgnored);
    ~EndingSignalWatch();
    EndingSignalWatch(const EndingSignalWatch&) = delete;
    EndingSignalWatch& operator=(const EndingSignalWatch&) = delete;

    struct State;

private:
    explicit EndingSignalWatch(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

} // namespace tavu
