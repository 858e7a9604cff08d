#include "help.h"

#include "exit_statuses.h"

#include <algorithm>
#include <vector>

namespace tavu::cli {

namespace {

constexpr std::size_t kWidth = 79;
constexpr std::size_t kNameColumn = 14; // "export-words" and two spaces
constexpr std::size_t kFlagColumn = 23;

constexpr std::string_view kHelpSynopsis = "tavu-cli COMMAND --help\ntavu-cli --help\ntavu-cli --version";
constexpr std::string_view kOptionSyntax = "An option that takes a value also takes it after \"=\" "
                                           "(--index=0), and \"--\" ends the options, so that "
                                           "a file whose name begins with \"-\" can follow it.";
constexpr std::string_view kAllStatus = "With --all the status is the highest that any profile gave; every "
                                        "profile that can be written is written.";
constexpr std::string_view kLimits = "Only regular files are read, each within a limit: PROFILES 64 MiB, the "
                                     "settings file and a language file 16 MiB each, FILE for check 16 MiB.";

// `lead` followed by `text` broken at spaces into lines of at most kWidth
// columns, each line after the first indented as far as `lead` is long.
std::string wrapped(std::string_view lead, std::string_view text) {
    std::string result(lead);
    const std::size_t indent = lead.size();
    std::size_t column = indent;
    bool lineEmpty = true;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(' ', start), text.size());
        const std::string_view word = text.substr(start, end - start);
        start = end + 1;
        if (word.empty()) {
            continue;
        }
        if (!lineEmpty && column + 1 + word.size() > kWidth) {
            result += '\n' + std::string(indent, ' ');
            column = indent;
            lineEmpty = true;
        }
        if (!lineEmpty) {
            result += ' ';
            ++column;
        }
        result += word;
        column += word.size();
        lineEmpty = false;
    }
    return result + '\n';
}

// `text` padded with spaces to `width`, with at least two spaces after it.
std::string padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size() + 2), ' ');
    return text;
}

// Each line of `lines` indented by two spaces.
std::string indented(std::string_view lines) {
    std::string result;
    for (std::size_t start = 0; start <= lines.size();) {
        const std::size_t end = std::min(lines.find('\n', start), lines.size());
        result += "  " + std::string(lines.substr(start, end - start)) + '\n';
        start = end + 1;
    }
    return result;
}

std::string optionText(const OptionHelp& option) {
    return wrapped(padded("  " + std::string(option.flag), kFlagColumn), option.meaning);
}

std::string descriptionText(const Command& command) {
    return wrapped(padded(std::string(command.name), kNameColumn), command.description);
}

std::string exitStatusText() {
    std::string text = "Exit status:\n";
    for (const ExitStatus& status : kExitStatuses) {
        text += wrapped("  " + std::to_string(status.code) + "  ", status.meaning);
    }
    return text + wrapped("  ", kAllStatus);
}

// Adds `item` to `seen` when it is not there yet; whether it was added. The
// commands share options, a usage note and notes, which the full help lists once.
template <typename Item>
bool firstTime(std::vector<Item>& seen, const Item& item) {
    if (std::find(seen.begin(), seen.end(), item) != seen.end()) {
        return false;
    }
    seen.push_back(item);
    return true;
}

} // namespace

std::string fullHelp(std::span<const Command* const> commands) {
    std::string usage = "Usage:\n";
    std::string descriptions;
    std::string options;
    std::string notes;
    std::vector<std::string_view> seenTexts;
    std::vector<const OptionHelp*> seenOptions;
    for (const Command* command : commands) {
        usage += indented(command->synopsis);
        descriptions += descriptionText(*command);
        for (const OptionHelp* option : command->options) {
            options += firstTime(seenOptions, option) ? optionText(*option) : "";
        }
        if (!command->notes.empty() && firstTime(seenTexts, command->notes)) {
            notes += '\n';
            notes += command->notes;
        }
    }
    usage += indented(kHelpSynopsis);
    for (const Command* command : commands) {
        if (!command->usageNote.empty() && firstTime(seenTexts, command->usageNote)) {
            usage += '\n';
            usage += indented(command->usageNote);
        }
    }
    // Appended piece by piece: GCC 12 takes a chain of "+" on strings for an
    // overlapping copy in optimised builds.
    for (const std::string& part : {descriptions, options, wrapped("", kOptionSyntax) + notes,
                                    exitStatusText(), wrapped("", kLimits)}) {
        usage += '\n';
        usage += part;
    }
    return usage;
}

std::string commandHelp(const Command& command) {
    std::string help = "Usage:\n";
    help += indented(command.synopsis);
    if (!command.usageNote.empty()) {
        help += '\n';
        help += indented(command.usageNote);
    }
    help += '\n';
    help += descriptionText(command);
    if (!command.options.empty()) {
        help += '\n';
        for (const OptionHelp* option : command.options) {
            help += optionText(*option);
        }
        help += '\n';
        help += wrapped("", kOptionSyntax);
    }
    if (!command.notes.empty()) {
        help += '\n';
        help += command.notes;
    }
    return help;
}

} // namespace tavu::cli
