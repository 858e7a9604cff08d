#include "vocabulary/vocabulary.h"

#include "base/text.h"
#include "formats/ini_file.h"

namespace tavu {

namespace {

constexpr std::array<WordEntry, kWordCount> kWordTable{{
#define TAVU_WORD_ENTRY(key, defaultText) {#key, defaultText},
    TAVU_WORDS(TAVU_WORD_ENTRY)
#undef TAVU_WORD_ENTRY
}};

constexpr std::string_view kNoBreakSpace = "\xC2\xA0";

} // namespace

const std::array<WordEntry, kWordCount>& wordTable() {
    return kWordTable;
}

std::string_view wordKey(Word word) {
    return kWordTable[static_cast<std::size_t>(word)].key;
}

std::string_view defaultText(Word word) {
    return kWordTable[static_cast<std::size_t>(word)].defaultText;
}

std::optional<Word> wordByKey(std::string_view key) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        if (equalsIgnoringAsciiCase(kWordTable[i].key, key)) {
            return static_cast<Word>(i);
        }
    }
    return std::nullopt;
}

Vocabulary::Vocabulary() {
    resetToDefaults();
}

void Vocabulary::resetToDefaults() {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        texts_[i] = std::string(kWordTable[i].defaultText);
    }
}

void Vocabulary::normaliseItemPrefix() {
    std::string& prefix = texts_[static_cast<std::size_t>(Word::wStartWith)];
    std::string normalised;
    normalised.reserve(prefix.size() * 2);
    for (char c : prefix) {
        if (c == ' ') {
            normalised += kNoBreakSpace;
        } else {
            normalised += c;
        }
    }
    prefix = std::move(normalised);
}

void readStringsSection(Vocabulary& vocabulary, const IniFile& file) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        if (auto value = file.value(kStringsSection, wordKey(word))) {
            vocabulary.setText(word, std::move(*value));
        }
    }
}

void writeStringsSection(const Vocabulary& vocabulary, IniFile& file) {
    std::vector<IniFile::Entry> entries;
    entries.reserve(kWordCount);
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        entries.push_back({std::string(wordKey(word)), vocabulary.text(word)});
    }
    file.replaceSection(kStringsSection, entries);
}

} // namespace tavu
