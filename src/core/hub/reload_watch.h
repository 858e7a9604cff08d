#pragma once

// Reloading the served menu: the files it is made from are looked at on the
// server's own loop, and when what one holds changed the menu is made again
// and sent to every client.

#include "base/result.h"
#include "hub/served_menu.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

namespace asio {
class io_context;
}

namespace tavu::hub {

class HubServer;

// What reloading compares: whether a file is there, its size, its time and
// what it holds, as an edit may keep both size and time.
struct FileStamp {
    bool present = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time;
    std::size_t contents = 0; // a hash of what it holds, read up to its limit
    bool operator==(const FileStamp&) const = default;
};

std::vector<FileStamp> stampsOf(const std::vector<WatchedFile>& files);

// Looks at the menu's files every `interval` once started, and makes the menu
// anew when one changed: a menu made goes to every client, one that cannot be
// made leaves them with the last. `reloaded` hears of each change, with what
// came of it, on the thread that runs `io`.
class ReloadWatch {
public:
    using Reloaded = std::function<void(const Result<MadeMenu, MenuFailure>& made)>;

    ReloadWatch(asio::io_context& io, const ServedMenu& served, HubServer& server, Reloaded reloaded,
                std::chrono::milliseconds interval = std::chrono::seconds(1));
    ~ReloadWatch();
    ReloadWatch(const ReloadWatch&) = delete;
    ReloadWatch& operator=(const ReloadWatch&) = delete;

    void start();
    void stop();

private:
    void look();

    struct Timer;
    std::unique_ptr<Timer> timer_;
    const ServedMenu& served_;
    HubServer& server_;
    Reloaded reloaded_;
    std::chrono::milliseconds interval_;
    std::vector<FileStamp> stamps_;
};

} // namespace tavu::hub
