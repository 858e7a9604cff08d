#include "cli/cli.h"

#include "app/settings.h"
#include "app/settings_file.h"
#include "generator/generator.h"
#include "platform/code_page.h"
#include "platform/date_text.h"
#include "platform/file.h"
#include "preview/export_names.h"
#include "preview/menu_preview.h"
#include "preview/preview_text.h"
#include "profiles/profiles_document.h"
#include "vocabulary/vocabulary.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <unistd.h>
#include <variant>
#include <vector>

namespace tavu {

namespace {

constexpr std::string_view kHelp = R"help(Usage:
  tavu-cli list PROFILES
  tavu-cli generate PROFILES (--profile NAME | --index N) [SETTINGS] [--encoding NAME]
  tavu-cli generate PROFILES --all --out-dir DIR [SETTINGS] [--encoding NAME]
  tavu-cli tree PROFILES (--profile NAME | --index N) [SETTINGS] [--encoding NAME]
  tavu-cli check FILE [--encoding NAME]
  tavu-cli --help

  where SETTINGS is [--settings INI] [--date TEXT] [--option sKEY=VALUE]...
                    [--word wKEY=TEXT]...

list      prints the names of the profiles in PROFILES (a profiles.xml file),
          one a line, in the file's order; a backslash and control characters
          in a name are written as \\, \n, \r, \t or \xHH.
generate  writes the $UserCommand block for one profile to standard output,
          byte for byte, with nothing added (no final newline). With --all it
          writes one file per profile into DIR instead, and prints one line for
          each file it wrote.
tree      shows the menus that a client builds from the block generate would
          write: the hub menu and the user-list menu as indented trees, each
          item with its command and the titles it prompts for, then the chat
          text and the problems found.
check     shows the same for a block saved in FILE (a generated, hand-edited or
          saved block; - or /dev/stdin reads standard input).

  --profile NAME       the profile with this name (the first one, if several)
  --index N            the profile at position N, counting from 0
  --all                every profile, each into its own file in DIR
  --out-dir DIR        the folder for --all; it is created when missing. The
                       file name is the profile name made safe on every file
                       system, with ".txt"; names equal without regard to case
                       get " (2)", " (3)", ... An existing file is replaced
                       whole (a symbolic link is replaced, not followed), and
                       nothing outside DIR is written.
  --settings INI       the settings file to take options and words from; by
                       default the program's own (TAVU_INI, else TAVU.ini beside
                       the program, else ~/.config/tavu/TAVU.ini)
  --date TEXT          the date text of the expire-date prompts, instead of today
                       in the locale's short date format
  --option sKEY=VALUE  overrides one option of the section "Settings", such as
                       sOffsets=1 or sClear=0 (a whole number; 0 is off)
  --word wKEY=TEXT     overrides one word of the section "Strings", such as
                       wNick=Nickname
  --encoding NAME      the code page of the block: utf-8 (the default),
                       windows-1251, windows-1252 or iso-8859-1, for hubs that
                       read their files in a single-byte code page. A character
                       that the code page cannot hold is an error naming the
                       word and the character; nothing is replaced. For check,
                       the code page FILE is written in.

Findings of tree and check, each with its piece (counted by "|") and line:
  error    a piece that no client can read: a $UserCommand of type 1 or 2
           without a space after the context or without a "$" before the
           command, or text after the last "|"
  warning  a line break or space before a command (clients show it as chat
           text), two items with the same title path and context (clients keep
           only the last), a "&" in a title (shown as a keyboard-shortcut
           marker), a "%" in a command outside a %[...] variable, a type other
           than 0, 1, 2 and 255, a "$" command other than $UserCommand

Exit status:
  0  done; for check, no piece that no client can read (warnings may be printed)
  1  generate and tree: the generation stopped at a permission whose text
     cannot be read; the commands before it are still written, and the reason,
     naming the element and its text, goes to standard error
     check: a piece that no client can read
  2  usage error
  3  the profiles file cannot be loaded, or holds no such profile; the
     settings file exists but cannot be read; for check, FILE cannot be read
     or is not in its code page
  4  the block holds a character that the code page cannot hold; nothing is
     written for that profile
  5  generate --all: DIR or a file in it cannot be written
  6  standard output cannot be written (a full disk, for example)
  With --all the status is the highest that any profile gave; every profile
  that can be written is written.

Only regular files are read, each within a limit: PROFILES 64 MiB, the
settings file 16 MiB, FILE for check 16 MiB.
)help";

enum class Target { OneProfile, AllProfiles };

struct GenerateRequest {
    std::string profilesFile;
    std::optional<std::string> profileName;
    std::optional<int> profileIndex;
    bool allProfiles = false;
    std::optional<std::string> outDir;
    std::optional<std::string> settingsFile;
    std::optional<std::string> date;
    CodePage encoding = CodePage::Utf8;
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

// A command that cannot go on: its message and exit status.
class Failure {
public:
    Failure(int status, std::string message) : status_(status), message_(std::move(message)) {}
    int status() const { return status_; }
    const std::string& message() const { return message_; }

private:
    int status_;
    std::string message_;
};

std::pair<std::string_view, std::string_view> splitAssignment(std::string_view flag, std::string_view text) {
    const auto equals = text.find('=');
    if (equals == std::string_view::npos || equals == 0) {
        throw UsageError(std::string(flag) + " takes KEY=VALUE, not \"" + std::string(text) + "\"");
    }
    return {text.substr(0, equals), text.substr(equals + 1)};
}

// A second value would silently win over the first; a script that repeats an
// option has a mistake in it.
template <typename Value>
void setOnce(std::optional<Value>& option, std::string_view flag, Value value) {
    if (option) {
        throw UsageError(std::string(flag) + " is given twice");
    }
    option = std::move(value);
}

int parseIndex(std::string_view text) {
    int index = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), index);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() || index < 0) {
        throw UsageError("--index takes a whole number from 0, not \"" + std::string(text) + "\"");
    }
    return index;
}

CodePage parseEncoding(std::string_view name) {
    if (const auto page = codePageByName(name)) {
        return *page;
    }
    std::string known;
    for (CodePage page : allCodePages()) {
        known += (known.empty() ? "" : ", ") + std::string(codePageName(page));
    }
    throw UsageError("--encoding: \"" + std::string(name) + "\" is not one of " + known);
}

// Walks the arguments, handing each flag with its value to `takeFlag` and
// collecting the positional arguments.
template <typename TakeFlag>
std::vector<std::string_view> readArguments(std::span<const std::string_view> arguments, TakeFlag takeFlag) {
    std::vector<std::string_view> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        const auto next = [&]() -> std::string_view {
            if (i + 1 >= arguments.size()) {
                throw UsageError(std::string(argument) + " needs a value");
            }
            return arguments[++i];
        };
        if (!argument.starts_with("--")) {
            positional.push_back(argument);
        } else if (!takeFlag(argument, next)) {
            throw UsageError("unknown option " + std::string(argument));
        }
    }
    return positional;
}

GenerateRequest parseGenerate(std::string_view command, std::span<const std::string_view> arguments,
                              Target allowed) {
    GenerateRequest request;
    const auto positional = readArguments(arguments, [&](std::string_view flag, const auto& next) {
        if (flag == "--profile") {
            setOnce(request.profileName, flag, std::string(next()));
        } else if (flag == "--index") {
            setOnce(request.profileIndex, flag, parseIndex(next()));
        } else if (flag == "--all" && allowed == Target::AllProfiles) {
            request.allProfiles = true;
        } else if (flag == "--out-dir" && allowed == Target::AllProfiles) {
            setOnce(request.outDir, flag, std::string(next()));
        } else if (flag == "--settings") {
            setOnce(request.settingsFile, flag, std::string(next()));
        } else if (flag == "--date") {
            setOnce(request.date, flag, std::string(next()));
        } else if (flag == "--option") {
            request.options.push_back(splitAssignment(flag, next()));
        } else if (flag == "--word") {
            request.words.push_back(splitAssignment(flag, next()));
        } else if (flag == "--encoding") {
            request.encoding = parseEncoding(next());
        } else {
            return false;
        }
        return true;
    });
    if (positional.empty()) {
        throw UsageError(std::string(command) + " needs the profiles file");
    }
    if (positional.size() > 1) {
        throw UsageError("unexpected argument \"" + std::string(positional[1]) + "\"");
    }
    request.profilesFile = std::string(positional[0]);
    const int choices =
        request.profileName.has_value() + request.profileIndex.has_value() + request.allProfiles;
    if (choices != 1) {
        throw UsageError(std::string(command) + " needs exactly one of --profile NAME and --index N" +
                         (allowed == Target::AllProfiles ? " and --all" : ""));
    }
    if (request.allProfiles != request.outDir.has_value()) {
        throw UsageError("--all and --out-dir DIR go together");
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

// Everything a generation reads besides the profile.
struct GenerationInput {
    GenerationOptions options;
    Vocabulary vocabulary;
    std::string date;
};

GenerationInput readGenerationInput(const GenerateRequest& request) {
    const SettingsFileRead read = readSettingsFile(
        request.settingsFile ? std::filesystem::path(*request.settingsFile) : settingsFilePath());
    // Defaults in place of the operator's settings would make a different menu.
    if (!read.error.empty()) {
        throw Failure(ExitNoProfiles, read.error);
    }
    Settings settings = LoadSettings(read.file);
    GenerationInput input;
    LoadStrings(input.vocabulary, read.file);
    applyOverrides(request, settings, input.vocabulary);
    input.options = settings.options;
    input.date = request.date ? *request.date : todayText();
    return input;
}

std::string byteText(char32_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", static_cast<unsigned>(byte));
    return text;
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

// The block in the requested code page; empty after reporting a character the
// code page cannot hold. `who` starts each message, naming the profile for --all.
std::optional<std::string> encodeBlock(const std::string& block, const GenerateRequest& request,
                                       const GenerationInput& input, std::string_view who,
                                       std::ostream& err) {
    Conversion encoded = encodeUtf8(block, request.encoding);
    if (encoded.failure) {
        err << "tavu-cli: " << who << codePageName(request.encoding) << " cannot hold "
            << sourceOfCharacter(*encoded.failure, input, block) << '\n';
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

std::optional<ProfilesDocument> loadProfiles(const GenerateRequest& request, std::ostream& err) {
    auto loaded = ProfilesDocument::load(request.profilesFile);
    if (!loaded.document) {
        err << "tavu-cli: " << loaded.error << '\n';
    }
    return std::move(loaded.document);
}

// The element of the requested profile; null after reporting that there is none.
XmlElement chosenProfile(const ProfilesDocument& document, const GenerateRequest& request,
                         std::ostream& err) {
    const std::vector<std::string>& names = document.names();
    int index = request.profileIndex.value_or(-1);
    if (request.profileName) {
        const auto found = std::find(names.begin(), names.end(), *request.profileName);
        index = found == names.end() ? -1 : static_cast<int>(found - names.begin());
    }
    const XmlElement profile = document.profile(index);
    if (!profile) {
        err << "tavu-cli: " << request.profilesFile << " has no profile "
            << (request.profileName ? "named \"" + *request.profileName + "\""
                                    : "at index " + std::to_string(index))
            << " (it holds " << names.size() << ")\n";
    }
    return profile;
}

Generation generateFor(XmlElement profile, const GenerationInput& input) {
    return CreateUserCommands(profile, input.options, input.vocabulary, input.date);
}

int reportStop(const Generation& generation, std::string_view who, std::ostream& err) {
    if (!generation.stop) {
        return ExitDone;
    }
    err << "tavu-cli: " << who << generation.stop->description() << '\n';
    return ExitStopped;
}

// A name as one line of output: a backslash and the control characters (a line
// break above all) are written as C escapes, so that one line is one profile.
std::string escapedLine(std::string_view name) {
    std::string line;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            line += "\\\\";
        } else if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\t') {
            line += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            line += "\\x" + byteText(byte).substr(2);
        } else {
            line += c;
        }
    }
    return line;
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
        out << escapedLine(name) << '\n';
    }
    return ExitDone;
}

// A profile of --all whose file is written and awaits the batch's commit.
struct StagedExport {
    std::string path;
    std::string profile; // "profile N \"NAME\""
    int status = ExitDone;
};

std::string profileLabel(const ProfilesDocument& document, std::size_t index) {
    return "profile " + std::to_string(index) + " " + preview::quoted(document.names()[index]);
}

// Generates one profile of --all and writes its temporary file; the status
// when it fails, else its staged file.
std::variant<int, StagedExport> stageExport(const ProfilesDocument& document, std::size_t index,
                                            const std::filesystem::path& path, const GenerateRequest& request,
                                            const GenerationInput& input, FileBatch& batch,
                                            std::ostream& err) {
    const std::string profile = profileLabel(document, index);
    const std::string who = profile + ": ";
    const Generation generation = generateFor(document.profile(static_cast<int>(index)), input);
    const auto bytes = encodeBlock(generation.text, request, input, who, err);
    if (!bytes) {
        return ExitUnencodable;
    }
    // A symbolic link in the folder is replaced, never followed out of it.
    if (!batch.stage(path, *bytes, SymbolicLink::Replace)) {
        err << "tavu-cli: " << who << "cannot write " << path.string() << ": " << std::strerror(errno)
            << '\n';
        return ExitUnwritable;
    }
    return StagedExport{path.string(), profile, reportStop(generation, who, err)};
}

int exportAll(const ProfilesDocument& document, const GenerateRequest& request, const GenerationInput& input,
              std::ostream& out, std::ostream& err) {
    std::error_code code;
    std::filesystem::create_directories(*request.outDir, code);
    if (code || !std::filesystem::is_directory(*request.outDir)) {
        err << "tavu-cli: cannot make the folder " << *request.outDir
            << (code ? ": " + code.message() : std::string()) << '\n';
        return ExitUnwritable;
    }
    // Every file is written first and made durable with one sync for all.
    const std::vector<std::string> fileNames = exportFileNames(document.names());
    FileBatch batch;
    std::vector<StagedExport> staged;
    int status = ExitDone;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        auto result = stageExport(document, i, std::filesystem::path(*request.outDir) / fileNames[i], request,
                                  input, batch, err);
        if (auto* file = std::get_if<StagedExport>(&result)) {
            staged.push_back(std::move(*file));
        } else {
            status = std::max(status, std::get<int>(result));
        }
    }
    const std::vector<int> committed = batch.commit();
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (committed[i] != 0) {
            err << "tavu-cli: " << staged[i].profile << ": cannot write " << staged[i].path << ": "
                << std::strerror(committed[i]) << '\n';
            status = std::max<int>(status, ExitUnwritable);
            continue;
        }
        out << "wrote " << staged[i].path << " for " << staged[i].profile << '\n';
        status = std::max(status, staged[i].status);
    }
    return status;
}

int generate(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const GenerateRequest request = parseGenerate("generate", arguments, Target::AllProfiles);
    const GenerationInput input = readGenerationInput(request);
    const auto document = loadProfiles(request, err);
    if (!document) {
        return ExitNoProfiles;
    }
    if (request.allProfiles) {
        return exportAll(*document, request, input, out, err);
    }
    const XmlElement profile = chosenProfile(*document, request, err);
    if (!profile) {
        return ExitNoProfiles;
    }
    const Generation generation = generateFor(profile, input);
    const auto bytes = encodeBlock(generation.text, request, input, "", err);
    if (!bytes) {
        return ExitUnencodable;
    }
    out << *bytes;
    return reportStop(generation, "", err);
}

int tree(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const GenerateRequest request = parseGenerate("tree", arguments, Target::OneProfile);
    const GenerationInput input = readGenerationInput(request);
    const auto document = loadProfiles(request, err);
    if (!document) {
        return ExitNoProfiles;
    }
    const XmlElement profile = chosenProfile(*document, request, err);
    if (!profile) {
        return ExitNoProfiles;
    }
    const Generation generation = generateFor(profile, input);
    if (!encodeBlock(generation.text, request, input, "", err)) {
        return ExitUnencodable;
    }
    out << preview::previewText(preview::previewUserCommands(generation.text));
    return reportStop(generation, "", err);
}

int check(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    CodePage encoding = CodePage::Utf8;
    const auto positional = readArguments(arguments, [&](std::string_view flag, const auto& next) {
        if (flag != "--encoding") {
            return false;
        }
        encoding = parseEncoding(next());
        return true;
    });
    if (positional.size() != 1) {
        throw UsageError("check takes one file");
    }
    const std::string file(positional[0]);
    const FileRead read = file == "-" || file == "/dev/stdin"
                              ? readStream(STDIN_FILENO, file, kBlockFileLimit)
                              : readRegularFile(file, kBlockFileLimit);
    if (read.status != ReadStatus::Read) {
        err << "tavu-cli: " << read.reason << '\n';
        return ExitNoProfiles;
    }
    const Conversion text = decodeToUtf8(read.bytes, encoding);
    if (text.failure) {
        err << "tavu-cli: " << file << " is not " << codePageName(encoding) << ": byte "
            << byteText(text.failure->character) << " at byte " << text.failure->offset
            << (encoding == CodePage::Utf8 ? "; name its code page with --encoding" : "") << '\n';
        return ExitNoProfiles;
    }
    const preview::MenuPreview preview = preview::previewUserCommands(text.bytes);
    out << preview::previewText(preview);
    return preview.hasUnreadablePiece() ? ExitUnreadablePiece : ExitDone;
}

int runCommand(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
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
        if (command == "tree") {
            return tree(arguments.subspan(1), out, err);
        }
        if (command == "check") {
            return check(arguments.subspan(1), out, err);
        }
        throw UsageError("unknown command \"" + std::string(command) + "\"");
    } catch (const Failure& failure) {
        err << "tavu-cli: " << failure.message() << '\n';
        return failure.status();
    } catch (const UsageError& error) {
        err << "tavu-cli: " << error.message() << "\nTry 'tavu-cli --help'.\n";
        return ExitUsage;
    }
}

} // namespace

int runCli(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const int status = runCommand(arguments, out, err);
    // Output that never arrived must not pass for done.
    errno = 0;
    if (!out.flush()) {
        err << "tavu-cli: cannot write standard output"
            << (errno != 0 ? ": " + std::string(std::strerror(errno)) : "") << '\n';
        return ExitOutputUnwritable;
    }
    return status;
}

} // namespace tavu
