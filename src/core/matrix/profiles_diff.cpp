#include "matrix/profiles_diff.h"

#include <map>
#include <string_view>
#include <unordered_map>

namespace tavu {

namespace {

// The profiles of each name in the file's order, and the names held twice.
struct NameIndex {
    std::map<std::string_view, std::vector<std::size_t>> byName;
    std::vector<std::string> twice;
};

NameIndex indexNames(const std::vector<std::string>& names) {
    NameIndex index;
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::vector<std::size_t>& same = index.byName[names[i]];
        same.push_back(i);
        if (same.size() == 2) {
            index.twice.push_back(names[i]);
        }
    }
    return index;
}

// The items one profile writes in `from` and the other does not in `other`,
// by identity.
std::vector<const MatrixItem*>
writtenOnlyIn(const ProfileMatrix& from, std::size_t profile, const ProfileMatrix& other,
              std::size_t otherProfile, const std::unordered_map<std::string_view, std::size_t>& otherRows) {
    std::vector<const MatrixItem*> only;
    for (std::size_t row = 0; row < from.items().size(); ++row) {
        if (from.mark(row, profile) != Mark::Written) {
            continue;
        }
        const auto found = otherRows.find(from.items()[row].identity);
        if (found == otherRows.end() || other.mark(found->second, otherProfile) != Mark::Written) {
            only.push_back(&from.items()[row]);
        }
    }
    return only;
}

std::unordered_map<std::string_view, std::size_t> rowsByIdentity(const ProfileMatrix& matrix) {
    std::unordered_map<std::string_view, std::size_t> rows;
    for (std::size_t row = 0; row < matrix.items().size(); ++row) {
        rows.emplace(matrix.items()[row].identity, row);
    }
    return rows;
}

} // namespace

ProfilesDiff diffProfiles(const ProfileMatrix& before, const ProfileMatrix& after) {
    ProfilesDiff diff;
    NameIndex oldNames = indexNames(before.profiles());
    NameIndex newNames = indexNames(after.profiles());
    diff.oldNamesTwice = std::move(oldNames.twice);
    diff.newNamesTwice = std::move(newNames.twice);
    const auto oldRows = rowsByIdentity(before);
    const auto newRows = rowsByIdentity(after);
    std::vector<bool> oldMatched(before.profiles().size());
    // How many profiles of each name of the new file came before.
    std::map<std::string_view, std::size_t> seen;
    for (std::size_t profile = 0; profile < after.profiles().size(); ++profile) {
        const std::string& name = after.profiles()[profile];
        const auto sameOld = oldNames.byName.find(name);
        const std::size_t place = seen[name]++;
        if (sameOld == oldNames.byName.end() || place >= sameOld->second.size()) {
            diff.added.push_back(profile);
            continue;
        }
        const std::size_t old = sameOld->second[place];
        oldMatched[old] = true;
        ProfileChange change{name, old, profile, writtenOnlyIn(after, profile, before, old, oldRows),
                             writtenOnlyIn(before, old, after, profile, newRows)};
        if (!change.gained.empty() || !change.lost.empty()) {
            diff.changed.push_back(std::move(change));
        }
    }
    for (std::size_t old = 0; old < oldMatched.size(); ++old) {
        if (!oldMatched[old]) {
            diff.removed.push_back(old);
        }
    }
    return diff;
}

} // namespace tavu
