#include "cli_run.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tavu::test {
namespace {

// Runs tavu-cli in a folder of its own, which is also the working folder.
class LanguageOption : public testing::Test, public CliRun {
protected:
    void SetUp() override {
        std::ofstream("profiles.xml") << "<Profiles><Profile><Name>Owner</Name><General><ProfileSettings>"
                                         "<MayUseHubCommands enable=\"true\"/></ProfileSettings></General>"
                                         "</Profile></Profiles>";
        std::ofstream("TAVU.ini") << "[Strings]\n";
    }
    int tree(const std::string& language) {
        return run(
            {"tree", "profiles.xml", "--index", "0", "--settings", "TAVU.ini", "--language", language});
    }

    TemporaryFolder folder{"tavu-language-"};
    WorkingFolder inside{folder.path()};
};

TEST_F(LanguageOption, AFileThatSmugglesACommandIsRefused) {
    std::ofstream("shared.ini") << "[Strings]\nwUserCommands=Menu$<%[mynick]> .kick\n";
    EXPECT_EQ(tree("shared.ini"), ExitNoProfiles);
    EXPECT_EQ(err.str(),
              "tavu-cli: shared.ini is refused: its word wUserCommands holds \"]\", which would end a "
              "prompt or start a command in the hub's menus. No word of a language file may hold ], "
              "|, $ or %[, and none of its words were loaded.\n");
}

// Only a path names a file: files and folders named like installed languages
// in the working folder leave them alone.
TEST_F(LanguageOption, AStrayFileDoesNotShadowAnInstalledLanguage) {
    std::ofstream("de") << "not a language";
    std::ofstream("ru") << "[Strings]\nwUserCommands=Stray\n";
    std::filesystem::create_directory("fr");
    for (const auto& [language, word] : {std::pair{"de", "Benutzerbefehle"}, std::pair{"ru", "Команды"},
                                         std::pair{"fr", "Commandes"}, std::pair{"./ru", "Stray"}}) {
        EXPECT_EQ(tree(language), ExitDone) << language << ": " << err.str();
        EXPECT_NE(out.str().find(word), std::string::npos) << language << ": " << out.str();
        EXPECT_EQ(out.str().find("Stray") != std::string::npos, std::string(language) == "./ru") << language;
    }
    EXPECT_EQ(tree("./de"), ExitNoProfiles);
    EXPECT_EQ(err.str(),
              "tavu-cli: ./de is not a language file: it has no section [Strings] with the words in it.\n");
}

} // namespace
} // namespace tavu::test
