#pragma once

// The menus a Direct Connect client builds from a block of user commands, and
// the problems in the block, for the command line and for a preview window.

#include "preview/client_family.h"
#include "preview/user_command_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::preview {

// The deepest level the preview builds: an item lies at most this many menus
// deep, under one fewer submenus. A client opens each level as a popup beside
// the last, so a menu far shallower than this is already off the screen; the
// generator writes at most 5 levels. The limit bounds the preview's nesting,
// and with it the stack its printing, its window and its destruction take, and
// the indentation of every line it prints (a path of thousands of levels would
// otherwise print text growing with the square of its depth).
inline constexpr std::size_t kMaxMenuDepth = 32;

struct MenuNode {
    enum class Kind { Submenu, Item, Separator };
    Kind kind = Kind::Item;
    std::string title;                // as the client shows it; empty for a separator
    std::string command;              // an item's command as the client sends it, unescaped
    std::vector<std::string> prompts; // an item's prompt titles, each once
    std::size_t piece = 0;            // the piece that made an item or a separator
    std::vector<MenuNode> children;   // a submenu's entries in order
};

struct ChatText {
    std::size_t piece = 0;
    std::string text;
};

struct Finding {
    enum class Kind {
        Unreadable,         // a "$UserCommand" no client can read
        Unterminated,       // text after the last "|", never read
        CommandShownAsChat, // white space, usually a line break, before a "$"
        Duplicate,          // same title path as an earlier item of the same menu, or a command that
                            // DC++ and AirDC++ put in an earlier one's place
        Ampersand,          // "&" in a title, shown as a keyboard-shortcut marker
        StrayPercent,       // "%" in a command outside a "%[...]" variable
        TitleReadOtherwise, // a title whose "\", "/" or tab make another path than its "\" say
        HiddenSeparator,    // a separator first in a menu, after another or last, which Qt does not draw
        SubmenuCase,        // a submenu whose title differs from another's beside it only in case
        UnknownType,        // a type that clients ignore
        OtherCommand,       // a "$" command that is not a user command
        TooDeep,            // an item deeper than kMaxMenuDepth, shown at that depth
        PromptCutShort,     // a "]" in a prompt's title ended the prompt early
        PastLimit,          // the first command past the number a client keeps from a hub
    };
    Kind kind;
    std::size_t piece = 0;
    std::size_t line = 0;
    std::string detail; // one sentence, naming what was found

    // Whether no client can read the piece at all.
    bool isUnreadable() const { return kind == Kind::Unreadable || kind == Kind::Unterminated; }
    // Whether clients cannot use the piece as written: they cannot read it, or
    // they send the hub something other than what it says. The rest are warnings.
    bool isError() const { return isUnreadable() || kind == Kind::PromptCutShort; }
};

struct MenuPreview {
    ClientFamily family = ClientFamily::EiskaltDc; // whose menus these are
    std::vector<MenuNode> hubMenu;                 // context bit 1
    std::vector<MenuNode> userListMenu;            // context bit 2
    std::vector<ChatText> chat;                    // pieces shown as chat text, in order
    std::vector<Finding> findings;                 // in the order of their pieces

    // Whether any finding is an error (Finding::isError).
    bool hasError() const;
};

// Reads the text as clients read "$UserCommand" and builds the menus that
// `family` shows; the findings name each family of `reported` where the
// families differ. After the client library of EiskaltDC++: later clears
// remove earlier commands that share a context bit, an item whose title path
// repeats an earlier one is shown beside it, titles are read into paths by
// titlePath, submenus of the same title (case counts) at one level are one
// submenu, and a separator goes into the menu the previous item went into.
// DC++ and AirDC++ read and clear alike, but a command of the same title,
// context and type as one they hold replaces that one's command in its place
// (so only the first separator of a context stays until a clear), they keep
// at most commandLimit commands and drop the rest, and submenus whose titles
// differ only in case are one submenu.
// Items deeper than kMaxMenuDepth are built at that depth, the deeper levels
// of their path left in their title. The work grows as n log n at most.
MenuPreview previewUserCommands(std::string_view text, ClientFamily family = ClientFamily::EiskaltDc,
                                ClientFamilies reported = kEveryFamily);

} // namespace tavu::preview
