#include "support.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

// The messaging permissions, without the hide permissions of the first group.
ProfileBuilder messagingGranted() {
    const std::string group = "Miscellaneous/Miscellaneous/";
    ProfileBuilder profile;
    for (const char* key : {"MayUseSay", "MayUsePMProfile", "MayUseWarn"}) {
        profile.value(group + key);
    }
    for (const char* key : {"MayUseMC", "MayUsePM", "MayUseOPM", "MayUseInform"}) {
        profile.enable(group + key);
    }
    return profile;
}

TEST(SecondMiscellaneousMenu, ItemsForEachOptionSet) {
    struct Case {
        const char* name;
        bool selected, any, fast;
        std::vector<std::string> commands;
    };
    const std::vector<std::string> everyone{".mc %[line:Message]", ".pm %[line:Message]",
                                            ".opm %[line:Message]",
                                            ".pmprofile %[line:Profile] %[line:Message]"};
    const std::string sayAny = ".say %[line:Nick] %[line:Message]";
    const Case cases[] = {
        {"selected off", false, true, true, {sayAny, everyone[0], everyone[1], everyone[2], everyone[3]}},
        {"no option", false, false, false, everyone},
        {"selected without fast",
         true,
         false,
         false,
         {".say %[nick] %[line:Message]", everyone[0], everyone[1], everyone[2], everyone[3],
          ".inform %[nick] %[line:Message]", ".warn %[nick] %[line:Reason]"}},
        {"all",
         true,
         true,
         true,
         {".say %[nick] %[line:Message]", sayAny, everyone[0], everyone[1], everyone[2], everyone[3],
          ".inform %[nick] %[line:Message]", ".warn %[nick]", ".warn %[nick] %[line:Reason]"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        GenerationOptions options = onlyItemOptions();
        options.menuMiscellaneous = true;
        options.selectedUser = c.selected;
        options.anyUser = c.any;
        options.fastUserControl = c.fast;
        std::vector<std::string> commands;
        for (const std::string& e : emissions(generate(messagingGranted().document(), options).text)) {
            commands.push_back(hubCommand(e));
        }
        EXPECT_EQ(commands, c.commands);
    }
}

// Inform acts on the selected user yet is offered in the hub menu as well.
TEST(SecondMiscellaneousMenu, InformIsOfferedInBothMenus) {
    GenerationOptions options = onlyItemOptions();
    options.menuMiscellaneous = true;
    const auto items = emissions(
        generate(ProfileBuilder().enable("Miscellaneous/Miscellaneous/MayUseInform").document(), options)
            .text);
    EXPECT_EQ(items, (std::vector<std::string>{"$UserCommand 1 3 " + kPrefix + "Miscellaneous\\ " + kPrefix +
                                               "Inform$<%[mynick]> .inform %[nick] %[line:Message]&#124;|"}));
}

// The messaging items come after the whole User control menu and before the bot message.
TEST(SecondMiscellaneousMenu, ClosesTheMenuBeforeTheBotMessage) {
    GenerationOptions options = allOptionsOn();
    const auto items = emissions(generate(everythingGranted().document(), options).text);
    ASSERT_GE(items.size(), 11u);
    const auto last = items.end() - 11;
    EXPECT_EQ(hubCommand(last[0]), ".scb %[line:Client] %[line:Offset]");
    EXPECT_EQ(hubCommand(last[1]), ".say %[nick] %[line:Message]");
    EXPECT_EQ(hubCommand(last[9]), ".warn %[nick] %[line:Reason]");
    EXPECT_TRUE(last[10].starts_with("<<botname>> "));
}

} // namespace
} // namespace tavu::test
