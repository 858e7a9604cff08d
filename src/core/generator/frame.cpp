#include "generator/catalogue.h"
#include "generator/generator.h"
#include "profiles/permission_tests.h"

#include <array>

namespace tavu {

namespace {

using namespace catalogue;
using Outcome = PermissionReading::Outcome;

constexpr std::string_view kMenuSeparator = "\\ ";
constexpr std::string_view kCommandEnd = "|";
constexpr std::string_view kBotName = "<<botname>> ";
// The full menu is about 28 KB with the default words; one allocation up front.
constexpr std::size_t kExpectedOutputSize = 48 * 1024;

// The escape clients turn back into the character, for the characters a word
// may not hold as they are: "|" ends an NMDC command, "$" starts one, and "&"
// would let a word spell "&#124;" or "&#36;", which clients decode into them.
std::string_view escapeOf(char c) {
    switch (c) {
    case '$':
        return "&#36;";
    case '|':
        return "&#124;";
    case '&':
        return "&amp;";
    default:
        return {};
    }
}

// Every word and the date text escaped once per generation, and every word once
// more as a menu element ("\ ", the item prefix, the word): the same few words
// are written hundreds of times, and building them at each use was the
// generator's hottest loop.
class EscapedWords {
public:
    EscapedWords(const Vocabulary& vocabulary, std::string_view dateText) {
        appendEscapedWord(prefix_, vocabulary.text(Word::wStartWith));
        for (std::size_t i = 0; i < kWordCount; ++i) {
            starts_[i] = text_.size();
            appendEscapedWord(text_, vocabulary.text(static_cast<Word>(i)));
        }
        starts_[kWordCount] = text_.size();
        appendEscapedWord(text_, dateText);
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

// A menu group with the option that gates it; null for one always written.
struct Group {
    bool GenerationOptions::*gate;
    std::span<const Row> rows;
};

ItemOption itemOptionsOn(const GenerationOptions& options) {
    ItemOption on = None;
    for (const OptionEntry& entry : kOptionTable) {
        if (options.*entry.option) {
            on = on | entry.item;
        }
    }
    return on;
}

class Frame {
public:
    Frame(XmlElement profile, const GenerationOptions& options, const Vocabulary& vocabulary,
          std::string_view dateText)
        : profile_(profile), options_(options), itemOptions_(itemOptionsOn(options)),
          words_(vocabulary, dateText) {
        generation_.text.reserve(kExpectedOutputSize);
    }

    Generation run() && {
        if (options_.clear) {
            generation_.text = kClearCommand;
        }
        if (!profile_) {
            generation_.stop = GenerationStop{};
            return std::move(generation_);
        }
        const std::array<Group, 7> groups{{
            {nullptr, topLevelRows()},
            {&GenerationOptions::menuMiscellaneous, firstMiscellaneousRows()},
            {&GenerationOptions::menuInformation, informationRows()},
            {&GenerationOptions::menuHubControl, hubControlRows()},
            {&GenerationOptions::menuAccounts, accountsRows()},
            {&GenerationOptions::menuUserControl, userControlRows()},
            {&GenerationOptions::menuMiscellaneous, secondMiscellaneousRows()},
        }};
        for (const Group& group : groups) {
            if ((group.gate == nullptr || options_.*group.gate) && !appendGroup(group.rows)) {
                return std::move(generation_);
            }
        }
        if (options_.message) {
            generation_.text += kBotName;
            generation_.text += words_[Word::wBotMessage];
            generation_.text += kCommandEnd;
        }
        return std::move(generation_);
    }

private:
    // Returns false when a permission could not be read and the generation stops.
    bool appendGroup(std::span<const Row> rows) {
        const Permission* block = nullptr;
        bool blockPasses = false;
        for (const Row& row : rows) {
            if (row.permission != block) {
                block = row.permission;
                const auto passes = test(*block);
                if (!passes) {
                    return false;
                }
                blockPasses = *passes;
            }
            if (blockPasses && (row.options & itemOptions_) == row.options) {
                append(row);
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
                    if (!first) {
                        out += kMenuSeparator;
                    }
                    out += words_.itemPrefix();
                    appendPiece(element);
                }
                first = false;
            }
        }
        for (const Piece& piece : row.command.view()) {
            appendPiece(piece);
        }
        out += kCommandEnd;
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

    XmlElement profile_;
    const GenerationOptions& options_;
    ItemOption itemOptions_;
    EscapedWords words_;
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
                              const Vocabulary& vocabulary, std::string_view dateText) {
    return Frame(profileNode, options, vocabulary, dateText).run();
}

void appendEscapedWord(std::string& out, std::string_view word) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (const std::string_view escape = escapeOf(word[i]); !escape.empty()) {
            out.append(word, run, i - run);
            out += escape;
            run = i + 1;
        }
    }
    out.append(word, run);
}

} // namespace tavu
