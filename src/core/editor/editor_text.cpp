#include "editor/editor_text.h"

#include <algorithm>

namespace tavu {

std::string editorTextFromOutput(std::string_view output) {
    std::string text;
    text.reserve(output.size() + 2 * static_cast<std::size_t>(std::count(output.begin(), output.end(), '|')));
    for (char c : output) {
        text += c;
        if (c == '|') {
            text += "\r\n";
        }
    }
    return text;
}

std::string outputFromEditorText(std::string_view text) {
    std::string output;
    output.reserve(text.size());
    std::copy_if(text.begin(), text.end(), std::back_inserter(output),
                 [](char c) { return c != '\r' && c != '\n'; });
    return output;
}

} // namespace tavu
