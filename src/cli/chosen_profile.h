#pragma once

#include "arguments.h"
#include "formats/code_page.h"
#include "generator/generator.h"
#include "generator/options.h"
#include "profiles/profiles_document.h"
#include "vocabulary/language_files.h"
#include "vocabulary/vocabulary.h"

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What generate and tree share: the profiles file with the profile chosen in
// it, the settings the generation reads, and the block in its code page.
namespace tavu::cli {

struct ProfileRequest {
    std::string profilesFile;
    std::optional<std::string> profileName;
    std::optional<int> profileIndex;
    std::optional<std::string> settingsFile;
    std::optional<std::string> language;
    std::optional<std::string> date;
    std::optional<CodePage> encoding;
    std::vector<std::pair<std::string_view, std::string_view>> options;
    std::vector<std::pair<std::string_view, std::string_view>> words;

    CodePage codePage() const { return encoding.value_or(CodePage::Utf8); }
};

// Everything a generation reads besides the profile.
struct GenerationInput {
    GenerationOptions options;
    Vocabulary vocabulary;
    std::string date;
    std::optional<LanguageFile> language; // the one --language chose
};

// A generation of one profile with its block in the requested code page.
struct ProfileBlock {
    std::size_t index = 0; // of the profile in the profiles file
    std::string who;       // "PROFILES: profile N \"NAME\": ", to start a message
    Generation generation;
    std::string bytes;
};

inline constexpr std::string_view kSettingsSynopsis =
    "where SETTINGS is [--settings INI] [--language LANG] [--date TEXT]\n"
    "                  [--option sKEY=VALUE]... [--word wKEY=TEXT]...";

// Takes --settings, --language and --word, the options that choose the words;
// false for any other.
bool takeWordsOption(ProfileRequest& request, std::string_view flag, OptionValue& value);

// Reads the profiles file and the options that generate and tree share;
// `takeOwnOption` takes the command's others.
ProfileRequest readProfileRequest(std::string_view command, std::span<const std::string_view> arguments,
                                  const TakeOption& takeOwnOption);

// Requires exactly one of --profile, --index and the command's own choice of
// profiles, `otherFlag` (none when empty).
void requireOneChoice(std::string_view command, const ProfileRequest& request,
                      std::string_view otherFlag = {}, bool otherGiven = false);

// The settings file, then the language, then the request's overrides; throws
// Failure when the file exists but cannot be read, when --settings names a file
// that is missing, or when the language cannot be found or read.
GenerationInput readGenerationInput(const ProfileRequest& request);

// Throws Failure when the profiles file cannot be loaded.
ProfilesDocument loadProfiles(const ProfileRequest& request);

// The block in the requested code page; throws Failure naming the character
// that the code page cannot hold. `who` starts the message.
std::string encodedBlock(const std::string& block, const ProfileRequest& request,
                         const GenerationInput& input, std::string_view who);

// Loads, chooses, generates and encodes: the step that generate and tree
// share. Throws Failure when one of them cannot be done.
ProfileBlock generateChosenProfile(const ProfileRequest& request);

// "profile N \"NAME\"".
std::string profileLabel(const ProfilesDocument& document, std::size_t index);

// The status of a generation, reporting where it stopped: `who` (which names
// the profile), the element and its text.
int reportStop(const Generation& generation, std::string_view who, std::ostream& err);

// Reads the block as check does before it is written: when clients would
// misread it (a piece they cannot read, a prompt cut short), prints the
// findings under `who`, each named by `source`, and returns ExitMenuError;
// otherwise ExitDone.
int reportMenuErrors(std::string_view block, std::string_view who, std::string_view source,
                     std::ostream& err);

extern const OptionHelp kProfileOption;
extern const OptionHelp kIndexOption;
extern const OptionHelp kSettingsOption;
extern const OptionHelp kLanguageOption;
extern const OptionHelp kDateOption;
extern const OptionHelp kOptionOption;
extern const OptionHelp kWordOption;

} // namespace tavu::cli
