#include "arguments.h"
#include "cli.h"
#include "command.h"
#include "generator/options.h"
#include "vocabulary/vocabulary.h"

#include <string>

namespace tavu::cli {

namespace {

int runKeys(std::span<const std::string_view> arguments, std::ostream& out, std::ostream&) {
    const auto operands =
        readArguments("keys", arguments, [](std::string_view, OptionValue&) { return false; });
    if (!operands.empty()) {
        throw UsageError("unexpected argument \"" + std::string(operands[0]) + "\" for keys");
    }
    // The sections and the order of the settings file, so that the output also
    // reads as a settings file of defaults.
    out << "[Settings]\n";
    for (const OptionEntry& entry : kOptionTable) {
        out << entry.key << '=' << (entry.byDefault ? '1' : '0') << '\n';
    }
    out << "[Strings]\n";
    for (const WordEntry& word : wordTable()) {
        out << word.key << '=' << word.defaultText << '\n';
    }
    return ExitDone;
}

// The counts follow the tables, so that a new option or word cannot leave the
// help behind.
const std::string kKeysDescription =
    "prints the keys that --option and --word take, one KEY=DEFAULT a line: the " +
    std::to_string(kOptionTable.size()) + " option keys under \"[Settings]\" (1 is on, 0 is off), then the " +
    std::to_string(kWordCount) +
    " word keys with their English texts under \"[Strings]\", in the order of the settings file. A text "
    "runs to the end of its line; the item prefix wStartWith ends in a no-break space.";

} // namespace

const Command kKeysCommand{
    .name = "keys",
    .synopsis = "tavu-cli keys",
    .usageNote = {},
    .description = kKeysDescription,
    .options = {},
    .notes = {},
    .run = runKeys,
};

} // namespace tavu::cli
