#include "arguments.h"
#include "base/escaping.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"

namespace tavu::cli {

namespace {

// A field of a line: control characters escaped, so that a tab separates the
// fields and a line is an item. The backslashes are kept: they join the
// titles of a path and the keys of an identity, which --item-off takes as
// printed.
std::string field(std::string_view text) {
    return escapedControls(text, {});
}

int runItems(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    const GenerationRequest request =
        readProfileRequest("items", arguments, [](std::string_view, OptionValue&) { return false; });
    requireOneChoice("items", request);
    if (request.encoding) {
        throw UsageError("unknown option --encoding for items");
    }
    const auto chosen = readWarnedProfile(request, err);
    if (!chosen) {
        return chosen.failure();
    }
    const ChosenProfile& profile = chosen.value();
    const std::string& name = profile.document.names()[profile.index];
    const MenuListing listing =
        listMenuItems(profile.document.profile(static_cast<int>(profile.index)), profile.input.options,
                      profile.input.vocabulary, profile.input.changes, name);
    // As generate writes nothing for a profile that stops, items lists nothing:
    // a list cut short would pass for the whole menu.
    if (listing.stop) {
        return reportFailure(generation_failure::Stopped{*listing.stop},
                             {whoOf(request, profile.index, name), {}}, err);
    }
    for (const MenuItem& item : listing.items) {
        out << field(item.identity) << '\t' << field(item.path) << '\t' << (item.on ? "on" : "off") << '\n';
    }
    return ExitDone;
}

const OptionHelp* const kOptions[] = {
    &kProfileOption, &kIndexOption,   &kSettingsOption, &kLanguageOption,   &kDateOption,    &kOptionOption,
    &kWordOption,    &kItemOffOption, &kOwnItemsOption, &kNoOwnItemsOption, &kAllItemsOption};

} // namespace

const Command kItemsCommand{
    .name = "items",
    .synopsis = "tavu-cli items PROFILES (--profile NAME | --index N) [SETTINGS]",
    .usageNote = kSettingsSynopsis,
    .description =
        "lists every item of the profile's menu in the order generate writes them, switched off or not, "
        "one a line: its identity, its path (the titles in the current words, joined by \\; a separator "
        "ends in \\-) and on or off, separated by tabs, with control characters escaped as list escapes "
        "them. The identity of a generated item is made of the word keys of its titles, such as "
        "wUserControl\\wKennylize\\wAll\\wOn, and stays the same in every language; --item-off and the "
        "section \"Items off\" of the settings file take it, or the identity of a submenu, such as "
        "wUserControl\\wKennylize, for everything in it. An own item is own:N, N its place among the own "
        "items "
        "counted from 1; one that cannot be written is off. A generation that stops prints nothing.",
    .options = kOptions,
    .notes = {},
    .run = runItems,
};

} // namespace tavu::cli
