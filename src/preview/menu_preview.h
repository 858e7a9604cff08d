#pragma once

// The menus a Direct Connect client builds from a block of user commands, and
// the problems in the block, for the command line and for a preview window.

#include "preview/user_command_text.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tavu::preview {

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
        Duplicate,          // same title path and context as an earlier item, which clients drop
        Ampersand,          // "&" in a title, shown as a keyboard-shortcut marker
        StrayPercent,       // "%" in a command outside a "%[...]" variable
        UnknownType,        // a type that clients ignore
        OtherCommand,       // a "$" command that is not a user command
    };
    Kind kind;
    std::size_t piece = 0;
    std::size_t line = 0;
    std::string detail; // one sentence, naming what was found

    // Whether no client can read the piece at all.
    bool isUnreadable() const { return kind == Kind::Unreadable || kind == Kind::Unterminated; }
};

struct MenuPreview {
    std::vector<MenuNode> hubMenu;      // context bit 1
    std::vector<MenuNode> userListMenu; // context bit 2
    std::vector<ChatText> chat;         // pieces shown as chat text, in order
    std::vector<Finding> findings;      // in the order of their pieces

    bool hasUnreadablePiece() const;
};

// Reads the text as clients read "$UserCommand": later clears remove earlier
// commands that share a context bit, a later item replaces an earlier one with
// the same title and context, submenus of the same title at one level are one
// submenu, and a separator goes into the menu the previous item went into.
MenuPreview previewUserCommands(std::string_view text);

} // namespace tavu::preview
