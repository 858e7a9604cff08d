// Elements with thousands of attributes are refused before libxml2 parses them,
// as its check for a repeated attribute grows with the square of their number;
// an "=" or ">" that is no attribute counts for nothing.

#include "formats/xml.h"
#include "profiles/profiles_document.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

// `count` attributes a0="1" a1="1" ..., each with `quote` around its value.
std::string attributes(std::size_t count, char quote = '"') {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += " a" + std::to_string(i) + "=" + quote + "1" + quote;
    }
    return text;
}

// The same, written with "&#61;" for each "=".
std::string referencedAttributes(std::size_t count) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        text += " a" + std::to_string(i) + "&#61;\"1\"";
    }
    return text;
}

std::string profilesWith(const std::string& profileAttributes, const std::string& inside = {},
                         const std::string& doctype = {}) {
    return doctype + "<Profiles><Profile" + profileAttributes + "><Name>A</Name>" + inside +
           "</Profile></Profiles>";
}

// ASCII text as UTF-16LE after a byte-order mark, each "~" written as U+0122,
// whose first byte is that of a double quote.
std::string utf16le(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c == '~' ? "\x22\x01" : std::string{c, '\0'};
    }
    return out;
}

struct AttributeCase {
    const char* what;
    std::string xml;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AttributeCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class TooManyAttributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(TooManyAttributes, AreRefusedNamingTheFileAndTheLimit) {
    const auto loaded = ProfilesDocument::parse(GetParam().xml, "profiles.xml");
    EXPECT_FALSE(loaded.document);
    EXPECT_EQ(loaded.error, "profiles.xml: an element carries more than 1000 attributes, more than any "
                            "profiles file holds, so the file is not read.");
}

const std::string kFiveThousand = attributes(5000);

INSTANTIATE_TEST_SUITE_P(
    Files, TooManyAttributes,
    testing::Values(
        AttributeCase{"OneMoreThanTheLimit", profilesWith(attributes(kMaxAttributesPerElement + 1))},
        AttributeCase{"FiveThousandInSingleQuotes", profilesWith(attributes(5000, '\''))},
        AttributeCase{"OnANestedElement", profilesWith({}, "<Deep" + kFiveThousand + "/>")},
        AttributeCase{"AfterAValueHoldingAQuoteOfTheOtherKindAndABracket",
                      profilesWith({}, "<Deep q='\">'" + kFiveThousand + "/>")},
        AttributeCase{
            "InAnEntitysText",
            profilesWith({}, "&e;", "<!DOCTYPE Profiles [<!ENTITY e '<Deep" + kFiveThousand + "/>'>]>")},
        AttributeCase{"InAnEntitysTextOfCharacterReferences",
                      profilesWith({}, "&e;",
                                   "<!DOCTYPE Profiles [<!ENTITY e '&#60;Note>&#60;/Note>&#60;Deep" +
                                       referencedAttributes(5000) + "/&#62;'>]>")},
        AttributeCase{"UTF16", utf16le(profilesWith(" q=\"~\"" + kFiveThousand))}),
    [](const auto& info) { return std::string(info.param.what); });

class AttributesWithinTheLimit : public testing::TestWithParam<AttributeCase> {};

TEST_P(AttributesWithinTheLimit, Load) {
    const auto loaded = ProfilesDocument::parse(GetParam().xml, "profiles.xml");
    ASSERT_TRUE(loaded.document) << loaded.error;
    EXPECT_EQ(loaded.document->names(), std::vector<std::string>{"A"});
}

const std::string kManyEquals(5000, '=');

INSTANTIATE_TEST_SUITE_P(
    Files, AttributesWithinTheLimit,
    testing::Values(AttributeCase{"TheLimit", profilesWith(attributes(kMaxAttributesPerElement))},
                    AttributeCase{"EqualsAndClosingBracketsInAValue",
                                  profilesWith(" v='" + kManyEquals + ">'")},
                    AttributeCase{"EqualsInAComment", profilesWith({}, "<!-- a='1' " + kManyEquals + " -->")},
                    AttributeCase{"EqualsInACdataSection",
                                  profilesWith({}, "<Note><![CDATA[<a " + kManyEquals + "]]></Note>")},
                    AttributeCase{"EqualsInAnInstruction", profilesWith({}, "<?note " + kManyEquals + "?>")},
                    AttributeCase{"EqualsInText", profilesWith({}, "<Note>" + kManyEquals + "</Note>")},
                    AttributeCase{"ACommentWithAQuoteInTheDtd",
                                  profilesWith({}, "<Note>" + kManyEquals + "</Note><Note a='1'/>",
                                               "<!DOCTYPE Profiles [<!-- it's -->]>")}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(AttributeLimit, TheExampleFileLoads) {
    const auto loaded = ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml");
    ASSERT_TRUE(loaded.document) << loaded.error;
    EXPECT_FALSE(loaded.document->names().empty());
}

} // namespace
} // namespace tavu::test
