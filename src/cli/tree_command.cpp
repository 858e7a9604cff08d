#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "help.h"
#include "preview/menu_preview.h"
#include "preview_output.h"

namespace tavu::cli {

namespace {

int runTree(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    std::optional<PreviewFormat> format;
    std::optional<preview::ClientFamily> client;
    const GenerationRequest request =
        readProfileRequest("tree", arguments, [&](std::string_view flag, OptionValue& value) {
            if (flag == "--format") {
                setOnce(format, flag, parseFormat(value.take()));
            } else if (flag == "--client") {
                setOnce(client, flag, parseClient(value.take()));
            } else {
                return false;
            }
            return true;
        });
    requireOneChoice("tree", request);
    // The block is encoded although only its text is shown, so that tree
    // fails where generate would. A menu cut short at the stop is not the menu
    // generate would write.
    const auto chosen = readWarnedProfile(request, err);
    if (!chosen) {
        return chosen.failure();
    }
    const ChosenProfile& profile = chosen.value();
    const ProfileBlock block =
        generateProfile(profile.document, profile.index, profile.input, {false, request.codePage()});
    if (block.failure) {
        return reportFailure(*block.failure, {whoOf(request, block), {}}, err);
    }
    // The block has no file of its own; findings name the profile, which an
    // editor will not try to open.
    const std::string source = "<profile " + std::to_string(block.index) + ">";
    out << previewOutput(previewFor(block.generation.text, client), source,
                         format.value_or(PreviewFormat::Text));
    return ExitDone;
}

const OptionHelp* const kOptions[] = {
    &kProfileOption,  &kIndexOption,    &kSettingsOption, &kLanguageOption, &kDateOption,
    &kOptionOption,   &kWordOption,     &kItemOffOption,  &kOwnItemsOption, &kNoOwnItemsOption,
    &kAllItemsOption, &kEncodingOption, &kFormatOption,   &kClientOption};

} // namespace

const Command kTreeCommand{
    .name = "tree",
    .synopsis = "tavu-cli tree PROFILES (--profile NAME | --index N) [SETTINGS] [--encoding NAME]\n"
                "         [--format FORMAT] [--client FAMILY]",
    .usageNote = kSettingsSynopsis,
    .description =
        "shows the menus that a client (EiskaltDC++ unless --client names another) builds from the block "
        "generate would write: the hub menu "
        "and the user-list menu as indented trees, each item with its command and the titles it "
        "prompts for, then the chat text and the problems found. Findings name the block \"<profile N>\", N "
        "the profile's index. A generation that stops prints nothing.",
    .options = kOptions,
    .notes = kFindingsHelp,
    .run = runTree,
};

} // namespace tavu::cli
