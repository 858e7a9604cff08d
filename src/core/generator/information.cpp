#include "generator/catalogue.h"

namespace tavu::catalogue {

namespace {

using enum Word;
using enum Test;

constexpr Permission MayShowHubInfo{"General/Information/MayShowHubInfo", Enable};
constexpr Permission MayShowUserInfo{"General/Information/MayShowUserInfo", Value};
constexpr Permission MayShowIPInfo{"General/Information/MayShowIPInfo", Enable};
constexpr Permission MayShowNickInfo{"General/Information/MayShowNickInfo", Enable};
constexpr Permission MayShowTrafficInfo{"General/Information/MayShowTrafficInfo", Value};
constexpr Permission MayShowTrafficStats{"General/Information/MayShowTrafficStats", Enable};

// The traffic statistics items carry the hub's own category names, never translated.
// clang-format off
constexpr Row kRows[] = {
    {&MayShowHubInfo, None, K1_3, {wInformation, wHub}, {"$<%[mynick]> .hi&#124;"}},
    {&MayShowHubInfo, None, K1_3, {wInformation, wCore}, {"$<%[mynick]> .ci&#124;"}},
    {&MayShowUserInfo, None, K1_3, {wInformation, wUser, wAll}, {"$<%[mynick]> .ui&#124;"}},
    {&MayShowUserInfo, Selected, K1_2, {wInformation, wUser, wSelected}, {"$<%[mynick]> .ui %[nick]&#124;"}},
    {&MayShowUserInfo, Selected | Offsets, K1_2, {wInformation, wUser, wSelectedByOffset}, {"$<%[mynick]> .ui %[nick] %[line:", wOffset, "]&#124;"}},
    {&MayShowUserInfo, Any, K1_3, {wInformation, wUser, wFind}, {"$<%[mynick]> .ui %[line:", wNick, "]&#124;"}},
    {&MayShowUserInfo, Any | Offsets, K1_3, {wInformation, wUser, wFindByOffset}, {"$<%[mynick]> .ui %[line:", wNick, "] %[line:", wOffset, "]&#124;"}},
    {&MayShowIPInfo, None, K1_3, {wInformation, wIp, wAll}, {"$<%[mynick]> .ii&#124;"}},
    {&MayShowIPInfo, None, K1_3, {wInformation, wIp, wFind}, {"$<%[mynick]> .ii %[line:", wIp, "]&#124;"}},
    {&MayShowIPInfo, Offsets, K1_3, {wInformation, wIp, wFindByOffset}, {"$<%[mynick]> .ii %[line:", wIp, "] %[line:", wOffset, "]&#124;"}},
    {&MayShowNickInfo, None, K1_3, {wInformation, wNick, wAll}, {"$<%[mynick]> .ni&#124;"}},
    {&MayShowNickInfo, None, K1_3, {wInformation, wNick, wFind}, {"$<%[mynick]> .ni %[line:", wIp, "]&#124;"}},
    {&MayShowNickInfo, Offsets, K1_3, {wInformation, wNick, wFindByOffset}, {"$<%[mynick]> .ni %[line:", wIp, "] %[line:", wOffset, "]&#124;"}},
    {&MayShowTrafficInfo, Selected, K1_2, {wInformation, wTraffic, wSelected}, {"$<%[mynick]> .ti %[nick]&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, wAll}, {"$<%[mynick]> .ts&#124;"}},
    {&MayShowTrafficStats, None, Separator, {}, {"$UserCommand 0 3"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "Search"}, {"$<%[mynick]> .ts Search&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "SR"}, {"$<%[mynick]> .ts SR&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "Connect"}, {"$<%[mynick]> .ts Connect&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "NickList"}, {"$<%[mynick]> .ts NickList&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "MyINFO"}, {"$<%[mynick]> .ts MyINFO&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "MC"}, {"$<%[mynick]> .ts MC&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "PM"}, {"$<%[mynick]> .ts PM&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "Data"}, {"$<%[mynick]> .ts Data&#124;"}},
    {&MayShowTrafficStats, None, K1_3, {wInformation, wTraffic, wStatistics, "BW"}, {"$<%[mynick]> .ts BW&#124;"}},
};
// clang-format on

} // namespace

std::span<const Row> informationRows() {
    return kRows;
}

} // namespace tavu::catalogue
