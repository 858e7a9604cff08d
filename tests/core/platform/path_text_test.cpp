#include "platform/path_text.h"

#include <gtest/gtest.h>

namespace tavu {
namespace {

TEST(PathText, NamesGoToPathsAndBackAsUtf8) {
    for (const std::u8string name : {u8"\u041f\u0440\u043e\u0444\u0438\u043b\u0438.xml", u8"\u8a2d\u5b9a.ini",
                                     u8"menu \U0001F389.txt"}) {
        const std::string utf8(name.begin(), name.end());
        EXPECT_EQ(pathFromUtf8(utf8), std::filesystem::path(name));
        EXPECT_EQ(utf8FromPath(std::filesystem::path(name)), utf8);
    }
}

} // namespace
} // namespace tavu
