#include "arguments.h"
#include "cli.h"
#include "command.h"
#include "help.h"
#include "platform/file.h"
#include "platform/path_text.h"
#include "preview/menu_preview.h"
#include "preview_output.h"

#include <unistd.h>

namespace tavu::cli {

namespace {

int runCheck(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    std::optional<CodePage> encoding;
    std::optional<PreviewFormat> format;
    std::optional<preview::ClientFamily> client;
    const auto operands = readArguments("check", arguments, [&](std::string_view flag, OptionValue& value) {
        if (flag == "--encoding") {
            setOnce(encoding, flag, parseEncoding(value.take()));
        } else if (flag == "--format") {
            setOnce(format, flag, parseFormat(value.take()));
        } else if (flag == "--client") {
            setOnce(client, flag, parseClient(value.take()));
        } else {
            return false;
        }
        return true;
    });
    const std::string file(oneOperand("check", operands, "the file to check"));
    const CodePage codePage = encoding.value_or(CodePage::Utf8);
    const bool standardInput = file == "-" || file == "/dev/stdin";
    const FileRead read = standardInput ? readStream(STDIN_FILENO, file, kBlockFileLimit)
                                        : readRegularFile(pathFromUtf8(file), kBlockFileLimit);
    if (read.status != ReadStatus::Read) {
        throw Failure(ExitNoProfiles, read.reason);
    }
    const Conversion text = decodeToUtf8(read.bytes, codePage);
    if (text.failure) {
        printError(err, file + " is not " + std::string(codePageName(codePage)) + ": byte " +
                            byteText(text.failure->character) + " at byte " +
                            std::to_string(text.failure->offset) +
                            (codePage == CodePage::Utf8 ? "; name its code page with --encoding" : ""));
        return ExitNoProfiles;
    }
    const preview::MenuPreview preview = previewFor(text.bytes, client);
    // "<stdin>", as compilers name it: a name no editor opens as a file.
    out << previewOutput(preview, standardInput ? "<stdin>" : file, format.value_or(PreviewFormat::Text));
    return preview.hasError() ? ExitUnreadablePiece : ExitDone;
}

const OptionHelp* const kOptions[] = {&kEncodingOption, &kFormatOption, &kClientOption};

} // namespace

const Command kCheckCommand{
    .name = "check",
    .synopsis = "tavu-cli check FILE [--encoding NAME] [--format FORMAT] [--client FAMILY]",
    .usageNote = {},
    .description =
        "shows the menus, the chat text and the problems found, as tree does, for a block saved in "
        "FILE (a generated, hand-edited or saved block; - or /dev/stdin reads standard input, and findings "
        "then name it \"<stdin>\").",
    .options = kOptions,
    .notes = kFindingsHelp,
    .run = runCheck,
};

} // namespace tavu::cli
