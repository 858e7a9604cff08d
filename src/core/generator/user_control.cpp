#include "generator/catalogue.h"

namespace tavu::catalogue {

namespace {

using enum Word;
using enum Test;

// Registered users are administered under the profile's Miscellaneous section.
constexpr Permission MayAdminRegistered{"Miscellaneous/Miscellaneous/MayAdminRegistered", Enable};
constexpr Permission MayDropUser{"UserAdmin/UserControl/MayDropUser", Value};
constexpr Permission MayBlockUser{"UserAdmin/UserControl/MayBlockUser", Value};
constexpr Permission MayUseMuteUser{"UserAdmin/UserControl/MayUseMuteUser", Value};
constexpr Permission MayUseLunarizeUser{"UserAdmin/UserControl/MayUseLunarizeUser", Value};
constexpr Permission MayUseKennylizeUser{"UserAdmin/UserControl/MayUseKennylizeUser", Value};
constexpr Permission MayRedirect{"UserAdmin/UserControl/MayRedirect", Value};
constexpr Permission MayKickUser{"UserAdmin/UserControl/MayKickUser", Value};
constexpr Permission MayBanTempban{"UserAdmin/UserControl/MayBanTempban", Enable};
constexpr Permission MayBanNick{"UserAdmin/UserControl/MayBanNick", Value};
constexpr Permission MayBanIP{"UserAdmin/UserControl/MayBanIP", Enable};
constexpr Permission MayBanDNS{"UserAdmin/UserControl/MayBanDNS", Enable};
constexpr Permission MayBanClients{"UserAdmin/UserControl/MayBanClients", Enable};

// Registered users: the offset items close the selected-user and the typed-nick
// runs rather than following the plain show items. Every Fast item stands right
// before its With reason twin. The DNS ban with a reason keeps the hub's own
// name "DNS" as its last menu element, whatever the word for DNS says.
// clang-format off
constexpr Row kRows[] = {
    {&MayAdminRegistered, None, K1_3, {wUserControl, wRegistered, wShow, wAll}, {"$<%[mynick]> .usr&#124;"}},
    {&MayAdminRegistered, Selected, K1_2, {wUserControl, wRegistered, wAdd, wSelected}, {"$<%[mynick]> .uar %[nick] %[line:", wPassword, "]&#124;"}},
    {&MayAdminRegistered, Selected, K1_2, {wUserControl, wRegistered, wDelete, wSelected}, {"$<%[mynick]> .udr %[nick]&#124;"}},
    {&MayAdminRegistered, Selected, K1_2, {wUserControl, wRegistered, wShow, wSelected}, {"$<%[mynick]> .usr %[nick]&#124;"}},
    {&MayAdminRegistered, Selected, K1_2, {wUserControl, wRegistered, wPassword, wShow, wSelected}, {"$<%[mynick]> .usershowpass %[nick]&#124;"}},
    {&MayAdminRegistered, Selected, K1_2, {wUserControl, wRegistered, wPassword, wSet, wSelected}, {"$<%[mynick]> .usersetpass %[nick] %[line:", wPassword, "]&#124;"}},
    {&MayAdminRegistered, Selected | Offsets, K1_2, {wUserControl, wRegistered, wShow, wSelectedByOffset}, {"$<%[mynick]> .usr %[nick] %[line:", wOffset, "]&#124;"}},
    {&MayAdminRegistered, Any, K1_3, {wUserControl, wRegistered, wAdd, wAny}, {"$<%[mynick]> .uar %[line:", wNick, "] %[line:", wPassword, "]&#124;"}},
    {&MayAdminRegistered, Any, K1_3, {wUserControl, wRegistered, wDelete, wFind}, {"$<%[mynick]> .udr %[line:", wNick, "]&#124;"}},
    {&MayAdminRegistered, Any, K1_3, {wUserControl, wRegistered, wShow, wFind}, {"$<%[mynick]> .usr %[line:", wNick, "]&#124;"}},
    {&MayAdminRegistered, Any, K1_3, {wUserControl, wRegistered, wPassword, wShow, wFind}, {"$<%[mynick]> .usershowpass %[line:", wNick, "]&#124;"}},
    {&MayAdminRegistered, Any, K1_3, {wUserControl, wRegistered, wPassword, wSet, wFind}, {"$<%[mynick]> .usersetpass %[line:", wNick, "] %[line:", wPassword, "]&#124;"}},
    {&MayAdminRegistered, Any | Offsets, K1_3, {wUserControl, wRegistered, wShow, wFindByOffset}, {"$<%[mynick]> .usr %[line:", wNick, "] %[line:", wOffset, "]&#124;"}},
    {&MayDropUser, Selected, K1_2, {wUserControl, wDrop}, {"$<%[mynick]> .drop %[nick]&#124;"}},
    {&MayBlockUser, Selected, K1_2, {wUserControl, wBlock, wOn}, {"$<%[mynick]> .block %[nick]&#124;"}},
    {&MayBlockUser, Selected, K1_2, {wUserControl, wBlock, wOff}, {"$<%[mynick]> .unblock %[nick]&#124;"}},
    {&MayUseMuteUser, None, K1_3, {wUserControl, wMute, wAll, wOn}, {"$<%[mynick]> .mute *&#124;"}},
    {&MayUseMuteUser, None, K1_3, {wUserControl, wMute, wAll, wOff}, {"$<%[mynick]> .unmute *&#124;"}},
    {&MayUseMuteUser, Selected, K1_2, {wUserControl, wMute, wSelected, wOn}, {"$<%[mynick]> .mute %[nick]&#124;"}},
    {&MayUseMuteUser, Selected, K1_2, {wUserControl, wMute, wSelected, wOff}, {"$<%[mynick]> .unmute %[nick]&#124;"}},
    {&MayUseLunarizeUser, None, K1_3, {wUserControl, wLunarize, wAll, wOn}, {"$<%[mynick]> .lunarize *&#124;"}},
    {&MayUseLunarizeUser, None, K1_3, {wUserControl, wLunarize, wAll, wOff}, {"$<%[mynick]> .unlunarize *&#124;"}},
    {&MayUseLunarizeUser, Selected, K1_2, {wUserControl, wLunarize, wSelected, wOn}, {"$<%[mynick]> .lunarize %[nick]&#124;"}},
    {&MayUseLunarizeUser, Selected, K1_2, {wUserControl, wLunarize, wSelected, wOff}, {"$<%[mynick]> .unlunarize %[nick]&#124;"}},
    {&MayUseKennylizeUser, None, K1_3, {wUserControl, wKennylize, wAll, wOn}, {"$<%[mynick]> .kennylize *&#124;"}},
    {&MayUseKennylizeUser, None, K1_3, {wUserControl, wKennylize, wAll, wOff}, {"$<%[mynick]> .unkennylize *&#124;"}},
    {&MayUseKennylizeUser, Selected, K1_2, {wUserControl, wKennylize, wSelected, wOn}, {"$<%[mynick]> .kennylize %[nick]&#124;"}},
    {&MayUseKennylizeUser, Selected, K1_2, {wUserControl, wKennylize, wSelected, wOff}, {"$<%[mynick]> .unkennylize %[nick]&#124;"}},
    {&MayRedirect, Selected | Fast, K1_2, {wUserControl, wRedirect, wFast}, {"$<%[mynick]> .redirect %[nick] %[line:", wAddress, "]&#124;"}},
    {&MayRedirect, Selected, K1_2, {wUserControl, wRedirect, wWithReason}, {"$<%[mynick]> .redirect %[nick] %[line:", wAddress, "] %[line:", wReason, "]&#124;"}},
    {&MayKickUser, Selected | Fast, K1_2, {wUserControl, wKick, wFast}, {"$<%[mynick]> .kick %[nick]&#124;"}},
    {&MayKickUser, Selected, K1_2, {wUserControl, wKick, wWithReason}, {"$<%[mynick]> .kick %[nick] %[line:", wReason, "]&#124;"}},
    // The bans.
    {&MayBanTempban, Selected | Fast, K1_2, {wUserControl, wTemporaryBan, wFast, wUser}, {"$<%[mynick]> .tban %[nick] %[line:", wHours, "]&#124;"}},
    {&MayBanTempban, Selected | Fast, K1_2, {wUserControl, wTemporaryBan, wFast, wNick, wSelected}, {"$<%[mynick]> .tbannick %[nick] %[line:", wHours, "]&#124;"}},
    {&MayBanTempban, Selected, K1_2, {wUserControl, wTemporaryBan, wWithReason, wUser}, {"$<%[mynick]> .tban %[nick] %[line:", wHours, "] %[line:", wReason, "]&#124;"}},
    {&MayBanTempban, Selected, K1_2, {wUserControl, wTemporaryBan, wWithReason, wNick, wSelected}, {"$<%[mynick]> .tbannick %[nick] %[line:", wHours, "] %[line:", wReason, "]&#124;"}},
    {&MayBanTempban, Any | Fast, K1_3, {wUserControl, wTemporaryBan, wFast, wNick, wAny}, {"$<%[mynick]> .tbannick %[line:", wNick, "] %[line:", wHours, "]&#124;"}},
    {&MayBanTempban, Any, K1_3, {wUserControl, wTemporaryBan, wWithReason, wNick, wAny}, {"$<%[mynick]> .tbannick %[line:", wNick, "] %[line:", wHours, "] %[line:", wReason, "]&#124;"}},
    {&MayBanTempban, Fast, K1_3, {wUserControl, wTemporaryBan, wFast, wIp}, {"$<%[mynick]> .tbanip %[line:", wIp, "] %[line:", wHours, "]&#124;"}},
    {&MayBanTempban, Fast, K1_3, {wUserControl, wTemporaryBan, wFast, wDns}, {"$<%[mynick]> .tbandns %[line:", wDns, "] %[line:", wHours, "]&#124;"}},
    {&MayBanTempban, None, K1_3, {wUserControl, wTemporaryBan, wWithReason, wIp}, {"$<%[mynick]> .tbanip %[line:", wIp, "] %[line:", wHours, "] %[line:", wReason, "]&#124;"}},
    {&MayBanTempban, None, K1_3, {wUserControl, wTemporaryBan, wWithReason, wDns}, {"$<%[mynick]> .tbandns %[line:", wDns, "] %[line:", wHours, "] %[line:", wReason, "]&#124;"}},
    {&MayBanTempban, None, K1_3, {wUserControl, wShowBans, wTemporary, wAll}, {"$<%[mynick]> .st&#124;"}},
    {&MayBanTempban, Offsets, K1_3, {wUserControl, wShowBans, wTemporary, wAllByOffset}, {"$<%[mynick]> .st %[line:", wOffset, "]&#124;"}},
    {&MayBanTempban, None, K1_3, {wUserControl, wUnban, wTemporary, wAll}, {"$<%[mynick]> .ct&#124;"}},
    {&MayBanTempban, None, K1_3, {wUserControl, wUnban, wTemporary, wByLimit}, {"$<%[mynick]> .ct %[line:", wLimit, "]&#124;"}},
    {&MayBanNick, Selected | Fast, K1_2, {wUserControl, wBan, wFast, wNick, wSelected}, {"$<%[mynick]> .bannick %[nick]&#124;"}},
    {&MayBanNick, Selected, K1_2, {wUserControl, wBan, wWithReason, wNick, wSelected}, {"$<%[mynick]> .bannick %[nick] %[line:", wReason, "]&#124;"}},
    {&MayBanNick, None, K1_3, {wUserControl, wShowBans, wNick, wAll}, {"$<%[mynick]> .snb&#124;"}},
    {&MayBanNick, Any | Fast, K1_3, {wUserControl, wBan, wFast, wNick, wAny}, {"$<%[mynick]> .bannick %[line:", wNick, "]&#124;"}},
    {&MayBanNick, Any, K1_3, {wUserControl, wBan, wWithReason, wNick, wAny}, {"$<%[mynick]> .bannick %[line:", wNick, "] %[line:", wReason, "]&#124;"}},
    {&MayBanNick, Any, K1_3, {wUserControl, wUnban, wUser}, {"$<%[mynick]> .unban %[line:", wNick, "]&#124;"}},
    {&MayBanNick, Any, K1_3, {wUserControl, wShowBans, wNick, wFind}, {"$<%[mynick]> .snb %[line:", wNick, "]&#124;"}},
    {&MayBanNick, Any | Offsets, K1_3, {wUserControl, wShowBans, wNick, wFindByOffset}, {"$<%[mynick]> .snb %[line:", wNick, "] %[line:", wOffset, "]&#124;"}},
    {&MayBanNick, None, K1_3, {wUserControl, wUnban, wClearNickBans}, {"$<%[mynick]> .cnb&#124;"}},
    {&MayBanIP, Selected | Fast, K1_2, {wUserControl, wBan, wFast, wUser}, {"$<%[mynick]> .ban %[nick]&#124;"}},
    {&MayBanIP, Selected, K1_2, {wUserControl, wBan, wWithReason, wUser}, {"$<%[mynick]> .ban %[nick] %[line:", wReason, "]&#124;"}},
    {&MayBanIP, Fast, K1_3, {wUserControl, wBan, wFast, wIp}, {"$<%[mynick]> .banip %[line:", wIp, "]&#124;"}},
    {&MayBanIP, None, K1_3, {wUserControl, wBan, wWithReason, wIp}, {"$<%[mynick]> .banip %[line:", wIp, "] %[line:", wReason, "]&#124;"}},
    {&MayBanIP, None, K1_3, {wUserControl, wUnban, wIp}, {"$<%[mynick]> .unban %[line:", wIp, "]&#124;"}},
    {&MayBanIP, None, K1_3, {wUserControl, wUnban, wClearIpBans}, {"$<%[mynick]> .cib&#124;"}},
    {&MayBanIP, None, K1_3, {wUserControl, wShowBans, wIp, wAll}, {"$<%[mynick]> .sib&#124;"}},
    {&MayBanIP, None, K1_3, {wUserControl, wShowBans, wIp, wFind}, {"$<%[mynick]> .sib %[line:", wIp, "]&#124;"}},
    {&MayBanIP, Offsets, K1_3, {wUserControl, wShowBans, wIp, wFindByOffset}, {"$<%[mynick]> .sib %[line:", wIp, "] %[line:", wOffset, "]&#124;"}},
    {&MayBanDNS, Fast, K1_3, {wUserControl, wBan, wFast, wDns}, {"$<%[mynick]> .bandns %[line:", wDns, "]&#124;"}},
    {&MayBanDNS, None, K1_3, {wUserControl, wBan, wWithReason, "DNS"}, {"$<%[mynick]> .bandns %[line:", wDns, "] %[line:", wReason, "]&#124;"}},
    {&MayBanDNS, None, K1_3, {wUserControl, wUnban, wDns}, {"$<%[mynick]> .unban %[line:", wDns, "]&#124;"}},
    {&MayBanDNS, None, K1_3, {wUserControl, wUnban, wClearDnsBans}, {"$<%[mynick]> .cdb&#124;"}},
    {&MayBanDNS, None, K1_3, {wUserControl, wShowBans, wDns, wAll}, {"$<%[mynick]> .sdb&#124;"}},
    {&MayBanDNS, None, K1_3, {wUserControl, wShowBans, wDns, wFind}, {"$<%[mynick]> .sdb %[line:", wDns, "]&#124;"}},
    {&MayBanDNS, Offsets, K1_3, {wUserControl, wShowBans, wDns, wFindByOffset}, {"$<%[mynick]> .sdb %[line:", wDns, "] %[line:", wOffset, "]&#124;"}},
    {&MayBanClients, Fast, K1_3, {wUserControl, wBan, wFast, wClient}, {"$<%[mynick]> .banclient %[line:", wClient, "]&#124;"}},
    {&MayBanClients, None, K1_3, {wUserControl, wBan, wWithReason, wClient}, {"$<%[mynick]> .banclient %[line:", wClient, "] %[line:", wReason, "]&#124;"}},
    {&MayBanClients, None, K1_3, {wUserControl, wUnban, wClient}, {"$<%[mynick]> .unbanclient %[line:", wClient, "]&#124;"}},
    {&MayBanClients, None, K1_3, {wUserControl, wUnban, wClearClientBans}, {"$<%[mynick]> .ccb&#124;"}},
    {&MayBanClients, None, K1_3, {wUserControl, wShowBans, wClient, wAll}, {"$<%[mynick]> .scb&#124;"}},
    {&MayBanClients, None, K1_3, {wUserControl, wShowBans, wClient, wFind}, {"$<%[mynick]> .scb %[line:", wClient, "]&#124;"}},
    {&MayBanClients, Offsets, K1_3, {wUserControl, wShowBans, wClient, wFindByOffset}, {"$<%[mynick]> .scb %[line:", wClient, "] %[line:", wOffset, "]&#124;"}},
};
// clang-format on

} // namespace

std::span<const Row> userControlRows() {
    return kRows;
}

} // namespace tavu::catalogue
