#pragma once

// What an edit of a profiles file changes in the menus: each profile of the
// old file matched by name with one of the new, and the items its block gains
// and loses; the profiles of one file only, added or removed.

#include "matrix/profile_matrix.h"

#include <cstddef>
#include <string>
#include <vector>

namespace tavu {

struct ProfileChange {
    std::string name;
    std::size_t oldIndex = 0;
    std::size_t newIndex = 0;
    std::vector<const MatrixItem*> gained; // of the new matrix, in its order
    std::vector<const MatrixItem*> lost;   // of the old matrix, in its order
};

struct ProfilesDiff {
    // Every profile in both files whose block changes, in the new file's order.
    std::vector<ProfileChange> changed;
    std::vector<std::size_t> added;   // indexes in the new file
    std::vector<std::size_t> removed; // indexes in the old file
    // Names that one file holds more than once, each once: such profiles are
    // matched by their place among those of the name.
    std::vector<std::string> oldNamesTwice;
    std::vector<std::string> newNamesTwice;

    bool menusChange() const { return !changed.empty() || !added.empty() || !removed.empty(); }
};

// Both matrices made with the same settings, words and menu changes; the
// result points into them.
ProfilesDiff diffProfiles(const ProfileMatrix& before, const ProfileMatrix& after);

} // namespace tavu
