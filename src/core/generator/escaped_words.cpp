#include "generator/escaped_words.h"

#include "base/escaping.h"

namespace tavu {

EscapedWords::EscapedWords(const Vocabulary& vocabulary, std::string_view dateText) {
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

} // namespace tavu
