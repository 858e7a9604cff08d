#pragma once

#include "vocabulary/vocabulary.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace tavu {

// What separates the elements of a written path.
inline constexpr std::string_view kMenuSeparator = "\\ ";

// Every word and the date text escaped once per generation, and every word once
// more as a menu element ("\ ", the item prefix, the word): the same few words
// are written hundreds of times, and building them at each use was the
// generator's hottest loop.
class EscapedWords {
public:
    EscapedWords(const Vocabulary& vocabulary, std::string_view dateText);

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

} // namespace tavu
