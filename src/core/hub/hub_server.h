#pragma once

// The loopback hub on sockets: it accepts NMDC clients, runs a HubSession for
// each and prints what they send. Used by tavu-cli serve and by the windows.

#include "base/result.h"
#include "hub/hub_session.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>

namespace asio {
class io_context;
}

namespace tavu::hub {

inline constexpr std::uint16_t kDefaultPort = 4111;
inline constexpr std::string_view kLoopbackAddress = "127.0.0.1";

// "127.0.0.1:4111", "[::1]:4111".
std::string hostAndPort(const std::string& address, std::uint16_t port);

// Whether the address (IPv4 or IPv6) is one of this machine's loopback
// addresses; nothing when it is no address.
std::optional<bool> isLoopbackAddress(std::string_view address);

// Called on the server's thread with each line to print: the time of day,
// then what happened, every control character escaped.
using PrintLine = std::function<void(const std::string& line)>;

class HubServer {
public:
    // Serves on `io`, which the caller runs.
    HubServer(asio::io_context& io, HubMenu menu, PrintLine print, HubLimits limits = {});
    ~HubServer();
    HubServer(const HubServer&) = delete;
    HubServer& operator=(const HubServer&) = delete;

    // Listens on the address and port (0 for any free port) and starts
    // accepting; the system's error when it cannot.
    Result<Done, std::error_code> listen(std::string_view address, std::uint16_t port);
    // The port it listens on.
    std::uint16_t port() const;

    // Both may be called from any thread. The new menu goes to every client
    // logged in, after the clear command, and to every client that logs in.
    void setMenu(HubMenu menu);
    // Closes the listening socket and every connection.
    void stop();

    // The clients that logged in so far.
    std::size_t clientsServed() const;

private:
    // The sockets' side, which only the source sees.
    class Impl;
    std::shared_ptr<Impl> impl_;
};

// A HubServer on a thread of its own; stopped and joined when destroyed.
class HubServerThread {
public:
    HubServerThread(HubMenu menu, PrintLine print, HubLimits limits = {});
    ~HubServerThread();
    HubServerThread(const HubServerThread&) = delete;
    HubServerThread& operator=(const HubServerThread&) = delete;

    // Listens, then runs the server on its thread.
    Result<Done, std::error_code> start(std::string_view address, std::uint16_t port);
    void stop();

    HubServer& server() { return *server_; }

private:
    std::unique_ptr<asio::io_context> io_;
    std::unique_ptr<HubServer> server_;
    std::thread thread_;
};

} // namespace tavu::hub
