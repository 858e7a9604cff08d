#pragma once

// Language files: the words of one language in the settings file's own layout,
// a section "Strings" with the word keys, and a section "Language" that names
// the language in its own words ("Deutsch") and gives its code ("de"). A file
// exported by one program loads in another, and a settings file is itself a
// language file without a name.

#include "base/result.h"
#include "platform/file.h"
#include "vocabulary/vocabulary.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

struct LanguageFile {
    std::filesystem::path path;
    std::string name; // the language in its own words; the file's stem when the file names none
    std::string code; // as the file gives it, or the file's stem
};

// The folders where installed languages are looked for, in order: "languages"
// beside the executable (the build folder and the Windows zip), then
// "../share/tavu/languages" from the executable's folder (an installed package).
std::vector<std::filesystem::path> languageFolders();

// The languages a listing found, and how many "*.ini" files it left unread.
struct LanguageListing {
    std::vector<LanguageFile> languages;
    std::size_t leftOut = 0;
};

// The codes of the languages shipped with TAVU, whose files ("en.ini" ...
// "pt-BR.ini") a listing always reads.
inline constexpr std::array<std::string_view, 12> kShippedLanguageCodes = {
    "en", "ru", "uk", "de", "sv", "pl", "cs", "hu", "nl", "fr", "es", "pt-BR"};
// A listing reads the files of the shipped languages and at most this many
// other "*.ini" files in all, and of each only its start: a languages folder
// holds a file per language, and one that holds thousands must neither hide
// the shipped languages nor hold up the start.
inline constexpr std::size_t kMaxOtherLanguageFiles = 100;
inline constexpr std::size_t kLanguageHeaderLimit = 64 * 1024;

// The "*.ini" files (in any letter case) of the given folders whose first
// kLanguageHeaderLimit bytes hold the section "Language", if any, and the
// start of a section "Strings" with a word key, sorted by file name. Of two
// files with the same code (without regard to letter case) the one in the
// earlier folder wins, then the one named as a shipped language's, then the
// first by name. Unreadable files are left out. Each folder's files named as a shipped language's are read;
// of the others, the first by name are read until kMaxOtherLanguageFiles files have been, and the rest are
// counted in `leftOut`. Words are not checked here: loading a file does.
LanguageListing findLanguages(const std::vector<std::filesystem::path>& folders);

// Reads the words of a language file over `current`: a key the file holds sets
// its word, a key it lacks keeps the current text. A file that cannot be read
// whole, or holds no section "Strings" with a word key in it, is refused with
// a message that names it. So is a file
// with "]", "|", "$" or "%[" in a word it sets, which would end the prompt the
// word stands in or start a command in the hub's menus: the message names the
// key and the character. A translator never needs them, and a shared file
// must not smuggle a command in.
Result<Vocabulary, Unreadable> readLanguageFile(const std::filesystem::path& path, const Vocabulary& current);

// The text of a language file with these words: a comment, the section
// "Language" with the name and code that are not empty, and the section "Strings".
std::string languageFileText(const Vocabulary& vocabulary, const std::string& name, const std::string& code);

// Writes the words as a language file, replacing the file whole (a symbolic
// link is itself replaced, never the file it points to).
Result<Done, Unwritable> writeLanguageFile(const std::filesystem::path& path, const Vocabulary& vocabulary,
                                           const std::string& name, const std::string& code);

// A language given by name, code or file. A path (a text holding "/", or a backslash
// on Windows, or ending in ".ini" in any letter case) is taken as a file,
// whether or not it is there, so that reading it gives the reason; anything
// else is the installed language whose code or name matches without regard to
// letter case, whatever files the working folder holds. Empty when there is none.
std::optional<LanguageFile> findLanguage(const std::string& nameOrFile,
                                         const std::vector<LanguageFile>& installed);

} // namespace tavu
