#include "hub/hub_session.h"

#include "hub/nmdc_key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tavu::hub {
namespace {

const std::string kBlock = "$UserCommand 255 3|$UserCommand 1 3 Kick$<%[mynick]> .kick %[nick]&#124;|";
const std::string kDescription = "You are looking at the test menu.";
const std::string kChatLine = "<TAVU> " + kDescription + "|";
const std::size_t kNickLimit = HubLimits{}.nickBytes;
const std::size_t kMessageLimit = HubLimits{}.messageBytes;

std::shared_ptr<const HubMenu> menu(const std::string& block = kBlock, CodePage page = CodePage::Utf8) {
    return std::make_shared<const HubMenu>(HubMenu{block, kDescription, page});
}

std::string joined(const Outgoing& pieces) {
    std::string bytes;
    for (const auto& piece : pieces) {
        bytes += *piece;
    }
    return bytes;
}

std::string lockOfGreeting() {
    const std::string& greeting = *HubSession::greeting();
    return greeting.substr(6, greeting.find(' ', 6) - 6);
}

std::string keyMessages(std::string_view nick) {
    return "$Supports UserCommand NoGetINFO NoHello|$Key " + lockToKey(lockOfGreeting()) + "|$ValidateNick " +
           std::string(nick) + "|";
}

std::string infoMessages(std::string_view nick) {
    return "$Version 1,0091|$GetNickList|$MyINFO $ALL " + std::string(nick) + " hi$ $LAN(T3)\x01$$0$|";
}

// What the session did with all the bytes fed to it, one call each.
struct Fed {
    std::string reply;
    std::vector<std::string> lines;
    bool closed = false;
};

Fed feedByteByByte(HubSession& session, std::string_view bytes) {
    Fed fed;
    for (const char byte : bytes) {
        SessionStep step = session.receive(std::string_view(&byte, 1));
        fed.reply += joined(step.reply);
        fed.lines.insert(fed.lines.end(), step.lines.begin(), step.lines.end());
        fed.closed = fed.closed || step.close;
    }
    return fed;
}

HubSession loggedInSession(const std::shared_ptr<const HubMenu>& served = menu()) {
    HubSession session(served);
    const SessionStep step = session.receive(keyMessages("tester") + infoMessages("tester"));
    EXPECT_TRUE(session.loggedIn());
    return session;
}

TEST(HubSession, LogsAClientInByteByByteAndGivesItTheMenu) {
    HubSession session(menu());
    const Fed fed = feedByteByByte(session, keyMessages("tester") + infoMessages("tester"));
    const std::string expected = "$Supports UserCommand NoGetINFO NoHello|$Hello tester|$NickList "
                                 "TAVU$$Alice$$tester$$|$OpList TAVU$$|"
                                 "$MyINFO $ALL tester hi$ $LAN(T3)\x01$$0$|$MyINFO $ALL TAVU the loopback "
                                 "hub of TAVU$ $LAN(T3)\x01$$0$|"
                                 "$MyINFO $ALL Alice a user to try the user-list menu on$ $LAN(T3)\x01$$0$|" +
                                 kBlock + kChatLine;
    EXPECT_EQ(fed.reply, expected);
    EXPECT_EQ(fed.lines, std::vector<std::string>{"tester logged in and got the menu"});
    EXPECT_FALSE(fed.closed);
    EXPECT_EQ(session.nick(), "tester");
}

TEST(HubSession, ReportsWhatTheClientSendsDecodedForReading) {
    HubSession session = loggedInSession();
    const Fed fed = feedByteByByte(session, "<tester> .kick Alice flooding|"
                                            "<tester> 5&#36; &#124; a&amp;b\x1b[2J|"
                                            "$To: Alice From: tester $<tester> hello there|"
                                            "$Kick Alice|$GetNickList|"
                                            "|$MyINFO $ALL tester away$ $LAN(T3)\x01$$0$|");
    EXPECT_EQ(fed.lines,
              (std::vector<std::string>{"<tester> .kick Alice flooding", "<tester> 5$ | a&b\\x1B[2J",
                                        "<tester> to Alice: hello there", "tester sent $Kick Alice"}));
    // Chat is echoed to its sender as it came; nothing else but the user list is answered.
    EXPECT_EQ(fed.reply, "<tester> .kick Alice flooding|<tester> 5&#36; &#124; a&amp;b\x1b[2J|"
                         "$NickList TAVU$$Alice$$tester$$|$OpList TAVU$$|");
    EXPECT_FALSE(fed.closed);
}

TEST(HubSession, ReadsTheClientsMessagesInTheMenusCodePage) {
    HubSession session = loggedInSession(menu(kBlock, CodePage::Windows1251));
    const SessionStep step = session.receive("<tester> \xcf\xf0\xe8\xe2\xe5\xf2|<tester> \x98\xcf|");
    // A byte the code page leaves undefined is escaped alone.
    EXPECT_EQ(step.lines, (std::vector<std::string>{"<tester> Привет", "<tester> \\x98П"}));
}

struct RefusedCase {
    const char* name;
    std::string bytes;
    std::string line;
};

void PrintTo(const RefusedCase& value, std::ostream* out) {
    *out << value.name;
}

class HubSessionRefuses : public testing::TestWithParam<RefusedCase> {};

const std::string kKey = "$Key " + lockToKey(lockOfGreeting()) + "|";

// A nick holding a character that would break the protocol's lines.
RefusedCase badNick(const char* name, const std::string& nick) {
    return {name, kKey + "$ValidateNick " + nick + "|",
            "refused a client: it asked for a nick with a space, a control character, \"$\", \"|\", \"<\" or "
            "\">\", \"" +
                nick + "\""};
}

INSTANTIATE_TEST_SUITE_P(
    HostileInput, HubSessionRefuses,
    testing::Values(
        RefusedCase{"ChatBeforeTheLogin", "<tester> hi|",
                    "refused a client: it sent \"<tester> hi\" where the hub "
                    "awaits its $Key"},
        RefusedCase{"AWrongKey", "$Key 1234|", "refused a client: its $Key does not answer the hub's $Lock"},
        RefusedCase{"BinaryBytes", std::string("\x16\x03\x01\x00\x05|", 6),
                    "refused a client: it sent binary data"},
        RefusedCase{"AnEmptyNick", kKey + "$ValidateNick |",
                    "refused a client: it asked for an empty nick, \"\""},
        badNick("ANickWithASpace", "a b"), badNick("ANickWithADollar", "a$b"),
        RefusedCase{"ATooLongNick", kKey + "$ValidateNick " + std::string(kNickLimit + 1, 'n') + "|",
                    "refused a client: it asked for a nick longer than 64 bytes, "
                    "\"nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn"
                    "nnnnn\""},
        badNick("ANickWithAnAngleBracket", "a<b"), badNick("ANickWithAClosingAngleBracket", "a>b"),
        RefusedCase{"TheOtherUsersNick", kKey + "$ValidateNick alice|",
                    "refused a client: it asked for the nick of a user of the hub, \"alice\""},
        RefusedCase{"ACommandBeforeTheLogin", keyMessages("tester") + "$Kick Alice|",
                    "refused tester: it sent \"$Kick Alice\" before it logged in"},
        RefusedCase{"AnotherNicksInfo", keyMessages("tester") + "$MyINFO $ALL Alice x$ $$$0$|",
                    "refused tester: its $MyINFO is not that of the nick \"tester\""},
        RefusedCase{"ALongerNicksInfo", keyMessages("tester") + "$MyINFO $ALL testers x$ $$$0$|",
                    "refused tester: its $MyINFO is not that of the nick \"tester\""},
        RefusedCase{"ChatUnderAnotherNick", keyMessages("tester") + infoMessages("tester") + "<Alice> hi|",
                    "refused tester: it sent a chat message under another nick"},
        RefusedCase{"APrivateMessageUnderAnotherNick",
                    keyMessages("tester") + infoMessages("tester") + "$To: TAVU From: Alice $<Alice> hi|",
                    "refused tester: it sent a private message under another nick"},
        RefusedCase{"AnOverlongMessage", keyMessages("tester") + std::string(kMessageLimit + 1, 'x'),
                    "refused tester: it sent a message longer than 65536 bytes"}),
    [](const testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST_P(HubSessionRefuses, AndEndsTheConnectionWithoutHarm) {
    HubSession session(menu());
    const Fed fed = feedByteByByte(session, GetParam().bytes);
    EXPECT_TRUE(fed.closed);
    ASSERT_FALSE(fed.lines.empty());
    EXPECT_EQ(fed.lines.back(), GetParam().line);
    // Nothing after the refusal is read or held.
    EXPECT_FALSE(session.loggedIn());
    const SessionStep after = session.receive(infoMessages("tester") + "<tester> hi|");
    EXPECT_TRUE(after.reply.empty() && after.lines.empty());
    EXPECT_LE(session.heldBytes(), sizeof(std::string));
}

TEST(HubSession, TakesANickAndAMessageOfTheirLimitsExactlyInPieces) {
    HubSession session(menu());
    const std::string nick(kNickLimit, 'n');
    const std::string chat = "<" + nick + "> " + std::string(kMessageLimit - kNickLimit - 3, 'x') + "|";
    const Fed fed = feedByteByByte(session, keyMessages(nick) + infoMessages(nick) + chat);
    EXPECT_FALSE(fed.closed);
    EXPECT_TRUE(fed.reply.ends_with(kChatLine + chat));
}

TEST(HubSession, DeniesATakenNickAsHubsDo) {
    HubSession session(menu());
    const SessionStep step = session.receive(kKey + "$ValidateNick TAVU|");
    EXPECT_EQ(joined(step.reply), "$ValidateDenide TAVU|");
    EXPECT_TRUE(step.close);
}

TEST(HubSession, SendsANewMenuAfterTheClearCommandOnceLoggedIn) {
    HubSession waiting(menu());
    const std::string without = "$UserCommand 1 3 New$<%[mynick]> .new&#124;|";
    EXPECT_TRUE(waiting.changeMenu(menu(without)).empty());
    const SessionStep login = waiting.receive(keyMessages("tester") + infoMessages("tester"));
    EXPECT_TRUE(joined(login.reply).ends_with(without + kChatLine));

    HubSession session = loggedInSession();
    EXPECT_EQ(joined(session.changeMenu(menu(without))), "$UserCommand 255 3|" + without + kChatLine);
    EXPECT_EQ(joined(session.changeMenu(menu(kBlock))), kBlock + kChatLine);
}

TEST(HubSession, SaysTheDescriptionInTheMenusCodePageEscaped) {
    auto served =
        std::make_shared<const HubMenu>(HubMenu{kBlock, "Профиль $1 | 日本", CodePage::Windows1251});
    HubSession session = loggedInSession(served);
    const std::string sent = joined(session.changeMenu(served));
    EXPECT_TRUE(sent.ends_with("<TAVU> \xcf\xf0\xee\xf4\xe8\xeb\xfc &#36;1 &#124; ??|")) << sent;
}

} // namespace
} // namespace tavu::hub
