#include "matrix/profile_matrix.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string_view>
#include <tuple>

namespace tavu {

namespace {

// The one place the matrix reads a profile's menu; `describe` says which
// items' texts are still to be made.
MenuListing listProfile(const ProfilesDocument& document, std::size_t index, const GenerationInput& input,
                        const std::function<bool(std::size_t slot)>& describe) {
    return listMenuItemsDescribing(document.profile(static_cast<int>(index)), input.options, input.vocabulary,
                                   input.changes, document.names()[index], input.date, describe);
}

// Every item that can be listed has a slot: the rows of the catalogue in
// their order, then the own items by number. The slots are known before any
// profile is read, so that the marks of each profile go straight to their
// place, a bit each.
class Slots {
public:
    explicit Slots(const MenuChanges& changes) : ownCount_(changes.ownItems.size()) {}

    std::size_t count() const { return catalogueIdentities().size() + ownCount_; }
    bool isOwn(std::size_t slot) const { return slot >= catalogueIdentities().size(); }

    // None for an own item the changes do not hold, which the listing never gives.
    std::optional<std::size_t> of(const MenuItem& item) const {
        return item.slot < count() ? std::optional(item.slot) : std::nullopt;
    }

private:
    std::size_t ownCount_;
};

// The marks of every slot while the profiles are read, each item as it is
// first listed, and the place it takes among the others.
class Collected {
public:
    Collected(const Slots& slots, std::size_t profiles)
        : slots_(slots), profiles_(profiles), items_(slots.count()), places_(slots.count()),
          given_(slots.count() * profiles), written_(slots.count() * profiles) {}

    // Whether an item is held already, with its texts.
    bool has(std::size_t slot) const { return slot < items_.size() && items_[slot].has_value(); }

    // False when the profile's generation stops, which leaves it out.
    bool add(std::size_t profile, MenuListing& listing) {
        if (listing.stop) {
            return false;
        }
        // The catalogue row an own item follows in this profile's menu, counted from 1; 0 before any.
        std::size_t after = 0;
        for (MenuItem& item : listing.items) {
            const auto slot = slots_.of(item);
            if (!slot) {
                continue;
            }
            if (!slots_.isOwn(*slot)) {
                after = *slot + 1;
            }
            given_[*slot * profiles_ + profile] = true;
            written_[*slot * profiles_ + profile] = item.on;
            // An own item goes after the last row it follows in any profile:
            // one at the end of the menu stays after every row.
            places_[*slot] = slots_.isOwn(*slot)
                                 ? Place{std::max(std::get<0>(places_[*slot]), after), 1, *slot}
                                 : Place{*slot + 1, 0, *slot};
            if (!items_[*slot]) {
                items_[*slot] = MatrixItem{std::move(item.identity), std::move(item.path),
                                           std::move(item.command),  item.context,
                                           item.separator,           item.ownItem.has_value()};
            }
        }
        return true;
    }

    ProfileMatrix matrix(std::vector<std::string> names) && {
        std::vector<Place> order;
        for (std::size_t slot = 0; slot < items_.size(); ++slot) {
            if (items_[slot]) {
                order.push_back(places_[slot]);
            }
        }
        std::sort(order.begin(), order.end());
        std::vector<MatrixItem> items;
        items.reserve(order.size());
        for (const Place& place : order) {
            items.push_back(std::move(*items_[std::get<2>(place)]));
        }
        ProfileMatrix matrix(std::move(names), std::move(items));
        for (std::size_t row = 0; row < order.size(); ++row) {
            const std::size_t slot = std::get<2>(order[row]);
            for (std::size_t profile = 0; profile < profiles_; ++profile) {
                const std::size_t cell = slot * profiles_ + profile;
                if (given_[cell]) {
                    matrix.setMark(row, profile, written_[cell] ? Mark::Written : Mark::SwitchedOff);
                }
            }
        }
        return matrix;
    }

private:
    // The catalogue row it stands after (counted from 1), generated before own, the slot.
    using Place = std::tuple<std::size_t, int, std::size_t>;

    const Slots& slots_;
    std::size_t profiles_;
    std::vector<std::optional<MatrixItem>> items_;
    std::vector<Place> places_;
    std::vector<bool> given_;
    std::vector<bool> written_;
};

} // namespace

ProfileMatrix::ProfileMatrix(std::vector<std::string> profiles, std::vector<MatrixItem> items)
    : profiles_(std::move(profiles)), items_(std::move(items)), given_(items_.size() * profiles_.size()),
      written_(items_.size() * profiles_.size()) {}

Mark ProfileMatrix::mark(std::size_t item, std::size_t profile) const {
    const std::size_t at = cell(item, profile);
    if (!given_[at]) {
        return Mark::Absent;
    }
    return written_[at] ? Mark::Written : Mark::SwitchedOff;
}

void ProfileMatrix::setMark(std::size_t item, std::size_t profile, Mark mark) {
    const std::size_t at = cell(item, profile);
    given_[at] = mark != Mark::Absent;
    written_[at] = mark == Mark::Written;
}

std::size_t ProfileMatrix::writtenCount(std::size_t profile) const {
    std::size_t count = 0;
    for (std::size_t item = 0; item < items_.size(); ++item) {
        count += written_[cell(item, profile)] ? 1 : 0;
    }
    return count;
}

Result<ProfileMatrix, MatrixStop> buildProfileMatrix(const ProfilesDocument& document,
                                                     const GenerationInput& input) {
    const Slots slots(input.changes);
    const std::size_t profiles = document.names().size();
    Collected collected(slots, profiles);
    for (std::size_t profile = 0; profile < profiles; ++profile) {
        MenuListing listing = listProfile(document, profile, input,
                                          [&collected](std::size_t slot) { return !collected.has(slot); });
        if (!collected.add(profile, listing)) {
            return MatrixStop{profile, document.names()[profile], std::move(*listing.stop)};
        }
    }
    return std::move(collected).matrix(document.names());
}

} // namespace tavu
