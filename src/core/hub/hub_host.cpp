#include "hub/hub_host.h"

#include "platform/ending_signals.h"

#include <asio/io_context.hpp>
#include <asio/post.hpp>

#include <utility>

namespace tavu::hub {

HubHost::HubHost(const ServedMenu& served, HubMenu menu, PrintLine print, ReloadWatch::Reloaded reloaded)
    : io_(std::make_unique<asio::io_context>()),
      server_(std::make_unique<HubServer>(*io_, std::move(menu), std::move(print))),
      watch_(std::make_unique<ReloadWatch>(*io_, served, *server_, std::move(reloaded))) {}

HubHost::~HubHost() = default;

Result<Done, std::error_code> HubHost::listen(std::string_view address, std::uint16_t port) {
    return server_->listen(address, port);
}

Result<Done, std::error_code> HubHost::stopOnEndingSignals() {
    auto watch = EndingSignalWatch::start(
        {EndingSignal::Interrupt, EndingSignal::Terminate}, [this] { stop(); },
        EndingSignalWatch::Ignored::Taken);
    if (!watch) {
        return std::move(watch).failure();
    }
    signals_ = std::move(watch).value();
    return Done{};
}

std::size_t HubHost::run(bool reload) {
    if (reload) {
        watch_->start();
    }
    io_->run();
    return server_->clientsServed();
}

void HubHost::stop() {
    asio::post(*io_, [this] {
        server_->stop();
        watch_->stop();
    });
}

} // namespace tavu::hub
