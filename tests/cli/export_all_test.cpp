#include "child_process.h"
#include "cli_run.h"
#include "platform/file.h"
#include "support.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <thread>

namespace tavu::test {
namespace {

// An export of two profiles into a folder that holds more than their files.
class ExportInto : public testing::Test, public CliRun {
protected:
    void SetUp() override {
        std::filesystem::create_directories(menus);
        folder.write("TAVU.ini", "");
        const ProfileBuilder profile = ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands");
        folder.write("profiles.xml",
                     "<Profiles>" + profile.profile("Owner") + profile.profile("Guest") + "</Profiles>");
    }

    int exportAll() {
        return run({"generate", (folder / "profiles.xml").string(), "--all", "--out-dir", menus.string(),
                    "--settings", (folder / "TAVU.ini").string()});
    }

    TemporaryFolder folder{"tavu-export-"};
    std::filesystem::path menus = folder / "menus";
};

// Nothing outside the folder is written.
TEST_F(ExportInto, ASymbolicLinkIsReplacedAndTheFileItNamesKept) {
    const auto outside = folder / "outside.txt";
    std::ofstream(outside) << "keep";
    std::filesystem::create_symlink(outside, menus / "Owner.txt");
    EXPECT_EQ(exportAll(), ExitDone) << err.str();
    EXPECT_EQ(folder.read(outside), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(menus / "Owner.txt"));
    EXPECT_TRUE(folder.read(menus / "Owner.txt").starts_with("$UserCommand "))
        << folder.read(menus / "Owner.txt");
}

TEST_F(ExportInto, AFileThatCannotBeWrittenFailsTheRunAndNoOtherFile) {
    std::filesystem::create_directory(menus / "Owner.txt");
    EXPECT_EQ(exportAll(), ExitUnwritable);
    EXPECT_TRUE(std::filesystem::is_directory(menus / "Owner.txt"));
    EXPECT_TRUE(folder.read(menus / "Guest.txt").starts_with("$UserCommand "))
        << folder.read(menus / "Guest.txt");
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
class ExportProcess : public testing::Test, public CliRun {
protected:
    void SetUp() override {
        std::filesystem::create_directories(menus);
        folder.write("TAVU.ini", "");
        const std::string profile = everythingGranted().profile("NAME");
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

    ChildProcess startExport() const {
        return ChildProcess({TAVU_CLI_PROGRAM, "generate", profiles, "--all", "--out-dir", menus.string(),
                             "--settings", settings},
                            {.output = "/dev/null", .errors = "/dev/null"});
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
    bool waitForTemporaryFile(ChildProcess& child) const {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < deadline) {
            if (temporaryFiles() > 0) {
                return true;
            }
            if (child.ended()) {
                return false;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        return false;
    }

    // The block every profile gets, as one profile's export writes it.
    std::string wholeFile() {
        EXPECT_EQ(run({"generate", profiles, "--index", "0", "--settings", settings}), ExitDone) << err.str();
        return out.str();
    }

    TemporaryFolder folder{"tavu-interrupted-"};
    std::filesystem::path menus = folder / "menus";
    std::string profiles = (folder / "profiles.xml").string();
    std::string settings = (folder / "TAVU.ini").string();
};

class InterruptedExport : public ExportProcess, public testing::WithParamInterface<int> {};

// The run's own temporary files go, every file is as it was or wholly new, and
// the process ends as the signal ends it.
TEST_P(InterruptedExport, LeavesNoTemporaryFileAndEveryFileWhole) {
    ChildProcess child = startExport();
    ASSERT_TRUE(child.started());
    const bool caught = waitForTemporaryFile(child);
    ASSERT_TRUE(child.signal(GetParam()));
    EXPECT_EQ(child.endingSignal(), GetParam());
    ASSERT_TRUE(caught) << "the export ended before a temporary file was seen";
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
    ChildProcess child = startExport();
    ASSERT_TRUE(child.started());
    std::size_t most = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!child.ended()) {
        if (std::chrono::steady_clock::now() > deadline) {
            child.signal(SIGKILL);
        }
        most = std::max(most, temporaryFiles());
    }
    EXPECT_EQ(child.exitStatus(), ExitDone);
    EXPECT_GT(most, 0u) << "no temporary file was ever seen";
    EXPECT_LE(most, FileBatch::kMostStaged);
}

} // namespace
} // namespace tavu::test
