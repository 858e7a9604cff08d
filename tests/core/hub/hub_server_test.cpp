#include "hub_server_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavu::hub {
namespace {

using namespace std::chrono_literals;
using fixture::HubServerTest;
using fixture::kBlock;
using test::NmdcClient;

TEST_F(HubServerTest, GivesEachClientTheMenuAndEchoesChatToItsSenderAlone) {
    start();
    NmdcClient first(port);
    NmdcClient second(port);
    ASSERT_TRUE(first.logIn("first"));
    ASSERT_TRUE(second.logIn("second"));
    EXPECT_NE(first.received().find(kBlock + "<TAVU> the test menu|"), std::string::npos);
    const std::size_t before = second.received().size();
    first.send("<first> .kick Alice flooding|");
    EXPECT_TRUE(first.readUntil("<first> .kick Alice flooding|", 10s, first.received().size()));
    EXPECT_TRUE(printed.waitFor("<first> .kick Alice flooding"));
    EXPECT_FALSE(second.readUntil("|", 300ms, before));
    EXPECT_EQ(hub->server().clientsServed(), 2U);
}

TEST_F(HubServerTest, SendsANewMenuToEveryClientAfterTheClearCommand) {
    start();
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("tester"));
    const std::size_t before = client.received().size();
    hub->server().setMenu({"$UserCommand 1 3 New$<%[mynick]> .new&#124;|", "the new menu", CodePage::Utf8});
    EXPECT_TRUE(client.readUntil("<TAVU> the new menu|", 10s, before));
    EXPECT_EQ(client.received().substr(before),
              "$UserCommand 255 3|$UserCommand 1 3 New$<%[mynick]> .new&#124;|<TAVU> the new menu|");
}

TEST_F(HubServerTest, RefusesConnectionsBeyondItsLimitPolitely) {
    start({.connections = 2});
    NmdcClient first(port);
    NmdcClient second(port);
    ASSERT_TRUE(first.readUntil("Pk=") && second.readUntil("Pk="));
    NmdcClient third(port);
    EXPECT_TRUE(third.closedByHub());
    EXPECT_EQ(third.received(), "<TAVU> The hub is full.|$HubIsFull|");
    EXPECT_TRUE(printed.waitFor("refused a client: the hub already has 2 connections"));
}

TEST_F(HubServerTest, DropsAClientThatDoesNotLogInInTime) {
    start({.loginTime = 200ms});
    NmdcClient client(port);
    EXPECT_TRUE(client.closedByHub());
    EXPECT_TRUE(printed.waitFor("dropped a client: it did not log in within 0 s"));
}

TEST_F(HubServerTest, DropsAClientThatSaysNothing) {
    start({.idleTime = 200ms});
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("tester"));
    EXPECT_TRUE(client.closedByHub());
    EXPECT_TRUE(printed.waitFor("dropped tester: it said nothing for 0 s"));
}

TEST_F(HubServerTest, AClientThatLeavesMidMessageCostsOnlyItsOwnConnection) {
    start();
    {
        NmdcClient leaving(port);
        ASSERT_TRUE(leaving.readUntil("Pk="));
        leaving.send("$Key half a mess");
    }
    NmdcClient client(port);
    EXPECT_TRUE(client.logIn("tester"));
    EXPECT_TRUE(printed.waitFor("tester logged in and got the menu"));
    EXPECT_EQ(printed.lines(), std::vector<std::string>{"tester logged in and got the menu"});
}

TEST_F(HubServerTest, StopsWithClientsConnected) {
    start();
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("tester"));
    hub->stop();
    EXPECT_TRUE(client.closedByHub());
    EXPECT_EQ(printed.lines(), std::vector<std::string>{"tester logged in and got the menu"});
}

// A port one hub listens on is refused to a second, on every system: Windows
// would share it with a socket that asked to reuse its address.
TEST_F(HubServerTest, APortInUseIsNotShared) {
    start();
    HubServerThread second(HubMenu{}, [](const std::string&) {});
    EXPECT_TRUE(second.start(kLoopbackAddress, port));
}

TEST(HubServer, ReportsAnAddressItCannotListenOn) {
    HubServerThread hub(HubMenu{}, [](const std::string&) {});
    EXPECT_TRUE(hub.start("192.0.2.1", 0));
    EXPECT_TRUE(hub.start("no address", 0));
}

} // namespace
} // namespace tavu::hub
