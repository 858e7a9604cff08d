#include "preview/user_command_text.h"

#include "base/escaping.h"
#include "base/text.h"

#include <algorithm>
#include <optional>
#include <set>

namespace tavu::preview {

namespace {

constexpr std::string_view kUserCommand = "$UserCommand";
constexpr std::string_view kWhiteSpace = " \t\r\n";
constexpr std::string_view kLinePrompt = "%[line:";

void markUnreadable(Piece& piece, std::string problem) {
    piece.kind = Piece::Kind::Unreadable;
    piece.problem = std::move(problem);
}

// The leading digits as a number, 0 when there are none, as clients read numbers;
// none when the number is past what clients can read (kMaxCommandNumber).
std::optional<unsigned> leadingNumber(std::string_view text) {
    unsigned number = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            break;
        }
        const auto digit = static_cast<unsigned>(c - '0');
        if (number > (kMaxCommandNumber - digit) / 10) {
            return std::nullopt;
        }
        number = number * 10 + digit;
    }
    return number;
}

// Reads the number in front of `text` into `number`; marks the piece
// unreadable when it is too large.
bool readNumber(Piece& piece, std::string_view text, std::string_view what, unsigned& number) {
    const auto read = leadingNumber(text);
    if (!read) {
        markUnreadable(piece, "the " + std::string(what) + " is larger than " +
                                  std::to_string(kMaxCommandNumber) + ", the largest number clients read");
        return false;
    }
    number = *read;
    return true;
}

bool isUserCommand(std::string_view text) {
    return text.starts_with(kUserCommand) &&
           (text.size() == kUserCommand.size() || text[kUserCommand.size()] == ' ');
}

// Type 1 and 2: the context, a space, the title up to the first "$", the command.
void readRawCommand(Piece& piece, std::string_view afterType) {
    const auto space = afterType.find(' ');
    if (space == std::string_view::npos) {
        markUnreadable(piece, "no space after the context, so there is no title");
        return;
    }
    if (!readNumber(piece, afterType, "context", piece.context)) {
        return;
    }
    const std::string_view titleAndCommand = afterType.substr(space + 1);
    const auto dollar = titleAndCommand.find('$');
    if (dollar == std::string_view::npos) {
        markUnreadable(piece, "no \"$\" between the title and the command");
        return;
    }
    piece.title = unescapeCommandText(titleAndCommand.substr(0, dollar));
    piece.command = unescapeCommandText(titleAndCommand.substr(dollar + 1));
}

void readUserCommand(Piece& piece) {
    piece.kind = Piece::Kind::UserCommand;
    const std::string_view parameters =
        piece.text.substr(std::min(piece.text.size(), kUserCommand.size() + 1));
    const auto space = parameters.find(' ');
    if (space == std::string_view::npos) {
        markUnreadable(piece, "no space after the type");
        return;
    }
    unsigned type = 0;
    if (!readNumber(piece, parameters, "type", type)) {
        return;
    }
    piece.type = static_cast<int>(type);
    const std::string_view afterType = parameters.substr(space + 1);
    if (piece.type == static_cast<int>(CommandType::Raw) ||
        piece.type == static_cast<int>(CommandType::RawOnce)) {
        readRawCommand(piece, afterType);
    } else {
        readNumber(piece, afterType, "context", piece.context);
    }
}

Piece readPiece(std::string_view text) {
    Piece piece;
    piece.text = text;
    if (!text.starts_with('$')) {
        piece.kind = Piece::Kind::Chat;
    } else if (isUserCommand(text)) {
        readUserCommand(piece);
    } else {
        piece.kind = Piece::Kind::OtherCommand;
    }
    return piece;
}

} // namespace

std::vector<Piece> cutIntoPieces(std::string_view text) {
    std::vector<Piece> pieces;
    std::size_t line = 1;
    std::size_t number = 0;
    for (std::size_t start = 0; start < text.size();) {
        const auto bar = text.find('|', start);
        const bool terminated = bar != std::string_view::npos;
        const std::string_view body = text.substr(start, terminated ? bar - start : std::string_view::npos);
        ++number;
        const auto visible = body.find_first_not_of(kWhiteSpace);
        const std::string_view beforeVisible = body.substr(0, visible);
        const std::size_t lineOfPiece =
            line + static_cast<std::size_t>(std::count(beforeVisible.begin(), beforeVisible.end(), '\n'));
        if (!body.empty() && (terminated || visible != std::string_view::npos)) {
            Piece piece = readPiece(body);
            piece.number = number;
            piece.line = lineOfPiece;
            piece.terminated = terminated;
            pieces.push_back(std::move(piece));
        }
        line += static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n'));
        start = terminated ? bar + 1 : text.size();
    }
    return pieces;
}

// The library turns each "\\" of a title into "/" and each "/" into "//", then
// reads "//" as a "/" in the title and a lone "/" as a cut; a tab is read as
// "/" too, as the library marks the "//" it has read with a tab.
std::vector<std::string> titlePath(std::string_view title, std::size_t maxLevels) {
    std::string marked;
    marked.reserve(2 * title.size());
    for (char c : title) {
        if (c == '/') {
            marked += "//";
        } else {
            marked += c == '\\' ? '/' : c;
        }
    }
    std::vector<std::string> path;
    if (marked.empty()) {
        return path;
    }
    path.emplace_back();
    for (std::size_t at = 0; at < marked.size(); ++at) {
        const bool slash = marked.compare(at, 2, "//") == 0;
        if (slash || marked[at] == '\t') {
            path.back() += '/';
            at += slash ? 1 : 0;
        } else if (marked[at] != '/') {
            path.back() += marked[at];
        } else if (path.size() < maxLevels) {
            path.emplace_back();
        } else {
            path.back() += '\\';
        }
    }
    if (path.size() > 1 && path.back().empty()) {
        path.pop_back();
    }
    return path;
}

std::vector<std::string_view> writtenTitlePath(std::string_view title) {
    std::vector<std::string_view> path;
    for (std::size_t start = 0;;) {
        const auto backslash = title.find('\\', start);
        path.push_back(title.substr(start, backslash - start));
        if (backslash == std::string_view::npos) {
            return path;
        }
        start = backslash + 1;
    }
}

std::string quotedPath(const std::vector<std::string>& path) {
    std::string text;
    for (const std::string& part : path) {
        text += (text.empty() ? "" : " > ") + quotedText(part);
    }
    return text;
}

std::vector<std::string> promptTitles(std::string_view command) {
    std::vector<std::string> titles;
    // A set, not a search of the titles so far: a command may hold many prompts.
    std::set<std::string_view> seen;
    for (auto at = command.find(kLinePrompt); at != std::string_view::npos;) {
        const auto start = at + kLinePrompt.size();
        const auto end = command.find(']', start);
        if (end == std::string_view::npos) {
            break;
        }
        const std::string_view title = command.substr(start, end - start);
        if (seen.insert(title).second) {
            titles.emplace_back(title);
        }
        at = command.find(kLinePrompt, end + 1);
    }
    return titles;
}

} // namespace tavu::preview
