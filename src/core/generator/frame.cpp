#include "generator/catalogue.h"
#include "generator/generator.h"
#include "profiles/permission_tests.h"

#include <algorithm>
#include <array>
#include <set>

namespace tavu {

namespace {

using namespace catalogue;
using Outcome = PermissionReading::Outcome;

constexpr std::string_view kMenuSeparator = "\\ ";
constexpr std::string_view kCommandEnd = "|";
constexpr std::string_view kBotName = "<<botname>> ";
// The full menu is about 28 KB with the default words; one allocation up front.
constexpr std::size_t kExpectedOutputSize = 48 * 1024;

// Every word and the date text escaped once per generation, and every word once
// more as a menu element ("\ ", the item prefix, the word): the same few words
// are written hundreds of times, and building them at each use was the
// generator's hottest loop.
class EscapedWords {
public:
    EscapedWords(const Vocabulary& vocabulary, std::string_view dateText) {
        appendEscaped(prefix_, vocabulary.text(Word::wStartWith));
        for (std::size_t i = 0; i < kWordCount; ++i) {
            starts_[i] = text_.size();
            appendEscaped(text_, vocabulary.text(static_cast<Word>(i)));
        }
        starts_[kWordCount] = text_.size();
        appendEscaped(text_, dateText);
        for (std::size_t i = 0; i < kWordCount; ++i) {
            elementStarts_[i] = elements_.size();
            elements_ += kMenuSeparator;
            elements_ += prefix_;
            elements_ += (*this)[static_cast<Word>(i)];
        }
        elementStarts_[kWordCount] = elements_.size();
    }

    std::string_view operator[](Word word) const {
        const auto i = static_cast<std::size_t>(word);
        return std::string_view(text_).substr(starts_[i], starts_[i + 1] - starts_[i]);
    }
    std::string_view dateText() const { return std::string_view(text_).substr(starts_[kWordCount]); }
    std::string_view itemPrefix() const { return prefix_; }

    // The item prefix and the word, after the menu separator unless it is the
    // path's first element.
    std::string_view menuElement(Word word, bool first) const {
        const auto i = static_cast<std::size_t>(word);
        const std::size_t skip = first ? kMenuSeparator.size() : 0;
        return std::string_view(elements_).substr(elementStarts_[i] + skip,
                                                  elementStarts_[i + 1] - elementStarts_[i] - skip);
    }

private:
    std::string prefix_;
    std::string text_;
    std::array<std::size_t, kWordCount + 1> starts_{};
    std::string elements_;
    std::array<std::size_t, kWordCount + 1> elementStarts_{};
};

std::string_view commandHead(Kind kind) {
    return kind == K1_2 ? "$UserCommand 1 2 " : "$UserCommand 1 3 ";
}

unsigned contextOf(Kind kind) {
    return kind == K1_2 ? 2U : 3U;
}

// A menu group with the option that gates it; null for one always written.
struct Group {
    bool GenerationOptions::*gate;
    std::span<const Row> rows;
};

// The groups in the order they are written.
std::array<Group, 7> catalogueGroups() {
    return {{
        {nullptr, topLevelRows()},
        {&GenerationOptions::menuMiscellaneous, firstMiscellaneousRows()},
        {&GenerationOptions::menuInformation, informationRows()},
        {&GenerationOptions::menuHubControl, hubControlRows()},
        {&GenerationOptions::menuAccounts, accountsRows()},
        {&GenerationOptions::menuUserControl, userControlRows()},
        {&GenerationOptions::menuMiscellaneous, secondMiscellaneousRows()},
    }};
}

// A row's path element as text: the word's key in an identity, the word
// itself in a path shown to the operator.
std::string elementText(const Piece& element, const Vocabulary* vocabulary) {
    if (element.source != Piece::Source::Vocabulary) {
        return std::string(element.literal);
    }
    return vocabulary != nullptr ? vocabulary->text(element.word) : std::string(wordKey(element.word));
}

// The path of a row; a separator's is the submenu of the row before it, which
// clients put it in, and "-".
std::string rowPath(const Row& row, const Row* previous, const Vocabulary* vocabulary) {
    std::string path;
    const bool separator = row.kind == Separator;
    const Row* named = separator ? previous : &row;
    if (named != nullptr) {
        const auto elements = named->path.view();
        const std::size_t count =
            separator ? elements.size() - std::min<std::size_t>(1, elements.size()) : elements.size();
        for (std::size_t i = 0; i < count; ++i) {
            path += elementText(elements[i], vocabulary);
            path += '\\';
        }
    }
    if (separator) {
        path += '-';
    } else if (!path.empty()) {
        path.pop_back();
    }
    return path;
}

ItemOption itemOptionsOn(const GenerationOptions& options) {
    ItemOption on = None;
    for (const OptionEntry& entry : kOptionTable) {
        if (options.*entry.option) {
            on = on | entry.item;
        }
    }
    return on;
}

// For each row of the catalogue, in the order of catalogueIdentities(),
// whether it is switched off for the profile; empty when none is.
std::vector<bool> rowsOff(const MenuChanges& changes, std::string_view profile) {
    std::vector<std::string_view> off;
    for (const ItemOff& item : changes.itemsOff) {
        if (item.profiles.includes(profile)) {
            off.push_back(item.identity);
        }
    }
    if (off.empty()) {
        return {};
    }
    const std::vector<std::string>& identities = catalogueIdentities();
    std::vector<bool> rows(identities.size());
    for (std::size_t i = 0; i < identities.size(); ++i) {
        rows[i] = std::any_of(off.begin(), off.end(), [&](std::string_view identity) {
            return identityCovers(identity, identities[i]);
        });
    }
    return rows;
}

// An own item for the profile, with its number in the list and its place:
// after the written row `anchor` (counting in the order rows were met), or at
// the end of the menu when it is kAtEnd.
struct PlacedOwnItem {
    const OwnItem* item;
    std::size_t number;
    std::size_t anchor;
    bool on;
};

constexpr std::size_t kAtEnd = static_cast<std::size_t>(-1);

class Frame {
public:
    Frame(XmlElement profile, const GenerationOptions& options, const Vocabulary& vocabulary,
          std::string_view dateText, const MenuChanges& changes, std::string_view profileName)
        : profile_(profile), options_(options), vocabulary_(vocabulary), itemOptions_(itemOptionsOn(options)),
          words_(vocabulary, dateText), changes_(changes), profileName_(profileName),
          rowsOff_(rowsOff(changes, profileName)) {
        generation_.text.reserve(kExpectedOutputSize);
    }

    Generation run() && {
        walk();
        if (!generation_.stop) {
            insertOwnItems();
            if (options_.message) {
                generation_.text += kBotName;
                generation_.text += words_[Word::wBotMessage];
                generation_.text += kCommandEnd;
            }
        }
        return std::move(generation_);
    }

    MenuListing list() && {
        tracking_ = true;
        listing_ = true;
        walk();
        MenuListing listing{{}, generation_.stop};
        if (listing.stop) {
            return listing;
        }
        const std::vector<PlacedOwnItem> own = placedOwnItems();
        auto next = own.begin();
        const auto addOwnUpTo = [&](std::size_t anchor) {
            for (; next != own.end() && next->anchor == anchor; ++next) {
                listing.items.push_back(ownListed(*next));
            }
        };
        for (std::size_t i = 0; i < met_.size(); ++i) {
            const Met& met = met_[i];
            const Row* previous = met.catalogueIndex > 0 ? catalogueRow(met.catalogueIndex - 1) : nullptr;
            const std::size_t start = i > 0 ? met_[i - 1].textEnd : commandsStart_;
            listing.items.push_back(MenuItem{catalogueIdentities()[met.catalogueIndex],
                                             rowPath(*met.row, previous, &vocabulary_),
                                             contextOf(met.row->kind), met.row->kind == Separator, false,
                                             met.on, generation_.text.substr(start, met.textEnd - start)});
            addOwnUpTo(i);
        }
        addOwnUpTo(kAtEnd);
        return listing;
    }

private:
    // A row whose block and options let it through, switched off or not.
    struct Met {
        const Row* row;
        std::size_t catalogueIndex;
        std::size_t textEnd; // where the text stood after it
        bool on;
    };

    void walk() {
        tracking_ = tracking_ || !changes_.ownItems.empty();
        if (options_.clear) {
            generation_.text = kClearCommand;
        }
        if (!profile_) {
            generation_.stop = GenerationStop{};
            return;
        }
        commandsStart_ = generation_.text.size();
        std::size_t catalogueIndex = 0;
        for (const Group& group : catalogueGroups()) {
            if ((group.gate == nullptr || options_.*group.gate) && !appendGroup(group.rows, catalogueIndex)) {
                return;
            }
            catalogueIndex += group.rows.size();
        }
    }

    // Returns false when a permission could not be read and the generation stops.
    bool appendGroup(std::span<const Row> rows, std::size_t firstIndex) {
        const Permission* block = nullptr;
        bool blockPasses = false;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const Row& row = rows[i];
            if (row.permission != block) {
                block = row.permission;
                const auto passes = test(*block);
                if (!passes) {
                    return false;
                }
                blockPasses = *passes;
            }
            if (blockPasses && (row.options & itemOptions_) == row.options) {
                const bool on = rowsOff_.empty() || !rowsOff_[firstIndex + i];
                // A listing writes the items switched off too, for their commands.
                if (on || listing_) {
                    append(row);
                }
                if (tracking_) {
                    met_.push_back(Met{&row, firstIndex + i, generation_.text.size(), on});
                }
            }
        }
        return true;
    }

    static const Row* catalogueRow(std::size_t index) {
        for (const Group& group : catalogueGroups()) {
            if (index < group.rows.size()) {
                return &group.rows[index];
            }
            index -= group.rows.size();
        }
        return nullptr;
    }

    // Whether the permission passes; empty when its text cannot be read.
    std::optional<bool> test(const Permission& permission) {
        if (!permission.firstPassingOf.empty()) {
            for (const Permission& candidate : permission.firstPassingOf) {
                const auto passes = test(candidate);
                if (!passes || *passes) {
                    return passes;
                }
            }
            return false;
        }
        const XmlElement element = permissionElement(permission.path);
        const PermissionReading reading =
            permission.test == Test::Enable ? enableTest(element) : valueTest(element);
        if (reading.outcome == Outcome::Unreadable) {
            generation_.stop = GenerationStop{std::string(permission.path), reading.text};
            return std::nullopt;
        }
        return reading.outcome == Outcome::Pass;
    }

    // The rows of a block mostly share their section and group, so the group
    // element found last is kept for the next lookup.
    XmlElement permissionElement(std::string_view path) {
        const auto keyStart = path.rfind('/');
        const std::string_view groupPath = path.substr(0, keyStart);
        if (groupPath != groupPath_) {
            groupPath_ = groupPath;
            group_ = tavu::permissionElement(profile_, groupPath);
        }
        return group_.child(path.substr(keyStart + 1));
    }

    void append(const Row& row) {
        std::string& out = generation_.text;
        if (row.kind != Separator) {
            out += commandHead(row.kind);
            bool first = true;
            for (const Piece& element : row.path.view()) {
                if (element.source == Piece::Source::Vocabulary) {
                    out += words_.menuElement(element.word, first);
                } else {
                    appendTitleElement(out, element.literal, first);
                }
                first = false;
            }
        }
        for (const Piece& piece : row.command.view()) {
            appendPiece(piece);
        }
        out += kCommandEnd;
    }

    // A path element that is no word: after the menu separator unless it is
    // the first, the item prefix and the text as it stands.
    void appendTitleElement(std::string& out, std::string_view text, bool first) const {
        if (!first) {
            out += kMenuSeparator;
        }
        out += words_.itemPrefix();
        out += text;
    }

    void appendPiece(const Piece& piece) {
        switch (piece.source) {
        case Piece::Source::Literal:
            generation_.text += piece.literal;
            break;
        case Piece::Source::Vocabulary:
            generation_.text += words_[piece.word];
            break;
        case Piece::Source::Date:
            generation_.text += words_.dateText();
            break;
        }
    }

    // The last row met whose path begins with the words the own item's path
    // begins with, the longest run of them that any row shares; kAtEnd when none.
    std::size_t anchorOf(const OwnItem& item) const {
        std::vector<Word> words;
        for (const OwnPathElement& element : ownPathElements(item.path)) {
            if (!element.word) {
                break;
            }
            words.push_back(*element.word);
        }
        // A separator's path is the submenu it goes in; an item's last element is its own title.
        if (!item.separator && words.size() == ownPathElements(item.path).size() && !words.empty()) {
            words.pop_back();
        }
        for (std::size_t length = words.size(); length > 0; --length) {
            for (std::size_t i = met_.size(); i-- > 0;) {
                if (beginsWith(*met_[i].row, std::span(words).first(length))) {
                    return i;
                }
            }
        }
        return kAtEnd;
    }

    static bool beginsWith(const Row& row, std::span<const Word> words) {
        const auto path = row.path.view();
        if (row.kind == Separator || path.size() <= words.size()) {
            return false;
        }
        for (std::size_t i = 0; i < words.size(); ++i) {
            if (path[i].source != Piece::Source::Vocabulary || path[i].word != words[i]) {
                return false;
            }
        }
        return true;
    }

    // The own items for this profile in the order they are written: by their
    // place, then by their number.
    std::vector<PlacedOwnItem> placedOwnItems() const {
        std::vector<PlacedOwnItem> placed;
        for (std::size_t i = 0; i < changes_.ownItems.size(); ++i) {
            const OwnItem& item = changes_.ownItems[i];
            if (item.profiles.includes(profileName_)) {
                placed.push_back(PlacedOwnItem{&item, i + 1, anchorOf(item), ownItemProblem(item).empty()});
            }
        }
        std::stable_sort(placed.begin(), placed.end(), [](const PlacedOwnItem& a, const PlacedOwnItem& b) {
            // kAtEnd is the largest index, so the end comes last.
            return a.anchor < b.anchor;
        });
        return placed;
    }

    std::string ownItemText(const OwnItem& item) const {
        const std::string context = std::to_string(static_cast<unsigned>(item.menus));
        if (item.separator) {
            return "$UserCommand 0 " + context + std::string(kCommandEnd);
        }
        std::string text = "$UserCommand 1 " + context + " ";
        bool first = true;
        for (const OwnPathElement& element : ownPathElements(item.path)) {
            if (element.word) {
                text += words_.menuElement(*element.word, first);
            } else {
                std::string escaped;
                appendEscaped(escaped, element.title);
                appendTitleElement(text, escaped, first);
            }
            first = false;
        }
        text += ownItemCommand(item.command);
        text += kCommandEnd;
        return text;
    }

    MenuItem ownListed(const PlacedOwnItem& placed) const {
        const OwnItem& item = *placed.item;
        std::string path;
        for (const OwnPathElement& element : ownPathElements(item.path)) {
            path += element.word ? vocabulary_.text(*element.word) : element.title;
            path += '\\';
        }
        if (item.separator) {
            path += '-';
        } else if (!path.empty()) {
            path.pop_back();
        }
        return MenuItem{"own:" + std::to_string(placed.number),
                        path,
                        static_cast<unsigned>(item.menus),
                        item.separator,
                        true,
                        placed.on,
                        ownItemText(item)};
    }

    // Splices each own item into the text after its anchor row.
    void insertOwnItems() {
        if (changes_.ownItems.empty()) {
            return;
        }
        const std::vector<PlacedOwnItem> placed = placedOwnItems();
        std::string text;
        text.reserve(generation_.text.size());
        std::size_t copied = 0;
        for (const PlacedOwnItem& own : placed) {
            if (!own.on) {
                continue;
            }
            const std::size_t at = own.anchor == kAtEnd ? generation_.text.size() : met_[own.anchor].textEnd;
            text.append(generation_.text, copied, at - copied);
            copied = at;
            text += ownItemText(*own.item);
        }
        text.append(generation_.text, copied);
        generation_.text = std::move(text);
    }

    XmlElement profile_;
    const GenerationOptions& options_;
    const Vocabulary& vocabulary_;
    ItemOption itemOptions_;
    EscapedWords words_;
    const MenuChanges& changes_;
    std::string_view profileName_;
    std::vector<bool> rowsOff_;
    bool tracking_ = false;
    bool listing_ = false;
    std::size_t commandsStart_ = 0; // where the first row's text starts, after the clear command
    std::vector<Met> met_;
    std::string_view groupPath_;
    XmlElement group_;
    Generation generation_;
};

} // namespace

std::string GenerationStop::description() const {
    if (element.empty()) {
        return "No profile is loaded, so no permission could be read.";
    }
    return "The permission " + element + " holds \"" + text +
           "\", which cannot be read as a permission. The commands before it were kept; nothing after it "
           "was created.";
}

Generation CreateUserCommands(XmlElement profileNode, const GenerationOptions& options,
                              const Vocabulary& vocabulary, std::string_view dateText,
                              const MenuChanges& changes, std::string_view profileName) {
    return Frame(profileNode, options, vocabulary, dateText, changes, profileName).run();
}

MenuListing listMenuItems(XmlElement profileNode, const GenerationOptions& options,
                          const Vocabulary& vocabulary, const MenuChanges& changes,
                          std::string_view profileName, std::string_view dateText) {
    return Frame(profileNode, options, vocabulary, dateText, changes, profileName).list();
}

const std::vector<std::string>& catalogueIdentities() {
    static const std::vector<std::string> identities = [] {
        std::vector<std::string> all;
        const Row* previous = nullptr;
        for (const Group& group : catalogueGroups()) {
            for (const Row& row : group.rows) {
                all.push_back(rowPath(row, previous, nullptr));
                previous = &row;
            }
        }
        return all;
    }();
    return identities;
}

std::string wordProblem(Word word, std::string_view text) {
    // Which words stand in a prompt of some item of the catalogue: right after
    // its start, as every word of a command does.
    static const std::array<bool, kWordCount> inPrompt = [] {
        std::array<bool, kWordCount> found{};
        for (const Group& group : catalogueGroups()) {
            for (const Row& row : group.rows) {
                const auto pieces = row.command.view();
                for (std::size_t i = 1; i < pieces.size(); ++i) {
                    if (pieces[i].source == Piece::Source::Vocabulary &&
                        pieces[i - 1].literal.ends_with(kPromptStart)) {
                        found[static_cast<std::size_t>(pieces[i].word)] = true;
                    }
                }
            }
        }
        return found;
    }();
    if (!inPrompt[static_cast<std::size_t>(word)] || text.find(kPromptEnd) == std::string_view::npos) {
        return {};
    }
    std::string reason(1, '"');
    reason += kPromptEnd;
    reason += "\" ends the prompt this word stands in early, and clients send the rest of the word with the "
              "command";
    return reason;
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

} // namespace tavu
