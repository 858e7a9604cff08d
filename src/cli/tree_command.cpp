#include "arguments.h"
#include "chosen_profile.h"
#include "command.h"
#include "help.h"
#include "preview/menu_preview.h"
#include "preview/preview_text.h"

namespace tavu::cli {

namespace {

int runTree(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const ProfileRequest request =
        readProfileRequest("tree", arguments, [](std::string_view, OptionValue&) { return false; });
    requireOneChoice("tree", request);
    // The block is encoded although only its text is shown, so that tree
    // fails where generate would.
    const ProfileBlock block = generateChosenProfile(request);
    out << preview::previewText(preview::previewUserCommands(block.generation.text));
    return reportStop(block.generation, "", err);
}

const OptionHelp* const kOptions[] = {&kProfileOption, &kIndexOption, &kSettingsOption, &kDateOption,
                                      &kOptionOption,  &kWordOption,  &kEncodingOption};

} // namespace

const Command kTreeCommand{
    .name = "tree",
    .synopsis = "tavu-cli tree PROFILES (--profile NAME | --index N) [SETTINGS] [--encoding NAME]",
    .usageNote = kSettingsSynopsis,
    .description = "shows the menus that a client builds from the block generate would write: the hub menu "
                   "and the user-list menu as indented trees, each item with its command and the titles it "
                   "prompts for, then the chat text and the problems found.",
    .options = kOptions,
    .notes = kFindingsHelp,
    .run = runTree,
};

} // namespace tavu::cli
