#include "hub/reload_watch.h"

#include "hub/hub_server.h"
#include "platform/file.h"

#include <asio/io_context.hpp>
#include <asio/steady_timer.hpp>

#include <string>
#include <system_error>
#include <utility>

namespace tavu::hub {

std::vector<FileStamp> stampsOf(const std::vector<WatchedFile>& files) {
    std::vector<FileStamp> stamps;
    for (const auto& file : files) {
        std::error_code sizeError;
        std::error_code timeError;
        FileStamp stamp;
        stamp.size = std::filesystem::file_size(file.path, sizeError);
        stamp.time = std::filesystem::last_write_time(file.path, timeError);
        stamp.present = !sizeError && !timeError;
        if (const FileRead read = readRegularFile(file.path, file.limit); read.status == ReadStatus::Read) {
            stamp.contents = std::hash<std::string>{}(read.bytes);
        }
        stamps.push_back(stamp);
    }
    return stamps;
}

struct ReloadWatch::Timer {
    explicit Timer(asio::io_context& io) : timer(io) {}
    asio::steady_timer timer;
};

ReloadWatch::ReloadWatch(asio::io_context& io, const ServedMenu& served, HubServer& server, Reloaded reloaded,
                         std::chrono::milliseconds interval)
    : timer_(std::make_unique<Timer>(io)), served_(served), server_(server), reloaded_(std::move(reloaded)),
      interval_(interval), stamps_(stampsOf(served.files)) {}

ReloadWatch::~ReloadWatch() = default;

void ReloadWatch::start() {
    timer_->timer.expires_after(interval_);
    timer_->timer.async_wait([this](const std::error_code& error) {
        if (!error) {
            look();
            start();
        }
    });
}

void ReloadWatch::stop() {
    timer_->timer.cancel();
}

void ReloadWatch::look() {
    std::vector<FileStamp> now = stampsOf(served_.files);
    if (now == stamps_) {
        return;
    }
    stamps_ = std::move(now);
    Result<MadeMenu, MenuFailure> made = served_.make();
    reloaded_(made);
    if (made) {
        server_.setMenu(std::move(made).value().menu);
    }
}

} // namespace tavu::hub
