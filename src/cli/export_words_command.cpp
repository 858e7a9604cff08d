#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "platform/path_text.h"
#include "vocabulary/language_files.h"

namespace tavu::cli {

namespace {

int runExportWords(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    GenerationRequest request;
    std::optional<std::string> name;
    std::optional<std::string> code;
    const auto operands =
        readArguments("export-words", arguments, [&](std::string_view flag, OptionValue& value) {
            if (flag == "--name") {
                setOnce(name, flag, std::string(value.take()));
            } else if (flag == "--code") {
                setOnce(code, flag, std::string(value.take()));
            } else {
                return takeWordsOption(request, flag, value);
            }
            return true;
        });
    const std::string file(oneOperand("export-words", operands, "the file to write"));
    if (file != "-") {
        refuseTheSettingsFile("export-words", file, request, "words");
    }
    const auto read = readGenerationInput(request);
    if (!read) {
        return reportFailure(read.failure(), {}, err);
    }
    const GenerationInput& input = read.value();
    // The words of a language keep its name and code unless told otherwise.
    const LanguageFile chosen = input.language.value_or(LanguageFile{});
    const std::string languageName = name.value_or(chosen.name);
    const std::string languageCode = code.value_or(chosen.code);
    if (file == "-") {
        out << languageFileText(input.vocabulary, languageName, languageCode);
        return ExitDone;
    }
    const auto written = writeLanguageFile(pathFromUtf8(file), input.vocabulary, languageName, languageCode);
    if (!written) {
        throw Failure(ExitUnwritable, unwritableMessage(written.failure()));
    }
    return ExitDone;
}

const OptionHelp kNameOption{"--name NAME",
                             "the name of the language in its own words, such as Deutsch; by default "
                             "that of --language, else none (the file's name then stands for it)"};
const OptionHelp kCodeOption{"--code CODE",
                             "the code of the language, such as de; by default that of --language, "
                             "else none (the file's name then stands for it)"};

const OptionHelp* const kOptions[] = {&kSettingsOption, &kLanguageOption, &kWordOption, &kNameOption,
                                      &kCodeOption};

} // namespace

const Command kExportWordsCommand{
    .name = "export-words",
    .synopsis = "tavu-cli export-words FILE [--settings INI] [--language LANG]\n"
                "         [--word wKEY=TEXT]... [--name NAME] [--code CODE]",
    .usageNote = {},
    .description =
        "writes the words as a language file, which the Translator and --language load: those of the "
        "settings file, then of --language, then each --word. FILE is replaced whole; - writes to "
        "standard output. To add a language, copy en.ini from the languages folder instead, translate its "
        "words and keep its keys.",
    .options = kOptions,
    .notes = {},
    .run = runExportWords,
};

} // namespace tavu::cli
