#include "chosen_profile.h"

#include "cli.h"
#include "export/export_names.h"
#include "generator/options.h"
#include "platform/date_text.h"
#include "platform/file.h"
#include "platform/path_text.h"
#include "preview/menu_preview.h"
#include "preview/user_command_text.h"
#include "preview_output.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <algorithm>

namespace tavu::cli {

namespace {

// The block is UTF-8 until it is encoded, so text that is not would reach the
// hub as bytes no code page names.
void requireUtf8(const std::string& what, std::string_view text) {
    if (const Conversion read = decodeToUtf8(text, CodePage::Utf8); read.failure) {
        throw UsageError(what + ": the text is not UTF-8 (byte " + byteText(read.failure->character) +
                         " at byte " + std::to_string(read.failure->offset) + ")");
    }
}

void applyOverrides(const ProfileRequest& request, Settings& settings, Vocabulary& vocabulary) {
    for (const auto& [key, text] : request.options) {
        const OptionEntry* entry = optionByKey(key);
        if (entry == nullptr) {
            throw UsageError("--option: \"" + std::string(key) + "\" is not an option key such as sOffsets");
        }
        const auto value = readIniBoolean(text);
        if (!value) {
            throw UsageError("--option " + std::string(key) + ": \"" + std::string(text) +
                             "\" is not a whole number (1 is on, 0 is off)");
        }
        settings.options.*entry->option = *value;
    }
    for (const auto& [key, text] : request.words) {
        const auto word = wordByKey(key);
        if (!word) {
            throw UsageError("--word: \"" + std::string(key) + "\" is not a word key such as wNick");
        }
        requireUtf8("--word " + std::string(key), text);
        vocabulary.setText(*word, std::string(text));
    }
}

// Names the text that brought the character into the block: the first word
// used in the block that holds it, else the date text, else its place.
std::string sourceOfCharacter(const ConversionFailure& failure, const GenerationInput& input,
                              std::string_view block) {
    if (failure.malformed) {
        return "byte " + byteText(failure.character) + " at byte " + std::to_string(failure.offset) +
               " of the block is not UTF-8";
    }
    const std::string character = utf8OfCodePoints(std::u32string(1, failure.character));
    std::optional<Word> holder;
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        const std::string& text = input.vocabulary.text(word);
        if (text.find(character) == std::string::npos) {
            continue;
        }
        if (block.find(text) != std::string_view::npos) {
            holder = word;
            break;
        }
        holder = holder.value_or(word);
    }
    const std::string description = describeCharacter(failure.character);
    if (holder) {
        return description + " in the word " + std::string(wordKey(*holder)) + " (\"" +
               input.vocabulary.text(*holder) + "\")";
    }
    if (input.date.find(character) != std::string::npos) {
        return description + " in the date text \"" + input.date + "\"";
    }
    return description + " at byte " + std::to_string(failure.offset) + " of the block";
}

// A profile named as `wanted` is without regard to letter case, for a
// suggestion; none when there is no such profile.
std::optional<std::string> nameDifferingInCase(const std::vector<std::string>& names,
                                               const std::string& wanted) {
    const std::string folded = foldedFileName(wanted);
    const auto found = std::find_if(names.begin(), names.end(),
                                    [&](const std::string& name) { return foldedFileName(name) == folded; });
    return found == names.end() ? std::nullopt : std::optional(*found);
}

std::string noSuchProfile(const std::vector<std::string>& names, const ProfileRequest& request, int index) {
    std::string message = request.profilesFile + ": ";
    if (!request.profileName) {
        return message + "no profile at index " + std::to_string(index) + " (it holds " +
               std::to_string(names.size()) + ", counted from 0)";
    }
    message += "no profile named " + *request.profileName;
    if (const auto suggestion = nameDifferingInCase(names, *request.profileName)) {
        return message + "; did you mean " + *suggestion + "?";
    }
    return message + " (it holds " + std::to_string(names.size()) + "; tavu-cli list shows them)";
}

// The index of the requested profile in the document.
int chosenIndex(const ProfilesDocument& document, const ProfileRequest& request) {
    const std::vector<std::string>& names = document.names();
    int index = request.profileIndex.value_or(-1);
    if (request.profileName) {
        const auto found = std::find(names.begin(), names.end(), *request.profileName);
        index = found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    if (!document.profile(index)) {
        throw Failure(ExitNoProfiles, noSuchProfile(names, request, index));
    }
    return index;
}

// The installed language or the language file that --language names, read
// over the words of the settings file.
LanguageFile readChosenLanguage(const std::string& nameOrFile, Vocabulary& vocabulary) {
    const auto language = findLanguage(nameOrFile, findLanguages(languageFolders()).languages);
    if (!language) {
        throw Failure(ExitNoProfiles, "--language: no installed language is named \"" + nameOrFile +
                                          "\"; tavu-cli languages lists them, and a language file is given "
                                          "as a path, such as ./" +
                                          nameOrFile + ".ini");
    }
    LanguageRead read = readLanguageFile(language->path, vocabulary);
    if (!read.error.empty()) {
        throw Failure(ExitNoProfiles, read.error);
    }
    vocabulary = std::move(read.vocabulary);
    return *language;
}

// The settings file that --settings names must be there: defaults in place of
// the file a script asked for would make a different menu without a word.
SettingsFileRead readNamedSettingsFile(const std::string& path) {
    FileRead read = readRegularFile(pathFromUtf8(path), kSettingsFileLimit);
    switch (read.status) {
    case ReadStatus::Read:
        return {IniFile::parse(read.bytes), {}};
    case ReadStatus::Missing:
        return {IniFile{}, "the settings file " + path + " does not exist"};
    case ReadStatus::Unreadable:
        break;
    }
    return {IniFile{}, std::move(read.reason)};
}

} // namespace

ProfileRequest readProfileRequest(std::string_view command, std::span<const std::string_view> arguments,
                                  const TakeOption& takeOwnOption) {
    ProfileRequest request;
    const auto operands = readArguments(command, arguments, [&](std::string_view flag, OptionValue& value) {
        if (flag == "--profile") {
            setOnce(request.profileName, flag, std::string(value.take()));
        } else if (flag == "--index") {
            setOnce(request.profileIndex, flag, parseIndex(value.take()));
        } else if (takeWordsOption(request, flag, value)) {
            return true;
        } else if (flag == "--date") {
            setOnce(request.date, flag, std::string(value.take()));
        } else if (flag == "--option") {
            request.options.push_back(splitAssignment(flag, value.take()));
        } else if (flag == "--encoding") {
            setOnce(request.encoding, flag, parseEncoding(value.take()));
        } else {
            return takeOwnOption(flag, value);
        }
        return true;
    });
    request.profilesFile = std::string(oneOperand(command, operands, "the profiles file"));
    return request;
}

bool takeWordsOption(ProfileRequest& request, std::string_view flag, OptionValue& value) {
    if (flag == "--settings") {
        setOnce(request.settingsFile, flag, std::string(value.take()));
    } else if (flag == "--language") {
        setOnce(request.language, flag, std::string(value.take()));
    } else if (flag == "--word") {
        request.words.push_back(splitAssignment(flag, value.take()));
    } else {
        return false;
    }
    return true;
}

void requireOneChoice(std::string_view command, const ProfileRequest& request, std::string_view otherFlag,
                      bool otherGiven) {
    const int choices = request.profileName.has_value() + request.profileIndex.has_value() + otherGiven;
    if (choices != 1) {
        throw UsageError(std::string(command) + " needs exactly one of --profile NAME and --index N" +
                         (otherFlag.empty() ? "" : " and " + std::string(otherFlag)));
    }
}

GenerationInput readGenerationInput(const ProfileRequest& request) {
    const SettingsFileRead read = request.settingsFile ? readNamedSettingsFile(*request.settingsFile)
                                                       : readSettingsFile(settingsFilePath());
    // Defaults in place of the operator's settings would make a different menu.
    if (!read.error.empty()) {
        throw Failure(ExitNoProfiles, read.error);
    }
    Settings settings = readSettingsSection(read.file);
    GenerationInput input;
    readStringsSection(input.vocabulary, read.file);
    if (request.language) {
        input.language = readChosenLanguage(*request.language, input.vocabulary);
    }
    applyOverrides(request, settings, input.vocabulary);
    input.options = settings.options;
    if (request.date) {
        requireUtf8("--date", *request.date);
    }
    input.date = request.date ? *request.date : todayText();
    return input;
}

ProfilesDocument loadProfiles(const ProfileRequest& request) {
    auto loaded = ProfilesDocument::load(pathFromUtf8(request.profilesFile));
    if (!loaded.document) {
        throw Failure(ExitNoProfiles, loaded.error);
    }
    return std::move(*loaded.document);
}

std::string encodedBlock(const std::string& block, const ProfileRequest& request,
                         const GenerationInput& input, std::string_view who) {
    Conversion encoded = encodeUtf8(block, request.codePage());
    if (encoded.failure) {
        throw Failure(ExitUnencodable, std::string(who) + std::string(codePageName(request.codePage())) +
                                           " cannot hold " +
                                           sourceOfCharacter(*encoded.failure, input, block));
    }
    return std::move(encoded.bytes);
}

std::string profileLabel(const ProfilesDocument& document, std::size_t index) {
    return "profile " + std::to_string(index) + " " + preview::quoted(document.names()[index]);
}

ProfileBlock generateChosenProfile(const ProfileRequest& request) {
    const GenerationInput input = readGenerationInput(request);
    const ProfilesDocument document = loadProfiles(request);
    const int index = chosenIndex(document, request);
    ProfileBlock result;
    result.index = static_cast<std::size_t>(index);
    result.who = request.profilesFile + ": " + profileLabel(document, result.index) + ": ";
    result.generation =
        CreateUserCommands(document.profile(index), input.options, input.vocabulary, input.date);
    // A stopped generation is written nowhere, so its part is not encoded.
    if (!result.generation.stop) {
        result.bytes = encodedBlock(result.generation.text, request, input, "");
    }
    return result;
}

int reportStop(const Generation& generation, std::string_view who, std::ostream& err) {
    if (!generation.stop) {
        return ExitDone;
    }
    // Written from the stop's parts: the window keeps what came before the
    // stop, the command line writes nothing, so the shared description would
    // mislead here.
    printError(err, std::string(who) + "the permission " + generation.stop->element + " holds " +
                        preview::quoted(generation.stop->text) +
                        ", which cannot be read as a permission; nothing was written");
    return ExitStopped;
}

int reportMenuErrors(std::string_view block, std::string_view who, std::string_view source,
                     std::ostream& err) {
    const preview::MenuPreview preview = preview::previewUserCommands(block);
    if (!preview.hasError()) {
        return ExitDone;
    }
    printError(err, std::string(who) + "the menu holds an error, so nothing was written:");
    for (const preview::Finding& finding : preview.findings) {
        err << findingLine(finding, source);
    }
    return ExitMenuError;
}

const OptionHelp kProfileOption{"--profile NAME", "the profile with this name (the first one, if several)"};
const OptionHelp kIndexOption{"--index N", "the profile at position N, counting from 0"};
const OptionHelp kSettingsOption{
    "--settings INI",
    "the settings file to take options and words from; it must exist. By default the program's own: the "
    "file TAVU_INI names, else TAVU.ini beside the program when it exists, else "
    "$XDG_CONFIG_HOME/tavu/TAVU.ini (~/.config/tavu/TAVU.ini when XDG_CONFIG_HOME is unset or not an "
    "absolute path), and on Windows TAVU.ini beside the program all the same; a missing default file "
    "means every default"};
const OptionHelp kLanguageOption{
    "--language LANG",
    "the words of a language, read over those of the settings file before any --word: the code or name "
    "of an installed language (tavu-cli languages lists them), or a language file given as a path: "
    "one holding a slash (or a backslash on Windows), or ending in .ini (./de is the file, de the installed "
    "language)"};
const OptionHelp kDateOption{
    "--date TEXT",
    "the date text of the expire-date prompts, instead of today in the locale's short date format"};
const OptionHelp kOptionOption{
    "--option sKEY=VALUE",
    "overrides one option of the section \"Settings\", such "
    "as sOffsets=1 or sClear=0 (a whole number; 0 is off); the command keys lists them"};
const OptionHelp kWordOption{
    "--word wKEY=TEXT",
    "overrides one word of the section \"Strings\", such as wNick=Nickname; the command keys "
    "lists the keys with their English texts"};

} // namespace tavu::cli
