#include "printing_thread.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <sstream>
#include <string>

namespace tavu::cli {
namespace {

// A stream that takes nothing until it is opened, as a pipe nobody reads.
class GatedStream : public std::stringbuf {
public:
    void open() {
        {
            const std::lock_guard lock(mutex_);
            opened_ = true;
        }
        changed_.notify_all();
    }

protected:
    std::streamsize xsputn(const char* text, std::streamsize size) override {
        waitUntilOpen();
        return std::stringbuf::xsputn(text, size);
    }
    int_type overflow(int_type c) override {
        waitUntilOpen();
        return std::stringbuf::overflow(c);
    }

private:
    void waitUntilOpen() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return opened_; });
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool opened_ = false;
};

TEST(PrintingThread, LinesBeyondThoseWaitingAreCountedInOneLine) {
    constexpr std::size_t kHanded = PrintingThread::kWaitingLinesKept + 10;
    GatedStream gate;
    std::ostream out(&gate);
    PrintingThread printing(out, [] {});
    for (std::size_t line = 0; line < kHanded; ++line) {
        printing.print("line");
    }
    gate.open();
    ASSERT_EQ(printing.finish(std::chrono::seconds(10)), PrintingThread::Ending::Printed);

    std::istringstream printed(gate.str());
    std::size_t lines = 0;
    std::size_t counts = 0;
    std::size_t leftOut = 0;
    for (std::string line; std::getline(printed, line);) {
        if (line == "line") {
            ++lines;
        } else {
            ++counts;
            leftOut = std::stoul(line.substr(1));
            EXPECT_TRUE(line.ends_with(" lines left out: they came faster than standard output took them)"))
                << line;
        }
    }
    EXPECT_EQ(counts, 1u);
    EXPECT_EQ(lines + leftOut, kHanded);
}

} // namespace
} // namespace tavu::cli
