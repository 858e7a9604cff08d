#include "profiles/permission_tests.h"
#include "support.h"

#include <gtest/gtest.h>

namespace tavu::test {
namespace {

using Outcome = PermissionReading::Outcome;

constexpr std::string_view kPath = "General/HubControl/MayLockHub";

struct TextCase {
    const char* text;
    Outcome outcome;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TextCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.text);
}

class EnableTest : public testing::TestWithParam<TextCase> {};

TEST_P(EnableTest, AttributeText) {
    const auto document = ProfileBuilder().enable(std::string(kPath), GetParam().text).document();
    const PermissionReading reading = enableTest(document.profile(0), kPath);
    EXPECT_EQ(reading.outcome, GetParam().outcome);
    // Only a text that cannot be read is kept, for the message.
    EXPECT_EQ(reading.text, GetParam().outcome == Outcome::Unreadable ? GetParam().text : "");
}

INSTANTIATE_TEST_SUITE_P(Texts, EnableTest,
                         testing::Values(TextCase{"true", Outcome::Pass}, TextCase{"TRUE", Outcome::Pass},
                                         TextCase{"True", Outcome::Pass}, TextCase{"1", Outcome::Pass},
                                         TextCase{"-1", Outcome::Pass}, TextCase{"2.5", Outcome::Pass},
                                         TextCase{" true ", Outcome::Pass}, TextCase{"false", Outcome::Fail},
                                         TextCase{"FALSE", Outcome::Fail}, TextCase{"0", Outcome::Fail},
                                         TextCase{"0.0", Outcome::Fail}, TextCase{"yes", Outcome::Unreadable},
                                         TextCase{"", Outcome::Unreadable},
                                         TextCase{"on", Outcome::Unreadable},
                                         TextCase{"1x", Outcome::Unreadable},
                                         TextCase{"tru", Outcome::Unreadable}));

class ValueTest : public testing::TestWithParam<TextCase> {};

TEST_P(ValueTest, ElementText) {
    const auto document = ProfileBuilder().value(std::string(kPath), GetParam().text).document();
    EXPECT_EQ(valueTest(document.profile(0), kPath).outcome, GetParam().outcome);
}

INSTANTIATE_TEST_SUITE_P(Texts, ValueTest,
                         testing::Values(TextCase{"1", Outcome::Pass}, TextCase{"2", Outcome::Pass},
                                         TextCase{"0.5", Outcome::Pass}, TextCase{"0,5", Outcome::Pass},
                                         TextCase{"+3", Outcome::Pass}, TextCase{"1e3", Outcome::Pass},
                                         TextCase{" 7 ", Outcome::Pass}, TextCase{"1e999", Outcome::Pass},
                                         TextCase{"0", Outcome::Fail}, TextCase{"-3", Outcome::Fail},
                                         TextCase{"-1", Outcome::Fail}, TextCase{"", Outcome::Fail},
                                         TextCase{"   ", Outcome::Fail}, TextCase{"abc", Outcome::Unreadable},
                                         TextCase{"1.2.3", Outcome::Unreadable},
                                         TextCase{"true", Outcome::Unreadable},
                                         TextCase{"1 2", Outcome::Unreadable},
                                         TextCase{"<![CDATA[4]]>", Outcome::Pass},
                                         TextCase{"4<!-- was 0 -->", Outcome::Pass},
                                         TextCase{"<Level>1</Level>", Outcome::Unreadable}));

TEST(PermissionTests, MissingElementsAndAttributesFailQuietly) {
    const auto document = ProfileBuilder().value("General/HubControl/MaySetTopic", "1").document();
    const XmlElement profile = document.profile(0);
    for (std::string_view path :
         {"General/HubControl/MayLockHub", "General/Nothing/MayLockHub", "Nothing/HubControl/MayLockHub"}) {
        EXPECT_EQ(enableTest(profile, path).outcome, Outcome::Fail) << path;
        EXPECT_EQ(valueTest(profile, path).outcome, Outcome::Fail) << path;
    }
    // A value element has no "enable" attribute.
    EXPECT_EQ(enableTest(profile, "General/HubControl/MaySetTopic").outcome, Outcome::Fail);
}

TEST(PermissionTests, NamesMatchExactlyAndTheFirstMatchCounts) {
    const std::string xml = "<Profiles><Profile><Name>P</Name><General><HubControl>"
                            "<maylockhub enable='true'/><MayLockHub enable='false'/>"
                            "<MayLockHub enable='true'/></HubControl></General></Profile></Profiles>";
    const auto loaded = ProfilesDocument::parse(xml, "t");
    ASSERT_TRUE(loaded.ok()) << loaded.failure().reason;
    EXPECT_EQ(enableTest(loaded->profile(0), "General/HubControl/MayLockHub").outcome, Outcome::Fail);
    EXPECT_EQ(enableTest(loaded->profile(0), "General/HubControl/maylockhub").outcome, Outcome::Pass);
    EXPECT_EQ(enableTest(loaded->profile(0), "general/HubControl/MayLockHub").outcome, Outcome::Fail);
}

} // namespace
} // namespace tavu::test
