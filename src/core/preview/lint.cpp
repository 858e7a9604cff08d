#include "preview/lint.h"

#include "formats/text.h"

#include <algorithm>
#include <optional>

namespace tavu::preview {

namespace {

// Long enough to recognise a command in a message, short enough for one line.
constexpr std::size_t kExcerptCharacters = 48;

std::string excerpt(std::string_view text) {
    const std::string_view start = firstCharacters(text, kExcerptCharacters);
    return quoted(start) + (start.size() < text.size() ? "..." : "");
}

Finding finding(Finding::Kind kind, const Piece& piece, std::string detail) {
    return Finding{kind, piece.number, piece.line, std::move(detail)};
}

// Chat text that is a command but for white space or a byte-order mark in front
// of it, as when the commands of a block are put one a line, or when an editor
// saves the block with a byte-order mark. Clients show white space and the mark
// alike, but only the mark is invisible in an editor, so it is an error.
std::optional<Finding> commandShownAsChat(const Piece& piece) {
    constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
    std::size_t visible = 0;
    bool byteOrderMark = false;
    for (;;) {
        visible = piece.text.find_first_not_of(" \t\r\n", visible);
        if (visible == std::string_view::npos || !piece.text.substr(visible).starts_with(kByteOrderMark)) {
            break;
        }
        byteOrderMark = true;
        visible += kByteOrderMark.size();
    }
    if (visible == 0 || visible == std::string_view::npos || piece.text[visible] != '$') {
        return std::nullopt;
    }
    const std::string shown = excerpt(piece.text.substr(visible));
    if (byteOrderMark) {
        return finding(Finding::Kind::Unreadable, piece,
                       "a byte-order mark (EF BB BF) stands before " + shown +
                           ", so clients show the piece as chat text; save the file without one");
    }
    const std::string_view lead = piece.text.substr(0, visible);
    const bool lineBreak = lead.find_first_of("\r\n") != std::string_view::npos;
    return finding(Finding::Kind::CommandShownAsChat, piece,
                   std::string(lineBreak ? "a line break" : "white space") + " stands before " + shown +
                       ", so clients show the piece as chat text");
}

// The first "%" that does not open a "%[...]" variable, with the character after it.
std::optional<std::string_view> strayPercent(std::string_view command) {
    for (auto at = command.find('%'); at != std::string_view::npos; at = command.find('%', at + 1)) {
        const bool opensVariable = at + 1 < command.size() && command[at + 1] == '[' &&
                                   command.find(']', at) != std::string_view::npos;
        if (!opensVariable) {
            return command.substr(at, 2);
        }
        at = command.find(']', at);
    }
    return std::nullopt;
}

// A prompt that a "]" in its title ended early, and the text after it up to
// the first "]" that closes no %[...] variable.
struct CutPrompt {
    std::string_view title;    // as clients read it, up to the "]" that ended it
    std::string_view leftOver; // the rest of the title and the "]" that was meant to end it
};

// The generator writes a prompt as "%[line:", the title and "]". A "]" in the
// title ends the prompt there, and the "]" meant to end it is left over: it
// closes no variable, as a "%[" opens a variable that runs to the next "]".
// Commands written by hand rarely hold a lone "]" after a prompt. A title whose
// left-over part itself reads as a whole variable ("a]%[b") cannot be told
// from two variables written on purpose, and is not found.
std::optional<CutPrompt> promptCutShort(std::string_view command) {
    constexpr std::string_view kVariable = "%[";
    constexpr std::string_view kLinePrompt = "%[line:";
    std::optional<CutPrompt> lastPrompt;
    std::size_t afterLastPrompt = 0;
    for (std::size_t at = 0; at < command.size();) {
        if (command.substr(at).starts_with(kVariable)) {
            const auto end = command.find(']', at);
            if (end == std::string_view::npos) {
                return std::nullopt;
            }
            if (command.substr(at).starts_with(kLinePrompt)) {
                const std::size_t title = at + kLinePrompt.size();
                lastPrompt = CutPrompt{command.substr(title, end - title), {}};
                afterLastPrompt = end + 1;
            }
            at = end + 1;
        } else if (command[at] == ']' && lastPrompt) {
            lastPrompt->leftOver = command.substr(afterLastPrompt, at + 1 - afterLastPrompt);
            return lastPrompt;
        } else {
            ++at;
        }
    }
    return std::nullopt;
}

std::size_t menuLevels(std::string_view title) {
    return static_cast<std::size_t>(std::count(title.begin(), title.end(), '\\')) + 1;
}

void lintMenuItem(const Piece& piece, std::vector<Finding>& findings) {
    if (const std::size_t levels = menuLevels(piece.title); levels > kMaxMenuDepth) {
        findings.push_back(
            finding(Finding::Kind::TooDeep, piece,
                    "the item " + excerpt(piece.title) + " is nested " + std::to_string(levels) +
                        " levels deep; the preview shows it at level " + std::to_string(kMaxMenuDepth) +
                        ", with the deeper levels left in its title"));
    }
    if (const auto cut = promptCutShort(piece.command)) {
        findings.push_back(
            finding(Finding::Kind::PromptCutShort, piece,
                    "the prompt " + excerpt(cut->title) + " is followed by " + excerpt(cut->leftOver) +
                        ", whose \"]\" closes no %[...] variable: a \"]\" in the prompt's title "
                        "ends the prompt early, and clients send the rest of the title with the "
                        "command"));
    }
    if (piece.title.find('&') != std::string::npos) {
        findings.push_back(finding(Finding::Kind::Ampersand, piece,
                                   "the \"&\" in the title " + quoted(piece.title) +
                                       " is shown as a keyboard-shortcut marker, not as \"&\""));
    }
    if (const auto stray = strayPercent(piece.command)) {
        findings.push_back(finding(Finding::Kind::StrayPercent, piece,
                                   "the command " + excerpt(piece.command) + " holds " + quoted(*stray) +
                                       ", a \"%\" outside a %[...] variable, which clients may replace"));
    }
}

bool isKnownType(int type) {
    return type == static_cast<int>(CommandType::Separator) || type == static_cast<int>(CommandType::Raw) ||
           type == static_cast<int>(CommandType::RawOnce) || type == static_cast<int>(CommandType::Clear);
}

} // namespace

std::vector<Finding> lintPiece(const Piece& piece) {
    std::vector<Finding> findings;
    if (!piece.terminated) {
        findings.push_back(finding(Finding::Kind::Unterminated, piece,
                                   "no \"|\" ends " + excerpt(piece.text) + ", so clients never read it"));
    }
    switch (piece.kind) {
    case Piece::Kind::Chat:
        if (auto shownAsChat = commandShownAsChat(piece)) {
            findings.push_back(std::move(*shownAsChat));
        }
        break;
    case Piece::Kind::Unreadable:
        findings.push_back(finding(Finding::Kind::Unreadable, piece,
                                   "no client can read " + excerpt(piece.text) + ": " + piece.problem));
        break;
    case Piece::Kind::OtherCommand:
        findings.push_back(finding(Finding::Kind::OtherCommand, piece,
                                   excerpt(piece.text.substr(0, piece.text.find(' '))) +
                                       " is not a $UserCommand and adds nothing to the menus"));
        break;
    case Piece::Kind::UserCommand:
        if (!isKnownType(piece.type)) {
            findings.push_back(finding(Finding::Kind::UnknownType, piece,
                                       "clients ignore " + excerpt(piece.text) + ": type " +
                                           std::to_string(piece.type) + " is none of 0, 1, 2 and 255"));
        } else if (piece.type == static_cast<int>(CommandType::Raw) ||
                   piece.type == static_cast<int>(CommandType::RawOnce)) {
            lintMenuItem(piece, findings);
        }
        break;
    }
    return findings;
}

std::string describe(const Finding& finding) {
    return "piece " + std::to_string(finding.piece) + ", line " + std::to_string(finding.line) + ": " +
           finding.detail;
}

} // namespace tavu::preview
