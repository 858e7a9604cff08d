#include "hub_server_fixture.h"

#include <gtest/gtest.h>

// What the server does where the system holds what a client has not read in
// socket buffers of a bounded size; Wine's buffers grow without such a bound.

namespace tavu::hub {
namespace {

using fixture::HubServerTest;
using test::NmdcClient;

TEST_F(HubServerTest, DropsAClientThatDoesNotRead) {
    start({.unsentBytes = 64 * 1024});
    NmdcClient client(port);
    ASSERT_TRUE(client.logIn("tester"));
    // Echoes it never reads pile up beyond what the sockets hold.
    const std::string chat = "<tester> " + std::string(60 * 1024, 'x') + "|";
    for (int i = 0; i < 1000 && !client.sendFailed(); ++i) {
        client.send(chat);
    }
    EXPECT_TRUE(printed.waitFor("dropped tester: it does not read what the hub sends"));
}

} // namespace
} // namespace tavu::hub
