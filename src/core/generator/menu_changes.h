#pragma once

// What an operator changes in the generated menu and keeps across every Create:
// own items (a hub's script commands, a bot's, separators) placed among the
// generated ones, and generated items switched off. Generated items are named
// by a stable identity made from their catalogue row's word keys, never by
// their translated titles, so a change of language keeps them.

#include "vocabulary/words.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

// The profiles a change applies to: every profile, the ones named, or none
// (an own item switched off for every profile).
struct ProfileChoice {
    std::vector<std::string> names; // empty: every profile, unless `none`
    bool none = false;

    bool includes(std::string_view profile) const;
    // Adds the profile; a choice of every profile already holds it.
    void add(std::string_view profile);
    // Takes the profile out: a choice of every profile becomes the others of
    // `every`, and one left without a name becomes none.
    void remove(std::string_view profile, const std::vector<std::string>& every);
    bool operator==(const ProfileChoice&) const = default;
};

// A key of an own item's section that the program does not know, kept so that
// a save loses nothing the operator wrote.
struct KeptKey {
    std::string key;
    std::string value;
    bool operator==(const KeptKey&) const = default;
};

// A line of the settings file's sections of menu changes that holds no key (a
// comment, a blank line), kept with the key it stands above (empty: the
// section's end) so that a save writes it back in its place.
struct KeptLine {
    std::string above;
    std::string line;
    bool operator==(const KeptLine&) const = default;
};

// The menus an own item is shown in: its context.
enum class OwnItemMenus : std::uint8_t { Hub = 1, UserList = 2, Both = 3 };

struct OwnItem {
    // Titles joined by "\". Leading elements written "{wKey}" name a generated
    // submenu by its word key, so that the item follows a change of language.
    // For a separator, the submenu it is placed in (empty: the end of the menu).
    std::string path;
    OwnItemMenus menus = OwnItemMenus::Both;
    // As the operator types it in main chat; the generator writes it as a
    // message from the clicking user, escaped and ended as generated items are.
    std::string command;
    bool separator = false;
    ProfileChoice profiles;
    // Keys the program does not know, and known keys whose value could not be
    // read, as they were written; a save writes them back unchanged.
    std::vector<KeptKey> otherKeys;
    // Why a value of the item's section could not be read; such an item is
    // left out of every menu until it is edited.
    std::string damage;
    // The comments and blank lines of its section.
    std::vector<KeptLine> keptLines;

    bool operator==(const OwnItem&) const = default;
};

// A generated item, or every item of a generated submenu, switched off.
struct ItemOff {
    std::string identity;
    ProfileChoice profiles;
    bool operator==(const ItemOff&) const = default;
};

// Whom switching an item off applies to: the chosen profile, or every profile.
enum class SwitchScope : std::uint8_t { ThisProfile, EveryProfile };

// The changes, and the rules by which the operator edits them. `profile` is
// the profile whose menu is edited, `every` the names of every profile, and
// `index` that of an own item.
struct MenuChanges {
    std::vector<OwnItem> ownItems;
    std::vector<ItemOff> itemsOff;
    // The comments and blank lines of the section of items switched off, each
    // above the identity it stood above.
    std::vector<KeptLine> itemsOffLines = {};

    bool empty() const { return ownItems.empty() && itemsOff.empty(); }
    bool operator==(const MenuChanges&) const = default;

    // Switches the generated item, or every item of the submenu, of `identity` off.
    void switchOff(std::string_view identity, std::string_view profile, SwitchScope scope);
    // Switches the generated item or submenu on for the profile alone:
    // whatever switches it, or an item in it, off for the profile stops doing
    // so; the other profiles keep what they had.
    void switchOn(std::string_view identity, std::string_view profile, const std::vector<std::string>& every);
    // Writes the own item for the profile again, or stops writing it.
    void switchOwnItem(std::size_t index, bool on, std::string_view profile, SwitchScope scope,
                       const std::vector<std::string>& every);
    // Returns the index of the item added, at the end.
    std::size_t addOwnItem(OwnItem item);
    void replaceOwnItem(std::size_t index, OwnItem item);
    void removeOwnItem(std::size_t index);
    // Moves an own item to its neighbour's place (ownItemNeighbour) and the neighbour to its place.
    void tradeOwnItems(std::size_t index, std::size_t neighbour);
};

// The most an own item's path or command may hold, in bytes: the settings file
// reads a value back to at most 2047 characters.
inline constexpr std::size_t kMaxOwnItemText = 2000;

// One element of an own item's path: a word of the vocabulary or a title of its own.
struct OwnPathElement {
    std::optional<Word> word;
    std::string title; // when no word
};

// The elements of an own item's path; empty for an empty path. An element
// "{wKey}" names a word only in the leading run of such elements.
std::vector<OwnPathElement> ownPathElements(std::string_view path);

// Why an own item cannot be written into a menu, naming what is wrong; empty
// when it can. Whatever passes gives commands that clients read as written.
std::string ownItemProblem(const OwnItem& item);

// The command written for an own item, without its title: the message from the
// clicking user with "$", "|" and "&" escaped, and its end.
std::string ownItemCommand(std::string_view typed);

// Whether an identity switched off covers an item's identity: the same
// identity, or a submenu that holds the item.
bool identityCovers(std::string_view off, std::string_view item);

} // namespace tavu
