#include "generator/catalogue.h"

namespace tavu::catalogue {

namespace {

using enum Word;
using enum Test;

// The hide commands, near the start of the menu.
constexpr Permission MayHideShare{"General/ProfileSettings/MayHideShare", Enable};
constexpr Permission MayHideMe{"General/ProfileSettings/MayHideMe", Enable};

// clang-format off
constexpr Row kFirstRows[] = {
    {&MayHideShare, None, K1_3, {wMiscellaneous, wHide, wShare, wOn}, {"$<%[mynick]> .hideshare on&#124;"}},
    {&MayHideShare, None, K1_3, {wMiscellaneous, wHide, wShare, wOff}, {"$<%[mynick]> .hideshare off&#124;"}},
    {&MayHideMe, None, K1_3, {wMiscellaneous, wHide, wMe, wOn}, {"$<%[mynick]> .hideme on&#124;"}},
    {&MayHideMe, None, K1_3, {wMiscellaneous, wHide, wMe, wOff}, {"$<%[mynick]> .hideme off&#124;"}},
};
// clang-format on

} // namespace

std::span<const Row> firstMiscellaneousRows() {
    return kFirstRows;
}

std::span<const Row> secondMiscellaneousRows() {
    return {};
}

} // namespace tavu::catalogue
