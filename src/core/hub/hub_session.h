#pragma once

// One client's connection to the loopback hub, without the socket: it is fed
// the bytes the client sends, cut anywhere, and says what to send back and
// what to print. It logs the client in as an NMDC hub does, gives it the menu
// and a line in main chat, and from then on reports every message it sends.

#include "formats/code_page.h"

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::hub {

// The hub's own bot, which speaks in main chat, and the other user of the user
// list, so that the user-list menu has someone to act on.
inline constexpr std::string_view kHubBot = "TAVU";
inline constexpr std::string_view kOtherUser = "Alice";

// A line of the hub's bot in main chat, "<TAVU> TEXT|"; the text as it goes.
std::string hubBotChat(std::string_view text);

// What a hostile or broken client cannot go beyond; each ends only its own
// connection.
struct HubLimits {
    std::size_t connections = 64;
    // What one client may leave unsent of its own replies and echoes; the
    // menu, which every client shares, is not counted, but a menu waiting
    // behind `menusWaiting` is. A client that does not read is dropped.
    std::size_t unsentBytes = 1024 * 1024;
    // The menus a client may have waiting: one being sent, and the next that
    // replaces it.
    std::size_t menusWaiting = 2;
    std::chrono::milliseconds loginTime = std::chrono::seconds(30);
    std::chrono::milliseconds idleTime = std::chrono::minutes(10);
    // The longest message a client may send, "|" excluded, so that a client
    // cannot make the hub hold more.
    std::size_t messageBytes = 64 * 1024;
    // The longest nick the hub accepts.
    std::size_t nickBytes = 64;
};

// What the hub serves.
struct HubMenu {
    std::string block;                  // the bytes generate writes
    std::string description;            // UTF-8: what the client is looking at, said in main chat
    CodePage codePage = CodePage::Utf8; // of the block; the clients' messages are read in it too
};

// The bytes to send, in order; pieces shared between clients (the greeting,
// the menu) are not copied for each.
using Outgoing = std::vector<std::shared_ptr<const std::string>>;

struct [[nodiscard]] SessionStep {
    Outgoing reply;
    std::vector<std::string> lines; // to print, one a line, every control character escaped
    bool close = false;             // the connection ends once the reply is sent
};

class HubSession {
public:
    explicit HubSession(std::shared_ptr<const HubMenu> menu, const HubLimits& limits = {});

    // What the hub sends as a client connects: its lock and its name.
    static std::shared_ptr<const std::string> greeting();

    // Takes the next bytes the client sent.
    SessionStep receive(std::string_view bytes);

    // A new menu: a client already logged in gets the clear command, the new
    // block and its line in main chat; one still logging in gets it at the login.
    Outgoing changeMenu(std::shared_ptr<const HubMenu> menu);

    bool loggedIn() const { return state_ == State::LoggedIn; }
    // The nick it asked for, once the hub accepted it; empty before.
    const std::string& nick() const { return nick_; }
    // The menu it serves: its block is the one piece of a reply that every
    // client shares.
    const HubMenu& menu() const { return *menu_; }
    // The bytes held of a message not yet ended by "|".
    std::size_t heldBytes() const { return held_.capacity(); }

private:
    enum class State { AwaitingKey, AwaitingNick, AwaitingInfo, LoggedIn, Closed };

    void handle(std::string_view message, SessionStep& step);
    void handleKey(std::string_view message, SessionStep& step);
    void handleNick(std::string_view message, SessionStep& step);
    void handleInfo(std::string_view message, SessionStep& step);
    void handleLoggedIn(std::string_view message, SessionStep& step);
    void logIn(SessionStep& step);
    // The lines of a refused client and the end of its connection.
    void refuse(SessionStep& step, const std::string& reason);
    Outgoing menuPieces() const;
    std::string readable(std::string_view text) const;

    std::shared_ptr<const HubMenu> menu_;
    std::size_t messageBytes_;
    std::size_t nickBytes_;
    State state_ = State::AwaitingKey;
    std::string nick_;
    std::string held_; // the start of a message whose "|" has not come yet
};

} // namespace tavu::hub
