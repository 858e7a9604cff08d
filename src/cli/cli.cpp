#include "cli/cli.h"

#include "app/settings.h"
#include "app/settings_file.h"
#include "generator/generator.h"
#include "platform/date_text.h"
#include "profiles/profiles_document.h"
#include "vocabulary/vocabulary.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

namespace tavu {

namespace {

constexpr std::string_view kHelp = R"(Usage:
  tavu-cli list PROFILES
  tavu-cli generate PROFILES (--profile NAME | --index N) [--settings INI]
                    [--date TEXT] [--option sKEY=VALUE]... [--word wKEY=TEXT]...
  tavu-cli --help

list      prints the names of the profiles in PROFILES (a profiles.xml file),
          one a line, in the file's order.
generate  writes the $UserCommand block for one profile to standard output,
          byte for byte as UTF-8, with nothing added (no final newline).

  --profile NAME       the profile with this name (the first one, if several)
  --index N            the profile at position N, counting from 0
  --settings INI       the settings file to take options and words from; by
                       default the program's own (TAVU_INI, else TAVU.ini beside
                       the program, else ~/.config/tavu/TAVU.ini)
  --date TEXT          the date text of the expire-date prompts, instead of today
                       in the locale's short date format
  --option sKEY=VALUE  overrides one option of the section "Settings", such as
                       sOffsets=1 or sClear=0 (a whole number; 0 is off)
  --word wKEY=TEXT     overrides one word of the section "Strings", such as
                       wNick=Nickname

Exit status:
  0  done
  1  the generation stopped at a permission whose text cannot be read; the
     commands before it are still written, and the reason, naming the element
     and its text, goes to standard error
  2  usage error
  3  the profiles file cannot be loaded, or holds no such profile
)";

struct GenerateRequest {
    std::string profilesFile;
    std::optional<std::string> profileName;
    std::optional<int> profileIndex;
    std::optional<std::string> settingsFile;
    std::optional<std::string> date;
    std::vector<std::pair<std::string_view, std::string_view>> options;
    std::vector<std::pair<std::string_view, std::string_view>> words;
};

class UsageError {
public:
    explicit UsageError(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

private:
    std::string message_;
};

std::pair<std::string_view, std::string_view> splitAssignment(std::string_view flag, std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        throw UsageError(std::string(flag) + " takes KEY=VALUE, not \"" + std::string(text) + "\"");
    }
    return {text.substr(0, equals), text.substr(equals + 1)};
}

int parseIndex(std::string_view text) {
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || index < 0) {
        throw UsageError("--index takes a whole number from 0, not \"" + std::string(text) + "\"");
    }
    return index;
}

GenerateRequest parseGenerate(std::span<const std::string_view> arguments) {
    GenerateRequest request;
    bool havePositional = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const auto next = [&]() -> std::string_view {
            if (i + 1 >= arguments.size()) {
                throw UsageError(std::string(argument) + " needs a value");
            }
            return arguments[++i];
        };
        if (argument == "--profile") {
            request.profileName = std::string(next());
        } else if (argument == "--index") {
            request.profileIndex = parseIndex(next());
        } else if (argument == "--settings") {
            request.settingsFile = std::string(next());
        } else if (argument == "--date") {
            request.date = std::string(next());
        } else if (argument == "--option") {
            request.options.push_back(splitAssignment(argument, next()));
        } else if (argument == "--word") {
            request.words.push_back(splitAssignment(argument, next()));
        } else if (argument.starts_with("--")) {
            throw UsageError("unknown option " + std::string(argument));
        } else if (!havePositional) {
            request.profilesFile = std::string(argument);
            havePositional = true;
        } else {
            throw UsageError("unexpected argument \"" + std::string(argument) + "\"");
        }
    }
    if (!havePositional) {
        throw UsageError("generate needs the profiles file");
    }
    if (request.profileName.has_value() == request.profileIndex.has_value()) {
        throw UsageError("generate needs exactly one of --profile NAME and --index N");
    }
    return request;
}

void applyOverrides(const GenerateRequest& request, Settings& settings, Vocabulary& vocabulary) {
    for (const auto& [key, text] : request.options) {
        const BooleanKey* entry = booleanKeyByName(key);
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

int list(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    if (arguments.size() != 1) {
        throw UsageError("list takes one profiles file");
    }
    const auto loaded = ProfilesDocument::load(std::string(arguments[0]));
    if (!loaded.document) {
        err << "tavu-cli: " << loaded.error << '\n';
        return ExitNoProfiles;
    }
    for (const std::string& name : loaded.document->names()) {
        out << name << '\n';
    }
    return ExitDone;
}

int generate(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const GenerateRequest request = parseGenerate(arguments);
    const IniFile ini = readSettingsFile(request.settingsFile ? std::filesystem::path(*request.settingsFile)
                                                              : settingsFilePath());
    Settings settings = LoadSettings(ini);
    Vocabulary vocabulary;
    LoadStrings(vocabulary, ini);
    applyOverrides(request, settings, vocabulary);

    const auto loaded = ProfilesDocument::load(request.profilesFile);
    if (!loaded.document) {
        err << "tavu-cli: " << loaded.error << '\n';
        return ExitNoProfiles;
    }
    const std::vector<std::string>& names = loaded.document->names();
    int index = request.profileIndex.value_or(-1);
    if (request.profileName) {
        const auto found = std::find(names.begin(), names.end(), *request.profileName);
        index = found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    const XmlElement profile = loaded.document->profile(index);
    if (!profile) {
        err << "tavu-cli: " << request.profilesFile << " has no profile "
            << (request.profileName ? "named \"" + *request.profileName + "\""
                                    : "at index " + std::to_string(index))
            << " (it holds " << names.size() << ")\n";
        return ExitNoProfiles;
    }
    const Generation generation =
        CreateUserCommands(profile, settings.options, vocabulary, request.date ? *request.date : todayText());
    out << generation.text;
    if (generation.stop) {
        err << "tavu-cli: " << generation.stop->description() << '\n';
        return ExitStopped;
    }
    return ExitDone;
}

} // namespace

int runCli(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    try {
        if (arguments.empty()) {
            throw UsageError("no command given");
        }
        const std::string_view command = arguments[0];
        if (command == "--help" || command == "-h" || command == "help") {
            out << kHelp;
            return ExitDone;
        }
        if (command == "list") {
            return list(arguments.subspan(1), out, err);
        }
        if (command == "generate") {
            return generate(arguments.subspan(1), out, err);
        }
        throw UsageError("unknown command \"" + std::string(command) + "\"");
    } catch (const UsageError& error) {
        err << "tavu-cli: " << error.message() << "\nTry 'tavu-cli --help'.\n";
        return ExitUsage;
    }
}

} // namespace tavu
