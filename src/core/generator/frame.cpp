#include "generator/frame.h"

#include "base/escaping.h"
#include "generator/own_item_placement.h"
#include "profiles/permission_tests.h"

#include <algorithm>

namespace tavu {

namespace {

using namespace catalogue;
using Outcome = PermissionReading::Outcome;

constexpr std::string_view kCommandEnd = "|";
constexpr std::string_view kBotName = "<<botname>> ";
// The full menu is about 28 KB with the default words; one allocation up front.
constexpr std::size_t kExpectedOutputSize = 48 * 1024;

std::string_view commandHead(Kind kind) {
    return kind == K1_2 ? "$UserCommand 1 2 " : "$UserCommand 1 3 ";
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

class Walker {
public:
    Walker(XmlElement profile, const GenerationOptions& options, const MenuChanges& changes,
           std::string_view profileName)
        : profile_(profile), options_(options), itemOptions_(itemOptionsOn(options)),
          rowsOff_(rowsOff(changes, profileName)) {}

    RowWalk run() && {
        if (!profile_) {
            walk_.stop = GenerationStop{};
            return std::move(walk_);
        }
        const std::array<CatalogueGroup, 7> groups = catalogueGroups();
        std::size_t total = 0;
        for (const CatalogueGroup& group : groups) {
            total += group.rows.size();
        }
        walk_.rows.reserve(total);
        std::size_t firstIndex = 0;
        const Row* previous = nullptr;
        for (const CatalogueGroup& group : groups) {
            if ((group.gate == nullptr || options_.*group.gate) &&
                !walkGroup(group.rows, firstIndex, previous)) {
                break;
            }
            firstIndex += group.rows.size();
            previous = group.rows.empty() ? previous : &group.rows.back();
        }
        return std::move(walk_);
    }

private:
    // Returns false when a permission could not be read and the walk stops.
    bool walkGroup(std::span<const Row> rows, std::size_t firstIndex, const Row* previous) {
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
                const std::size_t index = firstIndex + i;
                walk_.rows.push_back(MetRow{&row, i > 0 ? &rows[i - 1] : previous, index,
                                            rowsOff_.empty() || !rowsOff_[index]});
            }
        }
        return true;
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
            walk_.stop = GenerationStop{std::string(permission.path), reading.text};
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

    XmlElement profile_;
    const GenerationOptions& options_;
    ItemOption itemOptions_;
    std::vector<bool> rowsOff_;
    std::string_view groupPath_;
    XmlElement group_;
    RowWalk walk_;
};

// A path element that is no word: after the menu separator unless it is
// the first, the item prefix and the text, escaped, as it stands.
void appendTitleElement(std::string& out, const EscapedWords& words, std::string_view text, bool first) {
    if (!first) {
        out += kMenuSeparator;
    }
    out += words.itemPrefix();
    out += text;
}

void appendPiece(std::string& out, const Piece& piece, const EscapedWords& words) {
    switch (piece.source) {
    case Piece::Source::Literal:
        out += piece.literal;
        break;
    case Piece::Source::Vocabulary:
        out += words[piece.word];
        break;
    case Piece::Source::Date:
        out += words.dateText();
        break;
    }
}

} // namespace

std::array<CatalogueGroup, 7> catalogueGroups() {
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

RowWalk walkRows(XmlElement profile, const GenerationOptions& options, const MenuChanges& changes,
                 std::string_view profileName) {
    return Walker(profile, options, changes, profileName).run();
}

void appendRow(std::string& out, const Row& row, const EscapedWords& words) {
    if (row.kind != Separator) {
        out += commandHead(row.kind);
        bool first = true;
        for (const Piece& element : row.path.view()) {
            if (element.source == Piece::Source::Vocabulary) {
                out += words.menuElement(element.word, first);
            } else {
                appendTitleElement(out, words, element.literal, first);
            }
            first = false;
        }
    }
    for (const Piece& piece : row.command.view()) {
        appendPiece(out, piece, words);
    }
    out += kCommandEnd;
}

void appendOwnItem(std::string& out, const OwnItem& item, const EscapedWords& words) {
    const std::string context = std::to_string(static_cast<unsigned>(item.menus));
    if (item.separator) {
        out += "$UserCommand 0 " + context;
        out += kCommandEnd;
        return;
    }
    out += "$UserCommand 1 " + context + " ";
    bool first = true;
    for (const OwnPathElement& element : ownPathElements(item.path)) {
        if (element.word) {
            out += words.menuElement(*element.word, first);
        } else {
            std::string escaped;
            appendEscaped(escaped, element.title);
            appendTitleElement(out, words, escaped, first);
        }
        first = false;
    }
    out += ownItemCommand(item.command);
    out += kCommandEnd;
}

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
    RowWalk walk = walkRows(profileNode, options, changes, profileName);
    const EscapedWords words(vocabulary, dateText);
    Generation generation;
    std::string& out = generation.text;
    out.reserve(kExpectedOutputSize);
    if (options.clear) {
        out = kClearCommand;
    }
    // A generation that stops keeps the rows written before the stop, and nothing after them.
    const std::vector<PlacedOwnItem> placed =
        walk.stop ? std::vector<PlacedOwnItem>{}
                  : placeOwnItems(walk.rows, changes, profileName, OwnItemsPlaced::OfTheProfile);
    inMenuOrder(
        walk.rows, placed,
        [&](const MetRow& met) {
            if (met.on) {
                appendRow(out, *met.row, words);
            }
        },
        [&](const PlacedOwnItem& own) {
            if (own.on) {
                appendOwnItem(out, changes.ownItems[own.index], words);
            }
        });
    if (!walk.stop && options.message) {
        out += kBotName;
        out += words[Word::wBotMessage];
        out += kCommandEnd;
    }
    generation.stop = std::move(walk.stop);
    return generation;
}

std::string wordProblem(Word word, std::string_view text) {
    // Which words stand in a prompt of some item of the catalogue: right after
    // its start, as every word of a command does.
    static const std::array<bool, kWordCount> inPrompt = [] {
        std::array<bool, kWordCount> found{};
        for (const CatalogueGroup& group : catalogueGroups()) {
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

} // namespace tavu
