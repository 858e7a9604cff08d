// The core's two costly steps, each beside the floor it is judged against:
// generating the full menu against copying as many bytes, and loading a large
// profiles file against libxml2 parsing it alone.

#include "generator/generator.h"
#include "profiles/profiles_document.h"
#include "profiles_file.h"
#include "support.h"

#include <benchmark/benchmark.h>
#include <libxml/parser.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace tavu::bench {

namespace {

constexpr int kLargeFileProfiles = 10'000;

// The full menu: every permission granted and every option on. The vocabulary
// is built once, as the program keeps one for all its generations.
Generation fullMenu(const ProfilesDocument& document) {
    static const Vocabulary vocabulary;
    return CreateUserCommands(document.profile(0), test::allOptionsOn(), vocabulary, "07/12/2026");
}

void reportOutput(benchmark::State& state, const std::string& text) {
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["emissions"] = static_cast<double>(std::count(text.begin(), text.end(), '|'));
}

void GenerateFullMenu(benchmark::State& state) {
    const ProfilesDocument document = test::everythingGranted().document();
    for (auto _ : state) {
        Generation generation = fullMenu(document);
        benchmark::DoNotOptimize(generation.text.data());
    }
    reportOutput(state, fullMenu(document).text);
}

// The floor for generation: moving the output's bytes once, with nothing decided.
void CopyFullMenuBytes(benchmark::State& state) {
    const std::string text = fullMenu(test::everythingGranted().document()).text;
    std::vector<char> target(text.size());
    for (auto _ : state) {
        std::memcpy(target.data(), text.data(), text.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    reportOutput(state, text);
}

const std::string& largeFile() {
    static const std::string file = profilesFile(std::vector<double>(kLargeFileProfiles, 1.0));
    return file;
}

void LoadLargeFile(benchmark::State& state) {
    const std::string& bytes = largeFile();
    for (auto _ : state) {
        auto loaded = ProfilesDocument::parse(bytes, "profiles.xml");
        if (!loaded) {
            state.SkipWithError(loaded.failure().reason.c_str());
            return;
        }
        benchmark::DoNotOptimize(loaded->names().data());
    }
    state.counters["profiles"] = kLargeFileProfiles;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

struct ParserContextDeleter {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

// The floor for loading: libxml2 alone, with the options parseXml passes (kept
// in step by hand), building and freeing the same tree.
void BareParseLargeFile(benchmark::State& state) {
    constexpr int options = XML_PARSE_NOENT | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING |
                            XML_PARSE_NOCDATA | XML_PARSE_COMPACT;
    const std::string& bytes = largeFile();
    xmlInitParser();
    for (auto _ : state) {
        std::unique_ptr<xmlParserCtxt, ParserContextDeleter> context(xmlNewParserCtxt());
        xmlDoc* document = xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()),
                                             nullptr, nullptr, options);
        if (document == nullptr) {
            state.SkipWithError("libxml2 could not parse the file");
            return;
        }
        xmlFreeDoc(document);
    }
    state.counters["profiles"] = kLargeFileProfiles;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

BENCHMARK(GenerateFullMenu)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyFullMenuBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(LoadLargeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BareParseLargeFile)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace tavu::bench

BENCHMARK_MAIN();
