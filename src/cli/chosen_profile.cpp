#include "chosen_profile.h"

#include "cli.h"
#include "generator/options.h"
#include "platform/date_text.h"
#include "settings/settings.h"
#include "settings/settings_file.h"

#include <algorithm>

namespace tavu::cli {

namespace {

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

// The element of the requested profile.
XmlElement chosenProfile(const ProfilesDocument& document, const ProfileRequest& request) {
    const std::vector<std::string>& names = document.names();
    int index = request.profileIndex.value_or(-1);
    if (request.profileName) {
        const auto found = std::find(names.begin(), names.end(), *request.profileName);
        index = found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    const XmlElement profile = document.profile(index);
    if (!profile) {
        throw Failure(ExitNoProfiles, request.profilesFile + " has no profile " +
                                          (request.profileName ? "named \"" + *request.profileName + "\""
                                                               : "at index " + std::to_string(index)) +
                                          " (it holds " + std::to_string(names.size()) + ")");
    }
    return profile;
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
        } else if (flag == "--settings") {
            setOnce(request.settingsFile, flag, std::string(value.take()));
        } else if (flag == "--date") {
            setOnce(request.date, flag, std::string(value.take()));
        } else if (flag == "--option") {
            request.options.push_back(splitAssignment(flag, value.take()));
        } else if (flag == "--word") {
            request.words.push_back(splitAssignment(flag, value.take()));
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

void requireOneChoice(std::string_view command, const ProfileRequest& request, std::string_view otherFlag,
                      bool otherGiven) {
    const int choices = request.profileName.has_value() + request.profileIndex.has_value() + otherGiven;
    if (choices != 1) {
        throw UsageError(std::string(command) + " needs exactly one of --profile NAME and --index N" +
                         (otherFlag.empty() ? "" : " and " + std::string(otherFlag)));
    }
}

GenerationInput readGenerationInput(const ProfileRequest& request) {
    const SettingsFileRead read = readSettingsFile(
        request.settingsFile ? std::filesystem::path(*request.settingsFile) : settingsFilePath());
    // Defaults in place of the operator's settings would make a different menu.
    if (!read.error.empty()) {
        throw Failure(ExitNoProfiles, read.error);
    }
    Settings settings = readSettingsSection(read.file);
    GenerationInput input;
    readStringsSection(input.vocabulary, read.file);
    applyOverrides(request, settings, input.vocabulary);
    input.options = settings.options;
    input.date = request.date ? *request.date : todayText();
    return input;
}

ProfilesDocument loadProfiles(const ProfileRequest& request) {
    auto loaded = ProfilesDocument::load(request.profilesFile);
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

ProfileBlock generateChosenProfile(const ProfileRequest& request) {
    const GenerationInput input = readGenerationInput(request);
    const ProfilesDocument document = loadProfiles(request);
    ProfileBlock result;
    result.generation =
        CreateUserCommands(chosenProfile(document, request), input.options, input.vocabulary, input.date);
    result.bytes = encodedBlock(result.generation.text, request, input, "");
    return result;
}

int reportStop(const Generation& generation, std::string_view who, std::ostream& err) {
    if (!generation.stop) {
        return ExitDone;
    }
    err << "tavu-cli: " << who << generation.stop->description() << '\n';
    return ExitStopped;
}

const OptionHelp kProfileOption{"--profile NAME", "the profile with this name (the first one, if several)"};
const OptionHelp kIndexOption{"--index N", "the profile at position N, counting from 0"};
const OptionHelp kSettingsOption{
    "--settings INI", "the settings file to take options and words from; by default the program's own "
                      "(TAVU_INI, else TAVU.ini beside the program, else ~/.config/tavu/TAVU.ini)"};
const OptionHelp kDateOption{
    "--date TEXT",
    "the date text of the expire-date prompts, instead of today in the locale's short date format"};
const OptionHelp kOptionOption{"--option sKEY=VALUE",
                               "overrides one option of the section \"Settings\", such "
                               "as sOffsets=1 or sClear=0 (a whole number; 0 is off)"};
const OptionHelp kWordOption{"--word wKEY=TEXT",
                             "overrides one word of the section \"Strings\", such as wNick=Nickname"};

} // namespace tavu::cli
