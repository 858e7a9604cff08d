// Files made to hurt: each must give a clear outcome, never a crash, a hang, a
// read of another file or a lost setting.

#include "settings/settings.h"
#include "settings/settings_file.h"
#include "support.h"
#include "temporary_folder.h"
#include "vocabulary/vocabulary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace tavu::test {
namespace {

class HostileInput : public testing::Test {
protected:
    std::filesystem::path write(const std::string& name, const std::string& bytes) const {
        return folder.write(name, bytes);
    }

    TemporaryFolder folder{"tavu-hostile-"};
};

std::string oneProfile(const std::string& doctype, const std::string& name) {
    return "<?xml version=\"1.0\"?>" + doctype + "<Profiles><Profile><Name>" + name +
           "</Name></Profile></Profiles>";
}

TEST_F(HostileInput, AnEntityExpansionBombIsRefused) {
    std::string entities = "<!ENTITY a0 \"lol\">";
    for (int i = 1; i < 10; ++i) {
        std::string body;
        for (int k = 0; k < 10; ++k) {
            body += "&a" + std::to_string(i - 1) + ";";
        }
        entities += "<!ENTITY a" + std::to_string(i) + " \"" + body + "\">";
    }
    const auto loaded =
        ProfilesDocument::parse(oneProfile("<!DOCTYPE Profiles [" + entities + "]>", "&a9;"), "bomb");
    EXPECT_FALSE(loaded.ok());
    EXPECT_FALSE(loaded.failure().reason.empty());
}

TEST_F(HostileInput, ExternalEntitiesAndDtdsAreNeverRead) {
    const auto secret = write("secret.txt", "root:x:0:0:secret");
    const std::string file = test::fileUri(secret);
    // Each document type with the name "A&x;" gives: an entity that is not read
    // stands for nothing.
    const std::vector<std::pair<std::string, std::string>> cases{
        {"<!DOCTYPE Profiles [<!ENTITY x SYSTEM \"" + file + "\">]>", "A"},
        {"<!DOCTYPE Profiles [<!ENTITY x SYSTEM \"/etc/passwd\">]>", "A"},
        {"<!DOCTYPE Profiles [<!ENTITY x SYSTEM \"http://127.0.0.1:9/profiles.dtd\">]>", "A"},
        {"<!DOCTYPE Profiles [<!ENTITY % p SYSTEM \"" + file + "\"> %p;<!ENTITY x \"y\">]>", "Ay"},
        {"<!DOCTYPE Profiles SYSTEM \"" + file + "\" [<!ENTITY x \"y\">]>", "Ay"},
        {"<!DOCTYPE Profiles SYSTEM \"http://127.0.0.1:9/profiles.dtd\" [<!ENTITY x \"y\">]>", "Ay"},
    };
    for (const auto& [doctype, name] : cases) {
        const auto loaded = ProfilesDocument::parse(oneProfile(doctype, "A&x;"), "t");
        ASSERT_TRUE(loaded.ok()) << doctype << "\n" << loaded.failure().reason;
        EXPECT_EQ(loaded->names(), std::vector<std::string>{name}) << doctype;
    }
}

TEST_F(HostileInput, DeepNestingIsRefused) {
    std::string xml = "<Profiles><Profile><Name>A</Name>";
    for (int i = 0; i < 100000; ++i) {
        xml += "<a>";
    }
    for (int i = 0; i < 100000; ++i) {
        xml += "</a>";
    }
    const auto loaded = ProfilesDocument::parse(xml + "</Profile></Profiles>", "deep");
    EXPECT_FALSE(loaded.ok());
    EXPECT_NE(loaded.failure().reason.find("depth"), std::string::npos) << loaded.failure().reason;
}

TEST_F(HostileInput, AMegabyteProfileNameIsKeptWhole) {
    const std::string name(1 << 20, 'N');
    const auto loaded = ProfilesDocument::parse(oneProfile("", name), "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names()[0], name);
}

// A profiles file of `count` profiles, each granting every permission.
std::string manyProfiles(std::size_t count) {
    const std::string profile = everythingGranted().profile("X");
    std::string xml = "<?xml version=\"1.0\"?>\n<Profiles>\n";
    xml.reserve(profile.size() * count + 64);
    for (std::size_t i = 0; i < count; ++i) {
        xml += profile;
        xml += '\n';
    }
    return xml + "</Profiles>\n";
}

TEST_F(HostileInput, TenThousandProfilesAllLoad) {
    const auto loaded = ProfilesDocument::parse(manyProfiles(10000), "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names().size(), 10000u);
    EXPECT_EQ(
        emissions(CreateUserCommands(loaded->profile(9999), allOptionsOn(), Vocabulary{}, "d").text).size(),
        252u);
}

TEST_F(HostileInput, AHundredMegabyteProfilesFileLoads) {
    const std::size_t perProfile = manyProfiles(2).size() - manyProfiles(1).size();
    const std::string xml = manyProfiles((100u << 20) / perProfile + 1);
    ASSERT_GE(xml.size(), 100u << 20);
    const auto loaded = ProfilesDocument::parse(xml, "big");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_GT(loaded->names().size(), 10000u);
}

TEST_F(HostileInput, BytesThatAreNotTextAreRefused) {
    std::mt19937 random(42);
    std::string bytes(64 << 10, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(random());
    }
    const auto loaded = ProfilesDocument::load(write("profiles.xml", bytes));
    EXPECT_FALSE(loaded.ok());
    EXPECT_FALSE(loaded.failure().reason.empty());
}

TEST_F(HostileInput, AFiftyMegabyteSettingsFileWithATenMegabyteLine) {
    std::string text = "[Other]\nhuge=" + std::string(4 << 20, 'h') + "\n";
    while (text.size() < (12u << 20)) {
        text += "filler=" + std::string(1000, 'f') + "\n";
    }
    text += "[Strings]\nwNick=" + std::string(2 << 20, 'n') + "\n";
    const auto path = write("TAVU.ini", text);

    Vocabulary vocabulary;
    readStringsSection(vocabulary, readSettingsFile(path).value());
    EXPECT_EQ(vocabulary.text(Word::wNick), std::string(2047, 'n'));
    ASSERT_TRUE(updateSettingsFile(path, [&](IniFile& file) { writeStringsSection(vocabulary, file); }).ok());
    // The other section is untouched, its long line included.
    const FileRead saved = readRegularFile(path, kSettingsFileLimit);
    ASSERT_EQ(saved.status, ReadStatus::Read);
    EXPECT_TRUE(saved.bytes.starts_with(text.substr(0, text.find("[Strings]"))));
}

TEST_F(HostileInput, ASettingsPathThatIsAFolderGivesDefaultsAndAClearSaveError) {
    const auto path = folder / "TAVU.ini";
    std::filesystem::create_directory(path);
    EXPECT_FALSE(readSettingsFile(path).ok());
    EXPECT_EQ(writeFailureText(
                  updateSettingsFile(path, [](IniFile& file) { writeSettingsSection(Settings{}, file); })),
              "Unable to write to " + path.string() + "\n" + path.string() + " is a folder, not a file.");
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(HostileInput, LongValuesAreReadBackToTheirFirst2047Characters) {
    for (std::size_t length : {2047u, 2048u, 100000u}) {
        const auto path = write("TAVU.ini", "[Strings]\nwBotMessage=" + std::string(length, 'm') + "\n");
        Vocabulary vocabulary;
        readStringsSection(vocabulary, readSettingsFile(path).value());
        EXPECT_EQ(vocabulary.text(Word::wBotMessage).size(), 2047u) << length;
    }
}

} // namespace
} // namespace tavu::test
