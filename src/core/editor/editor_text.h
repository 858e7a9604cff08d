#pragma once

// The Easy Editor's two views of the output: one command per line while it is
// edited, one unbroken run of commands when it is handed back.

#include <string>
#include <string_view>

namespace tavu {

// A CR LF after every "|".
std::string editorTextFromOutput(std::string_view output);
// Every line break removed: CR LF, and a lone LF or CR as a text box may hold.
std::string outputFromEditorText(std::string_view text);

} // namespace tavu
