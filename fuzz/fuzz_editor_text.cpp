// The Easy Editor's round trip: showing a text and handing it back gives the text
// again when it holds no line break, and what is handed back never holds one.

#include "editor/editor_text.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string handedBack = tavu::outputFromEditorText(tavu::editorTextFromOutput(input));
    if (handedBack.find_first_of("\r\n") != std::string::npos) {
        std::abort();
    }
    if (input.find_first_of("\r\n") == std::string_view::npos && handedBack != input) {
        std::abort();
    }
    return 0;
}
