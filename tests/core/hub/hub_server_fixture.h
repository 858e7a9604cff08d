#pragma once

// What the tests of the loopback hub's server share: a server on a free port of
// its own thread, and the lines it printed.

#include "hub/hub_server.h"
#include "nmdc_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace tavu::hub::fixture {

using namespace std::chrono_literals;

inline const std::string kBlock = "$UserCommand 255 3|$UserCommand 1 3 Kick$<%[mynick]> .kick %[nick]&#124;|";

// The lines the server printed, each without its time of day.
class PrintedLines {
public:
    PrintLine printer() {
        return [this](const std::string& line) {
            const std::scoped_lock lock(mutex_);
            lines_.push_back(line.substr(line.find(' ') + 1));
            changed_.notify_all();
        };
    }

    bool waitFor(const std::string& line) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(
            lock, 10s, [&] { return std::find(lines_.begin(), lines_.end(), line) != lines_.end(); });
    }

    std::vector<std::string> lines() {
        const std::scoped_lock lock(mutex_);
        return lines_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
};

class HubServerTest : public testing::Test {
protected:
    void start(HubLimits limits = {}) {
        hub = std::make_unique<HubServerThread>(HubMenu{kBlock, "the test menu", CodePage::Utf8},
                                                printed.printer(), limits);
        ASSERT_TRUE(hub->start(kLoopbackAddress, 0).ok());
        port = hub->server().port();
    }

    PrintedLines printed;
    std::unique_ptr<HubServerThread> hub;
    std::uint16_t port = 0;
};

} // namespace tavu::hub::fixture
