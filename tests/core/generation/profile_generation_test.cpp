#include "generation/profile_generation.h"
#include "settings/settings_file.h"
#include "support.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tavu {
namespace {

using test::ProfileBuilder;

// A folder of the test's own, holding a settings file and two profiles: Owner,
// who may see the IP information, and Broken, whose permission cannot be read.
class ProfileGeneration : public testing::Test {
protected:
    void SetUp() override {
        const std::string owner =
            ProfileBuilder().enable("General/Information/MayShowIPInfo").profile("Owner");
        const std::string broken =
            ProfileBuilder().enable("General/Information/MayShowHubInfo", "yes").profile("Broken");
        std::ofstream(folder / "profiles.xml") << "<Profiles>" << owner << broken << "</Profiles>";
        std::ofstream(folder / "TAVU.ini") << "[Settings]\nsOffsets=1\n";
        request.profilesFile = (folder / "profiles.xml").string();
        request.settingsFile = (folder / "TAVU.ini").string();
        request.date = "07/12/2026";
    }

    test::TemporaryFolder folder{"tavu-generation-"};
    GenerationRequest request;
};

template <typename Failure>
const Failure* failureOf(const ProfileBlock& block) {
    return block.failure ? std::get_if<Failure>(&*block.failure) : nullptr;
}

// What a missing or unreadable settings file means, the same for the windows
// and the command line.
struct SettingsCase {
    const char* what;
    const char* file; // "" for none; "/" for a folder in its place
    MissingSettingsFile missing;
    bool error;
    bool offsets;
};

void PrintTo(const SettingsCase& value, std::ostream* out) {
    *out << value.what;
}

class SettingsRule : public ProfileGeneration, public testing::WithParamInterface<SettingsCase> {};

TEST_P(SettingsRule, ReadsOrRefuses) {
    const auto path = folder / "settings.ini";
    const std::string file = GetParam().file;
    if (file == "/") {
        std::filesystem::create_directories(path);
    } else if (!file.empty()) {
        std::ofstream(path) << file;
    }
    const auto stored = loadSettings(path, GetParam().missing);
    EXPECT_EQ(!stored.ok(), GetParam().error);
    EXPECT_EQ(stored ? stored->settings.options.offsets : Settings{}.options.offsets, GetParam().offsets);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsRule,
    testing::Values(SettingsCase{"MissingDefault", "", MissingSettingsFile::MeansDefaults, false, false},
                    SettingsCase{"MissingNamed", "", MissingSettingsFile::IsError, true, false},
                    SettingsCase{"FolderDefault", "/", MissingSettingsFile::MeansDefaults, true, false},
                    SettingsCase{"FolderNamed", "/", MissingSettingsFile::IsError, true, false},
                    SettingsCase{"Read", "[Settings]\nsOffsets=1\n", MissingSettingsFile::IsError, false,
                                 true}),
    [](const auto& info) { return std::string(info.param.what); });

// Each step that refuses the request, by the kind of its failure.
struct RefusalCase {
    const char* what;
    void (*change)(GenerationRequest&);
    std::size_t kind; // the index in GenerationFailure
};

void PrintTo(const RefusalCase& value, std::ostream* out) {
    *out << value.what;
}

class Refusal : public ProfileGeneration, public testing::WithParamInterface<RefusalCase> {};

TEST_P(Refusal, IsTyped) {
    request.profileIndex = 0;
    GetParam().change(request);
    const ProfileBlock block = generateChosenProfile(request, true);
    ASSERT_TRUE(block.failure);
    EXPECT_EQ(block.failure->index(), GetParam().kind);
    EXPECT_TRUE(block.bytes.empty());
}

template <typename Failure>
std::size_t kindOf() {
    GenerationFailure failure = Failure{};
    return failure.index();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    testing::Values(RefusalCase{"UnknownOption",
                                [](GenerationRequest& r) {
                                    r.options = {{"sNope", "1"}};
                                },
                                kindOf<generation_failure::UnknownOptionKey>()},
                    RefusalCase{"OptionNotANumber",
                                [](GenerationRequest& r) {
                                    r.options = {{"sOffsets", "yes"}};
                                },
                                kindOf<generation_failure::OptionNotWholeNumber>()},
                    RefusalCase{"UnknownWord",
                                [](GenerationRequest& r) {
                                    r.words = {{"wNope", "x"}};
                                },
                                kindOf<generation_failure::UnknownWordKey>()},
                    RefusalCase{"WordNotUtf8",
                                [](GenerationRequest& r) {
                                    r.words = {{"wNick", "\xFF"}};
                                },
                                kindOf<generation_failure::NotUtf8>()},
                    RefusalCase{"DateNotUtf8", [](GenerationRequest& r) { r.date = "\xC3"; },
                                kindOf<generation_failure::NotUtf8>()},
                    RefusalCase{"NamedSettingsMissing",
                                [](GenerationRequest& r) { r.settingsFile = r.profilesFile + ".ini"; },
                                kindOf<generation_failure::UnreadableFile>()},
                    RefusalCase{"ProfilesMissing", [](GenerationRequest& r) { r.profilesFile += ".missing"; },
                                kindOf<generation_failure::UnreadableFile>()},
                    RefusalCase{"NoSuchIndex", [](GenerationRequest& r) { r.profileIndex = 2; },
                                kindOf<generation_failure::NoSuchProfile>()},
                    RefusalCase{"Stopped", [](GenerationRequest& r) { r.profileIndex = 1; },
                                kindOf<generation_failure::Stopped>()},
                    RefusalCase{"MenuMisread",
                                [](GenerationRequest& r) {
                                    r.words = {{"wIp", "I]P"}};
                                },
                                kindOf<generation_failure::MenuMisread>()},
                    RefusalCase{"Unencodable",
                                [](GenerationRequest& r) {
                                    r.encoding = CodePage::Windows1252;
                                    r.words = {{"wIp", "Ядро"}};
                                },
                                kindOf<generation_failure::Unencodable>()},
                    // A block that clients would misread is refused before its code page is tried.
                    RefusalCase{"MisreadBeforeUnencodable",
                                [](GenerationRequest& r) {
                                    r.encoding = CodePage::Windows1252;
                                    r.words = {{"wIp", "Я]P"}};
                                },
                                kindOf<generation_failure::MenuMisread>()}),
    [](const auto& info) { return std::string(info.param.what); });

TEST_F(ProfileGeneration, ANameDifferingInCaseIsSuggested) {
    request.profileName = "OWNER";
    const ProfileBlock block = generateChosenProfile(request, true);
    const auto* missing = failureOf<generation_failure::NoSuchProfile>(block);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->nameDifferingInCase, "Owner");
    EXPECT_EQ(missing->profileCount, 2U);
}

TEST_F(ProfileGeneration, AStopKeepsWhatCameBeforeIt) {
    request.profileName = "Broken";
    const ProfileBlock block = generateChosenProfile(request, true);
    const auto* stopped = failureOf<generation_failure::Stopped>(block);
    ASSERT_NE(stopped, nullptr);
    EXPECT_EQ(stopped->stop.element, "General/Information/MayShowHubInfo");
    EXPECT_TRUE(block.generation.text.starts_with(kClearCommand)) << block.generation.text;
}

TEST_F(ProfileGeneration, TheChosenProfileIsEncodedWithTheOverrides) {
    request.profileName = "Owner";
    request.encoding = CodePage::Windows1252;
    request.words = {{"wIp", "Adresse é"}};
    const ProfileBlock block = generateChosenProfile(request, true);
    ASSERT_FALSE(block.failure);
    EXPECT_EQ(block.index, 0U);
    EXPECT_EQ(block.name, "Owner");
    EXPECT_NE(block.generation.text.find("Adresse é"), std::string::npos);
    EXPECT_NE(block.bytes.find("Adresse \xE9"), std::string::npos);
}

TEST_F(ProfileGeneration, AMisreadMenuPassesWhenNotRefused) {
    request.profileIndex = 0;
    request.words = {{"wIp", "I]P"}};
    const ProfileBlock block = generateChosenProfile(request, false);
    EXPECT_FALSE(block.failure);
    EXPECT_EQ(block.bytes, block.generation.text);
}

} // namespace
} // namespace tavu
