#pragma once

// Text written so that it can do no harm where it goes: into a command that
// Direct Connect clients read (the escapes they turn back into "$", "|" and
// "&"), and onto a terminal or into a message (control characters written
// visibly, names quoted).

#include <string>
#include <string_view>

namespace tavu {

// Appends the text with "$", "|" and "&" escaped, so that clients send it
// exactly as typed and it can break no command, even by spelling an escape.
void appendEscaped(std::string& out, std::string_view text);
// "&#36;", "&#124;" and "&amp;" replaced, one after the other, as clients do.
std::string unescapeCommandText(std::string_view text);

// The text with every character that could act on a terminal or reorder or
// break a line written visibly: C0 controls and DEL as \n, \r, \t or \xHH;
// C1 controls, the line and paragraph separators and the bidirectional
// controls as \u{XXXX}; a byte that is not UTF-8 as \xHH. Each ASCII character
// of `backslashed` is written with a backslash before it, and each of `kept`
// (line breaks in a message of several lines) as it is.
std::string escapedControls(std::string_view text, std::string_view backslashed, std::string_view kept = {});

// The text in double quotes, with quotes, backslashes and control characters
// escaped (escapedControls), so that white space at either end and line breaks
// stay visible.
std::string quotedText(std::string_view text);

} // namespace tavu
