#include "vocabulary/language_files.h"

#include "base/text.h"
#include "formats/ini_file.h"
#include "platform/executable_folder.h"
#include "platform/file.h"
#include "platform/path_text.h"

#include <algorithm>
#include <iterator>
#include <set>
#include <system_error>
#include <utility>

namespace tavu {

namespace {

constexpr std::string_view kLanguageSection = "Language";
constexpr std::string_view kLanguageExtension = ".ini";

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

// The start of a file up to its last line feed, so that a character cut by
// the end of the start does not turn the whole start into windows-1252 text
// (in a UTF-16 file the cut can only spoil the last line).
std::string_view wholeLines(std::string_view start) {
    const std::size_t lineFeed = start.rfind('\n');
    return start.substr(0, lineFeed == std::string_view::npos ? 0 : lineFeed + 1);
}

// The file as a language, from its start alone, or nothing when it cannot be
// read or its start holds no words.
std::optional<LanguageFile> languageOfFile(const std::filesystem::path& path) {
    const FileRead read = readRegularFileStart(path, kLanguageHeaderLimit);
    if (read.status != ReadStatus::Read) {
        return std::nullopt;
    }
    const std::string_view start = read.bytes;
    const IniFile file = IniFile::parse(start.size() < kLanguageHeaderLimit ? start : wholeLines(start));
    if (!holdsWords(file)) {
        return std::nullopt;
    }
    return describedLanguage(path, file);
}

bool hasLanguageExtension(const std::filesystem::path& path) {
    return equalsIgnoringAsciiCase(utf8FromPath(path.extension()), kLanguageExtension);
}

bool isShippedLanguageFile(const std::filesystem::path& path) {
    const std::string name = utf8FromPath(path.filename());
    return std::any_of(kShippedLanguageCodes.begin(), kShippedLanguageCodes.end(),
                       [&](std::string_view code) { return name == std::string(code) + ".ini"; });
}

struct Candidates {
    std::vector<std::filesystem::path> files;
    std::size_t leftOut = 0;
};

// The "*.ini" files in the folder to read: those of the shipped languages,
// sorted, so that they keep their codes, then the first `room` others by name;
// a folder that cannot be listed has none. However many entries the folder
// holds, no more than `room` others are kept.
Candidates candidateFiles(const std::filesystem::path& folder, std::size_t room) {
    Candidates found;
    std::set<std::filesystem::path> others;
    std::error_code code;
    for (std::filesystem::directory_iterator entry(folder, code);
         !code && entry != std::filesystem::directory_iterator{}; entry.increment(code)) {
        const std::filesystem::path& path = entry->path();
        if (!hasLanguageExtension(path)) {
            continue;
        }
        if (isShippedLanguageFile(path)) {
            found.files.push_back(path);
            continue;
        }
        others.insert(path);
        if (others.size() > room) {
            others.erase(std::prev(others.end()));
            ++found.leftOut;
        }
    }
    std::sort(found.files.begin(), found.files.end());
    found.files.insert(found.files.end(), others.begin(), others.end());
    return found;
}

// The first word the file sets that holds a text no word may hold, and that text.
std::optional<std::pair<Word, std::string_view>> forbiddenTextIn(const IniFile& file) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        const auto value = file.value(kStringsSection, wordKey(word));
        for (std::string_view forbidden : kForbiddenInWords) {
            if (value && value->find(forbidden) != std::string::npos) {
                return std::pair{word, forbidden};
            }
        }
    }
    return std::nullopt;
}

// Whether a language named on the command line is a file: only a path is, so
// that a stray file in the working folder never stands for an installed language.
bool isFilePath(std::string_view nameOrFile) {
    const auto systemSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
    return nameOrFile.find('/') != std::string_view::npos ||
           nameOrFile.find(systemSeparator) != std::string_view::npos ||
           hasLanguageExtension(pathFromUtf8(std::string(nameOrFile)));
}

} // namespace

std::vector<std::filesystem::path> languageFolders() {
    const std::filesystem::path folder = executableFolder();
    if (folder.empty()) {
        return {};
    }
    return {folder / "languages", folder.parent_path() / "share" / "tavu" / "languages"};
}

LanguageListing findLanguages(const std::vector<std::filesystem::path>& folders) {
    LanguageListing listing;
    std::set<std::string> codes;
    std::size_t room = kMaxOtherLanguageFiles;
    for (const std::filesystem::path& folder : folders) {
        const Candidates candidates = candidateFiles(folder, room);
        listing.leftOut += candidates.leftOut;
        for (const std::filesystem::path& path : candidates.files) {
            room -= isShippedLanguageFile(path) ? 0 : 1;
            auto language = languageOfFile(path);
            if (language && codes.insert(toLowerAscii(language->code)).second) {
                listing.languages.push_back(std::move(*language));
            }
        }
    }
    // One list by file name, whichever folder a file came from.
    std::stable_sort(
        listing.languages.begin(), listing.languages.end(),
        [](const LanguageFile& a, const LanguageFile& b) { return a.path.filename() < b.path.filename(); });
    return listing;
}

Result<Vocabulary, Unreadable> readLanguageFile(const std::filesystem::path& path,
                                                const Vocabulary& current) {
    const FileRead read = readRegularFile(path, kSettingsFileLimit);
    if (read.status != ReadStatus::Read) {
        return Unreadable{read.reason};
    }
    const IniFile file = IniFile::parse(read.bytes);
    if (!holdsWords(file)) {
        return Unreadable{utf8FromPath(path) + " is not a language file: it has no section [" +
                          std::string(kStringsSection) + "] with the words in it."};
    }
    if (const auto forbidden = forbiddenTextIn(file)) {
        return Unreadable{utf8FromPath(path) + " is refused: its word " +
                          std::string(wordKey(forbidden->first)) + " holds \"" +
                          std::string(forbidden->second) +
                          "\", which would end a prompt or start a command in the hub's menus. No word of a "
                          "language file may hold ], |, $ or %[, and none of its words were loaded."};
    }
    Vocabulary vocabulary = current;
    readStringsSection(vocabulary, file);
    return vocabulary;
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

Result<Done, Unwritable> writeLanguageFile(const std::filesystem::path& path, const Vocabulary& vocabulary,
                                           const std::string& name, const std::string& code) {
    return writeFileAtomically(path, languageFileText(vocabulary, name, code), SymbolicLink::Replace);
}

std::optional<LanguageFile> findLanguage(const std::string& nameOrFile,
                                         const std::vector<LanguageFile>& installed) {
    const std::filesystem::path path = pathFromUtf8(nameOrFile);
    if (isFilePath(nameOrFile)) {
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
