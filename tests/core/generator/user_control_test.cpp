#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavu::test {
namespace {

struct ItemOptions {
    bool selected = false;
    bool any = false;
    bool offsets = false;
    bool fast = false;
};
constexpr ItemOptions kAllItemOptions{true, true, true, true};

const std::string kHead = "$<%[mynick]> ";

// The emissions of the User control menu, the top-level item left out.
std::vector<std::string> userControlItems(const ProfileBuilder& profile, ItemOptions items,
                                          const Vocabulary& vocabulary = Vocabulary{}) {
    GenerationOptions options = onlyItemOptions();
    options.menuUserControl = true;
    options.selectedUser = items.selected;
    options.anyUser = items.any;
    options.offsets = items.offsets;
    options.fastUserControl = items.fast;
    auto all = emissions(generate(profile.document(), options, vocabulary).text);
    std::erase_if(all, [](const std::string& e) { return e.find("User control\\ ") == std::string::npos; });
    return all;
}

// The hub command an emission sends: the text between "$<%[mynick]> " and "&#124;|".
// The registered users and the drop, block, mute, lunarize, kennylize, redirect
// and kick items, without the bans.
ProfileBuilder firstHalfGranted() {
    ProfileBuilder profile;
    profile.enable("Miscellaneous/Miscellaneous/MayAdminRegistered");
    for (const char* key : {"MayDropUser", "MayBlockUser", "MayUseMuteUser", "MayUseLunarizeUser",
                            "MayUseKennylizeUser", "MayRedirect", "MayKickUser"}) {
        profile.value(std::string("UserAdmin/UserControl/") + key);
    }
    return profile;
}

TEST(UserControlMenu, ItemCountsWithoutBansForEachOptionSet) {
    struct Case {
        const char* name;
        ItemOptions items;
        std::size_t count;
    };
    const Case cases[] = {
        {"none", {}, 7},
        {"selected", {true, false, false, false}, 23},
        {"selected and fast", {true, false, false, true}, 25},
        {"selected, fast and offsets", {true, false, true, true}, 26},
        {"any", {false, true, false, false}, 12},
        {"any and offsets", {false, true, true, false}, 13},
        {"all four", kAllItemOptions, 32},
        {"fast alone", {false, false, false, true}, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(userControlItems(firstHalfGranted(), c.items).size(), c.count);
    }
}

TEST(UserControlMenu, RegisteredUsersFollowTheEnableAttribute) {
    struct Case {
        const char* name;
        ProfileBuilder profile;
        std::size_t count;
    };
    const Case cases[] = {
        {"enabled", ProfileBuilder().enable("Miscellaneous/Miscellaneous/MayAdminRegistered"), 13},
        {"disabled", ProfileBuilder().enable("Miscellaneous/Miscellaneous/MayAdminRegistered", "false"), 0},
        {"a value but no attribute", ProfileBuilder().value("Miscellaneous/Miscellaneous/MayAdminRegistered"),
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(userControlItems(c.profile, kAllItemOptions).size(), c.count);
    }
}

TEST(UserControlMenu, RegisteredOffsetItemClosesTheSelectedRun) {
    EXPECT_EQ(
        hubCommands(
            userControlItems(ProfileBuilder().enable("Miscellaneous/Miscellaneous/MayAdminRegistered"),
                             {true, false, true, true})),
        (std::vector<std::string>{".usr", ".uar %[nick] %[line:Password]", ".udr %[nick]", ".usr %[nick]",
                                  ".usershowpass %[nick]", ".usersetpass %[nick] %[line:Password]",
                                  ".usr %[nick] %[line:Offset]"}));
}

TEST(UserControlMenu, BanItemsForEachOptionSet) {
    const std::string nickBan = "UserAdmin/UserControl/MayBanNick";
    struct Case {
        const char* name;
        ProfileBuilder profile;
        ItemOptions items;
        std::vector<std::string> commands;
    };
    const Case cases[] = {
        {"temporary bans, no option",
         ProfileBuilder().enable("UserAdmin/UserControl/MayBanTempban"),
         {},
         {".tbanip %[line:IP] %[line:Hours] %[line:Reason]",
          ".tbandns %[line:DNS] %[line:Hours] %[line:Reason]", ".st", ".ct", ".ct %[line:Limit]"}},
        {"temporary bans, fast and any",
         ProfileBuilder().enable("UserAdmin/UserControl/MayBanTempban"),
         {false, true, false, true},
         {".tbannick %[line:Nick] %[line:Hours]", ".tbannick %[line:Nick] %[line:Hours] %[line:Reason]",
          ".tbanip %[line:IP] %[line:Hours]", ".tbandns %[line:DNS] %[line:Hours]",
          ".tbanip %[line:IP] %[line:Hours] %[line:Reason]",
          ".tbandns %[line:DNS] %[line:Hours] %[line:Reason]", ".st", ".ct", ".ct %[line:Limit]"}},
        {"nick bans, any off", ProfileBuilder().value(nickBan), {false, false, true, true}, {".snb", ".cnb"}},
        {"nick bans, selected",
         ProfileBuilder().value(nickBan),
         {true, false, true, false},
         {".bannick %[nick] %[line:Reason]", ".snb", ".cnb"}},
        {"nick bans, selected and fast",
         ProfileBuilder().value(nickBan),
         {true, false, true, true},
         {".bannick %[nick]", ".bannick %[nick] %[line:Reason]", ".snb", ".cnb"}},
        {"nick bans, any and offsets",
         ProfileBuilder().value(nickBan),
         {false, true, true, false},
         {".snb", ".bannick %[line:Nick] %[line:Reason]", ".unban %[line:Nick]", ".snb %[line:Nick]",
          ".snb %[line:Nick] %[line:Offset]", ".cnb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(hubCommands(userControlItems(c.profile, c.items)), c.commands);
    }
}

// Each Fast item comes before its twin that asks for a reason too.
TEST(UserControlMenu, EveryFastItemPrecedesItsWithReasonTwin) {
    const auto items = userControlItems(everythingGranted(), kAllItemOptions);
    ASSERT_EQ(items.size(), 78u);
    const std::string fast = "Fast";
    int twins = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const auto at = items[i].find(kPrefix + fast);
        if (at == std::string::npos) {
            continue;
        }
        std::string twin = items[i];
        twin.replace(at + kPrefix.size(), fast.size(), "With reason");
        const auto found = std::ranges::find_if(items, [&](const std::string& e) {
            return e.substr(0, e.find(kHead)) == twin.substr(0, twin.find(kHead));
        });
        ASSERT_NE(found, items.end()) << items[i];
        EXPECT_GT(found - items.begin(), static_cast<std::ptrdiff_t>(i)) << items[i];
        ++twins;
    }
    EXPECT_EQ(twins, 13);
}

TEST(UserControlMenu, DnsBanWithReasonKeepsItsFixedMenuName) {
    Vocabulary vocabulary;
    vocabulary.setText(Word::wDns, "Domain");
    const auto items = userControlItems(ProfileBuilder().enable("UserAdmin/UserControl/MayBanDNS"),
                                        kAllItemOptions, vocabulary);
    ASSERT_EQ(items.size(), 7u);
    EXPECT_EQ(items[1], "$UserCommand 1 3 " + kPrefix + "User control\\ " + kPrefix + "Ban\\ " + kPrefix +
                            "With reason\\ " + kPrefix +
                            "DNS$<%[mynick]> .bandns %[line:Domain] %[line:Reason]&#124;|");
    for (std::size_t i : {0u, 2u, 4u, 5u, 6u}) {
        EXPECT_NE(items[i].find(kPrefix + "Domain"), std::string::npos) << items[i];
    }
}

} // namespace
} // namespace tavu::test
