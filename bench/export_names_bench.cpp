// File names for `generate --all` over many profiles: all named alike, so each
// needs its own " (k)", against as many names that differ.

#include "export/export_names.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace tavu::bench {

namespace {

constexpr int kProfiles = 3'000;

void nameFiles(benchmark::State& state, const std::vector<std::string>& profileNames) {
    for (auto _ : state) {
        std::vector<std::string> names = exportFileNames(profileNames);
        benchmark::DoNotOptimize(names.data());
    }
    state.counters["profiles"] = static_cast<double>(profileNames.size());
}

void EqualNames(benchmark::State& state) {
    nameFiles(state, std::vector<std::string>(kProfiles, "Same"));
}

void DistinctNames(benchmark::State& state) {
    std::vector<std::string> profileNames;
    for (int i = 0; i < kProfiles; ++i) {
        profileNames.push_back("Profile " + std::to_string(i));
    }
    nameFiles(state, profileNames);
}

BENCHMARK(EqualNames)->Unit(benchmark::kMillisecond);
BENCHMARK(DistinctNames)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tavu::bench

BENCHMARK_MAIN();
