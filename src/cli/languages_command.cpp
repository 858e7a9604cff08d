#include "arguments.h"
#include "cli.h"
#include "command.h"
#include "platform/path_text.h"
#include "vocabulary/language_files.h"

namespace tavu::cli {

namespace {

int runLanguages(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const auto operands =
        readArguments("languages", arguments, [](std::string_view, OptionValue&) { return false; });
    if (!operands.empty()) {
        throw UsageError("unexpected argument \"" + std::string(operands[0]) + "\" for languages");
    }
    const LanguageListing listing = findLanguages(languageFolders());
    for (const LanguageFile& language : listing.languages) {
        out << escapedLine(language.code) << '\t' << escapedLine(language.name) << '\t'
            << escapedLine(utf8FromPath(language.path)) << '\n';
    }
    // The list is whole for the shipped languages only; a script must hear of the rest.
    if (listing.leftOut > 0) {
        err << "tavu-cli: warning: " << listing.leftOut
            << " more *.ini files in the languages folders were not looked at: a listing reads the shipped "
               "languages' files and the first "
            << kMaxOtherLanguageFiles << " others by name\n";
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
        "tab, and the file, sorted by file name. They are the *.ini files (in any letter case) with a "
        "section \"[Strings]\" in the folder \"languages\" beside the program, then in "
        "../share/tavu/languages from the program's folder; of two files with the same code the first is "
        "taken, and a shipped language's own file (such as de.ini) before another. Only the start of each "
        "file (64 KiB) is read, so its section \"[Language]\" must come first. The shipped languages' "
        "files are always read, and of the others the first 100 by name; more are counted in a warning on "
        "standard error. Loading a language checks its words.",
    .options = {},
    .notes = {},
    .run = runLanguages,
};

} // namespace tavu::cli
