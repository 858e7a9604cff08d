#include "generator/catalogue.h"

namespace tavu::catalogue {

namespace {

using enum Word;
using enum Test;

// Topic, main chat and chat rooms. The chat-room element sits in the inner
// "Miscellaneous" below the profile's "Miscellaneous".
constexpr Permission MaySetTopic{"General/HubControl/MaySetTopic", Value};
constexpr Permission MayDisabledMainChat{"General/HubControl/MayDisabledMainChat", Enable};
constexpr Permission MayAdminChatRooms{"Miscellaneous/Miscellaneous/MayAdminChatRooms", Enable};

// The redirect reasons, in the order they are tested and emitted. The hub spells
// the banned reason's element with a single n.
constexpr Permission kRedirectReasons[] = {
    {"Miscellaneous/Redirects/MayRedirectChangeOnHubFull", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnIncorrectISP", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnLowShare", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnHighShare", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnRegOnly", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnPassive", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnNoTag", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnHighHubs", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnLowSlots", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnHighSlots", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnLowSlotRatio", Enable},
    {"Miscellaneous/Redirects/MayRedirectChangeOnBaned", Enable},
};
constexpr const Permission& MayRedirectChangeOnHubFull = kRedirectReasons[0];
constexpr const Permission& MayRedirectChangeOnIncorrectISP = kRedirectReasons[1];
constexpr const Permission& MayRedirectChangeOnLowShare = kRedirectReasons[2];
constexpr const Permission& MayRedirectChangeOnHighShare = kRedirectReasons[3];
constexpr const Permission& MayRedirectChangeOnRegOnly = kRedirectReasons[4];
constexpr const Permission& MayRedirectChangeOnPassive = kRedirectReasons[5];
constexpr const Permission& MayRedirectChangeOnNoTag = kRedirectReasons[6];
constexpr const Permission& MayRedirectChangeOnHighHubs = kRedirectReasons[7];
constexpr const Permission& MayRedirectChangeOnLowSlots = kRedirectReasons[8];
constexpr const Permission& MayRedirectChangeOnHighSlots = kRedirectReasons[9];
constexpr const Permission& MayRedirectChangeOnLowSlotRatio = kRedirectReasons[10];
constexpr const Permission& MayRedirectChangeOnBaned = kRedirectReasons[11];
// The common redirect items: admitted by the first reason that passes.
constexpr Permission AnyRedirectReason{"", Enable, kRedirectReasons};

// User limit and connection restrictions.
constexpr Permission MayChangeUserLimit{"General/HubControl/MayChangeUserLimit", Enable};
constexpr Permission MaySetMinShare{"General/ConnRestrictions/MaySetMinShare", Enable};
constexpr Permission MaySetMaxShare{"General/ConnRestrictions/MaySetMaxShare", Enable};
constexpr Permission MaySetMaxHubs{"General/ConnRestrictions/MaySetMaxHubs", Enable};
constexpr Permission MaySetMinSlots{"General/ConnRestrictions/MaySetMinSlots", Enable};
constexpr Permission MaySetMaxSlots{"General/ConnRestrictions/MaySetMaxSlots", Enable};
constexpr Permission MaySetSlotRatio{"General/ConnRestrictions/MaySetSlotRatio", Enable};

// Text commands, ISPs and their IPs.
constexpr Permission MayAdminTextFiles{"Miscellaneous/Miscellaneous/MayAdminTextFiles", Value};
constexpr Permission MayISPAddISP{"ISP/AdminISPs/MayISPAddISP", Enable};
constexpr Permission MayISPDelISP{"ISP/AdminISPs/MayISPDelISP", Enable};
constexpr Permission MayISPShowISPs{"ISP/AdminISPs/MayISPShowISPs", Enable};
constexpr Permission MayISPSetMinShare{"ISP/AdminISPs/MayISPSetMinShare", Enable};
constexpr Permission MayISPSetMaxShare{"ISP/AdminISPs/MayISPSetMaxShare", Enable};
constexpr Permission MayISPSetMaxHubs{"ISP/AdminISPs/MayISPSetMaxHubs", Enable};
constexpr Permission MayISPSetMinSlots{"ISP/AdminISPs/MayISPSetMinSlots", Enable};
constexpr Permission MayISPSetMaxSlots{"ISP/AdminISPs/MayISPSetMaxSlots", Enable};
constexpr Permission MayISPSetSlotRatio{"ISP/AdminISPs/MayISPSetSlotRatio", Enable};
constexpr Permission MayISPShowIPsOnISP{"ISP/AdminIPs/MayISPShowIPsOnISP", Enable};
constexpr Permission MayISPAddIP{"ISP/AdminIPs/MayISPAddIP", Enable};
constexpr Permission MayISPDelIP{"ISP/AdminIPs/MayISPDelIP", Enable};

// Lock, redirect all, workpace and save settings.
constexpr Permission MayLockHub{"General/HubControl/MayLockHub", Enable};
constexpr Permission MayRedirectAll{"General/HubControl/MayRedirectAll", Value};
constexpr Permission MaySetWorkPace{"General/HubControl/MaySetWorkPace", Enable};
constexpr Permission MaySaveSettings{"General/HubControl/MaySaveSettings", Enable};

// The share prompts are titled by wPrefixes followed by the unit names.
// The text-command "Show" item carries the fixed word "Show", never wShow.
// clang-format off
constexpr Row kRows[] = {
    // Topic, main chat, chat rooms.
    {&MaySetTopic, None, K1_3, {wHubControl, wTopic, wSet}, {"$<%[mynick]> .topic %[line:", wTopic, "]&#124;"}},
    {&MaySetTopic, None, K1_3, {wHubControl, wTopic, wDelete}, {"$<%[mynick]> .topic&#124;"}},
    {&MayDisabledMainChat, None, K1_3, {wHubControl, wMainChat, wLock}, {"$<%[mynick]> .mainchat on&#124;"}},
    {&MayDisabledMainChat, None, K1_3, {wHubControl, wMainChat, wUnlock}, {"$<%[mynick]> .mainchat off&#124;"}},
    {&MayDisabledMainChat, Selected, K1_2, {wHubControl, wMainChat, wAllowUser}, {"$<%[mynick]> .allowmc %[nick]&#124;"}},
    {&MayDisabledMainChat, Selected, K1_2, {wHubControl, wMainChat, wDisallowUser}, {"$<%[mynick]> .disallowmc %[nick]&#124;"}},
    {&MayAdminChatRooms, None, K1_3, {wHubControl, wChatRooms, wAdd}, {"$<%[mynick]> .addchatroom %[line:", wNick, "]&#124;"}},
    {&MayAdminChatRooms, Selected, K1_2, {wHubControl, wChatRooms, wDelete, wSelected}, {"$<%[mynick]> .delchatroom %[nick]&#124;"}},
    {&MayAdminChatRooms, Any, K1_3, {wHubControl, wChatRooms, wDelete, wFind}, {"$<%[mynick]> .delchatroom %[line:", wNick, "]&#124;"}},
    // Redirects: the common items once, then each permitted reason's pair.
    {&AnyRedirectReason, None, K1_3, {wHubControl, wRedirects, wShow}, {"$<%[mynick]> .showredirects&#124;"}},
    {&AnyRedirectReason, None, K1_3, {wHubControl, wRedirects, wSet, wAll}, {"$<%[mynick]> .setredirect all %[line:", wAddress, "]&#124;"}},
    {&AnyRedirectReason, None, K1_3, {wHubControl, wRedirects, wDisable, wAll}, {"$<%[mynick]> .setredirect all&#124;"}},
    {&MayRedirectChangeOnHubFull, None, K1_3, {wHubControl, wRedirects, wSet, wHubFull}, {"$<%[mynick]> .setredirect full %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnHubFull, None, K1_3, {wHubControl, wRedirects, wDisable, wHubFull}, {"$<%[mynick]> .setredirect full&#124;"}},
    {&MayRedirectChangeOnIncorrectISP, None, K1_3, {wHubControl, wRedirects, wSet, wIncorrectIsp}, {"$<%[mynick]> .setredirect isp %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnIncorrectISP, None, K1_3, {wHubControl, wRedirects, wDisable, wIncorrectIsp}, {"$<%[mynick]> .setredirect isp&#124;"}},
    {&MayRedirectChangeOnLowShare, None, K1_3, {wHubControl, wRedirects, wSet, wLowShare}, {"$<%[mynick]> .setredirect lowshare %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnLowShare, None, K1_3, {wHubControl, wRedirects, wDisable, wLowShare}, {"$<%[mynick]> .setredirect lowshare&#124;"}},
    {&MayRedirectChangeOnHighShare, None, K1_3, {wHubControl, wRedirects, wSet, wHighShare}, {"$<%[mynick]> .setredirect highshare %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnHighShare, None, K1_3, {wHubControl, wRedirects, wDisable, wHighShare}, {"$<%[mynick]> .setredirect highshare&#124;"}},
    {&MayRedirectChangeOnRegOnly, None, K1_3, {wHubControl, wRedirects, wSet, wRegisteredOnly}, {"$<%[mynick]> .setredirect regonly %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnRegOnly, None, K1_3, {wHubControl, wRedirects, wDisable, wRegisteredOnly}, {"$<%[mynick]> .setredirect regonly&#124;"}},
    {&MayRedirectChangeOnPassive, None, K1_3, {wHubControl, wRedirects, wSet, wPassiveMode}, {"$<%[mynick]> .setredirect passive %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnPassive, None, K1_3, {wHubControl, wRedirects, wDisable, wPassiveMode}, {"$<%[mynick]> .setredirect passive&#124;"}},
    {&MayRedirectChangeOnNoTag, None, K1_3, {wHubControl, wRedirects, wSet, wNoTag}, {"$<%[mynick]> .setredirect notag %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnNoTag, None, K1_3, {wHubControl, wRedirects, wDisable, wNoTag}, {"$<%[mynick]> .setredirect notag&#124;"}},
    {&MayRedirectChangeOnHighHubs, None, K1_3, {wHubControl, wRedirects, wSet, wHighHubs}, {"$<%[mynick]> .setredirect hubs %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnHighHubs, None, K1_3, {wHubControl, wRedirects, wDisable, wHighHubs}, {"$<%[mynick]> .setredirect hubs&#124;"}},
    {&MayRedirectChangeOnLowSlots, None, K1_3, {wHubControl, wRedirects, wSet, wLowSlots}, {"$<%[mynick]> .setredirect lowslots %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnLowSlots, None, K1_3, {wHubControl, wRedirects, wDisable, wLowSlots}, {"$<%[mynick]> .setredirect lowslots&#124;"}},
    {&MayRedirectChangeOnHighSlots, None, K1_3, {wHubControl, wRedirects, wSet, wHighSlots}, {"$<%[mynick]> .setredirect highslots %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnHighSlots, None, K1_3, {wHubControl, wRedirects, wDisable, wHighSlots}, {"$<%[mynick]> .setredirect highslots&#124;"}},
    {&MayRedirectChangeOnLowSlotRatio, None, K1_3, {wHubControl, wRedirects, wSet, wLowSlotRatio}, {"$<%[mynick]> .setredirect slotratio %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnLowSlotRatio, None, K1_3, {wHubControl, wRedirects, wDisable, wLowSlotRatio}, {"$<%[mynick]> .setredirect slotratio&#124;"}},
    {&MayRedirectChangeOnBaned, None, K1_3, {wHubControl, wRedirects, wSet, wBanned}, {"$<%[mynick]> .setredirect banned %[line:", wAddress, "]&#124;"}},
    {&MayRedirectChangeOnBaned, None, K1_3, {wHubControl, wRedirects, wDisable, wBanned}, {"$<%[mynick]> .setredirect banned&#124;"}},
    // User limit and connection restrictions.
    {&MayChangeUserLimit, None, K1_3, {wHubControl, wLimits, wUsers}, {"$<%[mynick]> .userlimit %[line:", wLimit, "]&#124;"}},
    {&MaySetMinShare, None, K1_3, {wHubControl, wLimits, wMinimumShare, wSet}, {"$<%[mynick]> .setminshare %[line:", wPrefixes, ": KiB MiB GiB TiB PiB]&#124;"}},
    {&MaySetMinShare, None, K1_3, {wHubControl, wLimits, wMinimumShare, wDisable}, {"$<%[mynick]> .setminshare 0&#124;"}},
    {&MaySetMaxShare, None, K1_3, {wHubControl, wLimits, wMaximumShare, wSet}, {"$<%[mynick]> .setmaxshare %[line:", wPrefixes, ": KiB MiB GiB TiB PiB]&#124;"}},
    {&MaySetMaxShare, None, K1_3, {wHubControl, wLimits, wMaximumShare, wDisable}, {"$<%[mynick]> .setmaxshare 0&#124;"}},
    {&MaySetMaxHubs, None, K1_3, {wHubControl, wLimits, wHubs, wSet}, {"$<%[mynick]> .setmaxhubs %[line:", wLimit, "]&#124;"}},
    {&MaySetMaxHubs, None, K1_3, {wHubControl, wLimits, wHubs, wDisable}, {"$<%[mynick]> .setmaxhubs 0&#124;"}},
    {&MaySetMinSlots, None, K1_3, {wHubControl, wLimits, wMinimumSlots, wSet}, {"$<%[mynick]> .setminslots %[line:", wLimit, "]&#124;"}},
    {&MaySetMinSlots, None, K1_3, {wHubControl, wLimits, wMinimumSlots, wDisable}, {"$<%[mynick]> .setminslots 0&#124;"}},
    {&MaySetMaxSlots, None, K1_3, {wHubControl, wLimits, wMaximumSlots, wSet}, {"$<%[mynick]> .setmaxslots %[line:", wLimit, "]&#124;"}},
    {&MaySetMaxSlots, None, K1_3, {wHubControl, wLimits, wMaximumSlots, wDisable}, {"$<%[mynick]> .setmaxslots 0&#124;"}},
    {&MaySetSlotRatio, None, K1_3, {wHubControl, wLimits, wSlotRatio, wSet}, {"$<%[mynick]> .setslotratio %[line:", wRatio, "]&#124;"}},
    {&MaySetSlotRatio, None, K1_3, {wHubControl, wLimits, wSlotRatio, wDisable}, {"$<%[mynick]> .setslotratio 0&#124;"}},
    // Text commands.
    {&MayAdminTextFiles, None, K1_3, {wHubControl, wTextCommands, wListAll}, {"$<%[mynick]> .listcmd *&#124;"}},
    {&MayAdminTextFiles, None, K1_3, {wHubControl, wTextCommands, wFind}, {"$<%[mynick]> .listcmd %[line:", wName, "]&#124;"}},
    {&MayAdminTextFiles, Offsets, K1_3, {wHubControl, wTextCommands, wFindByOffset}, {"$<%[mynick]> .listcmd %[line:", wName, "] %[line:", wOffset, "]&#124;"}},
    {&MayAdminTextFiles, None, K1_3, {wHubControl, wTextCommands, wEnable, wOn}, {"$<%[mynick]> .textcommand %[line:", wName, "] on&#124;"}},
    {&MayAdminTextFiles, None, K1_3, {wHubControl, wTextCommands, wEnable, wOff}, {"$<%[mynick]> .textcommand %[line:", wName, "] off&#124;"}},
    {&MayAdminTextFiles, None, K1_3, {wHubControl, wTextCommands, wContent, "Show"}, {"$<%[mynick]> .showcmd %[line:", wName, "]&#124;"}},
    {&MayAdminTextFiles, None, K1_3, {wHubControl, wTextCommands, wContent, wSet}, {"$<%[mynick]> .setcmd %[line:", wName, "] %[line:", wContent, "]&#124;"}},
    // ISPs and their IPs, all in the one ISP submenu.
    {&MayISPAddISP, None, K1_3, {wHubControl, wIsps, wAdd}, {"$<%[mynick]> .addisp %[line:", wIsp, "]&#124;"}},
    {&MayISPAddISP, None, K1_3, {wHubControl, wIsps, wAddWithPrefix}, {"$<%[mynick]> .addisp %[line:", wIsp, "] %[line:", wPrefix, "]&#124;"}},
    {&MayISPDelISP, None, K1_3, {wHubControl, wIsps, wDelete}, {"$<%[mynick]> .delisp %[line:", wIsp, "]&#124;"}},
    {&MayISPShowISPs, None, K1_3, {wHubControl, wIsps, wShow, wAll}, {"$<%[mynick]> .showisp&#124;"}},
    {&MayISPShowISPs, None, K1_3, {wHubControl, wIsps, wShow, wSpecific}, {"$<%[mynick]> .showisp %[line:", wIsp, "]&#124;"}},
    {&MayISPShowISPs, None, K1_3, {wHubControl, wIsps, wShow, wByIp}, {"$<%[mynick]> .si %[line:", wIp, "]&#124;"}},
    {&MayISPShowISPs, None, K1_3, {wHubControl, wIsps, wShow, wIpMatch}, {"$<%[mynick]> .mi %[line:", wIp, "]&#124;"}},
    {&MayISPSetMinShare, None, K1_3, {wHubControl, wIsps, wLimits, wMinimumShare, wSet}, {"$<%[mynick]> .ispminshare %[line:", wIsp, "] %[line:", wPrefixes, ": KiB MiB GiB TiB PiB]&#124;"}},
    {&MayISPSetMinShare, None, K1_3, {wHubControl, wIsps, wLimits, wMinimumShare, wDisable}, {"$<%[mynick]> .ispminshare %[line:", wIsp, "] 0&#124;"}},
    {&MayISPSetMaxShare, None, K1_3, {wHubControl, wIsps, wLimits, wMaximumShare, wSet}, {"$<%[mynick]> .ispmaxshare %[line:", wIsp, "] %[line:", wPrefixes, ": KiB MiB GiB TiB PiB]&#124;"}},
    {&MayISPSetMaxShare, None, K1_3, {wHubControl, wIsps, wLimits, wMaximumShare, wDisable}, {"$<%[mynick]> .ispmaxshare %[line:", wIsp, "] 0&#124;"}},
    {&MayISPSetMaxHubs, None, K1_3, {wHubControl, wIsps, wLimits, wHubs, wSet}, {"$<%[mynick]> .ispmaxhubs %[line:", wIsp, "] %[line:", wLimit, "]&#124;"}},
    {&MayISPSetMaxHubs, None, K1_3, {wHubControl, wIsps, wLimits, wHubs, wDisable}, {"$<%[mynick]> .ispmaxhubs %[line:", wIsp, "] 0&#124;"}},
    {&MayISPSetMinSlots, None, K1_3, {wHubControl, wIsps, wLimits, wMinimumSlots, wSet}, {"$<%[mynick]> .ispminslots %[line:", wIsp, "] %[line:", wLimit, "]&#124;"}},
    {&MayISPSetMinSlots, None, K1_3, {wHubControl, wIsps, wLimits, wMinimumSlots, wDisable}, {"$<%[mynick]> .ispminslots %[line:", wIsp, "] 0&#124;"}},
    {&MayISPSetMaxSlots, None, K1_3, {wHubControl, wIsps, wLimits, wMaximumSlots, wSet}, {"$<%[mynick]> .ispmaxslots %[line:", wIsp, "] %[line:", wLimit, "]&#124;"}},
    {&MayISPSetMaxSlots, None, K1_3, {wHubControl, wIsps, wLimits, wMaximumSlots, wDisable}, {"$<%[mynick]> .ispmaxslots %[line:", wIsp, "] 0&#124;"}},
    {&MayISPSetSlotRatio, None, K1_3, {wHubControl, wIsps, wLimits, wSlotRatio, wSet}, {"$<%[mynick]> .ispslotratio %[line:", wIsp, "] %[line:", wRatio, "]&#124;"}},
    {&MayISPSetSlotRatio, None, K1_3, {wHubControl, wIsps, wLimits, wSlotRatio, wDisable}, {"$<%[mynick]> .ispslotratio %[line:", wIsp, "] 0&#124;"}},
    {&MayISPShowIPsOnISP, None, K1_3, {wHubControl, wIsps, wShow, wIpList}, {"$<%[mynick]> .ispiplist %[line:", wIsp, "]&#124;"}},
    {&MayISPShowIPsOnISP, Offsets, K1_3, {wHubControl, wIsps, wShow, wIpListByOffset}, {"$<%[mynick]> .ispiplist %[line:", wIsp, "] %[line:", wOffset, "]&#124;"}},
    {&MayISPAddIP, None, K1_3, {wHubControl, wIsps, wIps, wAdd}, {"$<%[mynick]> .addip %[line:", wIp, "] %[line:", wIsp, "]&#124;"}},
    {&MayISPDelIP, None, K1_3, {wHubControl, wIsps, wIps, wDelete}, {"$<%[mynick]> .delip %[line:", wIp, "] %[line:", wIsp, "]&#124;"}},
    // Lock, redirect all, workpace, save settings.
    {&MayLockHub, None, K1_3, {wHubControl, wLock, wOn}, {"$<%[mynick]> .lock on&#124;"}},
    {&MayLockHub, None, K1_3, {wHubControl, wLock, wOff}, {"$<%[mynick]> .lock off&#124;"}},
    {&MayRedirectAll, Fast, K1_3, {wHubControl, wRedirectAll, wFast}, {"$<%[mynick]> .redirectall %[line:", wAddress, "]&#124;"}},
    {&MayRedirectAll, None, K1_3, {wHubControl, wRedirectAll, wWithReason}, {"$<%[mynick]> .redirectall %[line:", wAddress, "] %[line:", wReason, "]&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w0Coma}, {"$<%[mynick]> .workpace 0&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w1Sleeping}, {"$<%[mynick]> .workpace 1&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w2Turtle}, {"$<%[mynick]> .workpace 2&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w3Lazy}, {"$<%[mynick]> .workpace 3&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w4Normal}, {"$<%[mynick]> .workpace 4&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w5Rabbit}, {"$<%[mynick]> .workpace 5&#124;"}},
    {&MaySetWorkPace, None, K1_3, {wHubControl, wWorkpace, w6Cheetah}, {"$<%[mynick]> .workpace 6&#124;"}},
    {&MaySaveSettings, None, K1_3, {wHubControl, wSaveSettings}, {"$<%[mynick]> .savesettings&#124;"}},
};
// clang-format on

static_assert(std::size(kRows) == 91);

} // namespace

std::span<const Row> hubControlRows() {
    return kRows;
}

} // namespace tavu::catalogue
