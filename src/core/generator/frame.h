#pragma once

// The frame: the walk over the catalogue's rows for one profile, and an item
// written as the block holds it. The writer (CreateUserCommands) and the
// listing (listMenuItems) both take the rows the walk meets and write each
// item through here, so that the two never disagree.

#include "generator/catalogue.h"
#include "generator/escaped_words.h"
#include "generator/generator.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

// A menu group with the option that gates it; null for one always written.
struct CatalogueGroup {
    bool GenerationOptions::*gate;
    std::span<const catalogue::Row> rows;
};

// The groups in the order they are written.
std::array<CatalogueGroup, 7> catalogueGroups();

// A row whose block and options let it through, switched off or not.
struct MetRow {
    const catalogue::Row* row;
    // The row before it in the catalogue, whose submenu a separator is in; null for the first.
    const catalogue::Row* previous;
    std::size_t catalogueIndex; // its place in catalogueIdentities()
    bool on;                    // not switched off for the profile
};

struct [[nodiscard]] RowWalk {
    std::vector<MetRow> rows; // in the order they are written
    std::optional<GenerationStop> stop;
};

// Walks the catalogue for the profile: every row whose block's permission
// passes and whose item options are on, until a permission cannot be read.
// A row is on unless a change for the profile `profileName` switches it off.
RowWalk walkRows(XmlElement profile, const GenerationOptions& options, const MenuChanges& changes,
                 std::string_view profileName);

// Appends the row's command as written, from "$UserCommand" to its "|".
void appendRow(std::string& out, const catalogue::Row& row, const EscapedWords& words);

// Appends the own item's command as written, from "$UserCommand" to its "|".
void appendOwnItem(std::string& out, const OwnItem& item, const EscapedWords& words);

} // namespace tavu
