#include "platform/ending_signals.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavu {
namespace {

struct SignalCase {
    const char* name;
    int signal;
    bool taken; // by a watch of Ctrl+C and SIGTERM
};

class EndingSignalWatchTest : public testing::TestWithParam<SignalCase> {};

// Run in a child: 0 when the watch heard the signal and the child lived on.
int raiseUnderAWatch(int signal) {
    std::atomic<int> heard = 0;
    const auto watch =
        EndingSignalWatch::start({EndingSignal::Interrupt, EndingSignal::Terminate}, [&heard] { ++heard; });
    if (!watch || ::raise(signal) != 0) {
        return 1;
    }
    for (int i = 0; i < 1000 && heard == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return heard == 1 ? 0 : 2;
}

TEST_P(EndingSignalWatchTest, TakesTheSignalsItNamesAndLetsTheOthersEnd) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(raiseUnderAWatch(GetParam().signal));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    if (GetParam().taken) {
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    } else {
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam().signal) << "status " << status;
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, EndingSignalWatchTest,
                         testing::Values(SignalCase{"Interrupt", SIGINT, true},
                                         SignalCase{"Terminate", SIGTERM, true},
                                         SignalCase{"Hangup", SIGHUP, false}),
                         [](const testing::TestParamInfo<SignalCase>& info) { return info.param.name; });

// Once the watch is gone, the signal ends the process again.
TEST(EndingSignalWatch, GoneLetsTheSignalEndTheProcess) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        {
            const auto watch = EndingSignalWatch::start({EndingSignal::Terminate}, [] {});
            if (!watch) {
                ::_exit(1);
            }
        }
        ::raise(SIGTERM);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
}

} // namespace
} // namespace tavu
