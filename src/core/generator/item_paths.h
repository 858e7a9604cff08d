#pragma once

// The paths of items as the operator reads them, and the identities of the
// catalogue's rows, which are the same paths in word keys: joined here alone.

#include "generator/catalogue.h"
#include "generator/menu_changes.h"
#include "vocabulary/vocabulary.h"

#include <string>
#include <string_view>

namespace tavu {

// The path of a row: its titles in the words, or its word keys when
// `vocabulary` is null. A separator's is the submenu of the row before it,
// which clients put it in, and "-".
std::string rowPath(const catalogue::Row& row, const catalogue::Row* previous, const Vocabulary* vocabulary);

// The path of an own item in the words; a separator's is its submenu and "-".
std::string ownItemPath(const OwnItem& item, const Vocabulary& vocabulary);

} // namespace tavu
