#pragma once

// A program run as a process of its own (POSIX only).

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace tavu::test {

// Where a child's standard output and error go.
struct ChildStreams {
    // Standard output: a pipe that nextLine and rest read when empty, else this file.
    std::string output{};
    // Standard error: the test's own when empty, else this file.
    std::string errors{};
    // Standard output is a pipe whose reading end is closed before the
    // program starts, which starts with SIGPIPE ignored, as a parent that
    // ignores it would leave it.
    bool nobodyReads = false;
};

// Killed, if it has not ended, when the object goes.
class ChildProcess {
public:
    // `arguments` start with the program's path.
    explicit ChildProcess(const std::vector<std::string>& arguments, const ChildStreams& streams = {});
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return child_ > 0; }
    bool signal(int number) const;

    // The next line of standard output without its line break; empty when none came in time.
    std::string nextLine(std::chrono::milliseconds time = std::chrono::seconds(10));
    // The line without its time of day, "HH:MM:SS ".
    std::string nextEvent() { return nextLine().substr(9); }
    // What standard output holds until the program closes it.
    std::string rest();

    // Whether it has ended, without waiting.
    bool ended();
    // Its exit status once it has exited within `time`; -1 when it did not
    // exit by itself in time (a signal ended it, or it still runs).
    int exitStatus(std::chrono::milliseconds time = std::chrono::seconds(10));
    // The signal that ended it within `time`; 0 when none did.
    int endingSignal(std::chrono::milliseconds time = std::chrono::seconds(10));

private:
    bool waitUntilEnded(std::chrono::milliseconds time);

    pid_t child_ = -1;
    int output_ = -1;
    bool ended_ = false;
    int status_ = 0;
    std::string pending_;
};

} // namespace tavu::test
