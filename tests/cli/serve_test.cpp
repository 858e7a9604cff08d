#include "cli.h"
#include "exit_statuses.h"
#include "nmdc_client.h"

#include <asio/ip/tcp.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tavu::test {
namespace {

using namespace std::chrono_literals;

const std::string kProfiles = TAVU_SOURCE_DIR "/examples/profiles.xml";

// The port of "dchub://127.0.0.1:4111".
std::uint16_t portOf(const std::string& address) {
    return static_cast<std::uint16_t>(std::stoi(address.substr(address.rfind(':') + 1)));
}

// tavu-cli run as its own process, its standard output read line by line.
class CliProcess {
public:
    // Standard output goes to a pipe, or to the file `outputFile` names.
    explicit CliProcess(std::vector<std::string> arguments, const char* outputFile = nullptr) {
        int output[2];
        if (::pipe(output) != 0) {
            return;
        }
        if (outputFile) {
            ::close(output[1]);
            output[1] = ::open(outputFile, O_WRONLY);
        }
        child_ = ::fork();
        if (child_ == 0) {
            std::vector<char*> argv{const_cast<char*>(TAVU_CLI_PROGRAM)};
            for (std::string& argument : arguments) {
                argv.push_back(argument.data());
            }
            argv.push_back(nullptr);
            if (::dup2(output[1], STDOUT_FILENO) >= 0) {
                ::execv(TAVU_CLI_PROGRAM, argv.data());
            }
            ::_exit(127);
        }
        ::close(output[1]);
        output_ = output[0];
    }
    ~CliProcess() {
        if (child_ > 0 && !waited_) {
            ::kill(child_, SIGKILL);
            ::waitpid(child_, nullptr, 0);
        }
        if (output_ >= 0) {
            ::close(output_);
        }
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;

    // The next line, without its line break; empty when none came in time.
    std::string nextLine(std::chrono::milliseconds time = 10s) {
        const auto end = std::chrono::steady_clock::now() + time;
        while (pending_.find('\n') == std::string::npos) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
            pollfd waiting{output_, POLLIN, 0};
            char buffer[4096];
            if (left.count() <= 0 || ::poll(&waiting, 1, static_cast<int>(left.count())) != 1) {
                return {};
            }
            const ssize_t size = ::read(output_, buffer, sizeof buffer);
            if (size <= 0) {
                return {};
            }
            pending_.append(buffer, static_cast<std::size_t>(size));
        }
        const std::size_t end_of_line = pending_.find('\n');
        std::string line = pending_.substr(0, end_of_line);
        pending_.erase(0, end_of_line + 1);
        return line;
    }

    // The line without its time of day, "HH:MM:SS ".
    std::string nextEvent() { return nextLine().substr(9); }

    bool signal(int number) const { return ::kill(child_, number) == 0; }

    // The exit status, or -1 when it did not exit by itself within 10 s
    // (the destructor then kills it).
    int exitStatus() {
        int status = 0;
        for (int tenths = 0; tenths < 100 && !waited_; ++tenths) {
            waited_ = ::waitpid(child_, &status, WNOHANG) == child_;
            if (!waited_) {
                std::this_thread::sleep_for(100ms);
            }
        }
        return waited_ && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t child_ = -1;
    int output_ = -1;
    bool waited_ = false;
    std::string pending_;
};

class Serve : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tavu-serve-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
        settings = (folder / "TAVU.ini").string();
        std::ofstream(settings) << "[Settings]\nsOffsets=1\n";
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::filesystem::path folder;
    std::string settings;
};

TEST_F(Serve, ServesWhatGenerateWritesAndStopsOnCtrlC) {
    std::ostringstream generated;
    std::ostringstream errors;
    const std::vector<std::string_view> generate{"generate",   kProfiles, "--profile", "Operator",
                                                 "--settings", settings,  "--date",    "01/02/2026"};
    ASSERT_EQ(runCli(generate, generated, errors), ExitDone) << errors.str();

    CliProcess serve({"serve", kProfiles, "--profile", "Operator", "--settings", settings, "--date",
                      "01/02/2026", "--port", "0"});
    const std::string address = serve.nextLine();
    ASSERT_TRUE(address.starts_with("dchub://127.0.0.1:")) << address;
    EXPECT_EQ(serve.nextLine(), "You are looking at the menu of profile 1 \"Operator\" of " + kProfiles +
                                    ", with the words of the settings file, encoded as utf-8.");
    EXPECT_EQ(serve.nextLine(), "Connect an NMDC client to the address above; Ctrl+C stops the hub.");

    NmdcClient client(portOf(address));
    ASSERT_TRUE(client.logIn("tester"));
    EXPECT_NE(client.received().find("$MyINFO $ALL Alice "), std::string::npos);
    EXPECT_NE(client.received().find("$LAN(T3)\x01$$0$|" + generated.str() + "<TAVU> You are looking at"),
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
    std::vector<std::string> arguments{"serve",  kProfiles, "--index", "0",       "--settings",
                                       settings, "--port",  "0",       "--reload"};
    const std::string file =
        edit.option == std::string("--settings") ? settings : (folder / "edited.ini").string();
    if (file != settings) {
        arguments.insert(arguments.end(), {edit.option, file});
    }
    std::ofstream(file) << edit.before;
    CliProcess serve(arguments);
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
    CliProcess serve({"serve", "--block=" + block.string(), "--port", "0"});
    const std::string address = serve.nextLine();
    ASSERT_TRUE(address.starts_with("dchub://")) << address;
    EXPECT_EQ(serve.nextLine(),
              "You are looking at the block " + folder.string() + "/block\\x1B.txt, read as utf-8.");
    NmdcClient client(portOf(address));
    ASSERT_TRUE(client.logIn("tester"));
    EXPECT_NE(client.received().find("$UserCommand 1 3 A$a|$UserCommand 1 3 B$b|"), std::string::npos);
}

// The hub hands its lines over and never waits for them to be printed.
TEST_F(Serve, AnOutputNobodyReadsHoldsUpNoClient) {
    CliProcess serve({"serve", kProfiles, "--index", "0", "--settings", settings, "--port", "0"});
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
    CliProcess serve({"serve", kProfiles, "--index", "0", "--settings", settings, "--port", "0"},
                     "/dev/full");
    EXPECT_EQ(serve.exitStatus(), ExitOutputUnwritable);
}

class ServeOnAPortInUse : public Serve {
protected:
    int run(std::vector<std::string_view> arguments) {
        arguments.insert(arguments.end(), {"--port", port});
        err.str("");
        return runCli(arguments, out, err);
    }

    asio::io_context io;
    asio::ip::tcp::acceptor taken{io, {asio::ip::make_address("127.0.0.1"), 0}};
    const std::string port = std::to_string(taken.local_endpoint().port());
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(ServeOnAPortInUse, IsReported) {
    for (const auto& [address, shown] :
         {std::pair{"127.0.0.1", "127.0.0.1"}, std::pair{"::ffff:127.0.0.1", "[::ffff:127.0.0.1]"}}) {
        EXPECT_EQ(run({"serve", kProfiles, "--index", "0", "--settings", settings, "--listen", address}),
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
        EXPECT_EQ(run({"serve", "--block", block}), ExitCannotListen);
        const std::string warnings = err.str();
        EXPECT_EQ(std::count(warnings.begin(), warnings.end(), '\n'), count == 10 ? 11 : 12) << warnings;
        EXPECT_EQ(warnings.find("left out of the menu served besides these: 1\n") != std::string::npos,
                  count == 11);
    }
}

} // namespace
} // namespace tavu::test
