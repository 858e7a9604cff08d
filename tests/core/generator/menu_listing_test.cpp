#include "generator/generator.h"
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavu::test {
namespace {

OwnItem ownItem(std::string path, std::string command, std::vector<std::string> profiles = {}) {
    OwnItem item;
    item.path = std::move(path);
    item.command = std::move(command);
    item.profiles.names = std::move(profiles);
    return item;
}

// Own items placed in three places, one refused, one of another profile, one
// separator, and items switched off, for the profile "Regular".
MenuChanges everyKindOfChange() {
    OwnItem separator;
    separator.separator = true;
    separator.path = "{wAccounts}";
    return {{ownItem("{wHubControl}\\Restart", "+restart $x|y"), ownItem("Bad|title", "+x"),
             ownItem("Rules", "+rules", {"Owner"}), separator, ownItem("{wAccounts}\\Mine", "+mine %[nick]")},
            {ItemOff{"wUserControl\\wKennylize", {}}, ItemOff{"wInformation", {{"Regular"}}}}};
}

// The commands listed, those on, are the block: the same bytes in the same
// order, the date and the own items included.
TEST(MenuListing, TheCommandsOnAreTheBlock) {
    const ProfilesDocument document = everythingGranted().document("Regular");
    const MenuChanges changes = everyKindOfChange();
    GenerationOptions options = allOptionsOn();
    options.clear = options.message = false;
    const Generation block =
        CreateUserCommands(document.profile(0), options, Vocabulary{}, "07/12/2026", changes, "Regular");
    const MenuListing listing =
        listMenuItems(document.profile(0), options, Vocabulary{}, changes, "Regular", "07/12/2026");
    std::string commands;
    for (const MenuItem& item : listing.items) {
        commands += item.on ? item.command : "";
    }
    EXPECT_EQ(commands, block.text);
    EXPECT_NE(commands.find("07/12/2026"), std::string::npos);
    // A separator is listed in the submenu of the item it follows.
    for (std::size_t i = 1; i < listing.items.size(); ++i) {
        const MenuItem& item = listing.items[i];
        if (item.separator && !item.ownItem && !listing.items[i - 1].ownItem) {
            EXPECT_EQ(parentPath(item.path), parentPath(listing.items[i - 1].path)) << item.identity;
        }
    }
}

// The menu as the operator edits it holds the own items of other profiles
// too, off, each with its index; the rest is listed as for the block.
TEST(MenuListing, ToEditHoldsEveryOwnItemWithItsIndex) {
    const ProfilesDocument document = everythingGranted().document("Regular");
    const MenuChanges changes = everyKindOfChange();
    const MenuListing written =
        listMenuItems(document.profile(0), allOptionsOn(), Vocabulary{}, changes, "Regular");
    const MenuListing edited =
        listMenuItemsToEdit(document.profile(0), allOptionsOn(), Vocabulary{}, changes, "Regular");
    ASSERT_EQ(edited.items.size(), written.items.size() + 1);
    std::vector<std::pair<std::size_t, bool>> own;
    for (const MenuItem& item : edited.items) {
        if (item.ownItem) {
            own.emplace_back(*item.ownItem, item.on);
            EXPECT_EQ(item.identity, "own:" + std::to_string(*item.ownItem + 1));
        }
    }
    // By place: Hub control, Accounts, then the end of the menu.
    EXPECT_EQ(own, (std::vector<std::pair<std::size_t, bool>>{
                       {0, true}, {3, true}, {4, true}, {1, false}, {2, false}}));
    const auto otherProfiles =
        std::ranges::find(edited.items, std::optional<std::size_t>(2), &MenuItem::ownItem);
    EXPECT_EQ(otherProfiles->path, "Rules");
    EXPECT_EQ(std::ranges::count(written.items, std::optional<std::size_t>(2), &MenuItem::ownItem), 0);
}

TEST(MenuListing, AnOwnItemTradesPlacesWithTheNextOwnItemOfItsSubmenu) {
    const auto item = [](std::string path, std::optional<std::size_t> own) {
        MenuItem listed;
        listed.path = std::move(path);
        listed.ownItem = own;
        return listed;
    };
    const std::vector<MenuItem> items{item("A\\x", {}), item("A\\o0", 0), item("A\\B\\o1", 1),
                                      item("A\\o2", 2), item("A\\y", {}), item("C", 3)};
    struct Case {
        std::size_t own;
        int step;
        std::optional<std::size_t> neighbour;
    };
    const Case cases[] = {
        {0, -1, {}}, // a generated item above
        {0, 1, 2},   // past an item of another submenu
        {2, -1, 0},  {2, 1, {}}, {1, 1, {}}, {1, -1, {}},
        {3, -1, {}}, {3, 1, {}}, {9, 1, {}}, // listed nowhere
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ownItemNeighbour(items, c.own, c.step), c.neighbour) << c.own << " " << c.step;
    }
}

} // namespace
} // namespace tavu::test
