#pragma once

#include "formats/xml.h"
#include "generator/options.h"
#include "vocabulary/vocabulary.h"

#include <optional>
#include <string>
#include <string_view>

namespace tavu {

// Why a generation stopped before its end.
struct GenerationStop {
    std::string element; // the permission element, "Section/Group/Key"; empty when no profile
    std::string text;    // the text that could not be read
    std::string description() const;
};

struct [[nodiscard]] Generation {
    std::string text;                   // every command appended, up to the stop if any
    std::optional<GenerationStop> stop; // empty when the generation ran to its end
};

inline constexpr std::string_view kClearCommand = "$UserCommand 255 3|";

// Appends a word's text with every character that could break a command ("$",
// "|", "&") escaped as clients unescape it, so that clients show or send it
// exactly as typed.
void appendEscapedWord(std::string& out, std::string_view word);

// Writes the user commands for one profile: the clear command, the menu groups
// in their fixed order, and the bot message, as the options say. A permission
// whose text cannot be read stops the generation; what was written before it is
// kept. Every vocabulary word is written with "$", "|" and "&" escaped, so no
// word can break a command, even by spelling an escape.
Generation CreateUserCommands(XmlElement profileNode, const GenerationOptions& options,
                              const Vocabulary& vocabulary, std::string_view dateText);

} // namespace tavu
