#pragma once

// The preview as plain text, for the command line: the hub menu and the
// user-list menu as indented trees, the chat text, then the findings.

#include "preview/menu_preview.h"

#include <string>

namespace tavu::preview {

// Submenus are "+ TITLE", items "- TITLE -> COMMAND" with an "asks for" line
// when they prompt, separators "---"; every title and command is quoted so
// that spaces at either end stay visible. Findings are "error: " for pieces
// clients cannot use as written (Finding::isError) and "warning: " for the rest.
std::string previewText(const MenuPreview& preview);

// The same without the findings, for a caller that writes them its own way.
std::string menusAndChatText(const MenuPreview& preview);

} // namespace tavu::preview
