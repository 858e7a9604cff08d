#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace tavu::test {
namespace {

const std::string kTopic = "General/HubControl/MaySetTopic";
const std::string kMainChat = "General/HubControl/MayDisabledMainChat";
const std::string kChatRooms = "Miscellaneous/Miscellaneous/MayAdminChatRooms";
const std::string kRedirects = "Miscellaneous/Redirects/";
const std::string kTextFiles = "Miscellaneous/Miscellaneous/MayAdminTextFiles";
const std::string kLockHub = "General/HubControl/MayLockHub";
const std::string kRedirectAll = "General/HubControl/MayRedirectAll";
const std::string kWorkPace = "General/HubControl/MaySetWorkPace";
const std::string kSaveSettings = "General/HubControl/MaySaveSettings";

// The twelve redirect reasons in the order the hub menu lists them, with the
// keyword each sends.
const std::vector<std::pair<std::string, std::string>> kRedirectReasons{
    {"MayRedirectChangeOnHubFull", "full"},
    {"MayRedirectChangeOnIncorrectISP", "isp"},
    {"MayRedirectChangeOnLowShare", "lowshare"},
    {"MayRedirectChangeOnHighShare", "highshare"},
    {"MayRedirectChangeOnRegOnly", "regonly"},
    {"MayRedirectChangeOnPassive", "passive"},
    {"MayRedirectChangeOnNoTag", "notag"},
    {"MayRedirectChangeOnHighHubs", "hubs"},
    {"MayRedirectChangeOnLowSlots", "lowslots"},
    {"MayRedirectChangeOnHighSlots", "highslots"},
    {"MayRedirectChangeOnLowSlotRatio", "slotratio"},
    {"MayRedirectChangeOnBaned", "banned"},
};

struct ItemOptions {
    bool selected = true;
    bool any = true;
    bool offsets = true;
    bool fast = true;
};

GenerationOptions hubControlOnly(ItemOptions item = {}) {
    GenerationOptions options = onlyItemOptions();
    options.menuHubControl = true;
    options.selectedUser = item.selected;
    options.anyUser = item.any;
    options.offsets = item.offsets;
    options.fastUserControl = item.fast;
    return options;
}

ProfilesDocument parsed(const std::string& xml) {
    auto loaded = ProfilesDocument::parse(xml, "test profiles");
    if (!loaded) {
        throw std::runtime_error(loaded.failure().reason);
    }
    return std::move(loaded).value();
}

// A profile whose one element carries both an enable attribute and a text, so
// that a test can show which of the two is consulted.
std::string attributeAndText(const std::string& path, const std::string& attribute, const std::string& text) {
    std::string xml = ProfileBuilder().value(path, text).xml();
    const std::string name = path.substr(path.rfind('/') + 1);
    const std::string open = "<" + name + ">";
    xml.replace(xml.find(open), open.size(), "<" + name + " enable=\"" + attribute + "\">");
    return xml;
}

// Each emission as its kind and the hub command it sends, such as
// "1 3 .topic %[line:Topic]": enough to tell the rows apart.
std::vector<std::string> commandsOf(const std::string& text) {
    const std::string head = "$UserCommand ";
    const std::string sender = "$<%[mynick]> ";
    const std::string tail = "&#124;|";
    std::vector<std::string> result;
    for (const std::string& emission : emissions(text)) {
        const auto command = emission.find(sender);
        if (!emission.starts_with(head) || command == std::string::npos || !emission.ends_with(tail)) {
            result.push_back("malformed: " + emission);
            continue;
        }
        const auto start = command + sender.size();
        result.push_back(emission.substr(head.size(), 4) +
                         emission.substr(start, emission.size() - tail.size() - start));
    }
    return result;
}

// A menu path with the default item prefix before every element.
std::string path(std::initializer_list<std::string_view> elements) {
    std::string text;
    for (std::string_view element : elements) {
        if (!text.empty()) {
            text += "\\ ";
        }
        text += kPrefix;
        text += element;
    }
    return text;
}

struct Case {
    const char* name;
    std::string xml;
    ItemOptions options;
    std::vector<std::string> commands;
};

void expectCommands(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Generation generation = generate(parsed(c.xml), hubControlOnly(c.options));
        EXPECT_EQ(commandsOf(generation.text), c.commands);
        EXPECT_FALSE(generation.stop);
    }
}

TEST(HubControl, PermissionTestsAndItemOptions) {
    const ItemOptions noUserItems{.selected = false, .any = false};
    const std::vector<std::string> textCommandsWithoutOffset{
        "1 3 .listcmd *",
        "1 3 .listcmd %[line:Name]",
        "1 3 .textcommand %[line:Name] on",
        "1 3 .textcommand %[line:Name] off",
        "1 3 .showcmd %[line:Name]",
        "1 3 .setcmd %[line:Name] %[line:Content]",
    };
    std::vector<std::string> textCommandsWithOffset = textCommandsWithoutOffset;
    textCommandsWithOffset.insert(textCommandsWithOffset.begin() + 2,
                                  "1 3 .listcmd %[line:Name] %[line:Offset]");

    expectCommands({
        {"nothing granted", ProfileBuilder().xml(), {}, {}},
        {"topic, value 2",
         ProfileBuilder().value(kTopic, "2").xml(),
         {},
         {"1 3 .topic %[line:Topic]", "1 3 .topic"}},
        {"topic, value 0 despite enable", attributeAndText(kTopic, "true", "0"), {}, {}},
        {"topic, enable only", ProfileBuilder().enable(kTopic).xml(), {}, {}},
        {"main chat, value without enable", ProfileBuilder().value(kMainChat, "1").xml(), {}, {}},
        {"main chat, every option",
         ProfileBuilder().enable(kMainChat).xml(),
         {},
         {"1 3 .mainchat on", "1 3 .mainchat off", "1 2 .allowmc %[nick]", "1 2 .disallowmc %[nick]"}},
        {"main chat, Selected and Any off",
         ProfileBuilder().enable(kMainChat).xml(),
         noUserItems,
         {"1 3 .mainchat on", "1 3 .mainchat off"}},
        {"chat rooms, Selected and Any off",
         ProfileBuilder().enable(kChatRooms).xml(),
         noUserItems,
         {"1 3 .addchatroom %[line:Nick]"}},
        {"chat rooms, Any only",
         ProfileBuilder().enable(kChatRooms).xml(),
         {.selected = false},
         {"1 3 .addchatroom %[line:Nick]", "1 3 .delchatroom %[line:Nick]"}},
        {"chat rooms, Selected only",
         ProfileBuilder().enable(kChatRooms).xml(),
         {.any = false},
         {"1 3 .addchatroom %[line:Nick]", "1 2 .delchatroom %[nick]"}},
        {"connection restrictions, share and slot ratio",
         ProfileBuilder()
             .enable("General/ConnRestrictions/MaySetMinShare")
             .enable("General/ConnRestrictions/MaySetMaxShare")
             .enable("General/ConnRestrictions/MaySetSlotRatio")
             .enable("General/HubControl/MayChangeUserLimit")
             .xml(),
         {},
         {"1 3 .userlimit %[line:Limit]", "1 3 .setminshare %[line:Prefixes: KiB MiB GiB TiB PiB]",
          "1 3 .setminshare 0", "1 3 .setmaxshare %[line:Prefixes: KiB MiB GiB TiB PiB]",
          "1 3 .setmaxshare 0", "1 3 .setslotratio %[line:Ratio]", "1 3 .setslotratio 0"}},
        {"text commands, Offsets off",
         ProfileBuilder().value(kTextFiles).xml(),
         {.offsets = false},
         textCommandsWithoutOffset},
        {"text commands, Offsets on", ProfileBuilder().value(kTextFiles).xml(), {}, textCommandsWithOffset},
        {"text commands, value 0 despite enable", attributeAndText(kTextFiles, "true", "0"), {}, {}},
        {"ISP, add IP only",
         ProfileBuilder().enable("ISP/AdminIPs/MayISPAddIP").xml(),
         {},
         {"1 3 .addip %[line:IP] %[line:ISP]"}},
        {"ISP, IP list with Offsets off",
         ProfileBuilder().enable("ISP/AdminIPs/MayISPShowIPsOnISP").xml(),
         {.offsets = false},
         {"1 3 .ispiplist %[line:ISP]"}},
        {"ISP, IP list with Offsets on",
         ProfileBuilder().enable("ISP/AdminIPs/MayISPShowIPsOnISP").xml(),
         {},
         {"1 3 .ispiplist %[line:ISP]", "1 3 .ispiplist %[line:ISP] %[line:Offset]"}},
        {"ISP, share limit",
         ProfileBuilder().enable("ISP/AdminISPs/MayISPSetMaxShare").xml(),
         {},
         {"1 3 .ispmaxshare %[line:ISP] %[line:Prefixes: KiB MiB GiB TiB PiB]",
          "1 3 .ispmaxshare %[line:ISP] 0"}},
        {"redirect all, Fast on",
         ProfileBuilder().value(kRedirectAll).xml(),
         {},
         {"1 3 .redirectall %[line:Address]", "1 3 .redirectall %[line:Address] %[line:Reason]"}},
        {"redirect all, Fast off",
         ProfileBuilder().value(kRedirectAll).xml(),
         {.fast = false},
         {"1 3 .redirectall %[line:Address] %[line:Reason]"}},
        {"redirect all, value 0 despite enable and Fast",
         attributeAndText(kRedirectAll, "true", "0"),
         {},
         {}},
        {"lock and save settings",
         ProfileBuilder().enable(kLockHub).enable(kSaveSettings).xml(),
         noUserItems,
         {"1 3 .lock on", "1 3 .lock off", "1 3 .savesettings"}},
    });
}

TEST(HubControl, RedirectBlock) {
    const auto grant = [](std::initializer_list<std::string> reasons) {
        ProfileBuilder builder;
        for (const std::string& reason : reasons) {
            builder.enable(kRedirects + reason);
        }
        return builder.xml();
    };
    const std::vector<std::string> common{
        "1 3 .showredirects",
        "1 3 .setredirect all %[line:Address]",
        "1 3 .setredirect all",
    };
    const auto with = [&](std::initializer_list<std::string> keywords) {
        std::vector<std::string> commands = common;
        for (const std::string& keyword : keywords) {
            commands.push_back("1 3 .setredirect " + keyword + " %[line:Address]");
            commands.push_back("1 3 .setredirect " + keyword);
        }
        return commands;
    };

    expectCommands({
        {"only the banned reason, as the hub spells it",
         grant({"MayRedirectChangeOnBaned"}),
         {},
         with({"banned"})},
        {"the usual spelling is not the hub's", grant({"MayRedirectChangeOnBanned"}), {}, {}},
        {"a reason in the middle", grant({"MayRedirectChangeOnNoTag"}), {}, with({"notag"})},
        {"first and last",
         grant({"MayRedirectChangeOnBaned", "MayRedirectChangeOnHubFull"}),
         {},
         with({"full", "banned"})},
    });
}

TEST(HubControl, AllTwelveRedirectReasons) {
    ProfileBuilder builder;
    std::vector<std::string> expected{
        "1 3 .showredirects",
        "1 3 .setredirect all %[line:Address]",
        "1 3 .setredirect all",
    };
    for (const auto& [element, keyword] : kRedirectReasons) {
        builder.enable(kRedirects + element);
        expected.push_back("1 3 .setredirect " + keyword + " %[line:Address]");
        expected.push_back("1 3 .setredirect " + keyword);
    }
    const Generation generation = generate(builder.document(), hubControlOnly());
    EXPECT_EQ(commandsOf(generation.text).size(), 27u);
    EXPECT_EQ(commandsOf(generation.text), expected);
}

TEST(HubControl, RedirectMenuPaths) {
    const Generation generation = generate(
        ProfileBuilder().enable(kRedirects + "MayRedirectChangeOnBaned").document(), hubControlOnly());
    const std::string item = "$UserCommand 1 3 ";
    EXPECT_EQ(emissions(generation.text),
              (std::vector<std::string>{
                  item + path({"Hub control", "Redirects", "Show"}) + "$<%[mynick]> .showredirects&#124;|",
                  item + path({"Hub control", "Redirects", "Set", "All"}) +
                      "$<%[mynick]> .setredirect all %[line:Address]&#124;|",
                  item + path({"Hub control", "Redirects", "Disable", "All"}) +
                      "$<%[mynick]> .setredirect all&#124;|",
                  item + path({"Hub control", "Redirects", "Set", "Banned"}) +
                      "$<%[mynick]> .setredirect banned %[line:Address]&#124;|",
                  item + path({"Hub control", "Redirects", "Disable", "Banned"}) +
                      "$<%[mynick]> .setredirect banned&#124;|",
              }));
}

TEST(HubControl, WorkpaceLevelsInOrder) {
    const Generation generation = generate(ProfileBuilder().enable(kWorkPace).document(), hubControlOnly());
    const char* const levels[] = {"0 - Coma",   "1 - Sleeping", "2 - Turtle", "3 - Lazy",
                                  "4 - Normal", "5 - Rabbit",   "6 - Cheetah"};
    std::vector<std::string> expected;
    for (int level = 0; level < 7; ++level) {
        expected.push_back("$UserCommand 1 3 " + path({"Hub control", "Workpace", levels[level]}) +
                           "$<%[mynick]> .workpace " + std::to_string(level) + "&#124;|");
    }
    EXPECT_EQ(emissions(generation.text), expected);
}

TEST(HubControl, FixedShowItemAndUnitPrompt) {
    Vocabulary words;
    words.setText(Word::wShow, "Zeigen");
    words.setText(Word::wPrefixes, "Einheiten");
    const auto document =
        ProfileBuilder().value(kTextFiles).enable("ISP/AdminISPs/MayISPSetMinShare").document();
    const auto all = emissions(generate(document, hubControlOnly({.offsets = false}), words).text);
    const std::string item = "$UserCommand 1 3 ";
    ASSERT_EQ(all.size(), 8u);
    EXPECT_EQ(all[4], item + path({"Hub control", "Text commands", "Content", "Show"}) +
                          "$<%[mynick]> .showcmd %[line:Name]&#124;|");
    EXPECT_EQ(all[6],
              item + path({"Hub control", "ISPs", "Limits", "Minimum share", "Set"}) +
                  "$<%[mynick]> .ispminshare %[line:ISP] %[line:Einheiten: KiB MiB GiB TiB PiB]&#124;|");
}

// A renamed word moves every item of the group that uses it, and only those.
TEST(HubControl, RenamedWordReachesEveryUse) {
    const auto document =
        everythingGranted().enable("General/ProfileSettings/MayUseHubCommands", "false").document();
    const struct {
        Word word;
        std::size_t uses;
    } cases[] = {
        {Word::wDelete, 5}, // topic, both chat-room deletes, ISP, IP
        {Word::wSet, 27},   // topic, 13 redirects, 6 limits, 6 ISP limits, text-command content
        {Word::wShow, 7},   // redirects and six ISP items; the text-command "Show" is fixed
        {Word::wLock, 3},   // main chat lock, hub lock on and off
        {Word::wIsps, 23},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(wordKey(c.word)));
        Vocabulary words;
        words.setText(c.word, "Renamed");
        const auto all = emissions(generate(document, hubControlOnly(), words).text);
        const std::size_t uses = std::count_if(all.begin(), all.end(), [](const std::string& emission) {
            return emission.find(kPrefix + "Renamed") != std::string::npos;
        });
        EXPECT_EQ(uses, c.uses);
    }
}

TEST(HubControl, EverythingGrantedFillsTheGroupUnderItsCheckBox) {
    const auto document =
        everythingGranted().enable("General/ProfileSettings/MayUseHubCommands", "false").document();
    const auto all = emissions(generate(document, hubControlOnly()).text);
    ASSERT_EQ(all.size(), 91u);
    for (const std::string& emission : all) {
        EXPECT_TRUE(emission.starts_with("$UserCommand 1 3 " + kPrefix + "Hub control\\ ") ||
                    emission.starts_with("$UserCommand 1 2 " + kPrefix + "Hub control\\ "))
            << emission;
    }
    EXPECT_EQ(all.front(), "$UserCommand 1 3 " + path({"Hub control", "Topic", "Set"}) +
                               "$<%[mynick]> .topic %[line:Topic]&#124;|");
    EXPECT_EQ(all.back(), "$UserCommand 1 3 " + path({"Hub control", "Save settings"}) +
                              "$<%[mynick]> .savesettings&#124;|");

    GenerationOptions off = hubControlOnly();
    off.menuHubControl = false;
    EXPECT_EQ(generate(document, off).text, "");
}

TEST(HubControl, UnreadablePermissionStopsTheGenerationKeepingWhatCameBefore) {
    struct StopCase {
        const char* name;
        ProfileBuilder profile;
        std::vector<std::string> commands;
        std::string stoppedAt;
    };
    const std::vector<std::string> topic{"1 3 .topic %[line:Topic]", "1 3 .topic"};
    const std::vector<StopCase> cases{
        {"lock hub reads yes", ProfileBuilder().value(kTopic).enable(kLockHub, "yes").enable(kWorkPace),
         topic, kLockHub},
        {"first redirect reason unreadable stops before the common items",
         ProfileBuilder()
             .value(kTopic)
             .enable(kRedirects + "MayRedirectChangeOnHubFull", "yes")
             .enable(kRedirects + "MayRedirectChangeOnBaned"),
         topic, kRedirects + "MayRedirectChangeOnHubFull"},
        {"testing stops at the first passing reason; the later one fails on its own",
         ProfileBuilder()
             .enable(kRedirects + "MayRedirectChangeOnHubFull")
             .enable(kRedirects + "MayRedirectChangeOnBaned", "yes"),
         {"1 3 .showredirects", "1 3 .setredirect all %[line:Address]", "1 3 .setredirect all",
          "1 3 .setredirect full %[line:Address]", "1 3 .setredirect full"},
         kRedirects + "MayRedirectChangeOnBaned"},
        {"redirect all reads abc",
         ProfileBuilder().enable(kLockHub).value(kRedirectAll, "abc").enable(kWorkPace),
         {"1 3 .lock on", "1 3 .lock off"},
         kRedirectAll},
        {"text commands hold child elements",
         ProfileBuilder()
             .enable("General/ConnRestrictions/MaySetSlotRatio")
             .content(kTextFiles, "<a/>")
             .enable(kSaveSettings),
         {"1 3 .setslotratio %[line:Ratio]", "1 3 .setslotratio 0"},
         kTextFiles},
    };
    for (const StopCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Generation generation = generate(c.profile.document(), hubControlOnly());
        EXPECT_EQ(commandsOf(generation.text), c.commands);
        ASSERT_TRUE(generation.stop);
        EXPECT_EQ(generation.stop->element, c.stoppedAt);
    }
}

} // namespace
} // namespace tavu::test
