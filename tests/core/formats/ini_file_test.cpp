#include "formats/ini_file.h"
#include "platform/line_end.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tavu {
namespace {

struct ReadCase {
    const char* what;
    std::string file;
    std::string section;
    std::string key;
    std::optional<std::string> expected;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ReadCase& value, std::ostream* out) {
    *out << testing::PrintToString(value.what);
}

class IniRead : public testing::TestWithParam<ReadCase> {};

TEST_P(IniRead, Value) {
    EXPECT_EQ(IniFile::parse(GetParam().file).value(GetParam().section, GetParam().key), GetParam().expected);
}

const std::string kLong(3000, 'x');

INSTANTIATE_TEST_SUITE_P(
    Semantics, IniRead,
    testing::Values(
        ReadCase{"plain", "[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"section case", "[settings]\nk=v\n", "SETTINGS", "k", "v"},
        ReadCase{"key case", "[S]\nsOffsets=1\n", "S", "SOFFSETS", "1"},
        ReadCase{"blanks around names", "  [ S\t]  \n \tk \t=\tv\n", "S", "k", "v"},
        ReadCase{"text after bracket", "[S] trailing ; words\nk=v\n", "S", "k", "v"},
        ReadCase{"value after first equals", "[S]\nk=a=b\n", "S", "k", "a=b"},
        ReadCase{"white space trimmed", "[S]\nk= \t v w \v\f\n", "S", "k", "v w"},
        ReadCase{"no-break space kept", "[S]\nk=\xC2\xA0v\xC2\xA0\n", "S", "k", "\xC2\xA0v\xC2\xA0"},
        ReadCase{"double quotes", "[S]\nk=\" v \"\n", "S", "k", " v "},
        ReadCase{"single quotes", "[S]\nk='v'\n", "S", "k", "v"},
        ReadCase{"one pair only", "[S]\nk=\"\"v\"\"\n", "S", "k", "\"v\""},
        ReadCase{"unmatched quotes", "[S]\nk=\"v'\n", "S", "k", "\"v'"},
        ReadCase{"no comment after value", "[S]\nk=v ; not a comment\n", "S", "k", "v ; not a comment"},
        ReadCase{"comment line", "[S]\n;k=v\n", "S", "k", std::nullopt},
        ReadCase{"indented comment", "[S]\n  ;k=v\n", "S", "k", std::nullopt},
        ReadCase{"line without equals", "[S]\nk\n", "S", "k", std::nullopt},
        ReadCase{"first of two keys", "[S]\nk=1\nK=2\n", "S", "k", "1"},
        ReadCase{"first of two sections", "[S]\nk=1\n[s]\nk=2\nonly=3\n", "S", "k", "1"},
        ReadCase{"second section never read", "[S]\nk=1\n[s]\nonly=3\n", "S", "only", std::nullopt},
        ReadCase{"key in another section", "[A]\nk=1\n[B]\n", "B", "k", std::nullopt},
        ReadCase{"key before any section", "k=1\n[S]\n", "S", "k", std::nullopt},
        ReadCase{"CR line ends", "[S]\rk=v\rj=w", "S", "j", "w"},
        ReadCase{"CR LF line ends", "[S]\r\nk=v\r\n", "S", "k", "v"},
        ReadCase{"byte-order mark", "\xEF\xBB\xBF[S]\nk=v\n", "S", "k", "v"},
        ReadCase{"empty value present", "[S]\nk=\n", "S", "k", ""},
        ReadCase{"missing section", "[S]\nk=v\n", "T", "k", std::nullopt},
        ReadCase{"single-byte file", "[S]\nk=\xA0v\xE9\n", "S", "k", "\xC2\xA0v\xC3\xA9"},
        ReadCase{"UTF-16 little-endian", std::string("\xFF\xFE[\0S\0]\0\n\0k\0=\0\xE9\0\n\0", 16), "S", "k",
                 "\xC3\xA9"},
        ReadCase{"UTF-16 big-endian", std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\x20\xAC", 16), "S", "k",
                 "\xE2\x82\xAC"},
        ReadCase{"NUL bytes dropped", std::string("[S]\nk=a\0b\n", 10), "S", "k", "ab"},
        ReadCase{"long value cut", "[S]\nk=" + kLong + "\n", "S", "k", std::string(2047, 'x')},
        ReadCase{"cut counts characters", "[S]\nk=" + std::string(2046, 'x') + "\xC3\xA9\xC3\xA9\n", "S", "k",
                 std::string(2046, 'x') + "\xC3\xA9"}),
    [](const auto& info) {
        std::string name = info.param.what;
        std::replace_if(
            name.begin(), name.end(), [](char c) { return !std::isalnum(c); }, '_');
        return name;
    });

// As the native functions read: the first section of a name, its keys in
// order, the first of equal keys; a later section of the same name is never read.
TEST(IniSections, EntriesAndSectionNamesAreThoseRead) {
    const IniFile file = IniFile::parse("[Own]\na=1\nB=2\nb=3\n[Other]\nc=4\n[own]\nd=5\n");
    const std::vector<IniFile::Entry> entries = file.entries("OWN");
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].key + entries[0].value + entries[1].key + entries[1].value, "a1B2");
    EXPECT_EQ(file.sectionNames(), (std::vector<std::string>{"Own", "Other"}));
    // Every section, repeated names included, each with the first of equal keys.
    const std::vector<IniFile::Section> sections = file.sections();
    ASSERT_EQ(sections.size(), 3u);
    EXPECT_EQ(sections[0].entries.size(), 2u);
    EXPECT_EQ(sections[2].name + sections[2].entries.at(0).value, "own5");
}

TEST(IniWrite, ReplacedSectionMovesToTheEndAndOtherLinesKeepTheirPlace) {
    IniFile file =
        IniFile::parse("; my notes\n[Settings]\nsOld=1\n; inside\n[Other]\nkeep=me\n\n[settings]\nx=2\n"
                       "[Last]\nz=9\n");
    file.replaceSection("Settings", {{"sFile", "a"}, {"sClear", "0"}});
    EXPECT_EQ(file.text(), "; my notes\n[Other]\nkeep=me\n\n[Last]\nz=9\n[Settings]\nsFile=a\nsClear=0\n");
    EXPECT_EQ(file.value("settings", "sclear"), "0");
    EXPECT_EQ(file.value("Settings", "sOld"), std::nullopt);
}

TEST(IniWrite, KeepsTheLineEndingOfTheFile) {
    IniFile file = IniFile::parse("[A]\r\nk=v\r\n");
    file.replaceSection("B", {{"x", "1"}});
    EXPECT_EQ(file.text(), "[A]\r\nk=v\r\n[B]\r\nx=1\r\n");

    // A CR alone ends its line even in such a file, as the native functions
    // read it: the key after it is read, and a save writes the two lines.
    file = IniFile::parse("[A]\r\nnote=one\rtwo=2\r\n[Settings]\r\n");
    EXPECT_EQ(file.value("A", "note"), "one");
    EXPECT_EQ(file.value("A", "two"), "2");
    file.replaceSection("Settings", {});
    EXPECT_EQ(file.text(), "[A]\r\nnote=one\r\ntwo=2\r\n[Settings]\r\n");
}

// Which ending the system's is, the tests of each system's own sources check.
TEST(IniWrite, ANewFileTakesTheSystemsLineEnding) {
    const std::string end(systemLineEnd());
    IniFile file = IniFile::parse("");
    file.replaceSection("S", {{"k", "v"}});
    EXPECT_EQ(file.text(), "[S]" + end + "k=v" + end);
}

struct RoundTrip {
    std::string value;
    std::string line; // as written
    std::string readBack;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const RoundTrip& value, std::ostream* out) {
    *out << testing::PrintToString(value.value);
}

class IniValueRoundTrip : public testing::TestWithParam<RoundTrip> {};

TEST_P(IniValueRoundTrip, WrittenThenRead) {
    IniFile file;
    file.replaceSection("S", {{"k", GetParam().value}});
    const std::string end(systemLineEnd());
    EXPECT_EQ(file.text(), "[S]" + end + "k=" + GetParam().line + end);
    EXPECT_EQ(IniFile::parse(file.text()).value("S", "k"), GetParam().readBack);
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniValueRoundTrip,
    testing::Values(
        RoundTrip{"plain", "plain", "plain"}, RoundTrip{"", "", ""}, RoundTrip{"a|b$c", "a|b$c", "a|b$c"},
        // A value never spans lines: no line or section can be injected.
        RoundTrip{"a\r\n[Settings]\nsClear=0", "a  [Settings] sClear=0", "a  [Settings] sClear=0"},
        // Values that reading would change are quoted so they come back as written.
        RoundTrip{"trailing ", "\"trailing \"", "trailing "},
        RoundTrip{"\"quoted\"", "\"\"quoted\"\"", "\"quoted\""}, RoundTrip{"'q'", "\"'q'\"", "'q'"},
        RoundTrip{".::\xC2\xA0", ".::\xC2\xA0", ".::\xC2\xA0"}));

} // namespace
} // namespace tavu
