#pragma once

// The catalogue: every menu item the generator can write, as rows of data in
// emission order, one source per menu group. Only the frame walks the rows.

#include "vocabulary/words.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>

namespace tavu::catalogue {

enum class Test : std::uint8_t {
    Enable, // attribute "enable" reads as Boolean true
    Value,  // the element's text reads as a number greater than 0
};

// A permission element below the profile node, "Section/Group/Key", with its test.
// Consecutive rows that name the same Permission object form one block: its test
// is made once, before any of its rows is looked at, whatever the options.
struct Permission {
    std::string_view path;
    Test test;
    // Non-empty for a block admitted by the first of several elements that
    // passes, tested in this order; `path` is then left empty.
    std::span<const Permission> firstPassingOf{};
};

// Item options: the main window's check boxes that add kinds of items.
enum ItemOption : std::uint8_t {
    None = 0,
    Selected = 1 << 0, // "For selected user"
    Any = 1 << 1,      // "For any user"
    Offsets = 1 << 2,  // "Offsets"
    Fast = 1 << 3,     // "Fast user control"
};
constexpr ItemOption operator|(ItemOption a, ItemOption b) {
    return static_cast<ItemOption>(static_cast<unsigned>(a) | static_cast<unsigned>(b));
}

// The type and context written after "$UserCommand ".
enum class Kind : std::uint8_t {
    K1_3,      // raw command, hub menu and user-list menu
    K1_2,      // raw command, user-list menu only
    Separator, // the row's command is written as it stands
};
using enum Kind;

// The date text of the generation, as a command piece.
struct DateTextTag {};
inline constexpr DateTextTag DateText{};

// A path element or command piece: a vocabulary word, a fixed literal, or the date text.
struct Piece {
    enum class Source : std::uint8_t { Literal, Vocabulary, Date };
    Source source;
    std::string_view literal{};
    Word word{};

    constexpr Piece() : source(Source::Literal) {}
    constexpr Piece(const char* text) : source(Source::Literal), literal(text) {}
    constexpr Piece(Word w) : source(Source::Vocabulary), word(w) {}
    constexpr Piece(DateTextTag) : source(Source::Date) {}
};

// A short list of pieces with a fixed capacity, so that rows stay constexpr.
template <std::size_t Capacity>
struct Pieces {
    Piece items[Capacity]{};
    std::uint8_t count = 0;

    constexpr Pieces() = default;
    constexpr Pieces(std::initializer_list<Piece> list) {
        for (const Piece& piece : list) {
            items[count++] = piece;
        }
    }
    constexpr std::span<const Piece> view() const { return {items, count}; }
};

inline constexpr std::size_t kMaxPathElements = 5;
inline constexpr std::size_t kMaxCommandPieces = 11;

// One row of the catalogue: emitted when its block's test passes and every
// option it names is on.
struct Row {
    const Permission* permission;
    ItemOption options;
    Kind kind;
    Pieces<kMaxPathElements> path;
    Pieces<kMaxCommandPieces> command;
};

// The groups, each in its own source.
std::span<const Row> topLevelRows();
std::span<const Row> firstMiscellaneousRows();
std::span<const Row> informationRows();
std::span<const Row> hubControlRows();
std::span<const Row> accountsRows();
std::span<const Row> userControlRows();
std::span<const Row> secondMiscellaneousRows();

} // namespace tavu::catalogue
