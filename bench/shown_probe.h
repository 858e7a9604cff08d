#pragma once

// What the start-up timer learns from the programs it starts: the moment the
// window was first painted and the process's peak memory, one "key=value" line
// each on standard output.

#include <cstdint>
#include <functional>

class QWidget;

namespace tavu::bench {

// CLOCK_MONOTONIC, which every process on the machine reads alike, so a child's
// reading can be subtracted from its parent's.
std::int64_t monotonicNanoseconds();

// VmHWM: the most resident memory the process has held, in kilobytes.
long peakResidentKilobytes();

// Runs `then` once, from the event loop, after `window` has been painted for the
// first time: by then the operator would see it.
void whenFirstPainted(QWidget& window, std::function<void()> then);

// Writes "shown_ns=<monotonic time>".
void reportShown();
// Writes "peak_rss_kb=<VmHWM>".
void reportPeakResident();

} // namespace tavu::bench
