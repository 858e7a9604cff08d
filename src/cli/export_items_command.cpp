#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "platform/path_text.h"
#include "settings/menu_changes_file.h"
#include "settings/settings_file.h"

namespace tavu::cli {

namespace {

int runExportItems(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    GenerationRequest request;
    const auto operands =
        readArguments("export-items", arguments, [&](std::string_view flag, OptionValue& value) {
            if (flag != "--settings") {
                return false;
            }
            setOnce(request.settingsFile, flag, std::string(value.take()));
            return true;
        });
    const std::string file(oneOperand("export-items", operands, "the file to write"));
    if (file != "-") {
        refuseTheSettingsFile("export-items", file, request, "items");
    }
    const auto read = readGenerationInput(request);
    if (!read) {
        return reportFailure(read.failure(), {}, err);
    }
    // What the settings file holds is written whole, the items it cannot use
    // and the keys it does not know included, so that nothing is lost on the
    // way; the warnings say what the other side will be told too, and name
    // the sections that were not read and so are left out.
    const GenerationInput& input = read.value();
    printWarnings(input, err);
    if (file == "-") {
        out << menuChangesFileText(input.changes);
        return ExitDone;
    }
    if (const auto written = writeMenuChangesFile(input.changes, pathFromUtf8(file)); !written) {
        throw Failure(ExitUnwritable, unwritableMessage(written.failure()));
    }
    return ExitDone;
}

const OptionHelp* const kOptions[] = {&kSettingsOption};

} // namespace

const Command kExportItemsCommand{
    .name = "export-items",
    .synopsis = "tavu-cli export-items FILE [--settings INI]",
    .usageNote = {},
    .description =
        "writes the own items and the items switched off of the settings file into FILE, a file of their "
        "own in the settings file's layout, which --own-items reads for a run and the window imports. FILE "
        "is replaced whole, and is never the settings file itself; - writes to standard output. A section "
        "named as an own item's whose number is not digits alone is not read: a warning names it, and FILE "
        "leaves it out.",
    .options = kOptions,
    .notes = {},
    .run = runExportItems,
};

} // namespace tavu::cli
