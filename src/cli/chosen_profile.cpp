#include "chosen_profile.h"

#include <algorithm>

#include "base/escaping.h"
#include "cli.h"
#include "platform/file.h"
#include "platform/path_text.h"
#include "preview_output.h"
#include "settings/settings_file.h"

namespace tavu::cli {

namespace {

namespace failures = generation_failure;

constexpr std::size_t kMostWarningsShown = 20;

// One callable from a lambda for each kind of failure.
template <typename... Reports>
struct Overloaded : Reports... {
    using Reports::operator()...;
};
template <typename... Reports>
Overloaded(Reports...) -> Overloaded<Reports...>;

std::string noSuchProfile(const failures::NoSuchProfile& missing) {
    std::string message = missing.profilesFile + ": ";
    if (!missing.name) {
        return message + "no profile at index " + std::to_string(missing.index) + " (it holds " +
               std::to_string(missing.profileCount) + ", counted from 0)";
    }
    message += "no profile named " + *missing.name;
    if (missing.nameDifferingInCase) {
        return message + "; did you mean " + *missing.nameDifferingInCase + "?";
    }
    return message + " (it holds " + std::to_string(missing.profileCount) + "; tavu-cli list shows them)";
}

std::string noSuchLanguage(const failures::NoSuchLanguage& missing) {
    return "--language: no installed language is named \"" + missing.name +
           "\"; tavu-cli languages lists them, and a language file is given as a path, such as ./" +
           missing.name + ".ini";
}

std::string notUtf8(const failures::NotUtf8& refused) {
    const std::string what = refused.wordKey ? "--word " + *refused.wordKey : "--date";
    return what + ": the text is not UTF-8 (byte " + byteText(refused.failure.character) + " at byte " +
           std::to_string(refused.failure.offset) + ")";
}

// Written from the stop's parts: the window keeps what came before the stop,
// the command line writes nothing, so the shared description would mislead here.
std::string stopped(const failures::Stopped& stop, const FailurePlace& place) {
    return place.who + "the permission " + stop.stop.element + " holds " + quotedText(stop.stop.text) +
           ", which cannot be read as a permission; nothing was written";
}

// What the command line says of a failure: a message, the lines under it,
// and the exit status; ExitUsage for an override it got wrong.
struct Told {
    int status;
    std::string message;
    std::string linesBelow = {};
};

Told menuMisread(const failures::MenuMisread& misread, const FailurePlace& place) {
    Told told{ExitMenuError, place.who + "the menu holds an error, so nothing was written:"};
    for (const preview::Finding& finding : misread.findings) {
        told.linesBelow += findingLine(finding, place.source);
    }
    return told;
}

std::string unencodable(const failures::Unencodable& refused, const FailurePlace& place) {
    return (place.namesProfileWhenUnencodable ? place.who : std::string()) +
           std::string(codePageName(refused.codePage)) + " cannot hold " + refused.character;
}

Told toldOf(const GenerationFailure& failure, const FailurePlace& place) {
    return std::visit(
        Overloaded{
            [](const failures::UnknownOptionKey& refused) {
                return Told{ExitUsage,
                            "--option: \"" + refused.key + "\" is not an option key such as sOffsets"};
            },
            [](const failures::OptionNotWholeNumber& refused) {
                return Told{ExitUsage, "--option " + refused.key + ": \"" + refused.text +
                                           "\" is not a whole number (1 is on, 0 is off)"};
            },
            [](const failures::UnknownWordKey& refused) {
                return Told{ExitUsage, "--word: \"" + refused.key + "\" is not a word key such as wNick"};
            },
            [](const failures::NotUtf8& refused) {
                return Told{ExitUsage, notUtf8(refused)};
            },
            [](const failures::NoSuchLanguage& missing) {
                return Told{ExitNoProfiles, noSuchLanguage(missing)};
            },
            [](const failures::UnreadableFile& unreadable) {
                return Told{ExitNoProfiles, unreadable.reason};
            },
            [](const failures::NoSuchProfile& missing) {
                return Told{ExitNoProfiles, noSuchProfile(missing)};
            },
            [&](const failures::Stopped& stop) {
                return Told{ExitStopped, stopped(stop, place)};
            },
            [&](const failures::MenuMisread& misread) { return menuMisread(misread, place); },
            [&](const failures::Unencodable& refused) {
                return Told{ExitUnencodable, unencodable(refused, place)};
            },
        },
        failure);
}

} // namespace

GenerationRequest readProfileRequest(std::string_view command, std::span<const std::string_view> arguments,
                                     const TakeOption& takeOwnOption) {
    GenerationRequest request;
    const auto operands = readArguments(command, arguments, [&](std::string_view flag, OptionValue& value) {
        if (flag == "--profile") {
            setOnce(request.profileName, flag, std::string(value.take()));
        } else if (flag == "--index") {
            setOnce(request.profileIndex, flag, parseIndex(value.take()));
        } else if (takeSettingsOption(request, flag, value)) {
            return true;
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

bool takeSettingsOption(GenerationRequest& request, std::string_view flag, OptionValue& value) {
    if (takeWordsOption(request, flag, value) || takeMenuChangesOption(request, flag, value)) {
        return true;
    }
    if (flag == "--date") {
        setOnce(request.date, flag, std::string(value.take()));
    } else if (flag == "--option") {
        request.options.push_back(splitAssignment(flag, value.take()));
    } else {
        return false;
    }
    return true;
}

bool takeWordsOption(GenerationRequest& request, std::string_view flag, OptionValue& value) {
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

bool takeMenuChangesOption(GenerationRequest& request, std::string_view flag, OptionValue& value) {
    if (flag == "--item-off") {
        request.itemsOff.emplace_back(value.take());
    } else if (flag == "--own-items") {
        setOnce(request.menuChangesFile, flag, std::string(value.take()));
    } else if (flag == "--no-own-items") {
        request.withoutOwnItems = true;
    } else if (flag == "--all-items") {
        request.everyItem = true;
    } else {
        return false;
    }
    return true;
}

void requireOneChoice(std::string_view command, const GenerationRequest& request, std::string_view otherFlag,
                      bool otherGiven) {
    const int choices = request.profileName.has_value() + request.profileIndex.has_value() + otherGiven;
    if (choices != 1) {
        throw UsageError(std::string(command) + " needs exactly one of --profile NAME and --index N" +
                         (otherFlag.empty() ? "" : " and " + std::string(otherFlag)));
    }
}

std::string profileLabel(std::size_t index, const std::string& name) {
    return "profile " + std::to_string(index) + " " + quotedText(name);
}

std::string whoOf(const GenerationRequest& request, const ProfileBlock& block) {
    return whoOf(request, block.index, block.name);
}

std::string whoOf(const GenerationRequest& request, std::size_t index, const std::string& name) {
    return request.profilesFile + ": " + profileLabel(index, name) + ": ";
}

void refuseTheSettingsFile(std::string_view command, const std::string& file,
                           const GenerationRequest& request, std::string_view what) {
    const std::filesystem::path settings =
        request.settingsFile ? pathFromUtf8(*request.settingsFile) : settingsFilePath();
    if (isSameFile(pathFromUtf8(file), settings)) {
        throw UsageError(std::string(command) + ": " + file + " is the settings file the " +
                         std::string(what) + " are read from (" + utf8FromPath(settings) +
                         "); writing it would keep its " + std::string(what) +
                         " and lose the rest: name another file, or - for standard output");
    }
}

void printWarnings(const GenerationInput& input, std::ostream& err) {
    // A file of a hundred thousand broken sections would bury everything else.
    const std::size_t shown = std::min(input.warnings.size(), kMostWarningsShown);
    for (std::size_t i = 0; i < shown; ++i) {
        const InputWarning& warning = input.warnings[i];
        printError(err, "warning: " + warning.text +
                            (warning.namesNoItem ? "; tavu-cli items lists the items" : ""));
    }
    if (const std::size_t more = input.warnings.size() - shown; more > 0) {
        printError(err, "warning: ... and " + std::to_string(more) + " more warnings");
    }
}

int reportFailure(const GenerationFailure& failure, const FailurePlace& place, std::ostream& err) {
    const Told told = toldOf(failure, place);
    if (told.status == ExitUsage) {
        return printUsageError(err, told.message);
    }
    printError(err, told.message);
    err << told.linesBelow;
    return told.status;
}

Result<ChosenProfile, int> readWarnedProfile(const GenerationRequest& request, std::ostream& err) {
    auto chosen = readChosenProfile(request);
    if (!chosen) {
        return reportFailure(chosen.failure(), {}, err);
    }
    printWarnings(chosen->input, err);
    return std::move(chosen).value();
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

const OptionHelp kItemOffOption{
    "--item-off ID",
    "switches the item with this identity off for this run, in every profile, besides those the settings "
    "file switches off; the identity of a submenu switches off everything in it. tavu-cli items lists "
    "the identities"};
const OptionHelp kOwnItemsOption{
    "--own-items FILE",
    "the own items and items switched off of FILE, as export-items writes it, instead of those of the "
    "settings file, for this run; a file that cannot be read is reported and the menu made without any"};
const OptionHelp kNoOwnItemsOption{"--no-own-items", "leaves every own item out"};
const OptionHelp kAllItemsOption{"--all-items", "switches no item off, whatever the settings file says"};

} // namespace tavu::cli
