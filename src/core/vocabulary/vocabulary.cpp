#include "vocabulary/vocabulary.h"

#include "platform/ini_file.h"
#include "platform/text.h"

#include <algorithm>

namespace tavu {

namespace {

constexpr std::array<WordEntry, kWordCount> kWordTable{{
    {"w0Coma", "0 - Coma"},
    {"w1Sleeping", "1 - Sleeping"},
    {"w2Turtle", "2 - Turtle"},
    {"w3Lazy", "3 - Lazy"},
    {"w4Normal", "4 - Normal"},
    {"w5Rabbit", "5 - Rabbit"},
    {"w6Cheetah", "6 - Cheetah"},
    {"wAccounts", "Accounts"},
    {"wAdd", "Add"},
    {"wAddress", "Address"},
    {"wAddWithPrefix", "Add with prefix"},
    {"wAllByOffset", "All by offset"},
    {"wAllByProfile", "All by profile"},
    {"wAll", "All"},
    {"wAllowUser", "Allow user"},
    {"wAny", "Any"},
    {"wAnyWithIp", "Any with IP"},
    {"wBan", "Ban"},
    {"wBanned", "Banned"},
    {"wBlock", "Block"},
    {"wByIp", "By IP"},
    {"wByLimit", "By limit"},
    {"wChatRooms", "Chat rooms"},
    {"wClearClientBans", "Clear client bans"},
    {"wClearDnsBans", "Clear DNS bans"},
    {"wClearIpBans", "Clear IP bans"},
    {"wClearNickBans", "Clear nick bans"},
    {"wClient", "Client"},
    {"wComment", "Comment"},
    {"wContent", "Content"},
    {"wCore", "Core"},
    {"wDateExample", "Date example"},
    {"wDelete", "Delete"},
    {"wDisable", "Disable"},
    {"wDisallowUser", "Disallow user"},
    {"wDns", "DNS"},
    {"wDrop", "Drop"},
    {"wEnable", "Enable"},
    {"wEveryone", "Everyone"},
    {"wExpireDate", "Expire date"},
    {"wFast", "Fast"},
    {"wFindByAllProfiles", "Find by all profiles"},
    {"wFindByAllProfilesWithOffset", "Find by all profiles with offset"},
    {"wFindByOffset", "Find by offset"},
    {"wFindByProfile", "Find by profile"},
    {"wFindByProfileWithOffset", "Find by profile with offset"},
    {"wFind", "Find"},
    {"wGreeting", "Greeting"},
    {"wHide", "Hide"},
    {"wHighHubs", "High hubs"},
    {"wHighShare", "High share"},
    {"wHighSlots", "High slots"},
    {"wHours", "Hours"},
    {"wHubControl", "Hub control"},
    {"wHub", "Hub"},
    {"wHubFull", "Hub full"},
    {"wHubs", "Hubs"},
    {"wIncorrectIsp", "Incorrect ISP"},
    {"wInformation", "Information"},
    {"wInform", "Inform"},
    {"wIp", "IP"},
    {"wIpListByOffset", "IP list by offset"},
    {"wIpList", "IP list"},
    {"wIpMatch", "IP match"},
    {"wIps", "IPs"},
    {"wIsp", "ISP"},
    {"wIsps", "ISPs"},
    {"wKennylize", "Kennylize"},
    {"wKick", "Kick"},
    {"wLimit", "Limit"},
    {"wLimits", "Limits"},
    {"wListAll", "List all"},
    {"wList", "List"},
    {"wLock", "Lock"},
    {"wLowShare", "Low share"},
    {"wLowSlotRatio", "Low slot ratio"},
    {"wLowSlots", "Low slots"},
    {"wLunarize", "Lunarize"},
    {"wMainChat", "Main chat"},
    {"wMaximumShare", "Maximum share"},
    {"wMaximumSlots", "Maximum slots"},
    {"wMc", "MC"},
    {"wMe", "Me"},
    {"wMessage", "Message"},
    {"wMinimumShare", "Minimum share"},
    {"wMinimumSlots", "Minimum slots"},
    {"wMiscellaneous", "Miscellaneous"},
    {"wMute", "Mute"},
    {"wName", "Name"},
    {"wNick", "Nick"},
    {"wNoTag", "No tag"},
    {"wOff", "Off"},
    {"wOffset", "Offset"},
    {"wOn", "On"},
    {"wOperators", "Operators"},
    {"wOwner", "Owner"},
    {"wPassiveMode", "Passive mode"},
    {"wPassword", "Password"},
    {"wPermanent", "Permanent"},
    {"wPm", "PM"},
    {"wPrefix", "Prefix"},
    {"wPrefixes", "Prefixes"},
    {"wProfile", "Profile"},
    {"wRatio", "Ratio"},
    {"wReason", "Reason"},
    {"wRedirectAll", "Redirect all"},
    {"wRedirect", "Redirect"},
    {"wRedirects", "Redirects"},
    {"wRegistered", "Registered"},
    {"wRegisteredOnly", "Registered only"},
    {"wRemove", "Remove"},
    {"wSaveSettings", "Save settings"},
    {"wSay", "Say"},
    {"wSelectedByOffset", "Selected by offset"},
    {"wSelected", "Selected"},
    {"wSelectedWithIp", "Selected with IP"},
    {"wSet", "Set"},
    {"wShare", "Share"},
    {"wShowBans", "Show bans"},
    {"wShow", "Show"},
    {"wSlotRatio", "Slot ratio"},
    {"wSpecific", "Specific"},
    {"wStatistics", "Statistics"},
    {"wTemporaryBan", "Temporary ban"},
    {"wTemporary", "Temporary"},
    {"wTextCommands", "Text commands"},
    {"wTopic", "Topic"},
    {"wTraffic", "Traffic"},
    {"wUnban", "Unban"},
    {"wUnlock", "Unlock"},
    {"wUserCommands", "User commands"},
    {"wUserControl", "User control"},
    {"wUser", "User"},
    {"wUsers", "Users"},
    {"wWarn", "Warn"},
    {"wWithReason", "With reason"},
    {"wWorkpace", "Workpace"},
    {"wStartWith", ".::\xC2\xA0"},
    {"wBotMessage", "I have installed rightclick menu created by TAVU for you"},
}};

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

} // namespace

const std::array<WordEntry, kWordCount>& wordTable() {
    return kWordTable;
}

std::string_view wordKey(Word word) {
    return kWordTable[static_cast<std::size_t>(word)].key;
}

std::string_view defaultText(Word word) {
    return kWordTable[static_cast<std::size_t>(word)].defaultText;
}

std::optional<Word> wordByKey(std::string_view key) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        if (equalsIgnoringAsciiCase(kWordTable[i].key, key)) {
            return static_cast<Word>(i);
        }
    }
    return std::nullopt;
}

Vocabulary::Vocabulary() {
    resetToDefaults();
}

void Vocabulary::resetToDefaults() {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        texts_[i] = std::string(kWordTable[i].defaultText);
    }
}

void Vocabulary::normaliseItemPrefix() {
    std::string& prefix = texts_[static_cast<std::size_t>(Word::wStartWith)];
    std::string normalised;
    normalised.reserve(prefix.size() * 2);
    for (char c : prefix) {
        if (c == ' ') {
            normalised += kNoBreakSpace;
        } else {
            normalised += c;
        }
    }
    prefix = std::move(normalised);
}

void readStringsSection(Vocabulary& vocabulary, const IniFile& file) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        if (auto value = file.value(kStringsSection, wordKey(word))) {
            vocabulary.setText(word, std::move(*value));
        }
    }
}

void writeStringsSection(const Vocabulary& vocabulary, IniFile& file) {
    std::vector<IniFile::Entry> entries;
    entries.reserve(kWordCount);
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        entries.push_back({std::string(wordKey(word)), vocabulary.text(word)});
    }
    file.replaceSection(kStringsSection, entries);
}

std::string withoutRejectedCharacters(std::string_view text) {
    std::string kept;
    kept.reserve(text.size());
    // Both rejected characters are ASCII, so no UTF-8 sequence can contain them.
    std::copy_if(text.begin(), text.end(), std::back_inserter(kept),
                 [](char c) { return isAcceptedWordCharacter(static_cast<unsigned char>(c)); });
    return kept;
}

} // namespace tavu
