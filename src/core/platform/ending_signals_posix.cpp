#include "platform/ending_signals.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace {

// In the order of tavu::EndingSignal.
constexpr std::array kEndingSignals{SIGINT, SIGTERM, SIGHUP};

const char* volatile notedFiles[tavu::kMostNotedFiles] = {};
// The signals a watch takes, a bit each, and the pipe it hears them on.
volatile std::sig_atomic_t takenSignals = 0;
volatile std::sig_atomic_t watchPipe = -1;

std::sig_atomic_t bitOf(int signal) {
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (kEndingSignals[i] == signal) {
            return static_cast<std::sig_atomic_t>(1U << i);
        }
    }
    return 0;
}

} // namespace

// Async-signal-safe: write, unlink, sigaction and raise only. A signal a watch
// takes is one byte into its non-blocking pipe; when the pipe is full it
// already holds bytes the watch has yet to read. Any other stays handled here
// while the noted files are removed, and the ending signals are held
// meanwhile, so that a second signal of a burst cannot end the process before
// the files are gone (an action reset on entry would let one arriving at that
// moment end it at once). Only then does the signal get its default action
// back, and raised again it ends the process as soon as the handler returns,
// with the status it conventionally has.
extern "C" {
static void onEndingSignal(int signal) {
    const int savedErrno = errno;
    if (const int pipe = watchPipe; pipe >= 0 && (takenSignals & bitOf(signal)) != 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t written = ::write(pipe, &byte, 1);
        errno = savedErrno;
        return;
    }
    for (const char* const volatile& path : notedFiles) {
        if (const char* const name = path; name != nullptr) {
            ::unlink(name);
        }
    }
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigemptyset(&byDefault.sa_mask);
    ::sigaction(signal, &byDefault, nullptr);
    ::raise(signal);
}
}

namespace tavu {

namespace {

std::error_code lastError() {
    return {errno, std::generic_category()};
}

sigset_t endingSet(unsigned bits) {
    sigset_t set;
    sigemptyset(&set);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if ((bits & (1U << i)) != 0) {
            sigaddset(&set, kEndingSignals[i]);
        }
    }
    return set;
}

// Gives the signals of `bits` the handler; those the process was started to
// ignore only when `ignoredToo` has their bits.
Result<Done, std::error_code> handle(unsigned bits, unsigned ignoredToo) {
    struct sigaction action {};
    action.sa_handler = onEndingSignal;
    action.sa_flags = SA_RESTART;
    action.sa_mask = endingSet(~0U);
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        struct sigaction before {};
        if ((bits & (1U << i)) == 0) {
            continue;
        }
        if (::sigaction(kEndingSignals[i], nullptr, &before) != 0) {
            return lastError();
        }
        const bool ignored = before.sa_handler == SIG_IGN && (ignoredToo & (1U << i)) == 0;
        if (!ignored && ::sigaction(kEndingSignals[i], &action, nullptr) != 0) {
            return lastError();
        }
    }
    return Done{};
}

} // namespace

Result<Done, std::error_code> handleEndingSignals() {
    return handle(~0U, 0);
}

EndingSignalsHeld::EndingSignalsHeld() {
    const sigset_t ending = endingSet(~0U);
    sigset_t before;
    if (::pthread_sigmask(SIG_BLOCK, &ending, &before) != 0) {
        return;
    }
    for (std::size_t i = 0; i < kEndingSignals.size(); ++i) {
        if (sigismember(&before, kEndingSignals[i]) == 0) {
            released_ |= 1U << i;
        }
    }
}

EndingSignalsHeld::~EndingSignalsHeld() {
    const int saved = errno;
    if (released_ != 0) {
        const sigset_t released = endingSet(released_);
        ::pthread_sigmask(SIG_UNBLOCK, &released, nullptr);
    }
    errno = saved;
}

std::size_t noteFileToRemove(const char* path) {
    for (std::size_t place = 0; place < kMostNotedFiles; ++place) {
        if (notedFiles[place] == nullptr) {
            notedFiles[place] = path;
            return place;
        }
    }
    return kUnnoted;
}

void forgetFileToRemove(std::size_t place) {
    if (place != kUnnoted) {
        notedFiles[place] = nullptr;
    }
}

struct EndingSignalWatch::State {
    std::array<int, 2> pipe{-1, -1};
    std::thread thread;

    ~State() {
        for (const int end : pipe) {
            // Nothing is lost with the pipe: no byte in it is wanted any more.
            if (end >= 0) {
                ::close(end);
            }
        }
    }
};

namespace {

// Calls `taken` once for the bytes that one read finds, until the pipe's
// writing end closes.
void hearSignals(int pipe, const std::function<void()>& taken) {
    char bytes[64];
    for (;;) {
        const ssize_t count = ::read(pipe, bytes, sizeof bytes);
        if (count > 0) {
            taken();
        } else if (count == 0 || errno != EINTR) {
            return;
        }
    }
}

} // namespace

Result<std::unique_ptr<EndingSignalWatch>, std::error_code>
EndingSignalWatch::start(std::initializer_list<EndingSignal> signals, std::function<void()> taken,
                         Ignored ignored) {
    auto state = std::make_unique<State>();
    if (::pipe2(state->pipe.data(), O_CLOEXEC) != 0 || ::fcntl(state->pipe[1], F_SETFL, O_NONBLOCK) != 0) {
        return lastError();
    }
    unsigned bits = 0;
    for (const EndingSignal signal : signals) {
        bits |= 1U << static_cast<unsigned>(signal);
    }
    if (auto handled = handle(~0U, ignored == Ignored::Taken ? bits : 0); !handled) {
        return handled.failure();
    }
    {
        // The thread starts with the signals held, and keeps them held: the
        // handler never runs on it.
        const EndingSignalsHeld held;
        state->thread = std::thread(hearSignals, state->pipe[0], std::move(taken));
    }
    takenSignals = static_cast<std::sig_atomic_t>(bits);
    watchPipe = state->pipe[1];
    return std::unique_ptr<EndingSignalWatch>(new EndingSignalWatch(std::move(state)));
}

EndingSignalWatch::EndingSignalWatch(std::unique_ptr<State> state) : state_(std::move(state)) {}

// The pipe's writing end closes, and the thread ends at the end of what it
// reads. The end is released even when close reports a failure, and no byte
// in the pipe is wanted any more.
EndingSignalWatch::~EndingSignalWatch() {
    watchPipe = -1;
    takenSignals = 0;
    ::close(state_->pipe[1]);
    state_->pipe[1] = -1;
    state_->thread.join();
}

} // namespace tavu
