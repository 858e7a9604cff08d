#pragma once

#include "arguments.h"
#include "generation/profile_generation.h"
#include "hub/served_menu.h"
#include "printing_thread.h"

#include <ostream>
#include <vector>

// What serve says of the menu it serves: the protocol commands left out of a
// block, why a menu cannot be made, and what came of a change to its files.
namespace tavu::cli {

// Warns of each protocol command left out of the menu, at most ten; the rest
// are counted.
void warnOfLeftOut(const std::vector<hub::LeftOutCommand>& leftOut, std::ostream& err);

// Prints why the menu cannot be made, and returns the exit status; throws
// UsageError for an override that the command line got wrong. `request` is
// that of a profile's menu.
[[nodiscard]] int reportMenuFailure(const hub::MenuFailure& failure, const GenerationRequest& request,
                                    std::ostream& err);

// Says what came of a change to the menu's files: a menu that cannot be made
// leaves the clients with the last one.
void reportReload(const Result<hub::MadeMenu, hub::MenuFailure>& made, const GenerationRequest& request,
                  PrintingThread& printer, std::ostream& err);

} // namespace tavu::cli
