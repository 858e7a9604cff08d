#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <thread>

namespace tavu::cli {

// Prints lines on a thread of its own, so that a terminal or pipe nobody reads
// holds up that thread alone, never the one that hands the lines over: at most
// kWaitingLinesKept lines wait, and those that come on top are counted, the
// count printed in one line after the lines that wait.
class PrintingThread {
public:
    static constexpr std::size_t kWaitingLinesKept = 1000;

    // `writeFailed` is called once, on the printing thread, when `out` cannot
    // be written; nothing is printed after that.
    PrintingThread(std::ostream& out, std::function<void()> writeFailed);
    ~PrintingThread();
    PrintingThread(const PrintingThread&) = delete;
    PrintingThread& operator=(const PrintingThread&) = delete;

    // From any thread; the line without its line break.
    void print(std::string line);

    enum class Ending { Printed, WriteFailed, NotRead };
    // Waits at most `time` for every waiting line to be printed, then ends the
    // thread. When nobody read them, the thread is left blocked in its write,
    // and only the end of the program ends it.
    [[nodiscard]] Ending finish(std::chrono::milliseconds time);

private:
    void run();
    // The text of what waits, taken off the queue; none when it is time to end.
    std::optional<std::string> nextText();

    std::ostream& out_;
    std::function<void()> writeFailed_;
    std::mutex mutex_;
    std::condition_variable changed_;
    // A line, or none where the count of the lines left out goes.
    std::deque<std::optional<std::string>> waiting_;
    std::size_t waitingLines_ = 0;
    std::size_t leftOut_ = 0;
    bool writing_ = false;
    bool failed_ = false;
    bool ending_ = false;
    std::thread thread_;
};

// Standard error is tied to standard output, which a write to it would flush
// first: from the hub's thread, into a terminal that may not be read. Untied
// while this lives.
class UntiedStream {
public:
    explicit UntiedStream(std::ostream& stream) : stream_(stream), tie_(stream.tie(nullptr)) {}
    ~UntiedStream() { stream_.tie(tie_); }
    UntiedStream(const UntiedStream&) = delete;
    UntiedStream& operator=(const UntiedStream&) = delete;

private:
    std::ostream& stream_;
    std::ostream* tie_;
};

// The exit status once the lines that wait were printed within `time`; a
// standard output nobody reads ends the program here, said on `err`, as the
// thread blocked in writing to it cannot be ended otherwise.
[[nodiscard]] int finishPrinting(PrintingThread& printer, std::chrono::milliseconds time, std::ostream& err);

} // namespace tavu::cli
