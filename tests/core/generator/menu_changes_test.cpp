#include "generator/menu_changes.h"
#include "preview/menu_preview.h"
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace tavu::test {
namespace {

constexpr std::string_view kDate = "07/12/2026";

class MenuChangesTest : public ::testing::Test {
protected:
    ProfilesDocument document_ = everythingGranted().document("Regular");

    std::string generated(const MenuChanges& changes, std::string_view profile = "Regular") const {
        const Generation generation =
            CreateUserCommands(document_.profile(0), allOptionsOn(), Vocabulary{}, kDate, changes, profile);
        EXPECT_FALSE(generation.stop);
        return generation.text;
    }
    std::string plain() const { return generated({}); }
};

bool clientsReadItWithoutError(const std::string& block) {
    return !preview::previewUserCommands(block).hasError();
}

OwnItem ownItem(std::string path, std::string command, OwnItemMenus menus = OwnItemMenus::Both) {
    OwnItem item;
    item.path = std::move(path);
    item.command = std::move(command);
    item.menus = menus;
    return item;
}

TEST(CatalogueIdentities, AreUniqueAndNameWordKeys) {
    const std::vector<std::string>& identities = catalogueIdentities();
    EXPECT_EQ(std::set<std::string>(identities.begin(), identities.end()).size(), identities.size());
    EXPECT_EQ(identities.front(), "wUserCommands");
    EXPECT_NE(std::find(identities.begin(), identities.end(), "wUserControl\\wKennylize\\wSelected\\wOn"),
              identities.end());
    EXPECT_NE(std::find(identities.begin(), identities.end(), "wInformation\\wTraffic\\wStatistics\\-"),
              identities.end());
}

// Every generated item, switched off alone, is the only emission missing, and
// the rest is read by clients as before.
TEST_F(MenuChangesTest, EveryItemCanBeSwitchedOffAlone) {
    const std::vector<std::string> all = emissions(plain());
    for (const std::string& identity : catalogueIdentities()) {
        const std::string block = generated({{}, {ItemOff{identity, {}}}});
        const std::vector<std::string> left = emissions(block);
        ASSERT_EQ(left.size() + 1, all.size()) << identity;
        const auto missing = std::mismatch(left.begin(), left.end(), all.begin()).second;
        EXPECT_TRUE(std::equal(left.begin() + (missing - all.begin()), left.end(), missing + 1)) << identity;
        EXPECT_TRUE(clientsReadItWithoutError(block)) << identity;
    }
}

TEST_F(MenuChangesTest, ASubmenuSwitchedOffTakesEveryItemBelowIt) {
    struct Case {
        std::string identity;
        std::size_t removed;
    };
    const Case cases[] = {
        {"wUserControl\\wKennylize", 4},
        {"wUserControl\\wKenny", 0}, // a prefix of a key is no submenu
        {"wInformation\\wTraffic\\wStatistics", 11},
        {"wNoSuchItem", 0},
    };
    const std::size_t all = emissions(plain()).size();
    for (const Case& c : cases) {
        EXPECT_EQ(all - emissions(generated({{}, {ItemOff{c.identity, {}}}})).size(), c.removed)
            << c.identity;
    }
    EXPECT_EQ(unknownIdentities({{}, {ItemOff{"wUserControl\\wKenny", {}}, ItemOff{"wUserControl", {}}}}),
              std::vector<std::string>{"wUserControl\\wKenny"});
}

TEST_F(MenuChangesTest, ChangesForOtherProfilesLeaveTheMenuAsItWas) {
    MenuChanges changes{{ownItem("Rules", "+rules")}, {ItemOff{"wUserControl", {}}}};
    for (OwnItem& item : changes.ownItems) {
        item.profiles.names = {"Owner"};
    }
    changes.itemsOff.front().profiles.names = {"Owner", "VIP"};
    EXPECT_EQ(generated(changes, "Regular"), plain());
    EXPECT_NE(generated(changes, "Owner"), plain());
}

TEST_F(MenuChangesTest, AnOwnItemIsWrittenEscapedAndEndedAsGeneratedItemsAre) {
    const std::string block = generated(
        {{ownItem("{wHubControl}\\Scri&pts\\Restart", "+restart %[line:Reason] $x|y&z", OwnItemMenus::Hub)},
         {}});
    const std::string expected = "$UserCommand 1 1 " + kPrefix + "Hub control\\ " + kPrefix +
                                 "Scri&amp;pts\\ " + kPrefix +
                                 "Restart$<%[mynick]> +restart %[line:Reason] &#36;x&#124;y&amp;z&#124;|";
    EXPECT_NE(block.find(expected), std::string::npos);
    EXPECT_TRUE(clientsReadItWithoutError(block));
}

// Each own item goes after the last generated item of the submenu its path
// begins in, else before the bot message; own items of one place keep their order.
TEST_F(MenuChangesTest, OwnItemsGoAfterTheGeneratedItemsOfTheirSubmenu) {
    struct Case {
        std::string path;
        std::string after; // the title the emission before it ends its path with
    };
    const Case cases[] = {
        {"{wHubControl}\\Scripts\\Restart", "Save settings"},
        {"{wHubControl}\\{wFind}\\Own", "Save settings"}, // words no row has below: the longest shared run
        {"{wInformation}\\Seen", "BW"},
        {"Rules", "Warn\\ " + kPrefix + "With reason"},
        {"{wMiscellaneous}\\Rules", "With reason"},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = emissions(generated({{ownItem(c.path, "+x")}, {}}));
        const auto own = std::find_if(lines.begin(), lines.end(),
                                      [](const std::string& line) { return line.ends_with("+x&#124;|"); });
        ASSERT_NE(own, lines.end()) << c.path;
        const std::string& before = *(own - 1);
        EXPECT_NE(before.find(c.after + "$"), std::string::npos) << c.path << " after " << before;
    }
    const std::vector<std::string> lines = emissions(
        generated({{ownItem("A", "+a"), ownItem("{wInformation}\\B", "+b"), ownItem("C", "+c")}, {}}));
    EXPECT_TRUE(lines[lines.size() - 3].ends_with("+a&#124;|"));
    EXPECT_TRUE(lines[lines.size() - 2].ends_with("+c&#124;|"));
    EXPECT_TRUE(lines.back().starts_with("<<botname>> "));

    // A separator's path is the submenu it goes in, the whole path.
    OwnItem separator;
    separator.separator = true;
    separator.path = "{wUserControl}\\{wKennylize}";
    const std::vector<std::string> plainLines = emissions(plain());
    const std::vector<std::string> separated = emissions(generated({{separator}, {}}));
    const auto added = std::mismatch(separated.begin(), separated.end(), plainLines.begin()).first;
    ASSERT_NE(added, separated.end());
    EXPECT_NE((added - 1)->find("User control\\ " + kPrefix + "Kennylize\\"), std::string::npos)
        << *(added - 1);
}

TEST_F(MenuChangesTest, AnOwnItemRefusedIsLeftOutAndListedOff) {
    const MenuChanges changes{{ownItem("Bad|title", "+x"), ownItem("Good", "+y")}, {}};
    const std::string block = generated(changes);
    EXPECT_EQ(block.find("+x"), std::string::npos);
    EXPECT_NE(block.find("+y"), std::string::npos);
    const MenuListing listing =
        listMenuItems(document_.profile(0), allOptionsOn(), Vocabulary{}, changes, "Regular");
    ASSERT_GE(listing.items.size(), 2u);
    const MenuItem& refused = listing.items[listing.items.size() - 2];
    EXPECT_EQ(refused.identity, "own:1");
    EXPECT_EQ(refused.ownItem, std::optional<std::size_t>(0));
    EXPECT_FALSE(refused.on);
    EXPECT_EQ(listing.items.back().ownItem, std::optional<std::size_t>(1));
    EXPECT_TRUE(listing.items.back().on);
}

TEST_F(MenuChangesTest, TheListingHoldsEveryItemMetWithWhetherItIsOn) {
    const MenuChanges changes{{ownItem("{wUserControl}\\Mine", "+m")},
                              {ItemOff{"wUserControl\\wKennylize", {}}}};
    const MenuListing listing =
        listMenuItems(document_.profile(0), allOptionsOn(), Vocabulary{}, changes, "Regular");
    EXPECT_FALSE(listing.stop);
    // Clear and bot message are no items.
    EXPECT_EQ(listing.items.size(), emissions(plain()).size() - 2 + 1);
    EXPECT_EQ(std::count_if(listing.items.begin(), listing.items.end(),
                            [](const MenuItem& item) { return !item.on; }),
              4);
    const auto own = std::find_if(listing.items.begin(), listing.items.end(),
                                  [](const MenuItem& item) { return item.ownItem.has_value(); });
    ASSERT_NE(own, listing.items.end());
    EXPECT_EQ(own->path, "User control\\Mine");
    EXPECT_TRUE((own - 1)->path.starts_with("User control\\"));
    EXPECT_FALSE((own + 1)->path.starts_with("User control\\"));
}

TEST(OwnItemProblem, RefusesWhatWouldBreakTheBlockOrTheSettingsFile) {
    struct Case {
        std::string path;
        std::string command;
        std::string problemPart; // empty: accepted
    };
    const Case cases[] = {
        {"Rules", "+rules", ""},
        {"{wHubControl}\\Scripts\\Restart", "+restart %[line:Reason] %[nick]", ""},
        {"A&B\\C", "say $5 | done & more", ""},
        {"Bad|title", "+x", "holds \"|\""},
        {"Bad$title", "+x", "holds \"$\""},
        {"A\\\\B", "+x", "empty submenu name"},
        {"A\\", "+x", "title is empty"},
        {"", "+x", "no title"},
        {"{wNope}\\A", "+x", "no word has the key"},
        {"Rules", "", "no command"},
        {"Rules", "+x %[line:Reason", "not closed"},
        {"Rules", "+x %[line:Reason [short]]", "cannot hold"},
        {"Rules", "+x\n+y", "line break"},
        {"Ru\x01les", "+x", "control character"},
        {"Rules", "+x\ty", ""},
        {"Rules", "+x\x7F", "control character"},
        {"Rules", std::string(kMaxOwnItemText, 'x'), ""},
        {"Rules", std::string(kMaxOwnItemText + 1, 'x'), "longer than"},
        {"Rules", "\xFF", "not UTF-8"},
    };
    for (const Case& c : cases) {
        const std::string problem = ownItemProblem(ownItem(c.path, c.command));
        if (c.problemPart.empty()) {
            EXPECT_EQ(problem, "") << c.path;
        } else {
            EXPECT_NE(problem.find(c.problemPart), std::string::npos) << c.path << ": " << problem;
        }
    }
    OwnItem named = ownItem("Rules", "+rules");
    named.profiles.names = {"Op|erator"};
    EXPECT_NE(ownItemProblem(named), "");
    OwnItem separator;
    separator.separator = true;
    EXPECT_EQ(ownItemProblem(separator), "");
}

// Whatever the checks accept is read by clients without an error, hostile text included.
TEST_F(MenuChangesTest, AcceptedOwnItemsGiveABlockClientsRead) {
    const std::string texts[] = {"&#124;", "&#36;To: x", "a&amp;b", "%[line:A] %[line:B]",
                                 "%%",     "\\",         "]",       "x]y"};
    std::size_t accepted = 0;
    for (const std::string& text : texts) {
        for (const OwnItem& item :
             {ownItem("T", text), ownItem(text + "x", "+x"), ownItem("{wFind}\\" + text, text)}) {
            if (!ownItemProblem(item).empty()) {
                continue;
            }
            ++accepted;
            EXPECT_TRUE(clientsReadItWithoutError(generated({{item}, {}})))
                << item.path << " " << item.command;
        }
    }
    EXPECT_GE(accepted, 12u);
    OwnItem separator;
    separator.separator = true;
    separator.path = "{wInformation}";
    EXPECT_TRUE(clientsReadItWithoutError(generated({{separator}, {ItemOff{"wInformation", {}}}})));
}

// The rules of the Menu items window, editing the menu of Owner among Owner,
// Operator and Regular.
const std::vector<std::string> kEvery{"Owner", "Operator", "Regular"};
const std::string kKennylize = "wUserControl\\wKennylize";

TEST(MenuChangesRules, SwitchGeneratedItemsForThisProfileOrEvery) {
    enum class Action { OffHere, OffEverywhere, On };
    struct Case {
        const char* what;
        std::vector<ItemOff> before;
        Action action;
        std::string identity;
        std::vector<ItemOff> after;
    };
    const ProfileChoice every{};
    const Case cases[] = {
        {"off here, new", {}, Action::OffHere, kKennylize, {{kKennylize, {{"Owner"}}}}},
        {"off here, kept",
         {{kKennylize, {{"VIP"}}}},
         Action::OffHere,
         kKennylize,
         {{kKennylize, {{"VIP", "Owner"}}}}},
        {"off everywhere, new", {}, Action::OffEverywhere, kKennylize, {{kKennylize, every}}},
        {"off everywhere, kept",
         {{kKennylize, {{"VIP"}}}},
         Action::OffEverywhere,
         kKennylize,
         {{kKennylize, every}}},
        {"on, named", {{kKennylize, {{"Owner", "VIP"}}}}, Action::On, kKennylize, {{kKennylize, {{"VIP"}}}}},
        {"on, every",
         {{kKennylize, every}},
         Action::On,
         kKennylize,
         {{kKennylize, {{"Operator", "Regular"}}}}},
        {"on, only here", {{kKennylize, {{"Owner"}}}}, Action::On, kKennylize, {}},
        {"on, an item of a submenu off",
         {{kKennylize, every}},
         Action::On,
         kKennylize + "\\wAll\\wOn",
         {{kKennylize, {{"Operator", "Regular"}}}}},
        {"on, a submenu with an item off",
         {{kKennylize + "\\wAll", {{"Owner"}}}},
         Action::On,
         kKennylize,
         {}},
        {"on, for another profile",
         {{kKennylize, {{"VIP", "Operator"}}}},
         Action::On,
         kKennylize,
         {{kKennylize, {{"VIP", "Operator"}}}}},
        {"on, another item",
         {{"wUserControl\\wKenny", {{"Owner"}}}},
         Action::On,
         kKennylize,
         {{"wUserControl\\wKenny", {{"Owner"}}}}},
    };
    for (const Case& c : cases) {
        MenuChanges changes{{}, c.before};
        if (c.action == Action::On) {
            changes.switchOn(c.identity, "Owner", kEvery);
        } else {
            changes.switchOff(c.identity, "Owner",
                              c.action == Action::OffHere ? SwitchScope::ThisProfile
                                                          : SwitchScope::EveryProfile);
        }
        EXPECT_EQ(changes.itemsOff, c.after) << c.what;
    }
}

TEST(MenuChangesRules, SwitchOwnItemsForThisProfileOrEvery) {
    struct Case {
        ProfileChoice before;
        bool on;
        SwitchScope scope;
        ProfileChoice after;
    };
    const Case cases[] = {
        {{}, false, SwitchScope::ThisProfile, {{"Operator", "Regular"}}},
        {{{"Owner", "VIP"}}, false, SwitchScope::ThisProfile, {{"VIP"}}},
        {{{"Owner"}}, false, SwitchScope::ThisProfile, {{}, true}},
        {{{"VIP"}}, false, SwitchScope::EveryProfile, {{}, true}},
        {{{}, true}, true, SwitchScope::EveryProfile, {{"Owner"}}},
        {{{"VIP"}}, true, SwitchScope::ThisProfile, {{"VIP", "Owner"}}},
    };
    for (const Case& c : cases) {
        MenuChanges changes{{ownItem("Other", "+o"), ownItem("Rules", "+r")}, {}};
        changes.ownItems[1].profiles = c.before;
        changes.switchOwnItem(1, c.on, "Owner", c.scope, kEvery);
        EXPECT_EQ(changes.ownItems[1].profiles, c.after) << testing::PrintToString(c.before.names);
        EXPECT_EQ(changes.ownItems[0].profiles, ProfileChoice{});
    }
}

TEST(MenuChangesRules, OwnItemsAreAddedReplacedTradedAndRemovedByIndex) {
    MenuChanges changes;
    EXPECT_EQ(changes.addOwnItem(ownItem("A", "+a")), 0u);
    EXPECT_EQ(changes.addOwnItem(ownItem("B", "+b")), 1u);
    EXPECT_EQ(changes.addOwnItem(ownItem("C", "+c")), 2u);
    changes.replaceOwnItem(1, ownItem("B2", "+b"));
    changes.tradeOwnItems(0, 2);
    changes.removeOwnItem(2);
    EXPECT_EQ(changes.ownItems, (std::vector{ownItem("C", "+c"), ownItem("B2", "+b")}));
}

} // namespace
} // namespace tavu::test
