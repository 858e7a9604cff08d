#pragma once

// Every profile's menu side by side: one row for each item that any profile
// of a profiles file gets, one column for each profile, and in each cell
// whether the profile's block holds the item, as generate writes the block:
// the operator's own items and items switched off count.

#include "base/result.h"
#include "generation/profile_generation.h"
#include "generator/generator.h"
#include "profiles/profiles_document.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tavu {

// An item that some profile gets, as the first profile that gets it lists it.
struct MatrixItem {
    std::string identity; // as tavu-cli items prints it: word keys, or "own:N"
    std::string path;     // the titles in the current words, joined by "\"
    std::string command;  // the bytes written for it
    unsigned context = 0;
    bool separator = false;
    bool own = false;
};

enum class Mark : std::uint8_t {
    Absent,      // the profile's permissions or the options leave it out
    Written,     // the profile's block holds it
    SwitchedOff, // the permissions give it, but it is switched off for the profile, or a refused own item
};

class ProfileMatrix {
public:
    ProfileMatrix(std::vector<std::string> profiles, std::vector<MatrixItem> items);

    // The profiles in the file's order, by name; a name may stand twice.
    const std::vector<std::string>& profiles() const { return profiles_; }
    // In the order generate writes them; each own item after the generated
    // item it follows in the first profile that gets it.
    const std::vector<MatrixItem>& items() const { return items_; }

    Mark mark(std::size_t item, std::size_t profile) const;
    void setMark(std::size_t item, std::size_t profile, Mark mark);
    // How many items the profile's block holds.
    std::size_t writtenCount(std::size_t profile) const;

private:
    std::size_t cell(std::size_t item, std::size_t profile) const {
        return item * profiles_.size() + profile;
    }

    std::vector<std::string> profiles_;
    std::vector<MatrixItem> items_;
    // Two bits a cell: whether the permissions give the item, and whether it is written.
    std::vector<bool> given_;
    std::vector<bool> written_;
};

// A profile whose generation stops at a permission that cannot be read: no
// matrix, as generate writes no block for it.
struct MatrixStop {
    std::size_t profile = 0;
    std::string name;
    GenerationStop stop;
};

Result<ProfileMatrix, MatrixStop> buildProfileMatrix(const ProfilesDocument& document,
                                                     const GenerationInput& input);

} // namespace tavu
