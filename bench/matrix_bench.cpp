// The matrix of every profile of a file of 1,000 profiles against its floor:
// generating each profile's block once, as generate --all does before it
// writes anything.

#include "generation/profile_generation.h"
#include "matrix/profile_matrix.h"
#include "profiles_file.h"
#include "support.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace tavu::bench {

namespace {

constexpr int kProfiles = 1'000;

// Profiles from none to every permission granted, so that the rows differ.
const ProfilesDocument& document() {
    static const ProfilesDocument profiles = [] {
        std::vector<double> shares;
        for (int i = 0; i < kProfiles; ++i) {
            shares.push_back(static_cast<double>(i + 1) / kProfiles);
        }
        return ProfilesDocument::parse(profilesFile(shares), "profiles.xml").value();
    }();
    return profiles;
}

GenerationInput input() {
    return GenerationInput{test::allOptionsOn(), Vocabulary{}, "07/12/2026", {}, {}, {}};
}

void MatrixOfEveryProfile(benchmark::State& state) {
    const GenerationInput generation = input();
    std::size_t cells = 0;
    for (auto _ : state) {
        auto matrix = buildProfileMatrix(document(), generation);
        if (!matrix) {
            state.SkipWithError("a generation stopped");
            return;
        }
        cells = matrix->items().size() * matrix->profiles().size();
        benchmark::DoNotOptimize(matrix->items().data());
    }
    state.counters["profiles"] = kProfiles;
    state.counters["cells"] = static_cast<double>(cells);
}

// The floor: each profile's block generated once, and dropped.
void GenerateEveryProfileOnce(benchmark::State& state) {
    const GenerationInput generation = input();
    for (auto _ : state) {
        for (std::size_t profile = 0; profile < document().names().size(); ++profile) {
            Generation block = CreateUserCommands(document().profile(static_cast<int>(profile)),
                                                  generation.options, generation.vocabulary, generation.date,
                                                  generation.changes, document().names()[profile]);
            benchmark::DoNotOptimize(block.text.data());
        }
    }
    state.counters["profiles"] = kProfiles;
}

BENCHMARK(MatrixOfEveryProfile)->Unit(benchmark::kMillisecond);
BENCHMARK(GenerateEveryProfileOnce)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tavu::bench

BENCHMARK_MAIN();
