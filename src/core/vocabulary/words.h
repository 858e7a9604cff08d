#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>

namespace tavu {

// Every word once, in canonical order, with its English default: a new word
// is one line here. The order is that of reading, writing, resetting and of
// the Translator's fields: the alphabetical order of "<key>Edit" without
// regard to case, with the item prefix and the bot message last.
#define TAVU_WORDS(WORD)                                                                                     \
    WORD(w0Coma, "0 - Coma")                                                                                 \
    WORD(w1Sleeping, "1 - Sleeping")                                                                         \
    WORD(w2Turtle, "2 - Turtle")                                                                             \
    WORD(w3Lazy, "3 - Lazy")                                                                                 \
    WORD(w4Normal, "4 - Normal")                                                                             \
    WORD(w5Rabbit, "5 - Rabbit")                                                                             \
    WORD(w6Cheetah, "6 - Cheetah")                                                                           \
    WORD(wAccounts, "Accounts")                                                                              \
    WORD(wAdd, "Add")                                                                                        \
    WORD(wAddress, "Address")                                                                                \
    WORD(wAddWithPrefix, "Add with prefix")                                                                  \
    WORD(wAllByOffset, "All by offset")                                                                      \
    WORD(wAllByProfile, "All by profile")                                                                    \
    WORD(wAll, "All")                                                                                        \
    WORD(wAllowUser, "Allow user")                                                                           \
    WORD(wAny, "Any")                                                                                        \
    WORD(wAnyWithIp, "Any with IP")                                                                          \
    WORD(wBan, "Ban")                                                                                        \
    WORD(wBanned, "Banned")                                                                                  \
    WORD(wBlock, "Block")                                                                                    \
    WORD(wByIp, "By IP")                                                                                     \
    WORD(wByLimit, "By limit")                                                                               \
    WORD(wChatRooms, "Chat rooms")                                                                           \
    WORD(wClearClientBans, "Clear client bans")                                                              \
    WORD(wClearDnsBans, "Clear DNS bans")                                                                    \
    WORD(wClearIpBans, "Clear IP bans")                                                                      \
    WORD(wClearNickBans, "Clear nick bans")                                                                  \
    WORD(wClient, "Client")                                                                                  \
    WORD(wComment, "Comment")                                                                                \
    WORD(wContent, "Content")                                                                                \
    WORD(wCore, "Core")                                                                                      \
    WORD(wDateExample, "Date example")                                                                       \
    WORD(wDelete, "Delete")                                                                                  \
    WORD(wDisable, "Disable")                                                                                \
    WORD(wDisallowUser, "Disallow user")                                                                     \
    WORD(wDns, "DNS")                                                                                        \
    WORD(wDrop, "Drop")                                                                                      \
    WORD(wEnable, "Enable")                                                                                  \
    WORD(wEveryone, "Everyone")                                                                              \
    WORD(wExpireDate, "Expire date")                                                                         \
    WORD(wFast, "Fast")                                                                                      \
    WORD(wFindByAllProfiles, "Find by all profiles")                                                         \
    WORD(wFindByAllProfilesWithOffset, "Find by all profiles with offset")                                   \
    WORD(wFindByOffset, "Find by offset")                                                                    \
    WORD(wFindByProfile, "Find by profile")                                                                  \
    WORD(wFindByProfileWithOffset, "Find by profile with offset")                                            \
    WORD(wFind, "Find")                                                                                      \
    WORD(wGreeting, "Greeting")                                                                              \
    WORD(wHide, "Hide")                                                                                      \
    WORD(wHighHubs, "High hubs")                                                                             \
    WORD(wHighShare, "High share")                                                                           \
    WORD(wHighSlots, "High slots")                                                                           \
    WORD(wHours, "Hours")                                                                                    \
    WORD(wHubControl, "Hub control")                                                                         \
    WORD(wHub, "Hub")                                                                                        \
    WORD(wHubFull, "Hub full")                                                                               \
    WORD(wHubs, "Hubs")                                                                                      \
    WORD(wIncorrectIsp, "Incorrect ISP")                                                                     \
    WORD(wInformation, "Information")                                                                        \
    WORD(wInform, "Inform")                                                                                  \
    WORD(wIp, "IP")                                                                                          \
    WORD(wIpListByOffset, "IP list by offset")                                                               \
    WORD(wIpList, "IP list")                                                                                 \
    WORD(wIpMatch, "IP match")                                                                               \
    WORD(wIps, "IPs")                                                                                        \
    WORD(wIsp, "ISP")                                                                                        \
    WORD(wIsps, "ISPs")                                                                                      \
    WORD(wKennylize, "Kennylize")                                                                            \
    WORD(wKick, "Kick")                                                                                      \
    WORD(wLimit, "Limit")                                                                                    \
    WORD(wLimits, "Limits")                                                                                  \
    WORD(wListAll, "List all")                                                                               \
    WORD(wList, "List")                                                                                      \
    WORD(wLock, "Lock")                                                                                      \
    WORD(wLowShare, "Low share")                                                                             \
    WORD(wLowSlotRatio, "Low slot ratio")                                                                    \
    WORD(wLowSlots, "Low slots")                                                                             \
    WORD(wLunarize, "Lunarize")                                                                              \
    WORD(wMainChat, "Main chat")                                                                             \
    WORD(wMaximumShare, "Maximum share")                                                                     \
    WORD(wMaximumSlots, "Maximum slots")                                                                     \
    WORD(wMc, "MC")                                                                                          \
    WORD(wMe, "Me")                                                                                          \
    WORD(wMessage, "Message")                                                                                \
    WORD(wMinimumShare, "Minimum share")                                                                     \
    WORD(wMinimumSlots, "Minimum slots")                                                                     \
    WORD(wMiscellaneous, "Miscellaneous")                                                                    \
    WORD(wMute, "Mute")                                                                                      \
    WORD(wName, "Name")                                                                                      \
    WORD(wNick, "Nick")                                                                                      \
    WORD(wNoTag, "No tag")                                                                                   \
    WORD(wOff, "Off")                                                                                        \
    WORD(wOffset, "Offset")                                                                                  \
    WORD(wOn, "On")                                                                                          \
    WORD(wOperators, "Operators")                                                                            \
    WORD(wOwner, "Owner")                                                                                    \
    WORD(wPassiveMode, "Passive mode")                                                                       \
    WORD(wPassword, "Password")                                                                              \
    WORD(wPermanent, "Permanent")                                                                            \
    WORD(wPm, "PM")                                                                                          \
    WORD(wPrefix, "Prefix")                                                                                  \
    WORD(wPrefixes, "Prefixes")                                                                              \
    WORD(wProfile, "Profile")                                                                                \
    WORD(wRatio, "Ratio")                                                                                    \
    WORD(wReason, "Reason")                                                                                  \
    WORD(wRedirectAll, "Redirect all")                                                                       \
    WORD(wRedirect, "Redirect")                                                                              \
    WORD(wRedirects, "Redirects")                                                                            \
    WORD(wRegistered, "Registered")                                                                          \
    WORD(wRegisteredOnly, "Registered only")                                                                 \
    WORD(wRemove, "Remove")                                                                                  \
    WORD(wSaveSettings, "Save settings")                                                                     \
    WORD(wSay, "Say")                                                                                        \
    WORD(wSelectedByOffset, "Selected by offset")                                                            \
    WORD(wSelected, "Selected")                                                                              \
    WORD(wSelectedWithIp, "Selected with IP")                                                                \
    WORD(wSet, "Set")                                                                                        \
    WORD(wShare, "Share")                                                                                    \
    WORD(wShowBans, "Show bans")                                                                             \
    WORD(wShow, "Show")                                                                                      \
    WORD(wSlotRatio, "Slot ratio")                                                                           \
    WORD(wSpecific, "Specific")                                                                              \
    WORD(wStatistics, "Statistics")                                                                          \
    WORD(wTemporaryBan, "Temporary ban")                                                                     \
    WORD(wTemporary, "Temporary")                                                                            \
    WORD(wTextCommands, "Text commands")                                                                     \
    WORD(wTopic, "Topic")                                                                                    \
    WORD(wTraffic, "Traffic")                                                                                \
    WORD(wUnban, "Unban")                                                                                    \
    WORD(wUnlock, "Unlock")                                                                                  \
    WORD(wUserCommands, "User commands")                                                                     \
    WORD(wUserControl, "User control")                                                                       \
    WORD(wUser, "User")                                                                                      \
    WORD(wUsers, "Users")                                                                                    \
    WORD(wWarn, "Warn")                                                                                      \
    WORD(wWithReason, "With reason")                                                                         \
    WORD(wWorkpace, "Workpace")                                                                              \
    WORD(wStartWith, ".::\xC2\xA0")                                                                          \
    WORD(wBotMessage, "I have installed rightclick menu created by TAVU for you")

enum class Word : std::uint8_t {
#define TAVU_WORD_KEY(key, defaultText) key,
    TAVU_WORDS(TAVU_WORD_KEY)
#undef TAVU_WORD_KEY
};

#define TAVU_WORD_ONE(key, defaultText) 1,
inline constexpr std::size_t kWordCount = std::initializer_list<int>{TAVU_WORDS(TAVU_WORD_ONE)}.size();
#undef TAVU_WORD_ONE

} // namespace tavu
