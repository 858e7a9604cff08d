#include "vocabulary/language_files.h"

#include "platform/executable_folder.h"
#include "platform/file.h"
#include "platform/ini_file.h"
#include "platform/path_text.h"
#include "platform/text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <set>
#include <system_error>

namespace tavu {

namespace {

constexpr std::string_view kLanguageSection = "Language";
constexpr std::string_view kLanguageExtension = ".ini";
// A languages folder holds a file per language; one that holds far more is
// not a languages folder, and reading all of it would only slow the start.
constexpr std::size_t kMaxEntriesPerFolder = 500;

constexpr std::string_view kHeader =
    "; Words for TAVU's hub menus.\n"
    "; Anyone may improve this translation: edit the words, keep the keys, and send the file to the TAVU "
    "developers.\n";

// A section "Strings" without a single word key would load nothing, so it does
// not make a language file either.
bool holdsWords(const IniFile& file) {
    return std::any_of(wordTable().begin(), wordTable().end(),
                       [&](const WordEntry& entry) { return file.hasKey(kStringsSection, entry.key); });
}

std::string valueOrStem(const IniFile& file, std::string_view key, const std::filesystem::path& path) {
    auto value = file.value(kLanguageSection, key);
    return value && !value->empty() ? std::move(*value) : utf8FromPath(path.stem());
}

LanguageFile describedLanguage(const std::filesystem::path& path, const IniFile& file) {
    return {path, valueOrStem(file, "Name", path), valueOrStem(file, "Code", path)};
}

// The file as a language, or nothing when it cannot be read or holds no words.
std::optional<LanguageFile> languageOfFile(const std::filesystem::path& path) {
    const FileRead read = readRegularFile(path, kSettingsFileLimit);
    if (read.status != ReadStatus::Read) {
        return std::nullopt;
    }
    const IniFile file = IniFile::parse(read.bytes);
    if (!holdsWords(file)) {
        return std::nullopt;
    }
    return describedLanguage(path, file);
}

bool hasLanguageExtension(const std::filesystem::path& path) {
    return equalsIgnoringAsciiCase(utf8FromPath(path.extension()), kLanguageExtension);
}

// The "*.ini" names in the folder, sorted; a folder that cannot be listed has none.
std::vector<std::filesystem::path> candidateFiles(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    std::error_code code;
    std::filesystem::directory_iterator entry(folder, code);
    for (std::size_t looked = 0;
         !code && entry != std::filesystem::directory_iterator{} && looked < kMaxEntriesPerFolder;
         entry.increment(code), ++looked) {
        if (hasLanguageExtension(entry->path())) {
            files.push_back(entry->path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

std::vector<std::filesystem::path> languageFolders() {
    const std::filesystem::path folder = executableFolder();
    if (folder.empty()) {
        return {};
    }
    return {folder / "languages", folder.parent_path() / "share" / "tavu" / "languages"};
}

std::vector<LanguageFile> findLanguages(const std::vector<std::filesystem::path>& folders) {
    std::vector<LanguageFile> found;
    std::set<std::string> codes;
    for (const std::filesystem::path& folder : folders) {
        for (const std::filesystem::path& path : candidateFiles(folder)) {
            auto language = languageOfFile(path);
            if (language && codes.insert(toLowerAscii(language->code)).second) {
                found.push_back(std::move(*language));
            }
        }
    }
    // One list by file name, whichever folder a file came from.
    std::stable_sort(found.begin(), found.end(), [](const LanguageFile& a, const LanguageFile& b) {
        return a.path.filename() < b.path.filename();
    });
    return found;
}

LanguageRead readLanguageFile(const std::filesystem::path& path, const Vocabulary& current) {
    LanguageRead result{current, {}};
    const FileRead read = readRegularFile(path, kSettingsFileLimit);
    if (read.status != ReadStatus::Read) {
        result.error = read.reason;
        return result;
    }
    const IniFile file = IniFile::parse(read.bytes);
    if (!holdsWords(file)) {
        result.error = utf8FromPath(path) + " is not a language file: it has no section [" +
                       std::string(kStringsSection) + "] with the words in it.";
        return result;
    }
    readStringsSection(result.vocabulary, file);
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        if (result.vocabulary.text(word) != current.text(word)) {
            result.vocabulary.setText(word, withoutRejectedCharacters(result.vocabulary.text(word)));
        }
    }
    return result;
}

std::string languageFileText(const Vocabulary& vocabulary, const std::string& name, const std::string& code) {
    IniFile file = IniFile::parse(kHeader);
    std::vector<IniFile::Entry> language;
    if (!name.empty()) {
        language.push_back({"Name", name});
    }
    if (!code.empty()) {
        language.push_back({"Code", code});
    }
    if (!language.empty()) {
        file.replaceSection(kLanguageSection, language);
    }
    writeStringsSection(vocabulary, file);
    return file.text();
}

std::string writeLanguageFile(const std::filesystem::path& path, const Vocabulary& vocabulary,
                              const std::string& name, const std::string& code) {
    if (!writeFileAtomically(path, languageFileText(vocabulary, name, code))) {
        const int reason = errno;
        return "Unable to write to " + utf8FromPath(path) + "\n" + std::strerror(reason) + ".";
    }
    return {};
}

std::optional<LanguageFile> findLanguage(const std::string& nameOrFile,
                                         const std::vector<LanguageFile>& installed) {
    std::error_code code;
    const std::filesystem::path path = pathFromUtf8(nameOrFile);
    if (!nameOrFile.empty() && std::filesystem::exists(path, code) &&
        !std::filesystem::is_directory(path, code)) {
        // A file that is not a language still goes on, so that reading it
        // gives the reason.
        return languageOfFile(path).value_or(
            LanguageFile{path, utf8FromPath(path.stem()), utf8FromPath(path.stem())});
    }
    const auto found = std::find_if(installed.begin(), installed.end(), [&](const LanguageFile& language) {
        return equalsIgnoringAsciiCase(language.code, nameOrFile) ||
               equalsIgnoringAsciiCase(language.name, nameOrFile);
    });
    return found == installed.end() ? std::nullopt : std::optional(*found);
}

} // namespace tavu
