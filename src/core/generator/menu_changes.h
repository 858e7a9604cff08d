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

// The profiles a change applies to: every profile, or the ones named.
struct ProfileChoice {
    std::vector<std::string> names; // empty: every profile

    bool includes(std::string_view profile) const;
    bool operator==(const ProfileChoice&) const = default;
};

// A key of an own item's section that the program does not know, kept so that
// a save loses nothing the operator wrote.
struct KeptKey {
    std::string key;
    std::string value;
    bool operator==(const KeptKey&) const = default;
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
    std::vector<KeptKey> otherKeys;

    bool operator==(const OwnItem&) const = default;
};

// A generated item, or every item of a generated submenu, switched off.
struct ItemOff {
    std::string identity;
    ProfileChoice profiles;
    bool operator==(const ItemOff&) const = default;
};

struct MenuChanges {
    std::vector<OwnItem> ownItems;
    std::vector<ItemOff> itemsOff;

    bool empty() const { return ownItems.empty() && itemsOff.empty(); }
    bool operator==(const MenuChanges&) const = default;
};

// Bounds on what an own item may hold: the settings file reads a value back to
// at most 2047 characters, and a menu deeper than clients draw helps no one.
inline constexpr std::size_t kMaxOwnItemText = 2000;
inline constexpr std::size_t kMaxOwnItems = 1000;
inline constexpr std::size_t kMaxItemsOff = 5000;

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
