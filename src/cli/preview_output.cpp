#include "preview_output.h"

#include "arguments.h"
#include "preview/preview_text.h"

#include <cstdio>

namespace tavu::cli {

namespace {

std::string_view severity(const preview::Finding& finding) {
    return finding.isError() ? "error" : "warning";
}

} // namespace

std::string findingLine(const preview::Finding& finding, std::string_view source) {
    return escapedMessage(source) + ":" + std::to_string(finding.line) + ": " +
           std::string(severity(finding)) + ": " + finding.detail + " (piece " +
           std::to_string(finding.piece) + ")\n";
}

namespace {

std::string_view kindName(preview::Finding::Kind kind) {
    using Kind = preview::Finding::Kind;
    switch (kind) {
    case Kind::Unreadable:
        return "unreadable";
    case Kind::Unterminated:
        return "unterminated";
    case Kind::CommandShownAsChat:
        return "command-shown-as-chat";
    case Kind::Duplicate:
        return "duplicate";
    case Kind::Ampersand:
        return "ampersand";
    case Kind::StrayPercent:
        return "stray-percent";
    case Kind::TitleReadOtherwise:
        return "title-read-otherwise";
    case Kind::HiddenSeparator:
        return "hidden-separator";
    case Kind::SubmenuCase:
        return "submenu-case";
    case Kind::UnknownType:
        return "unknown-type";
    case Kind::OtherCommand:
        return "other-command";
    case Kind::TooDeep:
        return "too-deep";
    case Kind::PromptCutShort:
        return "prompt-cut-short";
    case Kind::PastLimit:
        return "past-limit";
    }
    return "unknown";
}

std::string findingLines(const preview::MenuPreview& preview, std::string_view source) {
    std::string text = "Findings\n";
    for (const preview::Finding& finding : preview.findings) {
        text += findingLine(finding, source);
    }
    if (preview.findings.empty()) {
        text += "  (none)\n";
    }
    return text;
}

void appendJsonNodes(std::string& json, const std::vector<preview::MenuNode>& nodes, std::size_t depth);

void appendJsonNode(std::string& json, const preview::MenuNode& node, std::size_t depth) {
    using Kind = preview::MenuNode::Kind;
    switch (node.kind) {
    case Kind::Separator:
        json += R"({"kind":"separator","piece":)" + std::to_string(node.piece) + "}";
        return;
    case Kind::Submenu:
        json += R"({"kind":"submenu","title":)" + jsonString(node.title) + R"(,"children":)";
        appendJsonNodes(json, node.children, depth + 1);
        json += "}";
        return;
    case Kind::Item:
        json += R"({"kind":"item","title":)" + jsonString(node.title) + R"(,"command":)" +
                jsonString(node.command) + R"(,"prompts":[)";
        for (std::size_t i = 0; i < node.prompts.size(); ++i) {
            // Appended piece by piece: optimised GCC 12 takes `"," + text` for an overlapping copy.
            json += i == 0 ? "" : ",";
            json += jsonString(node.prompts[i]);
        }
        json += R"(],"piece":)" + std::to_string(node.piece) + "}";
        return;
    }
}

// Recursive, but no deeper than the preview builds its menus (kMaxMenuDepth),
// whatever the block holds.
void appendJsonNodes(std::string& json, const std::vector<preview::MenuNode>& nodes, std::size_t depth) {
    json += "[";
    for (std::size_t i = 0; i < nodes.size() && depth <= preview::kMaxMenuDepth; ++i) {
        json += i == 0 ? "" : ",";
        appendJsonNode(json, nodes[i], depth);
    }
    json += "]";
}

std::string previewJson(const preview::MenuPreview& preview, std::string_view source) {
    std::string json = R"({"file":)" + jsonString(source) + R"(,"client":)" +
                       jsonString(preview::familyKey(preview.family)) + R"(,"hubMenu":)";
    appendJsonNodes(json, preview.hubMenu, 1);
    json += R"(,"userListMenu":)";
    appendJsonNodes(json, preview.userListMenu, 1);
    json += R"(,"chat":[)";
    for (std::size_t i = 0; i < preview.chat.size(); ++i) {
        json += (i == 0 ? R"({"piece":)" : R"(,{"piece":)") + std::to_string(preview.chat[i].piece) +
                R"(,"text":)" + jsonString(preview.chat[i].text) + "}";
    }
    json += R"(],"findings":[)";
    for (std::size_t i = 0; i < preview.findings.size(); ++i) {
        const preview::Finding& finding = preview.findings[i];
        json += (i == 0 ? R"({"severity":")" : R"(,{"severity":")") + std::string(severity(finding)) +
                R"(","kind":")" + std::string(kindName(finding.kind)) + R"(","piece":)" +
                std::to_string(finding.piece) + R"(,"line":)" + std::to_string(finding.line) +
                R"(,"message":)" + jsonString(finding.detail) + "}";
    }
    return json + "]}\n";
}

} // namespace

PreviewFormat parseFormat(std::string_view name) {
    if (name == "text") {
        return PreviewFormat::Text;
    }
    if (name == "json") {
        return PreviewFormat::Json;
    }
    throw UsageError("--format: \"" + std::string(name) + "\" is not one of text, json");
}

preview::ClientFamily parseClient(std::string_view name) {
    const auto family = preview::familyFromKey(name);
    if (!family) {
        throw UsageError("--client: \"" + family.failure().word +
                         "\" is not one of eiskaltdc, dcpp, airdcpp");
    }
    return family.value();
}

preview::MenuPreview previewFor(std::string_view text, std::optional<preview::ClientFamily> client) {
    return client ? preview::previewUserCommands(text, *client, preview::only(*client))
                  : preview::previewUserCommands(text);
}

std::string jsonString(std::string_view text) {
    std::string json = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}

std::string previewOutput(const preview::MenuPreview& preview, std::string_view source,
                          PreviewFormat format) {
    if (format == PreviewFormat::Json) {
        return previewJson(preview, source);
    }
    return preview::menusAndChatText(preview) + findingLines(preview, source);
}

const OptionHelp kFormatOption{
    "--format FORMAT",
    "tree and check: text (the default): the menus as indented trees, then each finding as \"FILE:LINE: "
    "severity: message (piece N)\", as editors and CI read them; json: one JSON object with the menus, the "
    "chat "
    "text and the findings, for scripts (docs/scripting.md describes it). matrix: text (the default), csv "
    "(RFC 4180), html (one page) or json. diff: text (the default) or json"};

const OptionHelp kClientOption{
    "--client FAMILY",
    "the menus as that client family builds them, and only its findings: eiskaltdc (EiskaltDC++), dcpp "
    "(DC++, which keeps a repeated item once, in the first one's place, and at most 5,000 commands of a hub) "
    "or airdcpp (AirDC++, as DC++ but at most 2,000); without it, the menus of EiskaltDC++ and findings that "
    "name each family where they differ"};

} // namespace tavu::cli
