#include "generator/item_paths.h"

#include "generator/frame.h"

#include <algorithm>
#include <set>

namespace tavu {

namespace {

using catalogue::Piece;

// Titles joined by "\"; a separator's path ends in "-" after them.
class PathJoiner {
public:
    void add(std::string_view title) {
        path_ += title;
        path_ += '\\';
    }
    std::string finish(bool separator) && {
        if (separator) {
            path_ += '-';
        } else if (!path_.empty()) {
            path_.pop_back();
        }
        return std::move(path_);
    }

private:
    std::string path_;
};

constexpr std::string_view kOwnIdentityPrefix = "own:";

} // namespace

std::string rowPath(const catalogue::Row& row, const catalogue::Row* previous, const Vocabulary* vocabulary) {
    PathJoiner path;
    const bool separator = row.kind == catalogue::Separator;
    const catalogue::Row* named = separator ? previous : &row;
    if (named != nullptr) {
        const auto elements = named->path.view();
        // A separator is in the submenu of the row before it: all but that row's title.
        const std::size_t count =
            separator ? elements.size() - std::min<std::size_t>(1, elements.size()) : elements.size();
        for (const Piece& element : elements.first(count)) {
            if (element.source != Piece::Source::Vocabulary) {
                path.add(element.literal);
            } else if (vocabulary != nullptr) {
                path.add(vocabulary->text(element.word));
            } else {
                path.add(wordKey(element.word));
            }
        }
    }
    return std::move(path).finish(separator);
}

std::string ownItemPath(const OwnItem& item, const Vocabulary& vocabulary) {
    PathJoiner path;
    for (const OwnPathElement& element : ownPathElements(item.path)) {
        path.add(element.word ? vocabulary.text(*element.word) : element.title);
    }
    return std::move(path).finish(item.separator);
}

const std::vector<std::string>& catalogueIdentities() {
    static const std::vector<std::string> identities = [] {
        std::vector<std::string> all;
        const catalogue::Row* previous = nullptr;
        for (const CatalogueGroup& group : catalogueGroups()) {
            for (const catalogue::Row& row : group.rows) {
                all.push_back(rowPath(row, previous, nullptr));
                previous = &row;
            }
        }
        return all;
    }();
    return identities;
}

std::vector<std::string> unknownIdentities(const MenuChanges& changes) {
    const std::vector<std::string>& identities = catalogueIdentities();
    std::vector<std::string> unknown;
    std::set<std::string_view> told;
    for (const ItemOff& item : changes.itemsOff) {
        const bool known =
            std::any_of(identities.begin(), identities.end(),
                        [&](const std::string& identity) { return identityCovers(item.identity, identity); });
        if (!known && told.insert(item.identity).second) {
            unknown.push_back(item.identity);
        }
    }
    return unknown;
}

std::string ownItemIdentity(std::size_t index) {
    return std::string(kOwnIdentityPrefix) + std::to_string(index + 1);
}

std::string_view parentPath(std::string_view path) {
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

std::string_view lastTitle(std::string_view path) {
    const std::size_t cut = path.rfind('\\');
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

} // namespace tavu
