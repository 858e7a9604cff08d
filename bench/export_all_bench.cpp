// `tavu-cli generate --all` over 2,000 profiles, every file atomic and durable
// when the command returns, against its floor: the same run with the same files
// written plainly, with no temporary file and no sync at all.

#include "cli.h"
#include "export/export_names.h"
#include "generator/generator.h"
#include "profiles/profiles_document.h"
#include "profiles_file.h"
#include "vocabulary/vocabulary.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace tavu::bench {

namespace {

constexpr int kProfiles = 2'000;

struct Folder {
    Folder()
        : path(std::filesystem::temp_directory_path() / ("tavu-bench-all-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
        settings = path / "TAVU.ini";
        std::ofstream(settings) << "";
        profiles = path / "profiles.xml";
        std::ofstream(profiles) << profilesFile(std::vector<double>(kProfiles, 0.5));
    }
    ~Folder() { std::filesystem::remove_all(path); }

    std::filesystem::path path;
    std::filesystem::path settings;
    std::filesystem::path profiles;
};

int exportAll(const Folder& folder, std::ostream& out) {
    const std::string profiles = folder.profiles.string();
    const std::string outDir = (folder.path / "menus").string();
    const std::string settings = folder.settings.string();
    const std::vector<std::string_view> arguments{"generate",   profiles, "--all",  "--out-dir", outDir,
                                                  "--settings", settings, "--date", "07/12/2026"};
    std::ostringstream err;
    return runCli(arguments, out, err);
}

void ExportAll(benchmark::State& state) {
    const Folder folder;
    for (auto _ : state) {
        std::ostringstream out;
        if (exportAll(folder, out) != ExitDone) {
            state.SkipWithError("the export failed");
            return;
        }
    }
    state.counters["files"] = kProfiles;
}

// The floor: the same profiles loaded, generated and written to the same file
// names, each plainly in place: no temporary file, no rename, no sync.
void WriteSameFilesUnsynced(benchmark::State& state) {
    const Folder folder;
    const std::filesystem::path outDir = folder.path / "menus";
    std::filesystem::create_directories(outDir);
    const Vocabulary vocabulary;
    for (auto _ : state) {
        const auto loaded = ProfilesDocument::load(folder.profiles);
        const std::vector<std::string> names = exportFileNames(loaded->names());
        for (std::size_t i = 0; i < names.size(); ++i) {
            const std::string bytes = CreateUserCommands(loaded->profile(static_cast<int>(i)),
                                                         GenerationOptions{}, vocabulary, "07/12/2026")
                                          .text;
            const int fd =
                ::open((outDir / names[i]).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()) ||
                ::close(fd) != 0) {
                state.SkipWithError("a plain write failed");
                return;
            }
        }
    }
    state.counters["files"] = kProfiles;
}

BENCHMARK(ExportAll)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(WriteSameFilesUnsynced)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

} // namespace tavu::bench

BENCHMARK_MAIN();
