#pragma once

#include "command.h"
#include "preview/menu_preview.h"

#include <optional>
#include <string>
#include <string_view>

// What tree and check print: the menus, the chat text and the findings, as
// text for people and editors or as one JSON object for scripts.
namespace tavu::cli {

enum class PreviewFormat { Text, Json };

PreviewFormat parseFormat(std::string_view name);

// The family that --client names.
preview::ClientFamily parseClient(std::string_view name);

// The preview of the text: the menus of the chosen client family and its
// findings alone, or without a choice the menus of EiskaltDC++ and findings
// that name each family where they differ.
preview::MenuPreview previewFor(std::string_view text, std::optional<preview::ClientFamily> client);

// `source` names the block in each finding ("FILE:LINE: severity: message
// (piece N)") and in the JSON object's "file".
std::string previewOutput(const preview::MenuPreview& preview, std::string_view source, PreviewFormat format);

// One finding as "SOURCE:LINE: severity: message (piece N)" and a line break.
std::string findingLine(const preview::Finding& finding, std::string_view source);

// The text in double quotes as JSON writes a string: UTF-8 passed through,
// quotes and backslashes escaped, control characters as \u00XX.
std::string jsonString(std::string_view text);

extern const OptionHelp kFormatOption;
extern const OptionHelp kClientOption;

} // namespace tavu::cli
