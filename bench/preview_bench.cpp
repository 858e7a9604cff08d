// The menu preview of large and deep blocks, as `tavu-cli check` reads them:
// the menus built and printed. Blocks of 5,000 and 40,000 items show how the
// time grows with the block; a block eight times larger should take about
// eight times as long.

#include "preview/menu_preview.h"
#include "preview/preview_text.h"

#include <benchmark/benchmark.h>

#include <string>

namespace tavu::bench {

namespace {

// Items in groups of 50 under their own submenus, every 25th repeating an
// earlier title, every 100th in the search menu only, a separator after every
// 10th and a clear of the search menu every 1,000 items: every path of the
// reading is taken, and nearly every item stays in the menus.
std::string largeBlock(std::size_t items) {
    std::string block;
    for (std::size_t i = 0; i < items; ++i) {
        const std::size_t title = i % 25 == 24 ? i - 12 : i;
        block += std::string("$UserCommand 1 ") + (i % 100 == 50 ? "4" : "3") + " Menu\\Group " +
                 std::to_string(title / 50) + "\\Item " + std::to_string(title) + "$<%[mynick]> .do " +
                 std::to_string(i) + " %[line:Nick]&#124;|";
        if (i % 10 == 9) {
            block += "$UserCommand 0 3|";
        }
        if (i % 1000 == 999) {
            block += "$UserCommand 255 4|";
        }
    }
    return block;
}

// One item under `levels` nested submenus, as a title of backslashes makes it.
std::string deepBlock(std::size_t levels) {
    std::string title;
    for (std::size_t i = 0; i < levels; ++i) {
        title += "a\\";
    }
    return "$UserCommand 1 3 " + title + "x$y|";
}

void report(benchmark::State& state, const std::string& block, const std::string& text) {
    state.counters["block bytes"] = static_cast<double>(block.size());
    state.counters["text bytes"] = static_cast<double>(text.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * block.size()));
}

void check(benchmark::State& state, const std::string& block) {
    for (auto _ : state) {
        std::string text = preview::previewText(preview::previewUserCommands(block));
        benchmark::DoNotOptimize(text.data());
    }
    report(state, block, preview::previewText(preview::previewUserCommands(block)));
}

void CheckLargeBlock(benchmark::State& state) {
    check(state, largeBlock(static_cast<std::size_t>(state.range(0))));
}

void CheckDeepBlock(benchmark::State& state) {
    check(state, deepBlock(static_cast<std::size_t>(state.range(0))));
}

BENCHMARK(CheckLargeBlock)->Arg(5'000)->Arg(40'000)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckDeepBlock)->Arg(1'000)->Arg(8'000)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tavu::bench

BENCHMARK_MAIN();
