// The loopback hub under 500 clients logging in at once, each receiving the
// full menu, against the floor of the same bytes sent over plain loopback Asio
// sockets to as many clients; the memory a connected client costs; and the
// most the hub holds for clients that flood main chat and never read.

#include "generator/generator.h"
#include "hub/hub_server.h"
#include "hub/nmdc_key.h"
#include "support.h"

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/read.hpp>
#include <asio/write.hpp>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>
#include <thread>

namespace tavu::bench {

namespace {

using asio::ip::tcp;

constexpr int kClients = 500;

const hub::HubMenu& fullMenu() {
    static const hub::HubMenu menu{CreateUserCommands(test::everythingGranted().document().profile(0),
                                                      test::allOptionsOn(), Vocabulary{}, "07/12/2026")
                                       .text,
                                   "You are looking at the full menu.", CodePage::Utf8};
    return menu;
}

// What a client sends to log in as "cNNN", all at once: the lock is the
// hub's own, so the key is known before it comes.
std::string loginBytes(int client) {
    const std::string greeting = *hub::HubSession::greeting();
    const std::string lock = greeting.substr(6, greeting.find(' ', 6) - 6);
    char nick[8];
    std::snprintf(nick, sizeof nick, "c%03d", client);
    return "$Supports UserCommand NoGetINFO NoHello|$Key " + hub::lockToKey(lock) + "|$ValidateNick " + nick +
           "|$Version 1,0091|$GetNickList|$MyINFO $ALL " + nick + " bench$ $LAN(T3)\x01$$0$|";
}

// One client of a round: it connects, sends its login (none for the floor)
// and reads `expected` bytes.
struct RoundClient {
    explicit RoundClient(asio::io_context& io) : socket(io) {}
    tcp::socket socket;
    std::string login;
    std::vector<char> received;
    bool done = false;
};

// Connects kClients clients at once and waits until every one has read its
// bytes; false when one failed.
bool runRound(std::uint16_t port, std::size_t expected, bool logIn) {
    asio::io_context io;
    std::vector<std::unique_ptr<RoundClient>> clients;
    const tcp::endpoint hubAddress(asio::ip::make_address("127.0.0.1"), port);
    bool failed = false;
    for (int i = 0; i < kClients; ++i) {
        auto& client = *clients.emplace_back(std::make_unique<RoundClient>(io));
        client.login = logIn ? loginBytes(i) : std::string();
        client.received.resize(expected);
        client.socket.async_connect(hubAddress, [&client, &failed](const std::error_code& error) {
            if (error) {
                failed = true;
                return;
            }
            asio::async_write(client.socket, asio::buffer(client.login),
                              [](const std::error_code&, std::size_t) {});
            asio::async_read(client.socket, asio::buffer(client.received),
                             [&client, &failed](const std::error_code& read, std::size_t) {
                                 client.done = !read;
                                 failed = failed || read;
                             });
        });
    }
    io.run();
    return !failed;
}

// The bytes the hub sends one client through its login, its menu and its line.
std::size_t bytesOfALogin(std::uint16_t port) {
    asio::io_context io;
    tcp::socket socket(io);
    socket.connect({asio::ip::make_address("127.0.0.1"), port});
    asio::write(socket, asio::buffer(loginBytes(0)));
    std::string received;
    std::array<char, 65536> buffer{};
    while (!received.ends_with("You are looking at the full menu.|")) {
        received.append(buffer.data(), socket.read_some(asio::buffer(buffer)));
    }
    return received.size();
}

hub::HubLimits benchLimits() {
    hub::HubLimits limits;
    limits.connections = 2 * kClients;
    return limits;
}

void HubLogsIn500Clients(benchmark::State& state) {
    hub::HubServerThread server(
        fullMenu(), [](const std::string&) {}, benchLimits());
    if (!server.start(hub::kLoopbackAddress, 0)) {
        state.SkipWithError("cannot listen");
        return;
    }
    const std::size_t expected = bytesOfALogin(server.server().port());
    for (auto _ : state) {
        if (!runRound(server.server().port(), expected, true)) {
            state.SkipWithError("a client did not get its menu");
            return;
        }
    }
    state.counters["bytes_per_client"] = static_cast<double>(expected);
}

// The floor: a plain Asio server that writes the same bytes to each client as
// soon as it connects.
class PlainServer {
public:
    explicit PlainServer(std::string bytes)
        : bytes_(std::move(bytes)), acceptor_(io_, {asio::ip::make_address("127.0.0.1"), 0}) {
        accept();
        thread_ = std::thread([this] { io_.run(); });
    }
    ~PlainServer() {
        asio::post(io_, [this] { acceptor_.close(); });
        thread_.join();
    }
    PlainServer(const PlainServer&) = delete;
    PlainServer& operator=(const PlainServer&) = delete;

    std::uint16_t port() const { return acceptor_.local_endpoint().port(); }

private:
    void accept() {
        acceptor_.async_accept([this](const std::error_code& error, tcp::socket socket) {
            if (error) {
                return;
            }
            auto client = std::make_shared<tcp::socket>(std::move(socket));
            asio::async_write(*client, asio::buffer(bytes_),
                              [client](const std::error_code&, std::size_t) {});
            accept();
        });
    }

    std::string bytes_;
    asio::io_context io_;
    tcp::acceptor acceptor_;
    std::thread thread_;
};

void PlainLoopback500Clients(benchmark::State& state) {
    std::size_t expected = 0;
    {
        hub::HubServerThread hub(
            fullMenu(), [](const std::string&) {}, benchLimits());
        if (!hub.start(hub::kLoopbackAddress, 0)) {
            state.SkipWithError("cannot listen");
            return;
        }
        expected = bytesOfALogin(hub.server().port());
    }
    PlainServer server(std::string(expected, 'x'));
    for (auto _ : state) {
        if (!runRound(server.port(), expected, false)) {
            state.SkipWithError("a client did not get its bytes");
            return;
        }
    }
    state.counters["bytes_per_client"] = static_cast<double>(expected);
}

// A line of /proc/self/status in bytes: "VmRSS:" the resident memory of the
// process, "VmHWM:" its peak.
double statusBytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field)) {
            return std::stod(line.substr(field.size())) * 1024;
        }
    }
    return 0;
}

double residentBytes() {
    return statusBytes("VmRSS:");
}

// From here on the peak is that of the memory resident now.
void resetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// What a logged-in client costs the hub: the session's own state, and the
// growth of the process with 500 clients connected (both ends of each
// connection are in this process, so it bounds the hub's share from above).
void MemoryPerClient(benchmark::State& state) {
    hub::HubServerThread server(
        fullMenu(), [](const std::string&) {}, benchLimits());
    if (!server.start(hub::kLoopbackAddress, 0)) {
        state.SkipWithError("cannot listen");
        return;
    }
    const std::size_t expected = bytesOfALogin(server.server().port());
    double growth = 0;
    for (auto _ : state) {
        asio::io_context io;
        std::vector<tcp::socket> clients;
        const double before = residentBytes();
        for (int i = 0; i < kClients; ++i) {
            tcp::socket& socket = clients.emplace_back(io);
            socket.connect({asio::ip::make_address("127.0.0.1"), server.server().port()});
            asio::write(socket, asio::buffer(loginBytes(i)));
            std::vector<char> received(expected);
            asio::read(socket, asio::buffer(received));
        }
        growth = (residentBytes() - before) / kClients;
    }
    state.counters["session_state_bytes"] = static_cast<double>(sizeof(hub::HubSession));
    state.counters["rss_growth_per_client"] = growth;
}

// A menu of about 15 MB: the full menu over and over.
const hub::HubMenu& largeMenu() {
    static const hub::HubMenu menu = [] {
        std::string block;
        while (block.size() < 15'000'000) {
            block += fullMenu().block;
        }
        return hub::HubMenu{std::move(block), "You are looking at a large menu.", CodePage::Utf8};
    }();
    return menu;
}

// The most the hub holds beyond its menu while as many clients as it takes log
// in and flood main chat with 2 KB lines, never reading, until it drops them
// (or each has sent 48 MiB): the menu goes to none of them, and their echoes
// pile up.
void MemoryWithFloodingClientsThatDoNotRead(benchmark::State& state) {
    const hub::HubLimits limits;
    hub::HubServerThread server(
        largeMenu(), [](const std::string&) {}, limits);
    if (!server.start(hub::kLoopbackAddress, 0)) {
        state.SkipWithError("cannot listen");
        return;
    }
    constexpr std::size_t kLineSize = 2048;
    constexpr std::size_t kRounds = 48 * 1024 * 1024 / kLineSize;
    double peak = 0;
    for (auto _ : state) {
        asio::io_context io;
        std::vector<tcp::socket> clients;
        std::vector<std::string> lines;
        const double before = residentBytes();
        resetPeakMemory();
        for (std::size_t i = 0; i < limits.connections; ++i) {
            tcp::socket& socket = clients.emplace_back(io);
            socket.connect({asio::ip::make_address("127.0.0.1"), server.server().port()});
            const std::string login = loginBytes(static_cast<int>(i));
            asio::write(socket, asio::buffer(login));
            const std::string nick = login.substr(login.find("$ValidateNick ") + 14, 4);
            lines.push_back("<" + nick + "> " + std::string(kLineSize - nick.size() - 4, 'x') + "|");
        }
        std::vector<bool> dropped(clients.size());
        for (std::size_t round = 0;
             round < kRounds && std::find(dropped.begin(), dropped.end(), false) != dropped.end(); ++round) {
            for (std::size_t i = 0; i < clients.size(); ++i) {
                std::error_code error;
                dropped[i] = dropped[i] || (asio::write(clients[i], asio::buffer(lines[i]), error), error);
            }
        }
        peak = statusBytes("VmHWM:") - before;
    }
    state.counters["clients"] = static_cast<double>(limits.connections);
    state.counters["menu_bytes"] = static_cast<double>(largeMenu().block.size());
    state.counters["peak_growth_bytes"] = peak;
}

} // namespace

BENCHMARK(HubLogsIn500Clients)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PlainLoopback500Clients)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(MemoryPerClient)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(MemoryWithFloodingClientsThatDoNotRead)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

} // namespace tavu::bench

BENCHMARK_MAIN();
