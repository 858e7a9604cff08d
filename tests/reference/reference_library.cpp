#include "reference_library.h"

// The library's headers, built by Debian with Lua scripting and DHT: the same
// definitions give its classes the layout the library was built with.
#include <dcpp/stdinc.h>

#include <dcpp/DCPlusPlus.h>
#include <dcpp/ScriptManager.h>
#include <dcpp/SettingsManager.h>
#include <dcpp/Util.h>

#include <cstdlib>

namespace tavu::test {

std::string ReferenceLibraryRun::start(const std::string& nick) {
    home_.emplace("tavu-reference-");
    if (setenv("HOME", home_->path().c_str(), 1) != 0) {
        return "cannot point HOME to " + home_->path().string();
    }
    dcpp::Util::initialize();
    dcpp::startup(nullptr, nullptr);
    // Without it the first line from a hub calls into a script engine never loaded.
    dcpp::ScriptManager::getInstance()->load();
    dcpp::SettingsManager::getInstance()->set(dcpp::SettingsManager::NICK, nick);
    return {};
}

void ReferenceLibraryRun::stop() {
    dcpp::shutdown();
    home_.reset();
}

} // namespace tavu::test
