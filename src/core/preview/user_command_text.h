#pragma once

// Reading a block of NMDC commands the way Direct Connect clients read
// "$UserCommand": cut at every "|", each piece a command or chat text.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::preview {

// Context bits: the menus a user command is shown in.
inline constexpr unsigned kHubMenu = 1;
inline constexpr unsigned kUserListMenu = 2;

// The largest type or context clients read: they read both as a signed 32-bit
// number, and a larger one overflows into a number the text does not say.
inline constexpr unsigned kMaxCommandNumber = std::numeric_limits<std::int32_t>::max();

// The types clients act on; any other type is ignored.
enum class CommandType { Separator = 0, Raw = 1, RawOnce = 2, Clear = 255 };

struct Piece {
    enum class Kind {
        Chat,         // does not begin with "$": the client shows it in main chat
        UserCommand,  // a "$UserCommand" that clients can read
        Unreadable,   // a "$UserCommand" that no client can read
        OtherCommand, // another "$" command, which adds nothing to a menu
    };
    Kind kind = Kind::Chat;
    std::size_t number = 0; // counting from 1, every "|" ending one piece
    std::size_t line = 0;   // counting from 1, where its first visible character is
    std::string_view text;  // as written, without its "|"
    bool terminated = true; // false for text after the last "|", which clients wait on for ever

    // Read from a user command; title and command are unescaped.
    int type = 0;
    unsigned context = 0;
    std::string title;
    std::string command;
    std::string problem; // why an unreadable piece cannot be read
};

// Every piece of the text in order. Empty pieces ("||") are left out but keep
// their number; white space after the last "|" (a saved file's final line break)
// is no piece at all.
std::vector<Piece> cutIntoPieces(std::string_view text);

// The menu path of a title as the client library of EiskaltDC++ reads it:
// cut at every "\", nothing trimmed, with two "\" in a row read as one "/"
// in the title instead of a cut (so that "A\\B" is the one title "A/B"), a
// tab shown as "/", and an empty last part dropped ("A\" is the item "A", an
// empty title no item at all). With a limit, the path has at most `maxLevels`
// parts, the last holding the rest of the title with its cuts written as "\".
std::vector<std::string> titlePath(std::string_view title,
                                   std::size_t maxLevels = std::numeric_limits<std::size_t>::max());
// The title cut at every "\" and nothing else, as it reads to its writer.
std::vector<std::string_view> writtenTitlePath(std::string_view title);
// The parts of a path, each quoted, with " > " between them.
std::string quotedPath(const std::vector<std::string>& path);
// The titles of the values a command prompts for ("%[line:TITLE]", the title
// running to the first "]", the next prompt looked for after it), each once,
// in order of first appearance.
std::vector<std::string> promptTitles(std::string_view command);

} // namespace tavu::preview
