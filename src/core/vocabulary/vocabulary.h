#pragma once

#include "vocabulary/words.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace tavu {

class IniFile;

struct WordEntry {
    std::string_view key;
    std::string_view defaultText;
};

// The key and English default of every word, in canonical order.
const std::array<WordEntry, kWordCount>& wordTable();

std::string_view wordKey(Word word);
std::string_view defaultText(Word word);
// Keys match without regard to ASCII letter case, as in the settings file.
std::optional<Word> wordByKey(std::string_view key);

inline constexpr std::string_view kStringsSection = "Strings";

// The current texts of every word: one store for the whole run.
class Vocabulary {
public:
    Vocabulary();

    const std::string& text(Word word) const { return texts_[static_cast<std::size_t>(word)]; }
    void setText(Word word, std::string text) { texts_[static_cast<std::size_t>(word)] = std::move(text); }

    void resetToDefaults();
    // Every ordinary space of the item prefix becomes a no-break space, so that
    // clients do not trim it away.
    void normaliseItemPrefix();

    bool operator==(const Vocabulary&) const = default;

private:
    std::array<std::string, kWordCount> texts_;
};

// Reads the section "Strings": a key that is present sets its word, even to an
// empty text; an absent key leaves the word as it is. Nothing is filtered.
void readStringsSection(Vocabulary& vocabulary, const IniFile& file);
// Erases the section "Strings" and writes every word anew, in canonical order.
void writeStringsSection(const Vocabulary& vocabulary, IniFile& file);

// "]" ends the prompt ("%[line:" ... "]") a word may stand in, so that clients
// send the rest of the word with the command.
inline constexpr std::string_view kPromptEnd = "]";
// What no word of a language file may hold: the end of a prompt, "|", which
// ends an NMDC command, "$", which starts one, and "%[", which starts a
// variable the client fills in.
inline constexpr std::array<std::string_view, 4> kForbiddenInWords = {kPromptEnd, "|", "$", "%["};

// "|" ends an NMDC command and "$" starts one, so neither may be typed into a word.
constexpr bool isAcceptedWordCharacter(char32_t c) {
    return c != U'|' && c != U'$';
}

} // namespace tavu
