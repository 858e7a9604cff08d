#include "preview/menu_preview.h"
#include "support.h"
#include "vocabulary/language_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <unistd.h>

namespace tavu::test {
namespace {

const std::filesystem::path kShipped = std::filesystem::path(TAVU_SOURCE_DIR) / "languages";

class LanguageFiles : public testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("tavu-languages-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder / "second");
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::filesystem::path write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
        return folder / name;
    }
    std::filesystem::path folder;
};

std::vector<std::filesystem::path> shippedFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(kShipped)) {
        files.push_back(entry.path());
    }
    return files;
}

// Every shipped file is complete, safe in a command, named, and makes a menu
// that clients read without error.
TEST(ShippedLanguages, EachIsCompleteAndMakesAReadableMenu) {
    const auto files = shippedFiles();
    ASSERT_EQ(files.size(), 12u);
    ASSERT_EQ(findLanguages({kShipped}).size(), files.size()) << "every file found, codes all different";
    Vocabulary sentinel;
    for (std::size_t i = 0; i < kWordCount; ++i) {
        sentinel.setText(static_cast<Word>(i), "\x01");
    }
    for (const auto& path : files) {
        SCOPED_TRACE(path.filename().string());
        const LanguageRead read = readLanguageFile(path, sentinel);
        ASSERT_EQ(read.error, "");
        for (std::size_t i = 0; i < kWordCount; ++i) {
            const std::string& word = read.vocabulary.text(static_cast<Word>(i));
            EXPECT_NE(word, "\x01") << wordKey(static_cast<Word>(i)) << " is missing";
            EXPECT_EQ(word.find_first_of("|$]"), std::string::npos) << wordKey(static_cast<Word>(i));
        }
        const auto language = findLanguage(path.string(), {});
        ASSERT_TRUE(language);
        EXPECT_EQ(language->code, path.stem().string());
        EXPECT_NE(language->name, path.stem().string()) << "the file names its language";
        const Generation generation =
            generate(everythingGranted().document(), allOptionsOn(), read.vocabulary);
        EXPECT_FALSE(generation.stop);
        EXPECT_FALSE(preview::previewUserCommands(generation.text).hasError());
    }
}

TEST_F(LanguageFiles, WrittenWordsReadBackTheSame) {
    Vocabulary words;
    words.setText(Word::wNick, "Ник \"в кавычках\"");
    words.setText(Word::wReason, " leading space");
    words.setText(Word::wStartWith, "»\xC2\xA0");
    const auto path = folder / "mine.ini";
    ASSERT_EQ(writeLanguageFile(path, words, "Русский", "ru-x"), "");
    const LanguageRead read = readLanguageFile(path, Vocabulary{});
    EXPECT_EQ(read.error, "");
    EXPECT_EQ(read.vocabulary, words);
    const auto found = findLanguages({folder});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].name, "Русский");
    EXPECT_EQ(found[0].code, "ru-x");
    EXPECT_NE(writeLanguageFile(folder / "none" / "x.ini", words, "", ""), "");
}

TEST_F(LanguageFiles, ARefusedFileLeavesTheWordsAndSaysWhy) {
    Vocabulary current;
    current.setText(Word::wNick, "Mine");
    for (const auto& path : {write("settings.ini", "[Settings]\nsClear=0\n[Language]\nName=X\n"),
                             write("empty.ini", "[Strings]\nnotAWord=1\n"), folder / "missing.ini", folder}) {
        SCOPED_TRACE(path.string());
        const LanguageRead read = readLanguageFile(path, current);
        EXPECT_EQ(read.vocabulary, current);
        EXPECT_NE(read.error.find(path.string()), std::string::npos) << read.error;
    }
    write("part.ini", "[strings]\nwBan=Ba|nn$\n");
    const LanguageRead part = readLanguageFile(folder / "part.ini", current);
    EXPECT_EQ(part.vocabulary.text(Word::wBan), "Bann") << "no word may end or start a command";
    EXPECT_EQ(part.vocabulary.text(Word::wNick), "Mine") << "a missing key keeps the current text";
}

// Sorted by file name across folders; the first folder wins a code; files
// without words and other names are left out.
TEST_F(LanguageFiles, FindsOneFilePerCode) {
    write("b.ini", "[Language]\nCode=x\n[Strings]\nwBan=b\n");
    write("second/a.ini", "[Language]\nName=Alpha\nCode=y\n[Strings]\nwBan=a\n");
    write("second/c.INI", "[Language]\nCode=X\n[Strings]\nwBan=c\n");
    write("second/d.ini", "[Language]\nCode=d\n");
    write("second/e.txt", "[Strings]\nwBan=e\n");
    const auto found = findLanguages({folder, folder / "second"});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].path, folder / "second" / "a.ini");
    EXPECT_EQ(found[1].path, folder / "b.ini");
    EXPECT_EQ(found[1].name, "b") << "no name: the file's stem";

    EXPECT_EQ(findLanguage("ALPHA", found)->code, "y");
    EXPECT_EQ(findLanguage("X", found)->path, folder / "b.ini");
    EXPECT_EQ(findLanguage((folder / "second" / "c.INI").string(), found)->code, "X");
    EXPECT_FALSE(findLanguage("z", found));
}

} // namespace
} // namespace tavu::test
