#include "generator/catalogue.h"

namespace tavu::catalogue {

namespace {

using enum Word;
using enum Test;

constexpr Permission MayUseHubCommands{"General/ProfileSettings/MayUseHubCommands", Enable};

constexpr Row kRows[] = {
    {&MayUseHubCommands, None, K1_3, {wUserCommands}, {"$<%[mynick]> .h&#124;"}},
};

} // namespace

std::span<const Row> topLevelRows() {
    return kRows;
}

} // namespace tavu::catalogue
