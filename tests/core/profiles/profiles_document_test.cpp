#include "profiles/profiles_document.h"
#include "support.h"
#include "temporary_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tavu {
namespace {

using Names = std::vector<std::string>;

std::string profilesXml(const Names& names) {
    std::string xml = "<?xml version=\"1.0\"?>\n<Profiles>\n";
    for (const std::string& name : names) {
        xml += "  <Profile>\n    <Name>" + name + "</Name>\n  </Profile>\n";
    }
    return xml + "</Profiles>\n";
}

TEST(ProfilesDocument, ListsTheNamesInDocumentOrder) {
    const auto loaded = ProfilesDocument::parse(profilesXml({"Owner", "Operator", "Regular"}), "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names(), (Names{"Owner", "Operator", "Regular"}));
    EXPECT_EQ(loaded->profile(1).child("Name").text().text, "Operator");
    EXPECT_FALSE(loaded->profile(3));
    EXPECT_FALSE(loaded->profile(-1));
}

TEST(ProfilesDocument, OnlyElementsAreProfiles) {
    const std::string xml = "<Profiles><!-- the owners --><Profile><Name>Owner</Name></Profile>"
                            "<?hub generated?>text between<Profile><Name>Regular</Name></Profile></Profiles>";
    const auto loaded = ProfilesDocument::parse(xml, "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names(), (Names{"Owner", "Regular"}));
    EXPECT_EQ(loaded->profile(1).child("Name").text().text, "Regular");
}

std::string utf16le(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

const std::string kOneProfile = "<Profiles><Profile><Name>A</Name></Profile></Profiles>";
using namespace std::string_literals;

struct BadFile {
    const char* what;
    std::string xml;
    const char* messagePart;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const BadFile& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class ProfilesDocumentRefuses : public testing::TestWithParam<BadFile> {};

TEST_P(ProfilesDocumentRefuses, TheWholeFile) {
    const auto loaded = ProfilesDocument::parse(GetParam().xml, "profiles.xml");
    EXPECT_FALSE(loaded.ok());
    EXPECT_NE(loaded.failure().reason.find(GetParam().messagePart), std::string::npos)
        << loaded.failure().reason;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ProfilesDocumentRefuses,
    testing::Values(
        BadFile{"not well-formed", "<Profiles><Profile><Name>A</Name></Profile>", "profiles.xml"},
        BadFile{"empty", "", "profiles.xml"},
        BadFile{"wrong root", "<Users><Profile><Name>A</Name></Profile></Users>", "not \"Profiles\""},
        BadFile{"second profile without a name",
                "<Profiles><Profile><Name>A</Name></Profile><Profile/></Profiles>",
                "Could not convert variant of type (Null) into type (String)"},
        BadFile{"empty name", "<Profiles><Profile><Name></Name></Profile></Profiles>",
                "(String)\n\nProfile 1 "},
        BadFile{"empty CDATA name",
                "<Profiles><Profile><Name>A</Name></Profile>"
                "<Profile><Name><![CDATA[]]></Name></Profile></Profiles>",
                "(String)\n\nProfile 2 "},
        BadFile{"name with elements", "<Profiles><Profile><Name><b>A</b></Name></Profile></Profiles>",
                "(Null)"},
        // A NUL byte is no character: the parser must not take it for the end of the file.
        BadFile{"NUL in a text", "<Profiles><Profile><Name>A\0B</Name></Profile></Profiles>"s,
                "profiles.xml, line 1: "},
        BadFile{"NUL after the root", kOneProfile + "\0"s, "line 1: Extra content at the end"},
        BadFile{"NUL and a profile after the root", kOneProfile + "\n\0<Profile/>"s,
                "line 2: Extra content at the end"},
        BadFile{"UTF-16 NUL after the root", utf16le(kOneProfile) + "\0\0"s, "line 1: Extra content"},
        BadFile{"text after the root", kOneProfile + "junk", "line 1: Extra content"},
        BadFile{"second root", kOneProfile + "<Profiles/>", "line 1: Extra content"}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

struct EncodedFile {
    const char* encoding;
    std::string bytes;
    std::string expectedName; // UTF-8
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const EncodedFile& value, std::ostream* out) {
    *out << testing::PrintToString(value.encoding);
}

class ProfilesDocumentEncoding : public testing::TestWithParam<EncodedFile> {};

TEST_P(ProfilesDocumentEncoding, DeclaredEncodingIsHonoured) {
    const auto loaded = ProfilesDocument::parse(GetParam().bytes, "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names(), (Names{GetParam().expectedName}));
}

std::string declared(const char* encoding, const std::string& name) {
    return std::string("<?xml version=\"1.0\" encoding=\"") + encoding + "\"?><Profiles><Profile><Name>" +
           name + "</Name></Profile></Profiles>";
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ProfilesDocumentEncoding,
    testing::Values(
        EncodedFile{"UTF-8", declared("UTF-8", "Op\xC3\xA9rateur"), "Op\xC3\xA9rateur"},
        EncodedFile{"ISO-8859-1", declared("ISO-8859-1", "Op\xE9rateur"), "Op\xC3\xA9rateur"},
        EncodedFile{"windows-1252", declared("windows-1252", "\x80uro"), "\xE2\x82\xACuro"},
        EncodedFile{"windows-1251", declared("windows-1251", "\xC0\xE4\xEC\xE8\xED"),
                    "\xD0\x90\xD0\xB4\xD0\xBC\xD0\xB8\xD0\xBD"},
        EncodedFile{"windows-1250", declared("windows-1250", "\xA3\xF3\x64\x9F"),
                    "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
        EncodedFile{"ISO-8859-2", declared("ISO-8859-2", "\xA3\xF3\x64\xBC"), "\xC5\x81\xC3\xB3\x64\xC5\xBA"},
        EncodedFile{"UTF-16", utf16le("<Profiles><Profile><Name>Owner</Name></Profile></Profiles>"), "Owner"},
        EncodedFile{"UTF-8 with byte-order mark", "\xEF\xBB\xBF" + declared("UTF-8", "Owner"), "Owner"},
        // Only white space, comments and processing instructions may follow the root.
        EncodedFile{"UTF-8 with markup after the root", kOneProfile + " \t<!-- end --><?hub done?>\r\n", "A"},
        EncodedFile{"UTF-16 with markup after the root", utf16le(kOneProfile + "<!-- end -->\n"), "A"}));

TEST(ProfilesDocument, ExternalEntitiesAreNeverRead) {
    const test::TemporaryFolder folder("tavu-profiles-");
    const auto secret = folder.write("secret.txt", "top secret");
    const std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE Profiles [<!ENTITY leak SYSTEM \"" +
                            test::fileUri(secret) +
                            "\"><!ENTITY inner \"Inner\">]>"
                            "<Profiles><Profile><Name>&inner;&leak;</Name></Profile></Profiles>";
    const auto loaded = ProfilesDocument::parse(xml, "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names(), (Names{"Inner"}));
}

} // namespace
} // namespace tavu
