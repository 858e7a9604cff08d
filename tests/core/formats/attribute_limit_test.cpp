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

// ASCII text as UTF-16LE after a byte-order mark, each "~" written as U+0122
// and each "^" as U+013C, whose first bytes are those of a double quote and a "<".
std::string utf16le(std::string_view ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c == '~' ? "\x22\x01" : c == '^' ? "\x3C\x01" : std::string{c, '\0'};
    }
    return out;
}

// The profiles inside `count` namespace declarations over two elements.
std::string namespaces(std::size_t count) {
    std::string declarations;
    for (std::size_t i = 0; i < count; ++i) {
        declarations +=
            (i == count / 2 ? "><Deep" : "") + std::string(" xmlns:n") + std::to_string(i) + "='u'";
    }
    return profilesWith({}, "<Outer" + declarations + "/></Outer>");
}

// Elements holding `pairs` pairs of attributes: 1,000 attributes hold 499,500,
// 447 hold 99,681, and two hold one.
std::string withPairs(std::size_t pairs) {
    std::string elements;
    for (const std::size_t size : {std::size_t{1000}, std::size_t{447}, std::size_t{2}}) {
        const std::size_t held = size * (size - 1) / 2;
        for (; pairs >= held; pairs -= held) {
            elements += "<Deep" + attributes(size - 1) + " long='" + std::string(64, 'x') + "'/>";
        }
    }
    return profilesWith({}, elements);
}

std::string beyond(const std::string& what) {
    return what + ", more than any profiles file holds, so the file is not read.";
}

const std::string kUnreadable = "which TAVU does not read; save it as UTF-8.";

struct AttributeCase {
    const char* what;
    std::string xml;
    std::string refusal = beyond("an element carries more than 1000 attributes"); // after the name
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AttributeCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

// `element` given `count` default attributes by declarations of 500, and the
// profile `written` attributes of its own.
std::string declaredDefaults(std::size_t count, std::string_view element, std::size_t written = 0) {
    std::string declarations;
    for (std::size_t i = 0; i < count; ++i) {
        declarations += (i % 500 == 0 ? "><!ATTLIST " + std::string(element) : std::string()) + " d" +
                        std::to_string(i) + " CDATA 'x'";
    }
    return profilesWith(attributes(written), {}, "<!DOCTYPE Profiles [" + declarations.substr(1) + ">]>");
}

class TooManyAttributes : public testing::TestWithParam<AttributeCase> {};

TEST_P(TooManyAttributes, AreRefusedNamingTheFileAndTheLimit) {
    const auto loaded = ProfilesDocument::parse(GetParam().xml, "profiles.xml");
    EXPECT_FALSE(loaded.ok());
    EXPECT_EQ(loaded.failure().reason, "profiles.xml: " + GetParam().refusal);
}

const std::string kFiveThousand = attributes(5000);
const std::string kTheLimit = attributes(kMaxAttributesPerElement);

INSTANTIATE_TEST_SUITE_P(
    Files, TooManyAttributes,
    testing::Values(
        AttributeCase{"OneNamespacePastTheLimit", namespaces(kMaxNamespacesInScope + 1),
                      beyond("more than 100 namespaces are declared around an element")},
        AttributeCase{"OnePairPastTheLimit", withPairs(kMaxAttributePairs + 1),
                      beyond("elements carry hundreds of attributes each")},
        AttributeCase{"Utf7", "<?xml version='1.0' encoding='UTF-7'?>" + profilesWith({}),
                      "the file is in the encoding \"UTF-7\", " + kUnreadable},
        AttributeCase{"Utf7AfterAByteOrderMark",
                      "\xEF\xBB\xBF<?xml version='1.0' encoding='UTF-7'?><Profiles/>",
                      "the file is in the encoding \"UTF-7\", " + kUnreadable},
        AttributeCase{"Utf16OfTheOtherByteOrder",
                      utf16le("<?xml version='1.0' encoding='UTF-16BE'?>" + profilesWith({})),
                      "the file is in the encoding \"UTF-16BE\", " + kUnreadable},
        AttributeCase{"Ebcdic", "\x4C\x6F\xA7\x94", "the file is in UCS-4 or EBCDIC, " + kUnreadable},
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
        AttributeCase{"UTF16", utf16le(profilesWith(" q=\"~\"" + kFiveThousand))},
        // Two elements of the limit, which the parse alone would let through.
        AttributeCase{"AfterAQuotedCommentOpeningInAnEntitysText",
                      profilesWith({}, "&e;",
                                   "<!DOCTYPE Profiles [<!ENTITY c '<!--'><!ENTITY e '<Deep" + kTheLimit +
                                       "/><Deep" + kTheLimit + "/>'><!ENTITY d '-->'>]>")},
        AttributeCase{"OneDefaultPastTheLimitOnAnElementNotUsed",
                      declaredDefaults(kMaxAttributesPerElement + 1, "Unused")},
        AttributeCase{"TheLimitOfDefaultsAndOneAttribute",
                      declaredDefaults(kMaxAttributesPerElement, "Profile", 1)}),
    [](const auto& info) { return std::string(info.param.what); });

class AttributesWithinTheLimit : public testing::TestWithParam<AttributeCase> {};

TEST_P(AttributesWithinTheLimit, Load) {
    const auto loaded = ProfilesDocument::parse(GetParam().xml, "profiles.xml");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(loaded->names(), std::vector<std::string>{"A"});
}

const std::string kManyEquals(5000, '=');

INSTANTIATE_TEST_SUITE_P(
    Files, AttributesWithinTheLimit,
    testing::Values(
        AttributeCase{"TheLimit", profilesWith(attributes(kMaxAttributesPerElement))},
        AttributeCase{"EqualsAndClosingBracketsInAValue", profilesWith(" v='" + kManyEquals + ">'")},
        AttributeCase{"EqualsInAComment", profilesWith({}, "<!-- a='1' " + kManyEquals + " -->")},
        AttributeCase{"EqualsInACdataSection",
                      profilesWith({}, "<Note><![CDATA[<a " + kManyEquals + "]]></Note>")},
        AttributeCase{"EqualsInAnInstruction", profilesWith({}, "<?note " + kManyEquals + "?>")},
        AttributeCase{"EqualsInText", profilesWith({}, "<Note>" + kManyEquals + "</Note>")},
        AttributeCase{"Utf16TextWhoseLowBytesSpellATag",
                      utf16le(profilesWith({}, "<Note>^Deep" + attributes(5000) + "</Note>"))},
        AttributeCase{"TheLimitOfDefaults", declaredDefaults(kMaxAttributesPerElement, "Profile")},
        AttributeCase{"TheLimitOfNamespaces", namespaces(kMaxNamespacesInScope)},
        AttributeCase{"TheLimitOfPairs", withPairs(kMaxAttributePairs)},
        AttributeCase{"ADeclaredIsoCodePage",
                      "<?xml version='1.0' encoding='ISO-8859-15'?>" + profilesWith({})},
        AttributeCase{"ACommentWithAQuoteInTheDtd",
                      profilesWith({}, "<Note>" + kManyEquals + "</Note><Note a='1'/>",
                                   "<!DOCTYPE Profiles [<!-- it's -->]>")}),
    [](const auto& info) { return std::string(info.param.what); });

TEST(AttributeLimit, TheExampleFileLoads) {
    const auto loaded = ProfilesDocument::load(TAVU_SOURCE_DIR "/examples/profiles.xml");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_FALSE(loaded->names().empty());
}

} // namespace
} // namespace tavu::test
