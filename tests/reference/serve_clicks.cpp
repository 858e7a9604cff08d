// Clicks three items of the Operator menu in the client library of
// EiskaltDC++, logged in to a running `tavu-cli serve` as "tester": Kick with
// a reason and Say on the user Alice, and a PM to everyone, each with its
// prompt answered. What the hub printed for them is the transcript in docs/scripting.md.
//
//   tavu_serve_clicks [PORT]      (4111 by default)

#include "reference_library.h"

#include <dcpp/stdinc.h>

#include <dcpp/ChatMessage.h>
#include <dcpp/Client.h>
#include <dcpp/ClientManager.h>
#include <dcpp/FavoriteManager.h>
#include <dcpp/Util.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// The hub's line in main chat that follows the menu.
constexpr std::string_view kMenuServed = "You are looking at";

// An item to click: a part of its command, and the answers to its prompts.
struct Click {
    std::string command;
    dcpp::ParamMap answers;
};

// Waits, on the library's socket thread, for the menu or the failure.
class MenuArrival : public dcpp::ClientListener {
public:
    void on(dcpp::ClientListener::Message, dcpp::Client* /*client*/,
            const dcpp::ChatMessage& message) noexcept override {
        if (message.text.starts_with(kMenuServed)) {
            finish({});
        }
    }
    void on(dcpp::ClientListener::Failed, dcpp::Client* /*client*/,
            const std::string& reason) noexcept override {
        finish(reason.empty() ? "the connection failed" : reason);
    }

    // Empty when the menu came within the time limit, else why not.
    [[nodiscard]] std::string wait() { return outcome_.wait(10s, "the menu did not arrive within 10 s"); }

private:
    void finish(const std::string& failure) { outcome_.finish(failure); }

    tavu::test::FirstOutcome outcome_;
};

// Clicks each item the hub's menu holds; the names of those it lacks.
std::vector<std::string> clickItems(dcpp::Client& client, const std::string& address,
                                    const std::vector<Click>& clicks) {
    std::vector<std::string> missing;
    const auto commands = dcpp::FavoriteManager::getInstance()->getUserCommands();
    for (const Click& click : clicks) {
        const auto item =
            std::find_if(commands.begin(), commands.end(), [&](const dcpp::UserCommand& command) {
                return command.getHub() == address && command.isRaw() &&
                       command.getCommand().find(click.command) != std::string::npos;
            });
        if (item == commands.end()) {
            missing.push_back(click.command);
            continue;
        }
        client.sendUserCmd(*item, click.answers);
        // A second apart, as the operator clicks them.
        std::this_thread::sleep_for(1s);
    }
    return missing;
}

int run(const std::string& port) {
    const std::string address = "127.0.0.1:" + port;
    dcpp::Client* client = dcpp::ClientManager::getInstance()->getClient(address);
    MenuArrival arrival;
    client->addListener(&arrival);
    client->connect();
    int status = 0;
    if (const std::string failure = arrival.wait(); !failure.empty()) {
        std::cerr << "tavu_serve_clicks: " << address << ": " << failure << '\n';
        status = 1;
    } else {
        const dcpp::ParamMap onAlice{{"mynick", "tester"}, {"nick", "Alice"}};
        auto answered = [&](const std::string& prompt, const std::string& answer) {
            dcpp::ParamMap answers = onAlice;
            answers["line:" + prompt] = answer;
            return answers;
        };
        const std::vector<Click> clicks{
            {".kick %[nick] %[line:Reason]", answered("Reason", "flooding")},
            {".say %[nick] %[line:Message]", answered("Message", "welcome back")},
            {".pm %[line:Message]", answered("Message", "the hub restarts at noon")}};
        for (const std::string& missing : clickItems(*client, address, clicks)) {
            std::cerr << "tavu_serve_clicks: the menu has no item that sends " << missing << '\n';
            status = 1;
        }
    }
    client->removeListener(&arrival);
    dcpp::ClientManager::getInstance()->putClient(client);
    return status;
}

} // namespace

int main(int argc, char** argv) {
    const std::string port = argc > 1 ? argv[1] : "4111";
    tavu::test::ReferenceLibraryRun library;
    if (const std::string failure = library.start("tester"); !failure.empty()) {
        std::cerr << "tavu_serve_clicks: " << failure << '\n';
        return 1;
    }
    const int status = run(port);
    library.stop();
    return status;
}
