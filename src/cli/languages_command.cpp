#include "arguments.h"
#include "cli.h"
#include "command.h"
#include "platform/path_text.h"
#include "vocabulary/language_files.h"

namespace tavu::cli {

namespace {

int runLanguages(std::span<const std::string_view> arguments, std::ostream& out, std::ostream&) {
    const auto operands =
        readArguments("languages", arguments, [](std::string_view, OptionValue&) { return false; });
    if (!operands.empty()) {
        throw UsageError("unexpected argument \"" + std::string(operands[0]) + "\" for languages");
    }
    for (const LanguageFile& language : findLanguages(languageFolders())) {
        out << escapedLine(language.code) << '\t' << escapedLine(language.name) << '\t'
            << escapedLine(utf8FromPath(language.path)) << '\n';
    }
    return ExitDone;
}

} // namespace

const Command kLanguagesCommand{
    .name = "languages",
    .synopsis = "tavu-cli languages",
    .usageNote = {},
    .description =
        "prints the installed languages, one a line: the code, a tab, the name in the language itself, a "
        "tab, and the file, sorted by file name. They are the *.ini files with a section \"[Strings]\" in "
        "the folder \"languages\" beside the program, then in ../share/tavu/languages from the program's "
        "folder; of two files with the same code the first is taken.",
    .options = {},
    .notes = {},
    .run = runLanguages,
};

} // namespace tavu::cli
