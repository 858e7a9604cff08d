#include "child_process.h"
#include "cli_run.h"
#include "exit_statuses.h"
#include "nmdc_client.h"
#include "temporary_folder.h"

#include <asio/ip/tcp.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>

namespace tavu::test {
namespace {

using namespace std::chrono_literals;

const std::string kProfiles = TAVU_SOURCE_DIR "/examples/profiles.xml";

// The port of "dchub://127.0.0.1:4111".
std::uint16_t portOf(const std::string& address) {
    return static_cast<std::uint16_t>(std::stoi(address.substr(address.rfind(':') + 1)));
}

// tavu-cli serve run as its own process.
ChildProcess serveProcess(std::vector<std::string> arguments, const ChildStreams& streams = {}) {
    arguments.insert(arguments.begin(), {TAVU_CLI_PROGRAM, "serve"});
    return ChildProcess(arguments, streams);
}

class Serve : public testing::Test, public CliRun {
protected:
    void SetUp() override { folder.write("TAVU.ini", "[Settings]\nsOffsets=1\n"); }

    TemporaryFolder folder{"tavu-serve-"};
    std::string settings = (folder / "TAVU.ini").string();
};

TEST_F(Serve, ServesWhatGenerateWritesAndStopsOnCtrlC) {
    ASSERT_EQ(
        run({"generate", kProfiles, "--profile", "Operator", "--settings", settings, "--date", "01/02/2026"}),
        ExitDone)
        << err.str();
    const std::string generated = out.str();

    ChildProcess serve = serveProcess(
        {kProfiles, "--profile", "Operator", "--settings", settings, "--date", "01/02/2026", "--port", "0"});
    const std::string address = serve.nextLine();
    ASSERT_TRUE(address.starts_with("dchub://127.0.0.1:")) << address;
    EXPECT_EQ(serve.nextLine(), "You are looking at the menu of profile 1 \"Operator\" of " + kProfiles +
                                    ", with the words of the settings file, encoded as utf-8.");
    EXPECT_EQ(serve.nextLine(), "Connect an NMDC client to the address above; Ctrl+C stops the hub.");

    NmdcClient client(portOf(address));
    ASSERT_TRUE(client.logIn("tester"));
    EXPECT_NE(client.received().find("$MyINFO $ALL Alice "), std::string::npos);
    EXPECT_NE(client.received().find("$LAN(T3)\x01$$0$|" + generated + "<TAVU> You are looking at"),
              std::string::npos);
    EXPECT_EQ(serve.nextEvent(), "tester logged in and got the menu");
    client.send("<tester> .kick Alice flooding|$To: Alice From: tester $<tester> hi\x1b|");
    EXPECT_EQ(serve.nextEvent(), "<tester> .kick Alice flooding");
    EXPECT_EQ(serve.nextEvent(), "<tester> to Alice: hi\\x1B");

    ASSERT_TRUE(serve.signal(SIGINT));
    EXPECT_EQ(serve.nextLine(), "stopped; the hub served 1 client");
    EXPECT_EQ(serve.exitStatus(), ExitDone);
}

struct ReloadCase {
    const char* what;
    const char* option; // the option that names the file edited
    std::string before;
    std::string after;
    std::string shown; // in the menu sent anew
};

void PrintTo(const ReloadCase& value, std::ostream* out) {
    *out << value.what;
}

class ServeReload : public Serve, public testing::WithParamInterface<ReloadCase> {};

TEST_P(ServeReload, SendsTheMenuAnewWhenAFileChanges) {
    const ReloadCase& edit = GetParam();
    std::vector<std::string> arguments{kProfiles, "--index", "0", "--settings",
                                       settings,  "--port",  "0", "--reload"};
    const std::string file =
        edit.option == std::string("--settings") ? settings : (folder / "edited.ini").string();
    if (file != settings) {
        arguments.insert(arguments.end(), {edit.option, file});
    }
    std::ofstream(file) << edit.before;
    ChildProcess serve = serveProcess(arguments);
    const std::string address = serve.nextLine();
    ASSERT_TRUE(address.starts_with("dchub://")) << address;
    NmdcClient client(portOf(address));
    ASSERT_TRUE(client.logIn("tester"));
    const std::size_t before = client.received().size();
    const auto time = std::filesystem::last_write_time(file);
    std::ofstream(file) << edit.after;
    std::filesystem::last_write_time(file, time);
    EXPECT_TRUE(client.readUntil("<TAVU> ", 10s, before));
    EXPECT_TRUE(client.received().substr(before).starts_with("$UserCommand 255 3|"));
    EXPECT_NE(client.received().find(edit.shown, before), std::string::npos);
    ASSERT_TRUE(serve.signal(SIGTERM));
    EXPECT_EQ(serve.exitStatus(), ExitDone);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ServeReload,
    testing::Values(ReloadCase{"Settings", "--settings", "[Settings]\nsOffsets=1\n",
                               "[Settings]\nsOffsets=1\n[Strings]\nwKick=Boot\n", "Boot"},
                    ReloadCase{"SettingsOfTheSameSizeAndTime", "--settings",
                               "[Settings]\n[Strings]\nwKick=Boot\n", "[Settings]\n[Strings]\nwKick=Toss\n",
                               "Toss"},
                    ReloadCase{"LanguageFile", "--language",
                               "[Language]\nName=Test\nCode=xx\n[Strings]\nwKick=Boot\n",
                               "[Language]\nName=Test\nCode=xx\n[Strings]\nwKick=Tossed\n", "Tossed"},
                    ReloadCase{"OwnItemsFile", "--own-items", "[Own item 1]\nPath=Rules\nCommand=+rules\n",
                               "[Own item 1]\nPath=Rules\nCommand=+read the rules\n", "+read the rules"}),
    [](const auto& info) { return std::string(info.param.what); });

// A block's protocol commands would make the client do more than show a menu.
TEST_F(Serve, ServesNothingOfABlockButItsMenu) {
    const std::filesystem::path block = folder / "block\x1b.txt";
    std::ofstream(block) << "$UserCommand 1 3 A$a|$ForceMove evil.example:411|$UserCommand 1 3 B$b|";
    ChildProcess serve = serveProcess({"--block=" + block.string(), "--port", "0"});
    const std::string address = serve.nextLine();
    ASSERT_TRUE(address.starts_with("dchub://")) << address;
    EXPECT_EQ(serve.nextLine(),
              "You are looking at the block " + folder.path().string() + "/block\\x1B.txt, read as utf-8.");
    NmdcClient client(portOf(address));
    ASSERT_TRUE(client.logIn("tester"));
    EXPECT_NE(client.received().find("$UserCommand 1 3 A$a|$UserCommand 1 3 B$b|"), std::string::npos);
}

// The hub hands its lines over and never waits for them to be printed.
TEST_F(Serve, AnOutputNobodyReadsHoldsUpNoClient) {
    ChildProcess serve = serveProcess({kProfiles, "--index", "0", "--settings", settings, "--port", "0"});
    const std::uint16_t port = portOf(serve.nextLine());
    NmdcClient flooding(port);
    ASSERT_TRUE(flooding.logIn("flooding"));
    for (int line = 0; line < 5000; ++line) {
        flooding.send("<flooding> " + std::string(80, 'x') + "|");
    }
    // Its last echo says the hub has taken every line to print.
    flooding.send("<flooding> last|");
    ASSERT_TRUE(flooding.readUntil("<flooding> last|"));
    NmdcClient second(port);
    EXPECT_TRUE(second.logIn("second"));
    ASSERT_TRUE(serve.signal(SIGTERM));
    EXPECT_EQ(serve.exitStatus(), ExitOutputUnwritable);
}

TEST_F(Serve, AnOutputThatCannotBeWrittenEndsIt) {
    ChildProcess serve = serveProcess({kProfiles, "--index", "0", "--settings", settings, "--port", "0"},
                                      {.output = "/dev/full"});
    EXPECT_EQ(serve.exitStatus(), ExitOutputUnwritable);
}

class ServeOnAPortInUse : public Serve {
protected:
    int serve(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "serve");
        arguments.insert(arguments.end(), {"--port", port});
        return run(arguments);
    }

    asio::io_context io;
    asio::ip::tcp::acceptor taken{io, {asio::ip::make_address("127.0.0.1"), 0}};
    const std::string port = std::to_string(taken.local_endpoint().port());
};

TEST_F(ServeOnAPortInUse, IsReported) {
    for (const auto& [address, shown] :
         {std::pair{"127.0.0.1", "127.0.0.1"}, std::pair{"::ffff:127.0.0.1", "[::ffff:127.0.0.1]"}}) {
        EXPECT_EQ(serve({kProfiles, "--index", "0", "--settings", settings, "--listen", address}),
                  ExitCannotListen);
        EXPECT_TRUE(
            err.str().starts_with("tavu-cli: cannot listen on " + std::string(shown) + ":" + port + ": "))
            << err.str();
    }
}

TEST_F(ServeOnAPortInUse, WarnsOfTenProtocolCommandsLeftOutAndCountsTheRest) {
    const std::string block = (folder / "block.txt").string();
    const std::string piece = "$ConnectToMe tester 192.0.2.1:412|";
    std::string pieces;
    for (const std::size_t count : {10, 11}) {
        while (pieces.size() < count * piece.size()) {
            pieces += piece;
        }
        std::ofstream(block) << pieces;
        EXPECT_EQ(serve({"--block", block}), ExitCannotListen);
        const std::string warnings = err.str();
        EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), count == 10 ? 11 : 12) << warnings;
        EXPECT_EQ(warnings.find("left out of the menu served besides these: 1\n") != std::string::npos,
                  count == 11);
    }
}

} // namespace
} // namespace tavu::test
