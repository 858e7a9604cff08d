#include "editor/editor_text.h"

#include <gtest/gtest.h>

namespace tavu {
namespace {

TEST(EditorText, OneCommandALineAndBackAgain) {
    const std::string output = "$UserCommand 255 3|$UserCommand 1 3 A$<%[mynick]> .h&#124;|<<botname>> hi|";
    const std::string shown = editorTextFromOutput(output);
    EXPECT_EQ(shown,
              "$UserCommand 255 3|\r\n$UserCommand 1 3 A$<%[mynick]> .h&#124;|\r\n<<botname>> hi|\r\n");
    EXPECT_EQ(outputFromEditorText(shown), output);
}

TEST(EditorText, EveryKindOfLineBreakIsRemoved) {
    EXPECT_EQ(outputFromEditorText("a|\r\nb|\nc\r|d\n\n"), "a|b|c|d");
    EXPECT_EQ(editorTextFromOutput(""), "");
    EXPECT_EQ(outputFromEditorText(""), "");
}

} // namespace
} // namespace tavu
