#pragma once

// A test's NMDC client over real loopback sockets: it connects, logs in as
// clients do and reads what the hub sends, each wait bounded in time.

#include "hub/nmdc_key.h"

#include <asio/connect.hpp>
#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>
#include <asio/write.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace tavu::test {

class NmdcClient {
public:
    explicit NmdcClient(std::uint16_t port) : socket_(io_) {
        std::error_code error;
        socket_.connect({asio::ip::make_address("127.0.0.1"), port}, error);
        connected_ = !error;
    }

    bool connected() const { return connected_; }
    // Everything the hub sent so far.
    const std::string& received() const { return received_; }

    void send(std::string_view bytes) {
        std::error_code error;
        asio::write(socket_, asio::buffer(bytes), error);
        sendFailed_ = sendFailed_ || error;
    }
    bool sendFailed() const { return sendFailed_; }

    // Reads until the text has come (after `from`), the hub closed the
    // connection or the time is up; whether the text came.
    bool readUntil(std::string_view text, std::chrono::milliseconds time = std::chrono::seconds(10),
                   std::size_t from = 0) {
        const auto end = std::chrono::steady_clock::now() + time;
        while (received_.find(text, from) == std::string::npos) {
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero() || !readSome(left)) {
                return received_.find(text, from) != std::string::npos;
            }
        }
        return true;
    }

    // Reads until the hub closes the connection; false when it stays open.
    bool closedByHub(std::chrono::milliseconds time = std::chrono::seconds(10)) {
        const auto end = std::chrono::steady_clock::now() + time;
        while (!ended_) {
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::steady_clock::duration::zero() || (!readSome(left) && !ended_)) {
                return ended_;
            }
        }
        return true;
    }

    // The whole login; true when the hub's line in main chat came at its end.
    bool logIn(std::string_view nick) {
        if (!readUntil("Pk=")) {
            return false;
        }
        const std::string lock = received_.substr(6, received_.find(' ', 6) - 6);
        send("$Supports UserCommand NoGetINFO NoHello|$Key " + hub::lockToKey(lock) + "|$ValidateNick " +
             std::string(nick) + "|");
        if (!readUntil("$Hello " + std::string(nick) + "|")) {
            return false;
        }
        send("$Version 1,0091|$GetNickList|$MyINFO $ALL " + std::string(nick) +
             " tries the menu$ $LAN(T3)\x01$$0$|");
        return readUntil("<TAVU> ") && readUntil("|", std::chrono::seconds(10), received_.rfind("<TAVU> "));
    }

private:
    bool readSome(std::chrono::steady_clock::duration time) {
        bool done = false;
        std::error_code error;
        std::size_t size = 0;
        socket_.async_read_some(asio::buffer(buffer_), [&](const std::error_code& read, std::size_t count) {
            error = read;
            size = count;
            done = true;
        });
        io_.restart();
        io_.run_for(time);
        if (!done) {
            std::error_code ignored;
            socket_.cancel(ignored);
            io_.restart();
            io_.run();
            return false;
        }
        received_.append(buffer_.data(), size);
        ended_ = ended_ || error == asio::error::eof || error == asio::error::connection_reset;
        return !error;
    }

    asio::io_context io_;
    asio::ip::tcp::socket socket_;
    std::array<char, 65536> buffer_{};
    std::string received_;
    bool connected_ = false;
    bool ended_ = false;
    bool sendFailed_ = false;
};

} // namespace tavu::test
