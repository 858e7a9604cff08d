#include "generator/catalogue.h"
#include "source_file.h"
#include "vocabulary/vocabulary.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

namespace tavu::test {
namespace {

using catalogue::Piece;

// How a word shows in the menu: a submenu's title, an item's title, the title
// of a prompt an item asks, or a value an item sends as it stands.
enum class Role { Submenu, Item, Prompt, Value };
constexpr std::array<std::string_view, 4> kRoleTexts{"submenu in", "item in", "prompt of an item in",
                                                     "value of an item in"};

struct Place {
    Role role;
    std::string where; // the English path of the submenu that holds the word or its item
    bool operator==(const Place&) const = default;
};

std::string englishText(const Piece& piece) {
    return piece.source == Piece::Source::Vocabulary ? Vocabulary{}.text(piece.word)
                                                     : std::string(piece.literal);
}

// The first `count` elements of a path in English, "Hub control › Limits".
std::string englishPath(std::span<const Piece> path, std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += (i == 0 ? "" : " › ") + englishText(path[i]);
    }
    return text.empty() ? "the top" : text;
}

bool asksPrompt(const Piece& before) {
    return before.source == Piece::Source::Literal && before.literal.ends_with("%[line:");
}

// Every place of every word, each once, in the order of the menu.
std::array<std::vector<Place>, kWordCount> placesOfWords() {
    std::array<std::vector<Place>, kWordCount> places;
    const auto add = [&](Word word, Place place) {
        auto& list = places[static_cast<std::size_t>(word)];
        if (std::find(list.begin(), list.end(), place) == list.end()) {
            list.push_back(std::move(place));
        }
    };
    for (const auto& group :
         {catalogue::topLevelRows(), catalogue::firstMiscellaneousRows(), catalogue::informationRows(),
          catalogue::hubControlRows(), catalogue::accountsRows(), catalogue::userControlRows(),
          catalogue::secondMiscellaneousRows()}) {
        for (const catalogue::Row& row : group) {
            const auto path = row.path.view();
            for (std::size_t i = 0; i < path.size(); ++i) {
                if (path[i].source == Piece::Source::Vocabulary) {
                    add(path[i].word,
                        {i + 1 < path.size() ? Role::Submenu : Role::Item, englishPath(path, i)});
                }
            }
            const auto command = row.command.view();
            for (std::size_t i = 0; i < command.size(); ++i) {
                if (command[i].source == Piece::Source::Vocabulary) {
                    add(command[i].word, {i > 0 && asksPrompt(command[i - 1]) ? Role::Prompt : Role::Value,
                                          englishPath(path, path.size() - 1)});
                }
            }
        }
    }
    return places;
}

// The words the frame writes around the catalogue's rows.
std::string_view frameWordPlace(Word word) {
    switch (word) {
    case Word::wStartWith:
        return "the item prefix, before every title";
    case Word::wBotMessage:
        return "the bot's message in the main chat, when Message is on";
    default:
        return {};
    }
}

// The table of docs/translating.md: every key, its English text, and where it
// shows, grouped by role.
std::string wordPlacesTable() {
    std::string table = "| key | English | where it shows |\n|---|---|---|\n";
    const auto places = placesOfWords();
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        std::string where(frameWordPlace(word));
        for (std::size_t role = 0; role < kRoleTexts.size(); ++role) {
            std::string paths;
            for (const Place& place : places[i]) {
                if (place.role == static_cast<Role>(role)) {
                    paths += (paths.empty() ? "" : "; ") + place.where;
                }
            }
            if (!paths.empty()) {
                where += (where.empty() ? "" : "<br>") + std::string(kRoleTexts[role]) + ": " + paths;
            }
        }
        EXPECT_NE(where, "") << wordKey(word) << " shows nowhere";
        table += "| `" + std::string(wordKey(word)) + "` | " + std::string(defaultText(word)) + " | " +
                 where + " |\n";
    }
    return table;
}

// The text between two marker lines of a document.
std::string between(const std::string& text, std::string_view start, std::string_view end) {
    const auto from = text.find(start);
    const auto to = text.find(end);
    if (from == std::string::npos || to == std::string::npos || to < from) {
        ADD_FAILURE() << "no \"" << start << "\" before \"" << end << "\"";
        return {};
    }
    return text.substr(from + start.size(), to - from - start.size());
}

// The translator's guide shows each word where the menu shows it: its table is
// the one made from the catalogue, and a failure shows the lines that differ.
TEST(TranslatingGuide, ShowsEveryWordWhereTheMenuShowsIt) {
    const std::string guide = sourceFileText("docs/translating.md");
    EXPECT_EQ(between(guide, "<!-- word places: begin -->\n", "<!-- word places: end -->"),
              wordPlacesTable());
}

} // namespace
} // namespace tavu::test
