#include "cli.h"
#include "platform/file.h"
#include "support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavu::test {
namespace {

std::string readFile(const std::filesystem::path& path) {
    return readRegularFile(path, kBlockFileLimit).bytes;
}

// An export of two profiles into a folder that holds more than their files.
class ExportInto : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tavu-export-" + std::to_string(::getpid()));
        menus = folder / "menus";
        std::filesystem::create_directories(menus);
        profiles = (folder / "profiles.xml").string();
        settings = (folder / "TAVU.ini").string();
        std::ofstream(settings) << "";
        const ProfileBuilder profile = ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands");
        const std::string owner = profile.xml("Owner");
        const std::string guest = profile.xml("Guest");
        const auto start = guest.find("<Profile>");
        std::ofstream(profiles) << owner.substr(0, owner.find("</Profiles>"))
                                << guest.substr(start, guest.find("</Profiles>") - start) << "</Profiles>";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    int run() {
        const std::string outDir = menus.string();
        const std::vector<std::string_view> arguments{"generate", profiles,     "--all", "--out-dir",
                                                      outDir,     "--settings", settings};
        return runCli(arguments, out, err);
    }

    std::filesystem::path folder;
    std::filesystem::path menus;
    std::string profiles;
    std::string settings;
    std::ostringstream out;
    std::ostringstream err;
};

// Nothing outside the folder is written.
TEST_F(ExportInto, ASymbolicLinkIsReplacedAndTheFileItNamesKept) {
    const auto outside = folder / "outside.txt";
    std::ofstream(outside) << "keep";
    std::filesystem::create_symlink(outside, menus / "Owner.txt");
    EXPECT_EQ(run(), ExitDone) << err.str();
    EXPECT_EQ(readFile(outside), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(menus / "Owner.txt"));
    EXPECT_TRUE(readFile(menus / "Owner.txt").starts_with("$UserCommand ")) << readFile(menus / "Owner.txt");
}

TEST_F(ExportInto, AFileThatCannotBeWrittenFailsTheRunAndNoOtherFile) {
    std::filesystem::create_directory(menus / "Owner.txt");
    EXPECT_EQ(run(), ExitUnwritable);
    EXPECT_TRUE(std::filesystem::is_directory(menus / "Owner.txt"));
    EXPECT_TRUE(readFile(menus / "Guest.txt").starts_with("$UserCommand ")) << readFile(menus / "Guest.txt");
    EXPECT_NE(err.str().find(": profile 0 \"Owner\": cannot write " + (menus / "Owner.txt").string() +
                             ": Is a directory\n"),
              std::string::npos)
        << err.str();
    EXPECT_EQ(out.str(), "wrote " + (menus / "Guest.txt").string() + " for profile 1 \"Guest\"\n");
}

constexpr int kProfiles = 2'000;
constexpr std::string_view kOld = "the file as it was";

// tavu-cli generate --all run as its own process over many large profiles, into
// a folder where every profile's file is already there.
class ExportProcess : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tavu-interrupted-" + std::to_string(::getpid()));
        menus = folder / "menus";
        std::filesystem::create_directories(menus);
        profiles = folder / "profiles.xml";
        settings = folder / "TAVU.ini";
        std::ofstream(settings) << "";
        const std::string one = everythingGranted().xml("NAME");
        const auto start = one.find("<Profile>");
        const std::string profile = one.substr(start, one.find("</Profiles>") - start);
        const auto name = profile.find("NAME");
        std::ofstream xml(profiles);
        xml << "<Profiles>";
        for (int i = 0; i < kProfiles; ++i) {
            const std::string fileName = "P" + std::to_string(i);
            xml << profile.substr(0, name) << fileName << profile.substr(name + 4);
            std::ofstream(menus / (fileName + ".txt")) << kOld;
        }
        xml << "</Profiles>";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    pid_t startExport() const {
        const pid_t child = ::fork();
        if (child == 0) {
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDOUT_FILENO);
            ::dup2(null, STDERR_FILENO);
            ::execl(TAVU_CLI_PROGRAM, "tavu-cli", "generate", profiles.c_str(), "--all", "--out-dir",
                    menus.c_str(), "--settings", settings.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        return child;
    }

    std::size_t temporaryFiles() const {
        std::size_t count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(menus)) {
            count += entry.path().filename().string().find(".saving-") != std::string::npos ? 1 : 0;
        }
        return count;
    }

    // Whether a temporary file appeared while the export ran, looking for at
    // most ten seconds.
    bool waitForTemporaryFile(pid_t child) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (temporaryFiles() > 0) {
                return true;
            }
            if (::waitpid(child, nullptr, WNOHANG) != 0) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

    // The block every profile gets, as one profile's export writes it.
    std::string wholeFile() const {
        std::ostringstream out;
        std::ostringstream err;
        const std::string profilesPath = profiles.string();
        const std::string settingsPath = settings.string();
        const std::vector<std::string_view> arguments{"generate", profilesPath, "--index",
                                                      "0",        "--settings", settingsPath};
        EXPECT_EQ(runCli(arguments, out, err), ExitDone) << err.str();
        return out.str();
    }

    std::filesystem::path folder;
    std::filesystem::path menus;
    std::filesystem::path profiles;
    std::filesystem::path settings;
};

class InterruptedExport : public ExportProcess, public testing::WithParamInterface<int> {};

// The run's own temporary files go, every file is as it was or wholly new, and
// the process ends as the signal ends it.
TEST_P(InterruptedExport, LeavesNoTemporaryFileAndEveryFileWhole) {
    const pid_t child = startExport();
    ASSERT_GT(child, 0);
    const bool caught = waitForTemporaryFile(child);
    ::kill(child, GetParam());
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(caught) << "the export ended before a temporary file was seen";
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == GetParam()) << "status " << status;
    EXPECT_EQ(temporaryFiles(), 0u);
    const std::string whole = wholeFile();
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(menus)) {
        const std::string bytes = readRegularFile(entry.path(), kBlockFileLimit).bytes;
        EXPECT_TRUE(bytes == kOld || bytes == whole) << entry.path() << ": " << bytes.size() << " bytes";
        ++files;
    }
    EXPECT_EQ(files, static_cast<std::size_t>(kProfiles));
}

INSTANTIATE_TEST_SUITE_P(Signals, InterruptedExport, testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const auto& info) { return std::string(sigabbrev_np(info.param)); });

// A process killed outright leaves at most one batch of temporary files.
TEST_F(ExportProcess, HoldsAtMostOneBatchOfTemporaryFiles) {
    const pid_t child = startExport();
    ASSERT_GT(child, 0);
    std::size_t most = 0;
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(child, SIGKILL);
        }
        most = std::max(most, temporaryFiles());
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == ExitDone) << "status " << status;
    EXPECT_GT(most, 0u) << "no temporary file was ever seen";
    EXPECT_LE(most, FileBatch::kMostStaged);
}

} // namespace
} // namespace tavu::test
