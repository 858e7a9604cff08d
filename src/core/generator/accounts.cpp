#include "generator/catalogue.h"

namespace tavu::catalogue {

namespace {

using enum Word;
using enum Test;

constexpr Permission MayAccountsAdd{"UserAdmin/Accounts/MayAccountsAdd", Value};
constexpr Permission MayAccountsDel{"UserAdmin/Accounts/MayAccountsDel", Value};
constexpr Permission MayAccountsList{"UserAdmin/Accounts/MayAccountsList", Value};
constexpr Permission MayAccountsSetProfile{"UserAdmin/Accounts/MayAccountsSetProfile", Value};
constexpr Permission MayAccountsSetIPs{"UserAdmin/Accounts/MayAccountsSetIPs", Value};
constexpr Permission MayAccountsShowIPs{"UserAdmin/Accounts/MayAccountsShowIPs", Value};
constexpr Permission MayAccountsSetComment{"UserAdmin/Accounts/MayAccountsSetComment", Value};
constexpr Permission MayAccountsSetGreeting{"UserAdmin/Accounts/MayAccountsSetGreeting", Value};
constexpr Permission MayAccountsSetExpireDate{"UserAdmin/Accounts/MayAccountsSetExpireDate", Value};
constexpr Permission MayAccountsSetOwner{"UserAdmin/Accounts/MayAccountsSetOwner", Value};
constexpr Permission MayAccountsSetPass{"UserAdmin/Accounts/MayAccountsSetPass", Value};
constexpr Permission MayAccountsShowPass{"UserAdmin/Accounts/MayAccountsShowPass", Value};
constexpr Permission MayAccountsProfilesShow{"UserAdmin/Accounts/MayAccountsProfilesShow", Value};

// The list block puts its two unconditional items between the selected-user item
// and the typed-nick items, and each offset item right after its plain item.
// The expiry prompts show an example date: the date of the generation.
// clang-format off
constexpr Row kRows[] = {
    {&MayAccountsAdd, Selected, K1_2, {wAccounts, wAdd, wSelected}, {"$<%[mynick]> .ar %[nick] %[line:", wPassword, "] %[line:", wProfile, "]&#124;"}},
    {&MayAccountsAdd, Selected, K1_2, {wAccounts, wAdd, wSelectedWithIp}, {"$<%[mynick]> .ar %[nick] %[line:", wPassword, "] %[line:", wProfile, "] %[line:", wIp, "]&#124;"}},
    {&MayAccountsAdd, Any, K1_3, {wAccounts, wAdd, wAny}, {"$<%[mynick]> .ar %[line:", wNick, "] %[line:", wPassword, "] %[line:", wProfile, "]&#124;"}},
    {&MayAccountsAdd, Any, K1_3, {wAccounts, wAdd, wAnyWithIp}, {"$<%[mynick]> .ar %[line:", wNick, "] %[line:", wPassword, "] %[line:", wProfile, "] %[line:", wIp, "]&#124;"}},
    {&MayAccountsDel, Selected, K1_2, {wAccounts, wDelete, wSelected}, {"$<%[mynick]> .dr %[nick]&#124;"}},
    {&MayAccountsDel, Any, K1_3, {wAccounts, wDelete, wFind}, {"$<%[mynick]> .dr %[line:", wNick, "]&#124;"}},
    {&MayAccountsList, Selected, K1_2, {wAccounts, wList, wSelected}, {"$<%[mynick]> .sr all %[nick]&#124;"}},
    {&MayAccountsList, None, K1_3, {wAccounts, wList, wAll}, {"$<%[mynick]> .sr all&#124;"}},
    {&MayAccountsList, None, K1_3, {wAccounts, wList, wAllByProfile}, {"$<%[mynick]> .sr %[line:", wProfile, "]&#124;"}},
    {&MayAccountsList, Any, K1_3, {wAccounts, wList, wFindByAllProfiles}, {"$<%[mynick]> .sr all %[line:", wNick, "]&#124;"}},
    {&MayAccountsList, Any | Offsets, K1_3, {wAccounts, wList, wFindByAllProfilesWithOffset}, {"$<%[mynick]> .sr all %[line:", wNick, "] %[line:", wOffset, "]&#124;"}},
    {&MayAccountsList, Any, K1_3, {wAccounts, wList, wFindByProfile}, {"$<%[mynick]> .sr %[line:", wProfile, "] %[line:", wNick, "]&#124;"}},
    {&MayAccountsList, Any | Offsets, K1_3, {wAccounts, wList, wFindByProfileWithOffset}, {"$<%[mynick]> .sr %[line:", wProfile, "] %[line:", wNick, "] %[line:", wOffset, "]&#124;"}},
    {&MayAccountsSetProfile, Selected, K1_2, {wAccounts, wProfile, wSet, wSelected}, {"$<%[mynick]> .setprofile %[nick] %[line:", wProfile, "]&#124;"}},
    {&MayAccountsSetProfile, Any, K1_3, {wAccounts, wProfile, wSet, wFind}, {"$<%[mynick]> .setprofile %[line:", wNick, "] %[line:", wProfile, "]&#124;"}},
    {&MayAccountsSetIPs, Selected, K1_2, {wAccounts, wIp, wSet, wSelected}, {"$<%[mynick]> .sai %[nick] %[line:", wIp, "]&#124;"}},
    {&MayAccountsSetIPs, Selected, K1_2, {wAccounts, wIp, wRemove, wSelected}, {"$<%[mynick]> .sai %[nick]&#124;"}},
    {&MayAccountsSetIPs, Any, K1_3, {wAccounts, wIp, wSet, wFind}, {"$<%[mynick]> .sai %[line:", wNick, "] %[line:", wIp, "]&#124;"}},
    {&MayAccountsSetIPs, Any, K1_3, {wAccounts, wIp, wRemove, wFind}, {"$<%[mynick]> .sai %[line:", wNick, "]&#124;"}},
    {&MayAccountsShowIPs, Selected, K1_2, {wAccounts, wIp, wShow, wSelected}, {"$<%[mynick]> .shai %[nick]&#124;"}},
    {&MayAccountsShowIPs, Any, K1_3, {wAccounts, wIp, wShow, wFind}, {"$<%[mynick]> .shai %[line:", wNick, "]&#124;"}},
    {&MayAccountsSetComment, Selected, K1_2, {wAccounts, wComment, wSet, wSelected}, {"$<%[mynick]> .setcomment %[nick] %[line:", wComment, "]&#124;"}},
    {&MayAccountsSetComment, Selected, K1_2, {wAccounts, wComment, wRemove, wSelected}, {"$<%[mynick]> .setcomment %[nick]&#124;"}},
    {&MayAccountsSetComment, Any, K1_3, {wAccounts, wComment, wSet, wFind}, {"$<%[mynick]> .setcomment %[line:", wNick, "] %[line:", wComment, "]&#124;"}},
    {&MayAccountsSetComment, Any, K1_3, {wAccounts, wComment, wRemove, wFind}, {"$<%[mynick]> .setcomment %[line:", wNick, "]&#124;"}},
    {&MayAccountsSetGreeting, Selected, K1_2, {wAccounts, wGreeting, wSet, wSelected}, {"$<%[mynick]> .setgreeting %[nick] %[line:", wGreeting, "]&#124;"}},
    {&MayAccountsSetGreeting, Selected, K1_2, {wAccounts, wGreeting, wRemove, wSelected}, {"$<%[mynick]> .setgreeting %[nick]&#124;"}},
    {&MayAccountsSetGreeting, Any, K1_3, {wAccounts, wGreeting, wSet, wFind}, {"$<%[mynick]> .setgreeting %[line:", wNick, "] %[line:", wGreeting, "]&#124;"}},
    {&MayAccountsSetGreeting, Any, K1_3, {wAccounts, wGreeting, wRemove, wFind}, {"$<%[mynick]> .setgreeting %[line:", wNick, "]&#124;"}},
    {&MayAccountsSetExpireDate, Selected, K1_2, {wAccounts, wExpireDate, wSet, wSelected}, {"$<%[mynick]> .setexpiredate %[nick] %[line:", wDateExample, ": ", DateText, "]&#124;"}},
    {&MayAccountsSetExpireDate, Selected, K1_2, {wAccounts, wExpireDate, wPermanent, wSelected}, {"$<%[mynick]> .setexpiredate %[nick] 0&#124;"}},
    {&MayAccountsSetExpireDate, Any, K1_3, {wAccounts, wExpireDate, wSet, wFind}, {"$<%[mynick]> .setexpiredate %[line:", wNick, "] %[line:", wDateExample, ": ", DateText, "]&#124;"}},
    {&MayAccountsSetExpireDate, Any, K1_3, {wAccounts, wExpireDate, wPermanent, wFind}, {"$<%[mynick]> .setexpiredate %[line:", wNick, "] 0&#124;"}},
    {&MayAccountsSetOwner, Selected, K1_2, {wAccounts, wOwner, wSet, wSelected}, {"$<%[mynick]> .setowner %[nick] %[line:", wOwner, "]&#124;"}},
    {&MayAccountsSetOwner, Selected, K1_2, {wAccounts, wOwner, wMe, wSelected}, {"$<%[mynick]> .setowner %[nick]&#124;"}},
    {&MayAccountsSetOwner, Any, K1_3, {wAccounts, wOwner, wSet, wFind}, {"$<%[mynick]> .setowner %[line:", wNick, "] %[line:", wOwner, "]&#124;"}},
    {&MayAccountsSetOwner, Any, K1_3, {wAccounts, wOwner, wMe, wFind}, {"$<%[mynick]> .setowner %[line:", wNick, "]&#124;"}},
    {&MayAccountsSetPass, Selected, K1_2, {wAccounts, wPassword, wSet, wSelected}, {"$<%[mynick]> .setpass %[nick] %[line:", wPassword, "]&#124;"}},
    {&MayAccountsSetPass, Any, K1_3, {wAccounts, wPassword, wSet, wFind}, {"$<%[mynick]> .setpass %[line:", wNick, "] %[line:", wPassword, "]&#124;"}},
    {&MayAccountsShowPass, Selected, K1_2, {wAccounts, wPassword, wShow, wSelected}, {"$<%[mynick]> .showpass %[nick]&#124;"}},
    {&MayAccountsShowPass, Any, K1_3, {wAccounts, wPassword, wShow, wFind}, {"$<%[mynick]> .showpass %[line:", wNick, "]&#124;"}},
    {&MayAccountsProfilesShow, None, K1_3, {wAccounts, wProfile, wListAll}, {"$<%[mynick]> .sp&#124;"}},
};
// clang-format on

} // namespace

std::span<const Row> accountsRows() {
    return kRows;
}

} // namespace tavu::catalogue
