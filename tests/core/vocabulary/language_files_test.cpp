#include "formats/code_page.h"
#include "platform/file.h"
#include "preview/menu_preview.h"
#include "source_file.h"
#include "support.h"
#include "temporary_folder.h"
#include "vocabulary/language_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace tavu::test {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TAVU_SOURCE_DIR) / "languages";

class LanguageFiles : public testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder / "second"); }
    std::filesystem::path write(const std::string& name, const std::string& text) const {
        return folder.write(name, text);
    }
    TemporaryFolder folder{"tavu-languages-"};
};

std::vector<std::filesystem::path> shippedFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kShipped)) {
        files.push_back(entry.path());
    }
    return files;
}

// Every shipped file is complete, safe in a command and named.
TEST(ShippedLanguages, EachIsCompleteAndMakesAReadableMenu) {
    const auto files = shippedFiles();
    ASSERT_EQ(files.size(), 12u);
    ASSERT_EQ(findLanguages({kShipped}).languages.size(), files.size())
        << "every file found, codes all different";
    Vocabulary sentinel;
    for (std::size_t i = 0; i < kWordCount; ++i) {
        sentinel.setText(static_cast<Word>(i), "\x01");
    }
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const auto read = readLanguageFile(path, sentinel);
        ASSERT_TRUE(read.ok()) << read.failure().reason;
        for (std::size_t i = 0; i < kWordCount; ++i) {
            const std::string& word = read->text(static_cast<Word>(i));
            EXPECT_NE(word, "\x01") << wordKey(static_cast<Word>(i)) << " is missing";
        }
        const auto language = findLanguage(path.string(), {});
        ASSERT_TRUE(language);
        EXPECT_EQ(language->code, path.stem().string());
        EXPECT_NE(language->name, path.stem().string()) << "the file names its language";
    }
}

// Each shipped language with the single-byte code page its region's hubs read.
struct ShippedLanguage {
    std::string_view code;
    CodePage regionCodePage;
};
constexpr ShippedLanguage kShippedLanguages[] = {
    {"en", CodePage::Windows1252}, {"ru", CodePage::Windows1251}, {"uk", CodePage::Windows1251},
    {"de", CodePage::Windows1252}, {"sv", CodePage::Windows1252}, {"pl", CodePage::Windows1250},
    {"cs", CodePage::Windows1250}, {"hu", CodePage::Windows1250}, {"nl", CodePage::Windows1252},
    {"fr", CodePage::Windows1252}, {"es", CodePage::Windows1252}, {"pt-BR", CodePage::Windows1252},
};
static_assert(std::size(kShippedLanguages) == kShippedLanguageCodes.size());

// Names the case in test listings.
void PrintTo(const ShippedLanguage& value, std::ostream* out) {
    *out << value.code;
}

// The keys of a language file's section "Strings", in the order they stand.
std::vector<std::string> keysInOrder(const std::string& fileText) {
    std::vector<std::string> keys;
    bool inStrings = false;
    std::istringstream lines(fileText);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with('[')) {
            inStrings = line.starts_with("[Strings]");
        } else if (const auto equals = line.find('='); inStrings && equals != std::string::npos) {
            keys.push_back(line.substr(0, equals));
        }
    }
    return keys;
}

// One language's part of the glossary in docs/translating.md.
struct Glossary {
    std::vector<std::pair<std::string, std::string>> words; // key, word
    std::set<std::string> keptAsEnglish;                    // keys
};

// The keys in backquotes on a line, "`wDns`, `wIp`".
std::vector<std::string> quotedKeys(std::string_view line) {
    std::vector<std::string> keys;
    for (auto open = line.find('`'); open != std::string_view::npos; open = line.find('`', open)) {
        const auto close = line.find('`', open + 1);
        keys.emplace_back(line.substr(open + 1, close - open - 1));
        open = close + 1;
    }
    return keys;
}

// The glossary's section "### NAME (`code`)": its rows "| term | `key` | word |
// loanword |" and its line "Kept as in English: `key`, ...".
Glossary glossaryOf(std::string_view code) {
    const std::string guide = sourceFileText("docs/translating.md");
    const auto start = guide.find("(`" + std::string(code) + "`)\n");
    if (start == std::string::npos) {
        ADD_FAILURE() << "docs/translating.md has no glossary for " << code;
        return {};
    }
    Glossary glossary;
    std::istringstream lines(guide.substr(start, guide.find("\n### ", start) - start));
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("Kept as in English:")) {
            const auto keys = quotedKeys(line);
            glossary.keptAsEnglish.insert(keys.begin(), keys.end());
        } else if (const auto key = line.find(" | `w"); line.starts_with("| ") && key != std::string::npos) {
            const auto word = line.find(" | ", key + 3);
            glossary.words.emplace_back(line.substr(key + 4, word - key - 5),
                                        line.substr(word + 3, line.find(" | ", word + 3) - word - 3));
        }
    }
    return glossary;
}

class EachShippedLanguage : public testing::TestWithParam<ShippedLanguage> {
protected:
    static std::string fileName() { return std::string(GetParam().code) + ".ini"; }
    static Vocabulary words() {
        const auto read = readLanguageFile(kShipped / fileName(), Vocabulary{});
        EXPECT_TRUE(read.ok()) << read.failure().reason;
        return read.value();
    }
    // The whole menu: every permission granted, every option on.
    static Generation fullMenu() { return generate(everythingGranted().document(), allOptionsOn(), words()); }
    // English is the language the glossary translates: it has no part of its own.
    static bool isEnglish() { return GetParam().code == "en"; }
};

TEST_P(EachShippedLanguage, KeepsTheKeysInTheOrderOfEnglish) {
    EXPECT_EQ(keysInOrder(sourceFileText("languages/" + fileName())),
              keysInOrder(sourceFileText("languages/en.ini")));
}

// A "\" in a title opens a submenu, an "&" marks a keyboard shortcut.
TEST_P(EachShippedLanguage, NoWordHoldsABackslashOrAnAmpersand) {
    const Vocabulary vocabulary = words();
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const std::string& word = vocabulary.text(static_cast<Word>(i));
        EXPECT_EQ(word.find_first_of("\\&"), std::string::npos)
            << wordKey(static_cast<Word>(i)) << ": " << word;
    }
}

// Its full menu is one that every client family shows as it says: nothing
// unreadable, no title with "&", no two items of a submenu with the same title
// and no command that DC++ and AirDC++ keep otherwise.
TEST_P(EachShippedLanguage, ItsFullMenuGivesNoMenuPreviewFinding) {
    const Generation menu = fullMenu();
    EXPECT_FALSE(menu.stop);
    for (const preview::ClientFamily family : preview::kClientFamilies) {
        for (const preview::Finding& finding : preview::previewUserCommands(menu.text, family).findings) {
            ADD_FAILURE() << preview::familyName(family) << ", line " << finding.line << ": "
                          << finding.detail;
        }
    }
}

// The glossary names every word left as in English; the item prefix, which is
// punctuation, is the same in every language.
TEST_P(EachShippedLanguage, AWordIsEnglishOnlyWhereTheGlossaryKeepsIt) {
    if (isEnglish()) {
        GTEST_SKIP() << "the English words are the program's own";
    }
    const Vocabulary vocabulary = words();
    std::set<std::string> english;
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        if (word != Word::wStartWith && vocabulary.text(word) == defaultText(word)) {
            english.emplace(wordKey(word));
        }
    }
    EXPECT_EQ(english, glossaryOf(GetParam().code).keptAsEnglish);
}

TEST_P(EachShippedLanguage, TheGlossaryGivesItsWords) {
    if (isEnglish()) {
        GTEST_SKIP() << "the English words are the program's own";
    }
    const Vocabulary vocabulary = words();
    const Glossary glossary = glossaryOf(GetParam().code);
    EXPECT_EQ(glossary.words.size(), 19u) << "every term of the glossary";
    for (const auto& [key, word] : glossary.words) {
        const auto found = wordByKey(key);
        ASSERT_TRUE(found) << key;
        EXPECT_EQ(vocabulary.text(*found), word) << key;
    }
}

TEST_P(EachShippedLanguage, ItsFullMenuFitsTheCodePageOfItsRegion) {
    const Conversion encoded = encodeUtf8(fullMenu().text, GetParam().regionCodePage);
    EXPECT_FALSE(encoded.failure) << codePageName(GetParam().regionCodePage) << " cannot hold "
                                  << describeCharacter(
                                         encoded.failure.value_or(ConversionFailure{}).character);
}

INSTANTIATE_TEST_SUITE_P(Shipped, EachShippedLanguage, testing::ValuesIn(kShippedLanguages),
                         [](const auto& info) {
                             std::string name(info.param.code);
                             std::erase(name, '-');
                             return name;
                         });

TEST_F(LanguageFiles, WrittenWordsReadBackTheSame) {
    Vocabulary words;
    words.setText(Word::wNick, "Ник \"в кавычках\"");
    words.setText(Word::wReason, " leading space");
    words.setText(Word::wStartWith, "»\xC2\xA0");
    const auto path = folder / "mine.ini";
    ASSERT_TRUE(writeLanguageFile(path, words, "Русский", "ru-x").ok());
    const auto read = readLanguageFile(path, Vocabulary{});
    ASSERT_TRUE(read.ok()) << read.failure().reason;
    EXPECT_EQ(read.value(), words);
    const auto found = findLanguages({folder.path()}).languages;
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "Русский");
    EXPECT_EQ(found[0].code, "ru-x");
    EXPECT_FALSE(writeLanguageFile(folder / "none" / "x.ini", words, "", "").ok());
}

TEST_F(LanguageFiles, ARefusedFileLeavesTheWordsAndSaysWhy) {
    Vocabulary current;
    current.setText(Word::wNick, "Mine");
    for (const auto& path :
         {write("settings.ini", "[Settings]\nsClear=0\n[Language]\nName=X\n"),
          write("empty.ini", "[Strings]\nnotAWord=1\n"), folder / "missing.ini", folder.path()}) {
        SCOPED_TRACE(path.string());
        const auto read = readLanguageFile(path, current);
        ASSERT_FALSE(read.ok());
        EXPECT_NE(read.failure().reason.find(path.string()), std::string::npos) << read.failure().reason;
    }
    write("part.ini", "[strings]\nwBan=Bann\n");
    const auto part = readLanguageFile(folder / "part.ini", current);
    ASSERT_TRUE(part.ok());
    EXPECT_EQ(part->text(Word::wBan), "Bann");
    EXPECT_EQ(part->text(Word::wNick), "Mine") << "a missing key keeps the current text";
}

// Sorted by file name across folders; the first folder wins a code; files
// without words and other names are left out.
TEST_F(LanguageFiles, FindsOneFilePerCode) {
    write("b.ini", "[Language]\nCode=x\n[Strings]\nwBan=b\n");
    write("second/a.ini", "[Language]\nName=Alpha\nCode=y\n[Strings]\nwBan=a\n");
    write("second/c.INI", "[Language]\nCode=X\n[Strings]\nwBan=c\n");
    write("second/f.INI", "[Language]\nCode=f\n[Strings]\nwBan=f\n");
    write("second/d.ini", "[Language]\nCode=d\n");
    write("second/e.txt", "[Strings]\nwBan=e\n");
    const auto found = findLanguages({folder.path(), folder / "second"}).languages;
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].path, folder / "second" / "a.ini");
    EXPECT_EQ(found[1].path, folder / "b.ini");
    EXPECT_EQ(found[1].name, "b") << "no name: the file's stem";
    EXPECT_EQ(found[2].path, folder / "second" / "f.INI") << "the extension in any letter case";

    EXPECT_EQ(findLanguage("ALPHA", found)->code, "y");
    EXPECT_EQ(findLanguage("X", found)->path, folder / "b.ini");
    EXPECT_EQ(findLanguage((folder / "second" / "c.INI").string(), found)->code, "X");
    EXPECT_FALSE(findLanguage("z", found));
}

class ForbiddenInWords : public LanguageFiles, public testing::WithParamInterface<std::string> {};

// A shared file must not end a prompt or start a command: it is refused whole,
// naming the key and the character, and no word changes.
TEST_P(ForbiddenInWords, RefuseTheWholeFile) {
    Vocabulary current;
    current.setText(Word::wNick, "Mine");
    const auto path = write("shared.ini", "[Strings]\nwNick=Theirs\nwKick=Kick" + GetParam() + "x\n");
    const auto read = readLanguageFile(path, current);
    ASSERT_FALSE(read.ok());
    EXPECT_NE(read.failure().reason.find(path.string() + " is refused: its word wKick holds \"" + GetParam() +
                                         "\""),
              std::string::npos)
        << read.failure().reason;
}

INSTANTIATE_TEST_SUITE_P(EachCharacter, ForbiddenInWords, testing::Values("]", "|", "$", "%["));

TEST_F(LanguageFiles, APercentOrBracketAloneIsAWord) {
    const auto read = readLanguageFile(write("fine.ini", "[Strings]\nwKick=100% [Kick\n"), {});
    ASSERT_TRUE(read.ok()) << read.failure().reason;
    EXPECT_EQ(read->text(Word::wKick), "100% [Kick");
}

// Files and folders named like installed languages in the working folder
// never stand for them; only a path names a file, there or not.
TEST_F(LanguageFiles, OnlyAPathNamesAFile) {
    const std::vector<LanguageFile> installed = findLanguages({kShipped}).languages;
    write("de", "not a language");
    write("ru", "[Language]\nCode=ru\n[Strings]\nwBan=stray\n");
    std::filesystem::create_directory(folder / "fr");
    const WorkingFolder inside(folder.path());
    const std::pair<std::string, std::filesystem::path> cases[] = {
        {"de", kShipped / "de.ini"},
        {"ru", kShipped / "ru.ini"},
        {"fr", kShipped / "fr.ini"},
        {"./de", "./de"},
        {"x.ini", "x.ini"},
        {"X.Ini", "X.Ini"},
        {"fr/", "fr/"},
    };
    for (const auto& [argument, path] : cases) {
        const auto language = findLanguage(argument, installed);
        ASSERT_TRUE(language) << argument;
        EXPECT_EQ(language->path, path) << argument;
    }
}

// Thousands of other files neither hide a shipped language nor hold up the
// listing: of the other language files the first by name are read, and the
// rest are counted.
TEST_F(LanguageFiles, ACrowdedFolderKeepsTheShippedLanguages) {
    for (const auto& file : shippedFiles()) {
        std::filesystem::copy_file(file, folder / file.filename());
    }
    for (int i = 0; i < 1000; ++i) {
        write("stray" + std::to_string(i) + ".txt", "");
    }
    constexpr std::size_t kCut = 7;
    // Half of them in a second folder: the bound holds for all folders together.
    for (std::size_t i = 0; i < kMaxOtherLanguageFiles + kCut; ++i) {
        const std::string code = "a" + std::to_string(1000 + i);
        write((i < kMaxOtherLanguageFiles / 2 ? "" : "second/") + code + ".ini",
              "[Language]\nCode=" + code + "\n[Strings]\nwBan=x\n");
    }
    const LanguageListing listing = findLanguages({folder.path(), folder / "second"});
    EXPECT_EQ(listing.leftOut, kCut);
    ASSERT_EQ(listing.languages.size(), kShippedLanguageCodes.size() + kMaxOtherLanguageFiles);
    for (std::string_view code : kShippedLanguageCodes) {
        const auto language = findLanguage(std::string(code), listing.languages);
        ASSERT_TRUE(language) << code;
        EXPECT_EQ(language->path, folder / (std::string(code) + ".ini"));
    }
    EXPECT_TRUE(findLanguage("a1000", listing.languages));
    EXPECT_FALSE(findLanguage("a" + std::to_string(1000 + kMaxOtherLanguageFiles), listing.languages));
}

// A listing reads only the start of each file: a file larger than any read
// whole is listed (and refused once chosen), and a character that the end of
// the start cuts in two does not spoil the name.
TEST_F(LanguageFiles, AListingReadsOnlyTheStart) {
    const auto huge = write("huge.ini", "[Language]\nName=Großes\n[Strings]\nwBan=x\n");
    std::filesystem::resize_file(huge, kSettingsFileLimit + 1);
    std::string cut = "[Language]\nName=Čeština\n[Strings]\nwBan=x\n;";
    cut.append(kLanguageHeaderLimit - 1 - cut.size(), 'a');
    const auto chosen = write("cut.ini", cut + "é\nwNick=Ник\n");
    const auto found = findLanguages({folder.path()}).languages;
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "Čeština");
    EXPECT_EQ(found[1].name, "Großes");
    EXPECT_FALSE(readLanguageFile(huge, {}).ok());
    EXPECT_EQ(readLanguageFile(chosen, {}).value().text(Word::wNick), "Ник") << "a chosen file is read whole";
}

} // namespace
} // namespace tavu::test
