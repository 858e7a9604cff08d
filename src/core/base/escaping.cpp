#include "base/escaping.h"

#include "base/text.h"

#include <cstdio>

namespace tavu {

namespace {

// The escape clients turn back into the character, for the characters typed
// text may not hold as they are: "|" ends an NMDC command, "$" starts one, and
// "&" would let the text spell "&#124;" or "&#36;", which clients decode into them.
std::string_view escapeOf(char c) {
    switch (c) {
    case '$':
        return "&#36;";
    case '|':
        return "&#124;";
    case '&':
        return "&amp;";
    default:
        return {};
    }
}

constexpr std::string_view kHexDigits = "0123456789ABCDEF";

void appendHexByte(std::string& out, unsigned char byte) {
    out += "\\x";
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0xF];
}

void appendCodePoint(std::string& out, char32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "\\u{%04X}", static_cast<unsigned>(value));
    out += text;
}

// The characters besides C0 controls that a terminal acts on (C1 controls) or
// that break or reorder the line around them.
bool isInvisibleControl(char32_t value) {
    return (value >= 0x80 && value <= 0x9F) || value == 0x2028 || value == 0x2029 || value == 0x061C ||
           value == 0x200E || value == 0x200F || (value >= 0x202A && value <= 0x202E) ||
           (value >= 0x2066 && value <= 0x2069);
}

void replaceAll(std::string& text, std::string_view from, std::string_view to) {
    std::string replaced;
    replaced.reserve(text.size());
    std::size_t start = 0;
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        replaced.append(text, start, at - start);
        replaced += to;
        start = at + from.size();
    }
    replaced.append(text, start);
    text = std::move(replaced);
}

} // namespace

void appendEscaped(std::string& out, std::string_view text) {
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (const std::string_view escape = escapeOf(text[i]); !escape.empty()) {
            out.append(text, run, i - run);
            out += escape;
            run = i + 1;
        }
    }
    out.append(text, run);
}

std::string unescapeCommandText(std::string_view text) {
    std::string plain(text);
    replaceAll(plain, "&#36;", "$");
    replaceAll(plain, "&#124;", "|");
    replaceAll(plain, "&amp;", "&");
    return plain;
}

std::string escapedControls(std::string_view text, std::string_view backslashed, std::string_view kept) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = decodeUtf8Character(text, at);
        const char c = text[at];
        if (character.length == 0) {
            appendHexByte(out, static_cast<unsigned char>(c));
            ++at;
            continue;
        }
        if (character.length == 1 && kept.find(c) != std::string_view::npos) {
            out += c;
        } else if (character.length == 1 && backslashed.find(c) != std::string_view::npos) {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (character.value < 0x20 || character.value == 0x7F) {
            appendHexByte(out, static_cast<unsigned char>(c));
        } else if (isInvisibleControl(character.value)) {
            appendCodePoint(out, character.value);
        } else {
            out.append(text, at, character.length);
        }
        at += character.length;
    }
    return out;
}

std::string quotedText(std::string_view text) {
    return '"' + escapedControls(text, "\"\\") + '"';
}

} // namespace tavu
