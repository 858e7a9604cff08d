#include "hub/hub_server.h"

#include "base/escaping.h"
#include "platform/date_text.h"
#include "platform/listening.h"

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/post.hpp>
#include <asio/steady_timer.hpp>
#include <asio/write.hpp>

#include <algorithm>
#include <array>
#include <atomic>
#include <ctime>
#include <deque>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tavu::hub {

namespace {

using asio::ip::tcp;

// How long the hub waits before it accepts again after accepting failed (out
// of descriptors, say), so that a failure does not spin.
constexpr std::chrono::seconds kAcceptRetry{1};
// One read's share of a client's bytes.
constexpr std::size_t kReadSize = 4096;
// The most pieces one write gathers.
constexpr std::size_t kPiecesPerWrite = 64;

// A time-out as the hub's lines say it: in seconds, or in milliseconds when
// shorter than one, which would otherwise read "0 s".
std::string timeText(std::chrono::milliseconds time) {
    if (time < std::chrono::seconds(1)) {
        return std::to_string(time.count()) + " ms";
    }
    return std::to_string(std::chrono::duration_cast<std::chrono::seconds>(time).count()) + " s";
}

} // namespace

std::string hostAndPort(const std::string& address, std::uint16_t port) {
    const bool ipv6 = address.find(':') != std::string::npos;
    return (ipv6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

std::optional<bool> isLoopbackAddress(std::string_view address) {
    std::error_code error;
    const asio::ip::address ip = asio::ip::make_address(std::string(address), error);
    if (error) {
        return std::nullopt;
    }
    // "::ffff:127.0.0.1" is the IPv4 loopback address written as IPv6.
    if (ip.is_v6() && ip.to_v6().is_v4_mapped()) {
        return asio::ip::make_address_v4(asio::ip::v4_mapped, ip.to_v6()).is_loopback();
    }
    return ip.is_loopback();
}

class Connection;

// What a connection asks of the hub it belongs to, as a chat room's member
// asks its room: to count it in once its client logged in, to let it go when
// it closes, to deliver a line to the operator, the menu and the limits.
class Room {
public:
    // Its client logged in.
    virtual void join() = 0;
    // It closed; its place is free at once. `loggedIn`: its client had logged in.
    virtual void leave(const Connection& connection, const std::string& who, bool loggedIn) = 0;
    // A line of what happened, printed with the time of day.
    virtual void deliver(const std::string& line) const = 0;
    virtual std::shared_ptr<const HubMenu> menu() const = 0;
    virtual const HubLimits& limits() const = 0;

    Room() = default;
    Room(const Room&) = delete;
    Room& operator=(const Room&) = delete;
    virtual ~Room() = default;
};

class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(std::shared_ptr<Room> room, tcp::socket socket)
        : room_(std::move(room)), socket_(std::move(socket)), timer_(socket_.get_executor()),
          session_(room_->menu(), room_->limits()) {}
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void start() {
        // Chat echoes go out at once rather than wait for the client's
        // acknowledgement; a socket that refuses the option works all the same.
        std::error_code ignored;
        socket_.set_option(tcp::no_delay(true), ignored);
        watch(room_->limits().loginTime, "did not log in within");
        send({HubSession::greeting()});
        read();
    }

    void changeMenu(std::shared_ptr<const HubMenu> menu) { send(session_.changeMenu(std::move(menu))); }

    // Ends the connection: its timer and the socket's operations are cancelled,
    // their handlers do nothing more and its place is free at once. The caller
    // holds the connection, as the server may have held it last.
    void close() {
        if (closed_) {
            return;
        }
        closed_ = true;
        timer_.cancel();
        std::error_code error;
        if (socket_.close(error)) {
            room_->deliver("closing the connection of " + who() + " failed: " + error.message());
        }
        room_->leave(*this, who(), session_.loggedIn());
    }

private:
    // A piece waiting to be sent; the menu's block is shared by every client.
    struct Piece {
        std::shared_ptr<const std::string> bytes;
        bool menu = false;
    };

    std::string who() const {
        return session_.nick().empty() ? std::string("a client") : escapedControls(session_.nick(), "\\");
    }

    // Ends the connection when the client says nothing for `time`.
    void watch(std::chrono::milliseconds time, std::string_view what) {
        timer_.expires_after(time);
        timer_.async_wait([self = shared_from_this(), time, what](const std::error_code& error) {
            if (error || self->closed_) {
                return;
            }
            self->room_->deliver("dropped " + self->who() + ": it " + std::string(what) + " " +
                                 timeText(time));
            self->close();
        });
    }

    void read() {
        socket_.async_read_some(asio::buffer(buffer_),
                                [self = shared_from_this()](const std::error_code& error, std::size_t size) {
                                    if (self->closed_) {
                                        return;
                                    }
                                    if (error) {
                                        self->close();
                                    } else {
                                        self->take(size);
                                    }
                                });
    }

    void take(std::size_t size) {
        const bool wasLoggedIn = session_.loggedIn();
        SessionStep step = session_.receive(std::string_view(buffer_.data(), size));
        for (const std::string& line : step.lines) {
            room_->deliver(line);
        }
        if (session_.loggedIn() && !wasLoggedIn) {
            room_->join();
        }
        if (session_.loggedIn()) {
            watch(room_->limits().idleTime, "said nothing for");
        }
        closeAfterSending_ = step.close;
        send(step.reply);
        if (!step.close && !closed_) {
            read();
        }
    }

    // A client's own replies and echoes count against its limit; the menu,
    // which is not copied for it, counts as one of the two it may wait for.
    void send(const Outgoing& pieces) {
        for (const auto& piece : pieces) {
            const bool menu = piece.get() == &session_.menu().block;
            (menu ? menusUnsent_ += 1 : ownUnsent_ += piece->size());
            queue_.push_back({piece, menu});
        }
        if (ownUnsent_ > room_->limits().unsentBytes || menusUnsent_ > room_->limits().menusWaiting) {
            room_->deliver("dropped " + who() + ": it does not read what the hub sends");
            close();
            return;
        }
        if (!writing_) {
            write();
        }
    }

    void write() {
        if (closed_) {
            return;
        }
        if (queue_.empty()) {
            if (closeAfterSending_) {
                close();
            }
            return;
        }
        // Everything queued goes in one write: the login's replies, the menu
        // and its line leave together rather than in a dozen small packets.
        writing_ = true;
        const std::size_t count = std::min(queue_.size(), kPiecesPerWrite);
        std::vector<asio::const_buffer> pieces;
        pieces.reserve(count);
        for (std::size_t i = 0; i < count; ++i) {
            pieces.push_back(asio::buffer(*queue_[i].bytes));
        }
        asio::async_write(socket_, pieces,
                          [self = shared_from_this(), count](const std::error_code& error, std::size_t) {
                              if (self->closed_) {
                                  return;
                              }
                              self->writing_ = false;
                              if (error) {
                                  self->close();
                                  return;
                              }
                              self->forgetSent(count);
                              self->write();
                          });
    }

    void forgetSent(std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            (queue_.front().menu ? menusUnsent_ -= 1 : ownUnsent_ -= queue_.front().bytes->size());
            queue_.pop_front();
        }
    }

    std::shared_ptr<Room> room_;
    tcp::socket socket_;
    asio::steady_timer timer_;
    HubSession session_;
    std::array<char, kReadSize> buffer_{};
    std::deque<Piece> queue_;
    std::size_t ownUnsent_ = 0;
    std::size_t menusUnsent_ = 0;
    bool writing_ = false;
    bool closeAfterSending_ = false;
    bool closed_ = false;
};

class HubServer::Impl final : public Room, public std::enable_shared_from_this<Impl> {
public:
    Impl(asio::io_context& io, HubMenu menu, PrintLine print, HubLimits limits)
        : io_(io), acceptor_(io), retryTimer_(io), menu_(std::make_shared<const HubMenu>(std::move(menu))),
          print_(std::move(print)), limits_(limits) {}
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    Result<Done, std::error_code> listen(std::string_view address, std::uint16_t port);
    void setMenu(std::shared_ptr<const HubMenu> menu);
    void stop();

    asio::io_context& io() { return io_; }
    std::uint16_t port() const { return port_; }
    std::size_t served() const { return served_; }

    void join() override { ++served_; }
    void leave(const Connection& connection, const std::string& who, bool loggedIn) override {
        if (loggedIn && !stopping_) {
            deliver(who + " left");
        }
        connections_.erase(&connection);
    }
    void deliver(const std::string& line) const override {
        print_(clockTimeText(std::time(nullptr)) + " " + line);
    }
    std::shared_ptr<const HubMenu> menu() const override { return menu_; }
    const HubLimits& limits() const override { return limits_; }

private:
    void accept();
    void refuseFull(tcp::socket socket);
    std::vector<std::shared_ptr<Connection>> liveConnections() const;

    asio::io_context& io_;
    tcp::acceptor acceptor_;
    asio::steady_timer retryTimer_;
    std::shared_ptr<const HubMenu> menu_;
    PrintLine print_;
    HubLimits limits_;
    std::atomic<std::size_t> served_{0};
    std::atomic<std::uint16_t> port_{0}; // kept at listening, so that any thread may ask
    bool stopping_ = false;
    // The open connections, each held here until it closes.
    std::unordered_map<const Connection*, std::shared_ptr<Connection>> connections_;
};

Result<Done, std::error_code> HubServer::Impl::listen(std::string_view address, std::uint16_t port) {
    std::error_code error;
    const asio::ip::address ip = asio::ip::make_address(std::string(address), error);
    if (error) {
        return error;
    }
    const tcp::endpoint endpoint(ip, port);
    // The hub can be started again at once on the port it left, where that
    // lets no other program share a port in use.
    tcp::endpoint bound;
    if (acceptor_.open(endpoint.protocol(), error) ||
        (listeningReusesAddress() && acceptor_.set_option(tcp::acceptor::reuse_address(true), error)) ||
        acceptor_.bind(endpoint, error) ||
        acceptor_.listen(asio::socket_base::max_listen_connections, error) ||
        (bound = acceptor_.local_endpoint(error), error)) {
        std::error_code ignored;
        acceptor_.close(ignored); // the error reported is the one that stopped the listening
        return error;
    }
    port_ = bound.port();
    accept();
    return Done{};
}

void HubServer::Impl::accept() {
    acceptor_.async_accept([self = shared_from_this()](const std::error_code& error, tcp::socket socket) {
        if (self->stopping_) {
            return;
        }
        if (error) {
            self->deliver("cannot accept a connection: " + error.message());
            self->retryTimer_.expires_after(kAcceptRetry);
            self->retryTimer_.async_wait([self](const std::error_code& waited) {
                if (!waited && !self->stopping_) {
                    self->accept();
                }
            });
            return;
        }
        if (self->connections_.size() >= self->limits_.connections) {
            self->refuseFull(std::move(socket));
        } else {
            auto connection = std::make_shared<Connection>(self, std::move(socket));
            self->connections_.emplace(connection.get(), connection);
            connection->start();
        }
        self->accept();
    });
}

// Tells a client that the hub is full, as hubs do, and closes its connection.
void HubServer::Impl::refuseFull(tcp::socket socket) {
    deliver("refused a client: the hub already has " + std::to_string(limits_.connections) + " connections");
    static const std::string kFull = hubBotChat("The hub is full.") + "$HubIsFull|";
    auto client = std::make_shared<tcp::socket>(std::move(socket));
    asio::async_write(*client, asio::buffer(kFull), [client](const std::error_code&, std::size_t) {
        std::error_code ignored;
        client->close(ignored); // the client goes either way
    });
}

void HubServer::Impl::setMenu(std::shared_ptr<const HubMenu> menu) {
    menu_ = std::move(menu);
    for (const auto& connection : liveConnections()) {
        connection->changeMenu(menu_);
    }
}

// Held while they are acted on: a connection that closes leaves the list.
std::vector<std::shared_ptr<Connection>> HubServer::Impl::liveConnections() const {
    std::vector<std::shared_ptr<Connection>> live;
    live.reserve(connections_.size());
    for (const auto& entry : connections_) {
        live.push_back(entry.second);
    }
    return live;
}

void HubServer::Impl::stop() {
    if (stopping_) {
        return;
    }
    stopping_ = true;
    retryTimer_.cancel();
    std::error_code ignored;
    acceptor_.close(ignored); // nothing is accepted any more either way
    for (const auto& connection : liveConnections()) {
        connection->close();
    }
}

HubServer::HubServer(asio::io_context& io, HubMenu menu, PrintLine print, HubLimits limits)
    : impl_(std::make_shared<Impl>(io, std::move(menu), std::move(print), limits)) {}

HubServer::~HubServer() {
    stop();
}

Result<Done, std::error_code> HubServer::listen(std::string_view address, std::uint16_t port) {
    return impl_->listen(address, port);
}

std::uint16_t HubServer::port() const {
    return impl_->port();
}

void HubServer::setMenu(HubMenu menu) {
    asio::post(impl_->io(),
               [impl = impl_, menu = std::make_shared<const HubMenu>(std::move(menu))]() mutable {
                   impl->setMenu(std::move(menu));
               });
}

void HubServer::stop() {
    asio::post(impl_->io(), [impl = impl_] { impl->stop(); });
}

std::size_t HubServer::clientsServed() const {
    return impl_->served();
}

HubServerThread::HubServerThread(HubMenu menu, PrintLine print, HubLimits limits)
    : io_(std::make_unique<asio::io_context>()),
      server_(std::make_unique<HubServer>(*io_, std::move(menu), std::move(print), limits)) {}

HubServerThread::~HubServerThread() {
    stop();
}

Result<Done, std::error_code> HubServerThread::start(std::string_view address, std::uint16_t port) {
    auto listening = server_->listen(address, port);
    if (listening) {
        thread_ = std::thread([this] { io_->run(); });
    }
    return listening;
}

void HubServerThread::stop() {
    server_->stop();
    if (thread_.joinable()) {
        thread_.join();
    }
}

} // namespace tavu::hub
