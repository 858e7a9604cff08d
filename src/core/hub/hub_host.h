#pragma once

// The loopback hub as tavu-cli serve hosts it: the server on the calling
// thread's loop, the served menu reloaded when its files change, and stopped
// by Ctrl+C, SIGTERM or a call from any thread.

#include "base/result.h"
#include "hub/hub_server.h"
#include "hub/reload_watch.h"
#include "hub/served_menu.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <system_error>

namespace asio {
class io_context;
}

namespace tavu {
class EndingSignalWatch;
}

namespace tavu::hub {

class HubHost {
public:
    // Serves `menu`, made from `served`; `print` and `reloaded` are called on
    // the thread that runs the host.
    HubHost(const ServedMenu& served, HubMenu menu, PrintLine print, ReloadWatch::Reloaded reloaded);
    ~HubHost();
    HubHost(const HubHost&) = delete;
    HubHost& operator=(const HubHost&) = delete;

    Result<Done, std::error_code> listen(std::string_view address, std::uint16_t port);
    std::uint16_t port() const { return server_->port(); }

    // From now on Ctrl+C and SIGTERM stop the hub; the system's error when
    // they cannot, and they end the program as before.
    [[nodiscard]] Result<Done, std::error_code> stopOnEndingSignals();

    // Serves on this thread until stopped, reloading the menu when `reload`;
    // the clients that logged in.
    std::size_t run(bool reload);
    // From any thread, at any time: the hub stops, or does not start.
    void stop();

private:
    std::unique_ptr<asio::io_context> io_;
    std::unique_ptr<HubServer> server_;
    std::unique_ptr<ReloadWatch> watch_;
    // Gone first, so that no signal stops what is gone.
    std::unique_ptr<EndingSignalWatch> signals_;
};

} // namespace tavu::hub
