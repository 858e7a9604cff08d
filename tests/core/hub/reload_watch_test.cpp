#include "hub/reload_watch.h"

#include "hub/hub_server.h"
#include "platform/file.h"

#include <asio/io_context.hpp>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

namespace tavu::hub {
namespace {

using namespace std::chrono_literals;

class ReloadWatchTest : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tavu-reload-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                  testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder);
        write("menu");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    void write(const std::string& bytes) const {
        const auto time = std::filesystem::exists(file()) ? std::filesystem::last_write_time(file())
                                                          : std::filesystem::file_time_type::clock::now();
        std::ofstream(file(), std::ios::binary) << bytes;
        // An edit that keeps size and time is still seen.
        std::filesystem::last_write_time(file(), time);
    }
    std::filesystem::path file() const { return folder / "block.txt"; }
    std::vector<WatchedFile> files() const { return {{file(), kBlockFileLimit}}; }

    std::filesystem::path folder;
};

TEST_F(ReloadWatchTest, StampsTellAnEditOfOneSizeAndTimeAndAMissingFileApart) {
    const std::vector<FileStamp> before = stampsOf(files());
    write("unem");
    EXPECT_NE(stampsOf(files()), before);
    write("");
    const std::vector<FileStamp> empty = stampsOf(files());
    std::filesystem::remove(file());
    EXPECT_NE(stampsOf(files()), empty);
}

// Made again once for a change, not for a look that finds none; the menu made
// is what the file holds now.
TEST_F(ReloadWatchTest, MakesTheMenuAgainOnceForEachChange) {
    asio::io_context io;
    HubServer server(io, HubMenu{"menu", "", CodePage::Utf8}, [](const std::string&) {});
    int made = 0;
    std::string block;
    const ServedMenu served{
        [&]() -> Result<MadeMenu, MenuFailure> {
            ++made;
            return MadeMenu{HubMenu{readRegularFile(file(), kBlockFileLimit).bytes, "", CodePage::Utf8}, {}};
        },
        files()};
    ReloadWatch watch(
        io, served, server, [&](const Result<MadeMenu, MenuFailure>& menu) { block = menu->menu.block; },
        5ms);
    watch.start();
    io.run_for(50ms);
    EXPECT_EQ(made, 0);
    write("unem");
    io.run_for(200ms);
    EXPECT_EQ(made, 1);
    EXPECT_EQ(block, "unem");
    watch.stop();
}

} // namespace
} // namespace tavu::hub
