#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavu::test {
namespace {

struct ItemOptions {
    bool selected = false;
    bool any = false;
    bool offsets = false;
};

// Only the Accounts menu, with the given item options.
GenerationOptions accountsOnly(ItemOptions items) {
    GenerationOptions options = onlyItemOptions();
    options.menuAccounts = true;
    options.selectedUser = items.selected;
    options.anyUser = items.any;
    options.offsets = items.offsets;
    return options;
}

// The emissions of the Accounts menu, the top-level item left out.
std::vector<std::string> accountsItems(const ProfileBuilder& profile, ItemOptions items,
                                       std::string_view date = "07/12/2026") {
    auto all = emissions(generate(profile.document(), accountsOnly(items), Vocabulary{}, date).text);
    std::erase_if(all,
                  [](const std::string& e) { return e.find(kPrefix + "Accounts\\ ") == std::string::npos; });
    return all;
}

TEST(AccountsMenu, ItemCountsForEachOptionSet) {
    struct Case {
        const char* name;
        ItemOptions items;
        std::size_t count;
    };
    const Case cases[] = {
        {"selected", {true, false, false}, 21},        {"any", {false, true, false}, 22},
        {"any with offsets", {false, true, true}, 24}, {"selected and any", {true, true, false}, 40},
        {"all three", {true, true, true}, 42},         {"none", {false, false, false}, 3},
        {"offsets alone", {false, false, true}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(accountsItems(everythingGranted(), c.items).size(), c.count);
    }
}

TEST(AccountsMenu, WithoutUserOptionsOnlyTheListingItemsRemain) {
    EXPECT_EQ(hubCommands(accountsItems(everythingGranted(), {false, false, true})),
              (std::vector<std::string>{".sr all", ".sr %[line:Profile]", ".sp"}));
}

TEST(AccountsMenu, ListItemsKeepTheirOrderWithOffsetItemsAfterTheirPlainItems) {
    EXPECT_EQ(hubCommands(accountsItems(ProfileBuilder().value("UserAdmin/Accounts/MayAccountsList"),
                                        {true, true, true})),
              (std::vector<std::string>{
                  ".sr all %[nick]",
                  ".sr all",
                  ".sr %[line:Profile]",
                  ".sr all %[line:Nick]",
                  ".sr all %[line:Nick] %[line:Offset]",
                  ".sr %[line:Profile] %[line:Nick]",
                  ".sr %[line:Profile] %[line:Nick] %[line:Offset]",
              }));
}

// Every block, denied alone, takes away exactly its own items.
TEST(AccountsMenu, EachPermissionGovernsItsOwnItems) {
    struct Case {
        const char* key;
        std::size_t items;
    };
    const Case cases[] = {
        {"MayAccountsAdd", 4},          {"MayAccountsDel", 2},         {"MayAccountsList", 7},
        {"MayAccountsSetProfile", 2},   {"MayAccountsSetIPs", 4},      {"MayAccountsShowIPs", 2},
        {"MayAccountsSetComment", 4},   {"MayAccountsSetGreeting", 4}, {"MayAccountsSetExpireDate", 4},
        {"MayAccountsSetOwner", 4},     {"MayAccountsSetPass", 2},     {"MayAccountsShowPass", 2},
        {"MayAccountsProfilesShow", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        ProfileBuilder profile = everythingGranted();
        profile.value(std::string("UserAdmin/Accounts/") + c.key, "0");
        EXPECT_EQ(accountsItems(profile, {true, true, true}).size(), 42 - c.items);
    }
}

TEST(AccountsMenu, ExpiryPromptsCarryTheDateOfTheGeneration) {
    const ItemOptions all{true, true, true};
    const auto first = accountsItems(everythingGranted(), all, "07/12/2026");
    const auto second = accountsItems(everythingGranted(), all, "2027-01-31");
    ASSERT_EQ(first.size(), second.size());
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (first[i] != second[i]) {
            differing.push_back(i);
        }
    }
    ASSERT_EQ(differing, (std::vector<std::size_t>{29, 31}));
    EXPECT_EQ(first[29],
              "$UserCommand 1 2 " + kPrefix + "Accounts\\ " + kPrefix + "Expire date\\ " + kPrefix +
                  "Set\\ " + kPrefix +
                  "Selected$<%[mynick]> .setexpiredate %[nick] %[line:Date example: 07/12/2026]&#124;|");
    EXPECT_EQ(hubCommand(second[31]), ".setexpiredate %[line:Nick] %[line:Date example: 2027-01-31]");
}

} // namespace
} // namespace tavu::test
