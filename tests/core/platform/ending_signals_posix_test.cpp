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

// What becomes of a signal raised under a watch of Ctrl+C and SIGTERM.
enum class Outcome { Heard, Ignored, Ended };

struct SignalCase {
    const char* name;
    int signal;
    bool ignoredFromStart;
    EndingSignalWatch::Ignored ignored;
    Outcome outcome;
};

class EndingSignalWatchTest : public testing::TestWithParam<SignalCase> {};

// Run in a child: 0 when the watch heard the signal once, 3 when it heard none.
int raiseUnderAWatch(const SignalCase& row) {
    if (row.ignoredFromStart) {
        std::signal(row.signal, SIG_IGN);
    }
    std::atomic<int> heard = 0;
    const auto watch = EndingSignalWatch::start(
        {EndingSignal::Interrupt, EndingSignal::Terminate}, [&heard] { ++heard; }, row.ignored);
    if (!watch || ::raise(row.signal) != 0) {
        return 1;
    }
    for (int i = 0; i < 200 && heard == 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return heard == 0 ? 3 : heard == 1 ? 0 : 2;
}

TEST_P(EndingSignalWatchTest, TakesTheSignalsItNamesAndLetsTheOthersEnd) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(raiseUnderAWatch(GetParam()));
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    switch (GetParam().outcome) {
    case Outcome::Heard:
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
        break;
    case Outcome::Ignored:
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "status " << status;
        break;
    case Outcome::Ended:
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam().signal) << "status " << status;
        break;
    }
}

constexpr auto kStayIgnored = EndingSignalWatch::Ignored::StayIgnored;
constexpr auto kTaken = EndingSignalWatch::Ignored::Taken;

INSTANTIATE_TEST_SUITE_P(
    Signals, EndingSignalWatchTest,
    testing::Values(SignalCase{"Interrupt", SIGINT, false, kStayIgnored, Outcome::Heard},
                    SignalCase{"Terminate", SIGTERM, false, kStayIgnored, Outcome::Heard},
                    SignalCase{"Hangup", SIGHUP, false, kStayIgnored, Outcome::Ended},
                    SignalCase{"InterruptIgnoredFromTheStart", SIGINT, true, kStayIgnored, Outcome::Ignored},
                    SignalCase{"InterruptIgnoredFromTheStartButTaken", SIGINT, true, kTaken, Outcome::Heard}),
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
