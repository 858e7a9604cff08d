#include "arguments.h"
#include "cli.h"
#include "command.h"
#include "platform/path_text.h"
#include "profiles/profiles_document.h"

namespace tavu::cli {

namespace {

int runList(std::span<const std::string_view> arguments, std::ostream& out, std::ostream&) {
    const auto operands =
        readArguments("list", arguments, [](std::string_view, OptionValue&) { return false; });
    const auto loaded =
        ProfilesDocument::load(pathFromUtf8(oneOperand("list", operands, "the profiles file")));
    if (!loaded.document) {
        throw Failure(ExitNoProfiles, loaded.error);
    }
    for (const std::string& name : loaded.document->names()) {
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
        R"(prints the names of the profiles in PROFILES (a profiles.xml file), one a line, in the file's order; a backslash and control characters in a name are written as \\, \n, \r, \t or \xHH.)",
    .options = {},
    .notes = {},
    .run = runList,
};

} // namespace tavu::cli
