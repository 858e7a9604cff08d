#include "arguments.h"
#include "cli.h"
#include "command.h"
#include "profiles/profiles_document.h"

namespace tavu::cli {

namespace {

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

int runList(std::span<const std::string_view> arguments, std::ostream& out, std::ostream&) {
    const auto operands =
        readArguments("list", arguments, [](std::string_view, OptionValue&) { return false; });
    const auto loaded =
        ProfilesDocument::load(std::string(oneOperand("list", operands, "the profiles file")));
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
