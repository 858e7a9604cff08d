// Starts the minimal window program and the TAVU window program in turn, each
// on the offscreen platform, and times process start to window shown. The two
// alternate so that both meet the same load on a shared machine; every figure is
// the median over the runs, with the least and greatest beside it.
//
// usage: bench_startup RUNS MINIMAL_PROGRAM TAVU_PROGRAM

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double shownMilliseconds = 0;
    double peakMegabytes = 0;
};

std::int64_t monotonicNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// Owns a pipe's two ends until they are closed.
class Pipe {
public:
    Pipe() {
        if (pipe(ends_) != 0) {
            throw std::runtime_error("cannot create a pipe");
        }
    }
    ~Pipe() {
        closeWriteEnd();
        close(ends_[0]);
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    int readEnd() const { return ends_[0]; }
    int writeEnd() const { return ends_[1]; }
    void closeWriteEnd() {
        if (ends_[1] >= 0) {
            close(ends_[1]);
            ends_[1] = -1;
        }
    }

private:
    int ends_[2];
};

class SpawnActions {
public:
    SpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

std::string readAll(int descriptor) {
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(descriptor, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    return text;
}

// The value of "key=value" in the child's report.
double reported(const std::string& report, const std::string& key, const std::string& program) {
    const auto at = report.find(key + "=");
    if (at == std::string::npos) {
        throw std::runtime_error(program + " reported no " + key);
    }
    return std::stod(report.substr(at + key.size() + 1));
}

Run runOnce(const std::string& program) {
    Pipe output;
    SpawnActions actions;
    posix_spawn_file_actions_adddup2(actions.get(), output.writeEnd(), STDOUT_FILENO);
    posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* arguments[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t child = 0;
    const std::int64_t started = monotonicNanoseconds();
    if (posix_spawn(&child, program.c_str(), actions.get(), nullptr, arguments, environ) != 0) {
        throw std::runtime_error("cannot start " + program);
    }
    output.closeWriteEnd();
    const std::string report = readAll(output.readEnd());
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(program + " failed");
    }
    return {(reported(report, "shown_ns", program) - static_cast<double>(started)) / 1e6,
            reported(report, "peak_rss_kb", program) / 1024.0};
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void print(const char* key, const std::vector<double>& values) {
    std::printf("%s %.3f %.3f %.3f\n", key, median(values), *std::min_element(values.begin(), values.end()),
                *std::max_element(values.begin(), values.end()));
}

// A settings file of its own, so that no run reads or changes the operator's.
std::filesystem::path privateSettingsFolder() {
    std::string folder = (std::filesystem::temp_directory_path() / "tavu-startup-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    setenv("TAVU_INI", (std::filesystem::path(folder) / "TAVU.ini").c_str(), 1);
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 || std::atoi(argv[1]) < 1) {
        std::fputs("usage: bench_startup RUNS MINIMAL_PROGRAM TAVU_PROGRAM\n", stderr);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const std::string minimal = argv[2];
    const std::string tavu = argv[3];
    try {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        const std::filesystem::path settings = privateSettingsFolder();
        // One unmeasured run each brings the programs and libraries into the cache.
        runOnce(minimal);
        runOnce(tavu);
        std::map<std::string, std::vector<double>> figures;
        for (int i = 0; i < runs; ++i) {
            const Run floor = runOnce(minimal);
            const Run measured = runOnce(tavu);
            figures["startup_minimal_ms"].push_back(floor.shownMilliseconds);
            figures["startup_tavu_ms"].push_back(measured.shownMilliseconds);
            figures["startup_ratio"].push_back(measured.shownMilliseconds / floor.shownMilliseconds);
            figures["rss_minimal_mb"].push_back(floor.peakMegabytes);
            figures["rss_tavu_mb"].push_back(measured.peakMegabytes);
            figures["rss_excess_mb"].push_back(measured.peakMegabytes - floor.peakMegabytes);
        }
        std::filesystem::remove_all(settings);
        for (const auto& [key, values] : figures) {
            print(key.c_str(), values);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "bench_startup: %s\n", error.what());
        return 1;
    }
    return 0;
}
