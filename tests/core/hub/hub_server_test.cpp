#include "hub_server_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <future>
#include <optional>
#include <thread>

namespace tavu::hub {
namespace {

using namespace std::chrono_literals;
using fixture::HubServerTest;
using fixture::kBlock;
using test::NmdcClient;

// A line of main chat as flooding clients send it, 2 KB long.
std::string floodLine(const std::string& nick) {
    return "<" + nick + "> " + std::string(2048, 'x') + "|";
}

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

TEST_F(HubServerTest, RefusesConnectionsBeyondItsLimitPolitelyUntilAPlaceIsFree) {
    start({.connections = 2});
    std::optional<NmdcClient> first(port);
    NmdcClient second(port);
    ASSERT_TRUE(first->logIn("first") && second.readUntil("Pk="));
    NmdcClient third(port);
    EXPECT_TRUE(third.closedByHub());
    EXPECT_EQ(third.received(), "<TAVU> The hub is full.|$HubIsFull|");
    EXPECT_TRUE(printed.waitFor("refused a client: the hub already has 2 connections"));
    first.reset();
    ASSERT_TRUE(printed.waitFor("first left"));
    EXPECT_TRUE(NmdcClient(port).logIn("fourth"));
}

TEST_F(HubServerTest, AClientThatFloodsAndLeavesFreesItsPlaceAtOnce) {
    start();
    {
        NmdcClient flooding(port);
        ASSERT_TRUE(flooding.logIn("flooding"));
        for (int i = 0; i < 256; ++i) {
            flooding.send(floodLine("flooding"));
        }
    }
    ASSERT_TRUE(printed.waitFor("flooding left"));
    std::vector<std::unique_ptr<NmdcClient>> clients(HubLimits{}.connections);
    for (auto& client : clients) {
        client = std::make_unique<NmdcClient>(port);
        ASSERT_TRUE(client->readUntil("Pk="));
    }
}

// Neither dropped as idle nor as one that does not read, however much it sends.
TEST_F(HubServerTest, KeepsAClientThatKeepsChattingAndReading) {
    start({.unsentBytes = 16 * 1024, .idleTime = 1s});
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("tester"));
    for (int i = 0; i < 10; ++i) {
        const std::size_t before = client.received().size();
        client.send(floodLine("tester"));
        ASSERT_TRUE(client.readUntil(floodLine("tester"), 10s, before));
        std::this_thread::sleep_for(200ms);
    }
}

TEST_F(HubServerTest, DropsAClientThatDoesNotLogInInTime) {
    // Said in milliseconds under a second, and in seconds from one on.
    start({.loginTime = 999ms});
    NmdcClient client(port);
    EXPECT_TRUE(client.closedByHub());
    EXPECT_TRUE(printed.waitFor("dropped a client: it did not log in within 999 ms"));
}

TEST_F(HubServerTest, DropsAClientThatSaysNothing) {
    start({.idleTime = 1s});
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("tester"));
    EXPECT_TRUE(client.closedByHub());
    EXPECT_TRUE(printed.waitFor("dropped tester: it said nothing for 1 s"));
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

// The stop does not wait for the client, which floods until it returns; the
// idle time bounds how long a hub that waits would take.
TEST_F(HubServerTest, StopsUnderTraffic) {
    start({.idleTime = 20s});
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("flooding"));
    std::atomic<bool> stopped = false;
    std::thread flood([&] {
        while (!stopped) {
            client.send(floodLine("flooding"));
        }
    });
    ASSERT_TRUE(printed.waitFor(floodLine("flooding").substr(0, 2059)));
    auto stopping = std::async(std::launch::async, [this] { hub->stop(); });
    EXPECT_EQ(stopping.wait_for(10s), std::future_status::ready);
    stopping.wait();
    stopped = true;
    flood.join();
}

// A port one hub listens on is refused to a second, on every system: Windows
// would share it with a socket that asked to reuse its address.
TEST_F(HubServerTest, APortInUseIsNotShared) {
    start();
    HubServerThread second(HubMenu{}, [](const std::string&) {});
    EXPECT_FALSE(second.start(kLoopbackAddress, port).ok());
}

TEST(HubServer, ReportsAnAddressItCannotListenOn) {
    HubServerThread hub(HubMenu{}, [](const std::string&) {});
    EXPECT_FALSE(hub.start("192.0.2.1", 0).ok());
    EXPECT_FALSE(hub.start("no address", 0).ok());
}

} // namespace
} // namespace tavu::hub
