#include "shown_probe.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <utility>

namespace tavu::bench {

namespace {

// Watches for the window's first paint event. The paint itself is still under
// way when the filter sees it, so `then` is queued behind it.
class FirstPaintFilter : public QObject {
public:
    FirstPaintFilter(QWidget& window, std::function<void()> then)
        : QObject(&window), then_(std::move(then)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && then_) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, watched, std::exchange(then_, {}));
        }
        return false;
    }

private:
    std::function<void()> then_;
};

} // namespace

std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

long peakResidentKilobytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

void whenFirstPainted(QWidget& window, std::function<void()> then) {
    window.installEventFilter(new FirstPaintFilter(window, std::move(then)));
}

void reportShown() {
    std::printf("shown_ns=%lld\n", static_cast<long long>(monotonicNanoseconds()));
    std::fflush(stdout);
}

void reportPeakResident() {
    std::printf("peak_rss_kb=%ld\n", peakResidentKilobytes());
    std::fflush(stdout);
}

} // namespace tavu::bench
