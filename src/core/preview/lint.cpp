#include "preview/lint.h"

#include "base/escaping.h"
#include "base/text.h"

#include <algorithm>
#include <optional>

namespace tavu::preview {

namespace {

// Long enough to recognise a command in a message, short enough for one line.
constexpr std::size_t kExcerptCharacters = 48;

std::string excerpt(std::string_view text) {
    const std::string_view start = firstCharacters(text, kExcerptCharacters);
    return quotedText(start) + (start.size() < text.size() ? "..." : "");
}

// The start of a text already quoted.
std::string shortened(std::string_view text) {
    const std::string_view start = firstCharacters(text, kExcerptCharacters);
    return std::string(start) + (start.size() < text.size() ? "..." : "");
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

// A "%" in a command outside a "%[...]" variable: the client library of
// EiskaltDC++ sends the command through the system's date formatter.
struct StrayPercent {
    enum class Kind { Percent, DateCode, Other };
    Kind kind;
    std::string_view text; // "%%", the whole date code, or the "%" and the character after it
};

// The length of the date code at the start of the text ("%d", "%-d", "%Ey"),
// 0 when it is none: a "%", flags, a width, a modifier and a conversion.
std::size_t dateCodeLength(std::string_view text) {
    constexpr std::string_view kConversions = "aAbBcCdDeFgGhHIjklmMnpPrRsStTuUVwWxXyYzZ+";
    std::size_t at = 1;
    at = std::min(text.find_first_not_of("_-0^#", at), text.size());
    at = std::min(text.find_first_not_of("0123456789", at), text.size());
    if (at < text.size() && (text[at] == 'E' || text[at] == 'O')) {
        ++at;
    }
    return at < text.size() && kConversions.find(text[at]) != std::string_view::npos ? at + 1 : 0;
}

std::optional<StrayPercent> strayPercent(std::string_view command) {
    for (auto at = command.find('%'); at != std::string_view::npos; at = command.find('%', at + 1)) {
        const std::string_view rest = command.substr(at);
        if (rest.starts_with("%%")) {
            return StrayPercent{StrayPercent::Kind::Percent, rest.substr(0, 2)};
        }
        if (const std::size_t length = dateCodeLength(rest); length > 0) {
            return StrayPercent{StrayPercent::Kind::DateCode, rest.substr(0, length)};
        }
        if (!rest.starts_with("%[") || rest.find(']') == std::string_view::npos) {
            return StrayPercent{StrayPercent::Kind::Other, rest.substr(0, 2)};
        }
        at = command.find(']', at);
    }
    return std::nullopt;
}

std::string strayPercentDetail(std::string_view command, const StrayPercent& stray) {
    const std::string holds = "the command " + excerpt(command) + " holds " + quotedText(stray.text);
    switch (stray.kind) {
    case StrayPercent::Kind::Percent:
        return holds + ", which EiskaltDC++ sends as \"%\"";
    case StrayPercent::Kind::DateCode:
        return holds + ", a code of the date formatter, which EiskaltDC++ replaces with the date or time "
                       "of the click";
    case StrayPercent::Kind::Other:
        break;
    }
    return holds + ", a \"%\" outside a %[...] variable, which EiskaltDC++ sends as written though the "
                   "command passes through the system's date formatter";
}

// What a menu that Qt draws shows of a title: "&&" as "&", and no other "&",
// which marks the next character as the keyboard shortcut or, at the end of a
// level, nothing. Whether a lone "&" marks a character.
struct QtTitle {
    std::string shown;
    bool marksCharacter = false;
};

QtTitle qtTitle(std::string_view title) {
    QtTitle qt;
    for (std::size_t at = 0; at < title.size(); ++at) {
        if (title[at] != '&') {
            qt.shown += title[at];
        } else if (at + 1 < title.size() && title[at + 1] == '&') {
            qt.shown += '&';
            ++at;
        } else if (at + 1 < title.size() && title[at + 1] != '\\') {
            qt.marksCharacter = true;
        }
    }
    return qt;
}

std::string ampersandDetail(std::string_view title) {
    const QtTitle qt = qtTitle(title);
    if (qt.marksCharacter) {
        return "the \"&\" in the title " + quotedText(title) +
               " is shown as a keyboard-shortcut marker, not as \"&\"";
    }
    return "clients whose menus Qt draws, such as EiskaltDC++, show the title " + quotedText(title) + " as " +
           quotedText(qt.shown) + ": \"&&\" stands for \"&\", and a \"&\" at the end of a level is not shown";
}

// Why EiskaltDC++ reads the title into another path than its "\\" say.
std::string readOtherwiseBecause(std::string_view title) {
    std::vector<std::string_view> reasons;
    if (title.find("\\\\") != std::string_view::npos) {
        reasons.emplace_back("two \"\\\" in a row stand for a \"/\"");
    }
    if (title.find("\\/") != std::string_view::npos) {
        reasons.emplace_back("\"\\/\" reads as \"/\\\"");
    }
    if (title.find('\t') != std::string_view::npos) {
        reasons.emplace_back("a tab is shown as \"/\"");
    }
    if (title.ends_with('\\')) {
        reasons.emplace_back("a \"\\\" at the end adds no level");
    }
    std::string because;
    for (std::string_view reason : reasons) {
        because += (because.empty() ? ": " : ", ") + std::string(reason);
    }
    return because;
}

// A title whose path, as EiskaltDC++ reads it, is not the one its "\\" say.
std::optional<std::string> titleReadOtherwise(std::string_view title) {
    const std::vector<std::string> path = titlePath(title);
    const std::vector<std::string_view> written = writtenTitlePath(title);
    if (std::equal(path.begin(), path.end(), written.begin(), written.end())) {
        return std::nullopt;
    }
    if (path.empty()) {
        return "the title is empty, and EiskaltDC++ makes no item of it";
    }
    return "EiskaltDC++ reads the title " + excerpt(title) + " as " + shortened(quotedPath(path)) +
           readOtherwiseBecause(title);
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

void lintMenuItem(const Piece& piece, std::vector<Finding>& findings) {
    if (const std::size_t levels = titlePath(piece.title).size(); levels > kMaxMenuDepth) {
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
    if (auto otherwise = titleReadOtherwise(piece.title)) {
        findings.push_back(finding(Finding::Kind::TitleReadOtherwise, piece, std::move(*otherwise)));
    }
    if (piece.title.find('&') != std::string::npos) {
        findings.push_back(finding(Finding::Kind::Ampersand, piece, ampersandDetail(piece.title)));
    }
    if (const auto stray = strayPercent(piece.command)) {
        findings.push_back(
            finding(Finding::Kind::StrayPercent, piece, strayPercentDetail(piece.command, *stray)));
    }
}

// What clients do on a protocol command from the hub, for those that change
// more than the menus; the name as it starts the piece, "$To:" with its colon.
struct CommandEffect {
    std::string_view name;
    std::string_view effect;
};

constexpr CommandEffect kCommandEffects[] = {
    {"$ForceMove", "redirects the client to another hub"},
    {"$OpForceMove", "is an operator's command to the hub, which clients ignore"},
    {"$ConnectToMe", "makes the client connect out to an address"},
    {"$RevConnectToMe", "makes the client offer a connection to another user"},
    {"$Search", "makes the client answer searches with what it shares"},
    {"$SR", "shows the client a search result"},
    {"$To:", "shows the client a private message"},
    {"$Kick", "is an operator's command to the hub, which clients ignore"},
    {"$Quit", "takes a user off the client's user list"},
    {"$Hello", "puts a user on the client's user list"},
    {"$MyINFO", "puts a user on the client's user list or changes one"},
    {"$NickList", "puts users on the client's user list"},
    {"$OpList", "marks users as operators in the client's user list"},
    {"$HubName", "renames the hub in the client"},
    {"$Lock", "makes the client log in again"},
    {"$GetPass", "makes the client send its password for the hub"},
    {"$BadPass", "tells the client its password is wrong"},
    {"$ValidateDenide", "tells the client its nick is refused"},
    {"$HubIsFull", "tells the client the hub is full"},
    {"$Supports", "changes the protocol extensions the client uses"},
    {"$ZOn", "makes the client read what follows as compressed"},
};

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
        findings.push_back(finding(Finding::Kind::OtherCommand, piece, otherCommandDetail(piece.text)));
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

std::string otherCommandDetail(std::string_view text) {
    const std::string_view name = text.substr(0, text.find_first_of(" |"));
    const auto known = std::find_if(std::begin(kCommandEffects), std::end(kCommandEffects),
                                    [&](const CommandEffect& command) { return command.name == name; });
    return excerpt(name) + " " +
           std::string(known == std::end(kCommandEffects)
                           ? "is a protocol command that adds nothing to the menus"
                           : known->effect);
}

std::string describe(const Finding& finding) {
    return "piece " + std::to_string(finding.piece) + ", line " + std::to_string(finding.line) + ": " +
           finding.detail;
}

} // namespace tavu::preview
