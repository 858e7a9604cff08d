#pragma once

#include "command.h"

#include <span>
#include <string>
#include <string_view>

namespace tavu::cli {

// The help of every command, then what they share: the findings and the exit
// statuses.
std::string fullHelp(std::span<const Command* const> commands);

// The help of one command only.
std::string commandHelp(const Command& command);

// The findings that tree and check print.
inline constexpr std::string_view kFindingsHelp =
    R"~(Findings of tree and check, one a line: FILE:LINE: severity: message (piece N),
LINE the block's line and N its piece (counted by "|"), both from 1.
  error    a piece that no client can read: a $UserCommand of type 1 or 2
           without a space after the context or without a "$" before the
           command, or text after the last "|"; a "]" inside a %[line:...]
           prompt, which ends the prompt early and sends the rest to the hub
  warning  a menu nested deeper than 32 levels (drawn at level 32), a line
           break or space before a command (clients show it as chat text), two
           items with the same title path in one menu (both shown), a title
           read into another path ("\\" for "/", a tab, a "\" at the end, an
           empty title), submenus differing only in case, a separator first,
           after another or last (not drawn by Qt), a "&" in a title (shown as
           a keyboard-shortcut marker), a "%" in a command outside a %[...]
           variable, a type other than 0, 1, 2 and 255, a "$" command other
           than $UserCommand
)~";

} // namespace tavu::cli
