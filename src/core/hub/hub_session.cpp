#include "hub/hub_session.h"

#include "base/escaping.h"
#include "base/result.h"
#include "base/text.h"
#include "generator/generator.h"
#include "generator/menu_changes.h"
#include "hub/nmdc_key.h"

#include <algorithm>
#include <utility>

namespace tavu::hub {

namespace {

constexpr std::string_view kLock = "EXTENDEDPROTOCOL_TAVU_LOOPBACK_HUB";
// What the start of a refused message shows, at most.
constexpr std::size_t kShownStart = 40;

std::shared_ptr<const std::string> shared(std::string text) {
    return std::make_shared<const std::string>(std::move(text));
}

// The message and its "|", in a buffer of its size: a client's echoes are
// held for it until it reads them.
std::string ended(std::string_view message) {
    std::string text;
    text.reserve(message.size() + 1);
    text += message;
    text += '|';
    return text;
}

// The rest of the message after the command's name and its space, or nothing
// when the message is another command.
std::optional<std::string_view> argumentOf(std::string_view message, std::string_view command) {
    if (message == command) {
        return std::string_view();
    }
    if (message.size() > command.size() && message.starts_with(command) && message[command.size()] == ' ') {
        return message.substr(command.size() + 1);
    }
    return std::nullopt;
}

bool isReserved(std::string_view nick) {
    return equalsIgnoringAsciiCase(nick, kHubBot) || equalsIgnoringAsciiCase(nick, kOtherUser);
}

// A nick the hub accepts, or why it cannot be used.
Result<Done, std::string> usableNick(std::string_view nick, std::size_t nickBytes) {
    if (nick.empty()) {
        return std::string("an empty nick");
    }
    if (nick.size() > nickBytes) {
        return "a nick longer than " + std::to_string(nickBytes) + " bytes";
    }
    const bool unsendable = std::any_of(nick.begin(), nick.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte <= ' ' || byte == 0x7F || c == '$' || c == '|' || c == '<' || c == '>';
    });
    if (unsendable) {
        return std::string("a nick with a space, a control character, \"$\", \"|\", \"<\" or \">\"");
    }
    if (isReserved(nick)) {
        return std::string("the nick of a user of the hub");
    }
    return Done{};
}

std::string myInfo(std::string_view nick, std::string_view description) {
    return "$MyINFO $ALL " + std::string(nick) + " " + std::string(description) + "$ $LAN(T3)\x01$$0$|";
}

// The users besides the client: the hub's bot and the other user.
std::string otherUsersInfo() {
    return myInfo(kHubBot, "the loopback hub of TAVU") +
           myInfo(kOtherUser, "a user to try the user-list menu on");
}

std::string nickList(std::string_view nick) {
    return "$NickList " + std::string(kHubBot) + "$$" + std::string(kOtherUser) + "$$" + std::string(nick) +
           "$$|$OpList " + std::string(kHubBot) + "$$|";
}

// Text in the code page for a chat line, a character at a time: one that the
// code page cannot hold becomes "?", so that the line is still said.
std::string encodedChat(std::string_view utf8, CodePage page) {
    std::string text;
    appendEscaped(text, utf8);
    std::string encoded;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = std::max<std::size_t>(decodeUtf8Character(text, at).length, 1);
        const Conversion character = encodeUtf8(std::string_view(text).substr(at, length), page);
        encoded += character.failure ? std::string("?") : character.bytes;
        at += length;
    }
    return encoded;
}

// Text in the code page as UTF-8 for reading. A byte that a single-byte code
// page leaves undefined stays as it is, for the terminal's escaping to show it
// alone; malformed UTF-8 is escaped a byte at a time the same way.
std::string decodedForReading(std::string_view bytes, CodePage page) {
    Conversion whole = decodeToUtf8(bytes, page);
    if (!whole.failure) {
        return std::move(whole.bytes);
    }
    if (page == CodePage::Utf8) {
        return std::string(bytes);
    }
    std::string text;
    for (const char& byte : bytes) {
        const Conversion character = decodeToUtf8(std::string_view(&byte, 1), page);
        text += character.failure ? std::string(1, byte) : character.bytes;
    }
    return text;
}

} // namespace

// Appended piece by piece: GCC 12 optimising ("<" + std::string) warns of an
// overlapping copy that cannot happen.
std::string hubBotChat(std::string_view text) {
    std::string line = "<";
    line += kHubBot;
    line += "> ";
    line += text;
    line += '|';
    return line;
}

HubSession::HubSession(std::shared_ptr<const HubMenu> menu, const HubLimits& limits)
    : menu_(std::move(menu)), messageBytes_(limits.messageBytes), nickBytes_(limits.nickBytes) {}

std::shared_ptr<const std::string> HubSession::greeting() {
    static const auto text = shared("$Lock " + std::string(kLock) + " Pk=TAVU|$HubName " +
                                    std::string(kHubBot) + " loopback hub|");
    return text;
}

SessionStep HubSession::receive(std::string_view bytes) {
    SessionStep step;
    if (state_ == State::Closed) {
        return step;
    }
    std::size_t searched = held_.size();
    held_.append(bytes);
    std::size_t start = 0;
    while (state_ != State::Closed) {
        const std::size_t end = held_.find('|', searched);
        if (end == std::string::npos) {
            break;
        }
        if (end - start > messageBytes_) {
            break;
        }
        handle(std::string_view(held_).substr(start, end - start), step);
        start = end + 1;
        searched = start;
    }
    if (state_ == State::Closed) {
        std::string().swap(held_); // an assignment would keep the buffer
        return step;
    }
    held_.erase(0, start);
    if (held_.size() > messageBytes_) {
        refuse(step, "it sent a message longer than " + std::to_string(messageBytes_) + " bytes");
        std::string().swap(held_); // an assignment would keep the buffer
    } else if (held_.empty()) {
        held_.shrink_to_fit();
    }
    return step;
}

Outgoing HubSession::changeMenu(std::shared_ptr<const HubMenu> menu) {
    menu_ = std::move(menu);
    if (state_ != State::LoggedIn) {
        return {};
    }
    Outgoing pieces;
    if (!menu_->block.starts_with(kClearCommand)) {
        static const auto clear = shared(std::string(kClearCommand));
        pieces.push_back(clear);
    }
    const Outgoing menuBytes = menuPieces();
    pieces.insert(pieces.end(), menuBytes.begin(), menuBytes.end());
    return pieces;
}

void HubSession::handle(std::string_view message, SessionStep& step) {
    if (message.empty()) {
        return; // what clients send to keep the connection alive
    }
    if (message.find('\0') != std::string_view::npos) {
        refuse(step, "it sent binary data");
        return;
    }
    switch (state_) {
    case State::AwaitingKey:
        handleKey(message, step);
        break;
    case State::AwaitingNick:
        handleNick(message, step);
        break;
    case State::AwaitingInfo:
        handleInfo(message, step);
        break;
    case State::LoggedIn:
        handleLoggedIn(message, step);
        break;
    case State::Closed:
        break;
    }
}

void HubSession::handleKey(std::string_view message, SessionStep& step) {
    if (argumentOf(message, "$Supports")) {
        static const auto supports = shared("$Supports UserCommand NoGetINFO NoHello|");
        step.reply.push_back(supports);
        return;
    }
    const auto key = argumentOf(message, "$Key");
    if (!key) {
        refuse(step, "it sent " + quotedText(firstCharacters(message, kShownStart)) +
                         " where the hub awaits its $Key");
        return;
    }
    static const std::string expected = lockToKey(kLock);
    if (*key != expected) {
        refuse(step, "its $Key does not answer the hub's $Lock");
        return;
    }
    state_ = State::AwaitingNick;
}

void HubSession::handleNick(std::string_view message, SessionStep& step) {
    const auto nick = argumentOf(message, "$ValidateNick");
    if (!nick) {
        refuse(step, "it sent " + quotedText(firstCharacters(message, kShownStart)) +
                         " where the hub awaits its $ValidateNick");
        return;
    }
    if (const auto usable = usableNick(*nick, nickBytes_); !usable) {
        step.reply.push_back(shared("$ValidateDenide " + std::string(*nick) + "|"));
        refuse(step,
               "it asked for " + usable.failure() + ", " + quotedText(firstCharacters(*nick, kShownStart)));
        return;
    }
    nick_ = *nick;
    step.reply.push_back(shared("$Hello " + nick_ + "|"));
    state_ = State::AwaitingInfo;
}

void HubSession::handleInfo(std::string_view message, SessionStep& step) {
    if (argumentOf(message, "$Version") || argumentOf(message, "$GetINFO")) {
        return;
    }
    if (argumentOf(message, "$GetNickList")) {
        step.reply.push_back(shared(nickList(nick_)));
        return;
    }
    const auto info = argumentOf(message, "$MyINFO");
    if (!info) {
        refuse(step, "it sent " + quotedText(firstCharacters(message, kShownStart)) + " before it logged in");
        return;
    }
    if (!info->starts_with("$ALL " + nick_ + " ")) {
        refuse(step, "its $MyINFO is not that of the nick " + quotedText(nick_));
        return;
    }
    // The hub shows the client itself in its user list, as it is.
    step.reply.push_back(shared(std::string(message) + "|" + otherUsersInfo()));
    logIn(step);
}

void HubSession::logIn(SessionStep& step) {
    state_ = State::LoggedIn;
    const Outgoing menuBytes = menuPieces();
    step.reply.insert(step.reply.end(), menuBytes.begin(), menuBytes.end());
    step.lines.push_back(readable(nick_) + " logged in and got the menu");
}

void HubSession::handleLoggedIn(std::string_view message, SessionStep& step) {
    const std::string chatStart = "<" + nick_ + "> ";
    if (message.starts_with('<')) {
        if (!message.starts_with(chatStart)) {
            refuse(step, "it sent a chat message under another nick");
            return;
        }
        // Echoed to the client alone, so that its window shows what it said.
        step.reply.push_back(shared(ended(message)));
        step.lines.push_back(readable(message));
        return;
    }
    if (const auto privateMessage = argumentOf(message, "$To:")) {
        constexpr std::string_view kFrom = " From: ";
        const std::size_t from = privateMessage->find(kFrom);
        const std::string_view target = privateMessage->substr(0, from);
        const std::string_view rest =
            from == std::string_view::npos ? std::string_view() : privateMessage->substr(from + kFrom.size());
        if (!rest.starts_with(nick_ + " $" + chatStart)) {
            refuse(step, "it sent a private message under another nick");
            return;
        }
        step.lines.push_back(readable(chatStart) + "to " + readable(target) + ": " +
                             readable(rest.substr(nick_.size() + 2 + chatStart.size())));
        return;
    }
    if (argumentOf(message, "$GetNickList")) {
        step.reply.push_back(shared(nickList(nick_)));
        return;
    }
    // What clients send by themselves, which no menu item stands for.
    if (argumentOf(message, "$MyINFO") || argumentOf(message, "$GetINFO") ||
        argumentOf(message, "$Version")) {
        return;
    }
    step.lines.push_back(readable(nick_) + " sent " + readable(message));
}

void HubSession::refuse(SessionStep& step, const std::string& reason) {
    step.lines.push_back("refused " + (nick_.empty() ? std::string("a client") : readable(nick_)) + ": " +
                         reason);
    step.close = true;
    state_ = State::Closed;
}

Outgoing HubSession::menuPieces() const {
    // The block is shared with the menu, which every client holds.
    Outgoing pieces{std::shared_ptr<const std::string>(menu_, &menu_->block)};
    pieces.push_back(shared(hubBotChat(encodedChat(menu_->description, menu_->codePage))));
    return pieces;
}

// The text as the client meant it: in the menu's code page, the escapes of
// "$", "|" and "&" undone; control characters escaped for the terminal.
std::string HubSession::readable(std::string_view text) const {
    return escapedControls(decodedForReading(unescapeCommandText(text), menu_->codePage), "\\");
}

} // namespace tavu::hub
