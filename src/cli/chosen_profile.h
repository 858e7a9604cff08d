#pragma once

#include "arguments.h"
#include "base/result.h"
#include "generation/profile_generation.h"

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

// What generate, tree, items and export-words share: the options that make a
// generation request, and the words for what the core's generation refuses.
namespace tavu::cli {

inline constexpr std::string_view kSettingsSynopsis =
    "where SETTINGS is [--settings INI] [--language LANG] [--date TEXT]\n"
    "                  [--option sKEY=VALUE]... [--word wKEY=TEXT]...\n"
    "                  [--item-off ID]... [--own-items FILE] [--no-own-items]\n"
    "                  [--all-items]";

// Takes --settings, --language and --word, the options that choose the words;
// false for any other.
bool takeWordsOption(GenerationRequest& request, std::string_view flag, OptionValue& value);

// Takes --item-off, --own-items, --no-own-items and --all-items, the options
// that change the generated menu for one run; false for any other.
bool takeMenuChangesOption(GenerationRequest& request, std::string_view flag, OptionValue& value);

// Takes every option of SETTINGS; false for any other.
bool takeSettingsOption(GenerationRequest& request, std::string_view flag, OptionValue& value);

// Reads the profiles file and the options that generate, tree and items share;
// `takeOwnOption` takes the command's others.
GenerationRequest readProfileRequest(std::string_view command, std::span<const std::string_view> arguments,
                                     const TakeOption& takeOwnOption);

// Requires exactly one of --profile, --index and the command's own choice of
// profiles, `otherFlag` (none when empty).
void requireOneChoice(std::string_view command, const GenerationRequest& request,
                      std::string_view otherFlag = {}, bool otherGiven = false);

// "profile N \"NAME\"".
std::string profileLabel(std::size_t index, const std::string& name);

// "PROFILES: profile N \"NAME\": ", to start a message about the block's profile.
std::string whoOf(const GenerationRequest& request, const ProfileBlock& block);
std::string whoOf(const GenerationRequest& request, std::size_t index, const std::string& name);

// Throws UsageError when `file`, which an export is to write, is the settings
// file the request reads: the export would keep `what` and lose every other
// section, its options, words and comments.
void refuseTheSettingsFile(std::string_view command, const std::string& file,
                           const GenerationRequest& request, std::string_view what);

// Prints each warning of the input as "tavu-cli: warning: ...".
void printWarnings(const GenerationInput& input, std::ostream& err);

// Where a failure of a generation is told.
struct FailurePlace {
    std::string who;    // starts the messages about the profile; see whoOf
    std::string source; // names the block in the findings of a menu clients would misread
    bool namesProfileWhenUnencodable = false;
};

// Prints what the failure says under the place, an override that the command
// line got wrong as a usage error, and returns its exit status.
[[nodiscard]] int reportFailure(const GenerationFailure& failure, const FailurePlace& place,
                                std::ostream& err);

// The profile the request chooses with the input read for it, the input's
// warnings printed; the exit status when it cannot be read.
Result<ChosenProfile, int> readWarnedProfile(const GenerationRequest& request, std::ostream& err);

extern const OptionHelp kProfileOption;
extern const OptionHelp kIndexOption;
extern const OptionHelp kSettingsOption;
extern const OptionHelp kLanguageOption;
extern const OptionHelp kDateOption;
extern const OptionHelp kOptionOption;
extern const OptionHelp kWordOption;
extern const OptionHelp kItemOffOption;
extern const OptionHelp kOwnItemsOption;
extern const OptionHelp kNoOwnItemsOption;
extern const OptionHelp kAllItemsOption;

} // namespace tavu::cli
