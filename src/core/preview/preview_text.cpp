#include "preview/preview_text.h"

#include "base/escaping.h"
#include "preview/lint.h"

namespace tavu::preview {

namespace {

constexpr std::string_view kIndent = "  ";

std::string indent(std::size_t depth) {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += kIndent;
    }
    return text;
}

std::string promptList(const std::vector<std::string>& prompts) {
    std::string text;
    for (const std::string& prompt : prompts) {
        text += (text.empty() ? "" : ", ") + quotedText(prompt);
    }
    return text;
}

void appendEntries(std::string& out, const std::vector<MenuNode>& entries, std::size_t depth) {
    for (const MenuNode& node : entries) {
        switch (node.kind) {
        case MenuNode::Kind::Separator:
            out += indent(depth) + "---\n";
            break;
        case MenuNode::Kind::Submenu:
            out += indent(depth) + "+ " + quotedText(node.title) + "\n";
            appendEntries(out, node.children, depth + 1);
            break;
        case MenuNode::Kind::Item:
            out += indent(depth) + "- " + quotedText(node.title) + " -> " + quotedText(node.command) + "\n";
            if (!node.prompts.empty()) {
                out += indent(depth + 1) + "asks for " + promptList(node.prompts) + "\n";
            }
            break;
        }
    }
}

void appendMenu(std::string& out, std::string_view heading, const std::vector<MenuNode>& entries) {
    out += heading;
    out += '\n';
    appendEntries(out, entries, 1);
    if (entries.empty()) {
        out += indent(1) + "(empty)\n";
    }
}

} // namespace

std::string menusAndChatText(const MenuPreview& preview) {
    std::string out;
    appendMenu(out, "Hub menu", preview.hubMenu);
    appendMenu(out, "User-list menu", preview.userListMenu);
    out += "Chat text\n";
    for (const ChatText& chat : preview.chat) {
        out += indent(1) + "piece " + std::to_string(chat.piece) + ": " + quotedText(chat.text) + "\n";
    }
    if (preview.chat.empty()) {
        out += indent(1) + "(none)\n";
    }
    return out;
}

std::string previewText(const MenuPreview& preview) {
    std::string out = menusAndChatText(preview);
    out += "Findings\n";
    for (const Finding& finding : preview.findings) {
        out += indent(1) + (finding.isError() ? "error: " : "warning: ") + describe(finding) + "\n";
    }
    if (preview.findings.empty()) {
        out += indent(1) + "(none)\n";
    }
    return out;
}

} // namespace tavu::preview
