#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"

namespace tavu::cli {

namespace {

int runList(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const auto operands =
        readArguments("list", arguments, [](std::string_view, OptionValue&) { return false; });
    const auto loaded = loadProfiles(std::string(oneOperand("list", operands, "the profiles file")));
    if (!loaded) {
        return reportFailure(loaded.failure(), {}, err);
    }
    for (const std::string& name : loaded->names()) {
        out << escapedLine(name) << '\n';
    }
    return ExitDone;
}

} // namespace

const Command kListCommand{
    .name = "list",
    .synopsis = "tavu-cli list PROFILES",
    .usageNote = {},
    .description =
        R"(prints the names of the profiles in PROFILES (a profiles.xml file), one a line, in the file's order. So that one line is one name and no name acts on the terminal, a backslash is written as \\; the controls U+0000 to U+001F and U+007F as \n, \r, \t or \xHH; the C1 controls U+0080 to U+009F, the line and paragraph separators U+2028 and U+2029 and the bidirectional controls (U+061C, U+200E, U+200F, U+202A to U+202E, U+2066 to U+2069) as \u{XXXX}; and a byte that is not UTF-8 as \xHH.)",
    .options = {},
    .notes = {},
    .run = runList,
};

} // namespace tavu::cli
