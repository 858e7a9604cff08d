#include "support.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

TEST(Frame, WorkedExampleTopLevelItemAndBotMessage) {
    GenerationOptions options = onlyItemOptions();
    options.clear = options.message = true;
    const auto document = ProfileBuilder().enable("General/ProfileSettings/MayUseHubCommands").document();
    const Generation generation = generate(document, options);
    EXPECT_EQ(generation.text,
              "$UserCommand 255 3|$UserCommand 1 3 " + kPrefix +
                  "User commands$<%[mynick]> .h&#124;|<<botname>> I have installed rightclick "
                  "menu created by TAVU for you|");
    EXPECT_FALSE(generation.stop);
}

} // namespace
} // namespace tavu::test
