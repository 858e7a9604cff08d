#pragma once

// The client library of EiskaltDC++ for one run of a program. It keeps its
// state in singletons and writes its settings, a hash file and a certificate
// under HOME, which points to a folder of the run's own.

#include "temporary_folder.h"

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>

namespace tavu::test {

class ReferenceLibraryRun {
public:
    // Starts the library for a client that logs in as `nick`; empty when it
    // started, else why not.
    [[nodiscard]] std::string start(const std::string& nick);
    // Shuts the library down and removes the folder it wrote in.
    void stop();

private:
    std::optional<TemporaryFolder> home_;
};

// The first outcome of what ends on the library's socket thread: empty for
// success, else why it failed; a later outcome (a connection that drops after
// the end) changes nothing.
class FirstOutcome {
public:
    void finish(const std::string& failure) {
        const std::scoped_lock lock(mutex_);
        if (!finished_) {
            finished_ = true;
            failure_ = failure;
            done_.notify_all();
        }
    }

    // The outcome, or `late` when none came within `limit`.
    [[nodiscard]] std::string wait(std::chrono::seconds limit, const std::string& late) {
        std::unique_lock lock(mutex_);
        if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
            return late;
        }
        return failure_;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::string failure_;
};

} // namespace tavu::test
