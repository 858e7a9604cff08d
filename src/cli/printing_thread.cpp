#include "printing_thread.h"

#include "exit_statuses.h"

#include <cstdlib>

namespace tavu::cli {

namespace {

std::string leftOutLine(std::size_t count) {
    std::string line(1, '(');
    line.append(std::to_string(count))
        .append(count == 1 ? " line" : " lines")
        .append(" left out: they came faster than standard output took them)");
    return line;
}

} // namespace

PrintingThread::PrintingThread(std::ostream& out, std::function<void()> writeFailed)
    : out_(out), writeFailed_(std::move(writeFailed)), thread_([this] { run(); }) {}

PrintingThread::~PrintingThread() {
    if (thread_.joinable()) {
        {
            const std::lock_guard lock(mutex_);
            ending_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
}

void PrintingThread::print(std::string line) {
    {
        const std::lock_guard lock(mutex_);
        if (failed_) {
            return;
        }
        if (waitingLines_ >= kWaitingLinesKept) {
            // The count goes after the lines that wait, once.
            if (leftOut_++ == 0) {
                waiting_.emplace_back();
            }
            return;
        }
        ++waitingLines_;
        waiting_.emplace_back(std::move(line));
    }
    changed_.notify_all();
}

std::optional<std::string> PrintingThread::nextText() {
    std::unique_lock lock(mutex_);
    writing_ = false;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !waiting_.empty() || ending_; });
    if (waiting_.empty()) {
        return std::nullopt;
    }
    std::string text;
    for (std::optional<std::string>& line : waiting_) {
        if (!line) {
            line = leftOutLine(leftOut_);
            leftOut_ = 0;
        }
        text.append(*line).push_back('\n');
    }
    waiting_.clear();
    waitingLines_ = 0;
    writing_ = true;
    return text;
}

void PrintingThread::run() {
    while (const std::optional<std::string> text = nextText()) {
        if (!out_.write(text->data(), static_cast<std::streamsize>(text->size())) || !out_.flush()) {
            {
                const std::lock_guard lock(mutex_);
                failed_ = true;
                writing_ = false;
                waiting_.clear();
            }
            changed_.notify_all();
            writeFailed_();
            return;
        }
    }
}

PrintingThread::Ending PrintingThread::finish(std::chrono::milliseconds time) {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, time, [this] { return failed_ || (waiting_.empty() && !writing_); })) {
        return Ending::NotRead;
    }
    ending_ = true;
    const bool failed = failed_;
    lock.unlock();
    changed_.notify_all();
    thread_.join();
    return failed ? Ending::WriteFailed : Ending::Printed;
}

int finishPrinting(PrintingThread& printer, std::chrono::milliseconds time, std::ostream& err) {
    switch (printer.finish(time)) {
    case PrintingThread::Ending::Printed:
        return ExitDone;
    case PrintingThread::Ending::WriteFailed:
        return ExitOutputUnwritable;
    case PrintingThread::Ending::NotRead:
        break;
    }
    err << "tavu-cli: standard output is not read; the lines that wait are not printed" << std::endl;
    std::_Exit(ExitOutputUnwritable);
}

} // namespace tavu::cli
