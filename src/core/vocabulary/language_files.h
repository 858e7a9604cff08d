#pragma once

// Language files: the words of one language in the settings file's own layout,
// a section "Strings" with the word keys, and a section "Language" that names
// the language in its own words ("Deutsch") and gives its code ("de"). A file
// exported by one program loads in another, and a settings file is itself a
// language file without a name.

#include "vocabulary/vocabulary.h"

#include <filesystem>
#include <optional>
#include <string>
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

// The "*.ini" files of the given folders that hold a section "Strings" with at
// least one word key, sorted by file name; the first of two files with the same
// code (without regard to letter case), in the order of the folders, wins.
// Unreadable files are left out. At most a few hundred files are looked at per
// folder.
std::vector<LanguageFile> findLanguages(const std::vector<std::filesystem::path>& folders);

struct LanguageRead {
    Vocabulary vocabulary; // the given words with the file's words read over them
    std::string error;     // empty when the file was read
};

// Reads the words of a language file over `current`: a key the file holds sets
// its word, a key it lacks keeps the current text. A file that cannot be read
// whole, or holds no section "Strings" with a word key in it, is refused with
// a message that names it, and `current` comes back unchanged. "|" and "$" are
// dropped from the words the file sets, as the Translator's fields drop them
// however they arrive: a shared file must not end or start an NMDC command.
LanguageRead readLanguageFile(const std::filesystem::path& path, const Vocabulary& current);

// The text of a language file with these words: a comment, the section
// "Language" with the name and code that are not empty, and the section "Strings".
std::string languageFileText(const Vocabulary& vocabulary, const std::string& name, const std::string& code);

// Writes the words as a language file, replacing the file whole; empty on
// success, otherwise the message.
std::string writeLanguageFile(const std::filesystem::path& path, const Vocabulary& vocabulary,
                              const std::string& name, const std::string& code);

// A language given by name, code or file: an existing file path is taken as it
// is; otherwise the installed language whose code or name matches without
// regard to letter case. Empty when there is none.
std::optional<LanguageFile> findLanguage(const std::string& nameOrFile,
                                         const std::vector<LanguageFile>& installed);

} // namespace tavu
