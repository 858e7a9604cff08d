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

// Messages and warnings, at the end of the menu. Inform acts on the selected user
// but is offered in both menus.
constexpr Permission MayUseSay{"Miscellaneous/Miscellaneous/MayUseSay", Value};
constexpr Permission MayUseMC{"Miscellaneous/Miscellaneous/MayUseMC", Enable};
constexpr Permission MayUsePM{"Miscellaneous/Miscellaneous/MayUsePM", Enable};
constexpr Permission MayUseOPM{"Miscellaneous/Miscellaneous/MayUseOPM", Enable};
constexpr Permission MayUsePMProfile{"Miscellaneous/Miscellaneous/MayUsePMProfile", Value};
constexpr Permission MayUseInform{"Miscellaneous/Miscellaneous/MayUseInform", Enable};
constexpr Permission MayUseWarn{"Miscellaneous/Miscellaneous/MayUseWarn", Value};

// clang-format off
constexpr Row kSecondRows[] = {
    {&MayUseSay, Selected, K1_2, {wMiscellaneous, wSay, wSelected}, {"$<%[mynick]> .say %[nick] %[line:", wMessage, "]&#124;"}},
    {&MayUseSay, Any, K1_3, {wMiscellaneous, wSay, wAny}, {"$<%[mynick]> .say %[line:", wNick, "] %[line:", wMessage, "]&#124;"}},
    {&MayUseMC, None, K1_3, {wMiscellaneous, wMc}, {"$<%[mynick]> .mc %[line:", wMessage, "]&#124;"}},
    {&MayUsePM, None, K1_3, {wMiscellaneous, wPm, wEveryone}, {"$<%[mynick]> .pm %[line:", wMessage, "]&#124;"}},
    {&MayUseOPM, None, K1_3, {wMiscellaneous, wPm, wOperators}, {"$<%[mynick]> .opm %[line:", wMessage, "]&#124;"}},
    {&MayUsePMProfile, None, K1_3, {wMiscellaneous, wPm, wProfile}, {"$<%[mynick]> .pmprofile %[line:", wProfile, "] %[line:", wMessage, "]&#124;"}},
    {&MayUseInform, Selected, K1_3, {wMiscellaneous, wInform}, {"$<%[mynick]> .inform %[nick] %[line:", wMessage, "]&#124;"}},
    {&MayUseWarn, Selected | Fast, K1_2, {wMiscellaneous, wWarn, wFast}, {"$<%[mynick]> .warn %[nick]&#124;"}},
    {&MayUseWarn, Selected, K1_2, {wMiscellaneous, wWarn, wWithReason}, {"$<%[mynick]> .warn %[nick] %[line:", wReason, "]&#124;"}},
};
// clang-format on

} // namespace

std::span<const Row> firstMiscellaneousRows() {
    return kFirstRows;
}

std::span<const Row> secondMiscellaneousRows() {
    return kSecondRows;
}

} // namespace tavu::catalogue
