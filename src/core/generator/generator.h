#pragma once

#include "formats/xml.h"
#include "generator/menu_changes.h"
#include "generator/options.h"
#include "vocabulary/vocabulary.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

// Why a generation stopped before its end.
struct GenerationStop {
    std::string element; // the permission element, "Section/Group/Key"; empty when no profile
    std::string text;    // the text that could not be read
    std::string description() const;
};

struct [[nodiscard]] Generation {
    std::string text;                   // every command appended, up to the stop if any
    std::optional<GenerationStop> stop; // empty when the generation ran to its end
};

inline constexpr std::string_view kClearCommand = "$UserCommand 255 3|";
// A prompt: this, its title, and kPromptEnd.
inline constexpr std::string_view kPromptStart = "%[line:";

// Writes the user commands for one profile: the clear command, the menu groups
// in their fixed order, and the bot message, as the options say. A permission
// whose text cannot be read stops the generation; what was written before it is
// kept. Every vocabulary word is written with "$", "|" and "&" escaped, so no
// word can break a command, even by spelling an escape. The changes for the
// profile named `profileName` apply: an item switched off is not written, and
// each own item goes after the last generated item of the submenu its path
// begins in, or before the bot message; an own item that ownItemProblem
// refuses is left out.
Generation CreateUserCommands(XmlElement profileNode, const GenerationOptions& options,
                              const Vocabulary& vocabulary, std::string_view dateText,
                              const MenuChanges& changes = {}, std::string_view profileName = {});

// Why the text would break the menu where the word stands, or "" when it would
// not: a word that stands in a prompt must not hold kPromptEnd, which ends the
// prompt early. "|", "$" and "&" are escaped, and harmless anywhere.
std::string wordProblem(Word word, std::string_view text);

// One item of a profile's menu, generated or own, in the order it is written.
struct MenuItem {
    // A generated item's identity; ownItemIdentity(N) for the own item of index N.
    std::string identity;
    // The titles in the current words joined by "\"; a separator's ends in "\-"
    // after the submenu it is placed in.
    std::string path;
    // The item's command as the block holds it, from "$UserCommand" to its "|";
    // for an item that is off, as it would be written.
    std::string command;
    unsigned context = 0;
    bool separator = false;
    std::optional<std::size_t> ownItem; // an own item's index in the changes
    // Its place among every item that can be listed: the catalogue's rows in
    // the order of catalogueIdentities(), then the own items by index.
    std::size_t slot = 0;
    bool on = true; // false when switched off for this profile, or an own item that is refused
};

struct [[nodiscard]] MenuListing {
    std::vector<MenuItem> items;
    std::optional<GenerationStop> stop;
};

// Every item that the profile's permissions and the options give, switched
// off or not, with the own items for the profile where they would be written.
// The commands hold `dateText` where the block would.
MenuListing listMenuItems(XmlElement profileNode, const GenerationOptions& options,
                          const Vocabulary& vocabulary, const MenuChanges& changes = {},
                          std::string_view profileName = {}, std::string_view dateText = {});

// As listMenuItems, but an item's identity, path and command are made only
// when `describe` asks for them by its slot: reading many profiles, each
// item's texts are made once.
MenuListing listMenuItemsDescribing(XmlElement profileNode, const GenerationOptions& options,
                                    const Vocabulary& vocabulary, const MenuChanges& changes,
                                    std::string_view profileName, std::string_view dateText,
                                    const std::function<bool(std::size_t slot)>& describe);

// As listMenuItems, with the own items of the other profiles too, each where
// it would go in this profile's menu and off: the menu as the operator edits it.
MenuListing listMenuItemsToEdit(XmlElement profileNode, const GenerationOptions& options,
                                const Vocabulary& vocabulary, const MenuChanges& changes,
                                std::string_view profileName);

// The identity of the own item of index `index`: "own:N", N counting from 1.
std::string ownItemIdentity(std::size_t index);

// The submenu a listed path is in: the path up to its last "\".
std::string_view parentPath(std::string_view path);
// The title of a listed path: what follows its last "\".
std::string_view lastTitle(std::string_view path);

// The own item that the own item `ownItem` trades places with to move one
// step (-1 up, 1 down) in the listed menu: the next item of its submenu that
// way, when that is an own item. Own items of one submenu are written in the
// order of their indexes, so trading them moves the item.
std::optional<std::size_t> ownItemNeighbour(std::span<const MenuItem> items, std::size_t ownItem, int step);

// Every identity of the catalogue, in the order the rows are written.
const std::vector<std::string>& catalogueIdentities();

// The identities switched off that cover no item of the catalogue, each once.
std::vector<std::string> unknownIdentities(const MenuChanges& changes);

} // namespace tavu
