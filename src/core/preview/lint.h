#pragma once

// The problems a single piece of a user-command block shows on its own.

#include "preview/menu_preview.h"

#include <vector>

namespace tavu::preview {

std::vector<Finding> lintPiece(const Piece& piece);

// What a "$" command other than a user command does to the client:
// "\"$ForceMove\" redirects the client to another hub".
std::string otherCommandDetail(std::string_view text);

// "Piece 3, line 2: " followed by the detail.
std::string describe(const Finding& finding);

} // namespace tavu::preview
