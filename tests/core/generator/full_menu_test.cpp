#include "source_file.h"
#include "support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tavu::test {
namespace {

// Every permission granted and every option on: the whole catalogue, checked
// against a reviewed copy of the output.
TEST(FullMenu, EveryPermissionAndOptionGivesTheWholeCatalogue) {
    const auto loaded = ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    const Generation generation =
        CreateUserCommands(loaded->profile(0), allOptionsOn(), Vocabulary{}, "07/12/2026");
    EXPECT_FALSE(generation.stop);
    EXPECT_EQ(generation.text, sourceFileText("tests/golden/owner-every-option.txt"));

    const auto lines = emissions(generation.text);
    ASSERT_EQ(lines.size(), 252u);
    EXPECT_EQ(lines.front(), "$UserCommand 255 3|");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.starts_with("$UserCommand 1 "); }),
              249);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "$UserCommand 0 3|"), 1);
    EXPECT_TRUE(lines.back().starts_with("<<botname>> "));
}

TEST(FullMenu, TheBuiltProfileGrantsTheSameAsTheExample) {
    const auto loaded = ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml");
    ASSERT_TRUE(loaded.ok());
    EXPECT_EQ(generate(everythingGranted().document(), allOptionsOn()).text,
              CreateUserCommands(loaded->profile(0), allOptionsOn(), Vocabulary{}, "07/12/2026").text);
}

TEST(FullMenu, ARegularMemberGetsOnlyWhatTheProfileGrants) {
    const auto loaded = ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml");
    ASSERT_TRUE(loaded.ok());
    ASSERT_EQ(loaded->names()[2], "Regular");
    const Generation generation =
        CreateUserCommands(loaded->profile(2), allOptionsOn(), Vocabulary{}, "07/12/2026");
    std::vector<std::string> commands;
    for (const std::string& line : emissions(generation.text)) {
        const auto command = line.find("$<%[mynick]> ");
        commands.push_back(command == std::string::npos ? line : line.substr(command + 13));
    }
    EXPECT_EQ(commands,
              (std::vector<std::string>{
                  "$UserCommand 255 3|", ".h&#124;|", ".hideme on&#124;|", ".hideme off&#124;|", ".hi&#124;|",
                  ".ci&#124;|", ".ui&#124;|", ".ui %[nick]&#124;|", ".ui %[nick] %[line:Offset]&#124;|",
                  ".ui %[line:Nick]&#124;|", ".ui %[line:Nick] %[line:Offset]&#124;|",
                  ".mc %[line:Message]&#124;|", ".pm %[line:Message]&#124;|",
                  "<<botname>> I have installed rightclick menu created by TAVU for you|"}));
}

} // namespace
} // namespace tavu::test
