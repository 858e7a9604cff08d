#include "preview/lint.h"

#include "platform/text.h"

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

// Chat text that is a command but for white space in front of it, as when the
// commands of a block are put one a line.
std::optional<Finding> commandShownAsChat(const Piece& piece) {
    const auto visible = piece.text.find_first_not_of(" \t\r\n");
    if (visible == 0 || visible == std::string_view::npos || piece.text[visible] != '$') {
        return std::nullopt;
    }
    const std::string_view lead = piece.text.substr(0, visible);
    const bool lineBreak = lead.find_first_of("\r\n") != std::string_view::npos;
    return finding(Finding::Kind::CommandShownAsChat, piece,
                   std::string(lineBreak ? "a line break" : "white space") + " stands before " +
                       excerpt(piece.text.substr(visible)) + ", so clients show the piece as chat text");
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

void lintMenuItem(const Piece& piece, std::vector<Finding>& findings) {
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
