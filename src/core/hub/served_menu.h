#pragma once

// Where the loopback hub's menu comes from: a profile of a profiles file,
// generated as generate writes it, or a block file served as it is but for
// what is no menu. Either is made again when one of its files changed.

#include "base/result.h"
#include "formats/code_page.h"
#include "generation/profile_generation.h"
#include "hub/hub_session.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <variant>
#include <vector>

namespace tavu::hub {

// A file the menu is made from, read no further than its limit.
struct WatchedFile {
    std::filesystem::path path;
    std::uintmax_t limit = 0;
};

// A protocol command other than a user command, left out of a block served:
// it would make the client do more than show a menu (connect out, leave for
// another hub, answer searches).
struct LeftOutCommand {
    std::size_t piece = 0;
    std::size_t line = 0;
    std::string detail; // what it would make the client do
};

struct MadeMenu {
    HubMenu menu;
    std::vector<LeftOutCommand> leftOut;
};

namespace menu_failure {
// The block file cannot be read; the file service's reason.
struct BlockUnreadable {
    std::string reason;
};
// The profile's block cannot be made; which profile, when one was reached.
struct ProfileUnmade {
    GenerationFailure failure;
    std::size_t index = 0;
    std::string name;
};
} // namespace menu_failure

using MenuFailure = std::variant<menu_failure::BlockUnreadable, menu_failure::ProfileUnmade>;

// The menu as it is served, made again from its files when one changes.
struct ServedMenu {
    std::function<Result<MadeMenu, MenuFailure>()> make;
    std::vector<WatchedFile> files;
};

// The block in `file`, read as `page`, without its protocol commands other
// than user commands, so that a hand-edited block can be tried, faults and all.
ServedMenu blockFileMenu(const std::string& file, CodePage page);

// The bytes generate writes for the request, refused where generate refuses
// them; its files are the profiles file, the settings file, the own-items file
// and the language file the request names.
ServedMenu profileMenu(const GenerationRequest& request);

} // namespace tavu::hub
