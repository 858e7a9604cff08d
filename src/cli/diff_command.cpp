#include "arguments.h"
#include "base/escaping.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "matrix/profiles_diff.h"
#include "preview_output.h"
#include "profile_matrices.h"

#include <algorithm>
#include <optional>

namespace tavu::cli {

namespace {

enum class DiffFormat { Text, Json };

constexpr std::pair<std::string_view, DiffFormat> kDiffFormats[] = {{"text", DiffFormat::Text},
                                                                    {"json", DiffFormat::Json}};

// What the run compares: the files, and the name of the one profile asked for.
struct Compared {
    std::string before;
    std::string after;
    std::optional<std::string> profile;
};

// Only the profiles of the name asked for, when one is.
void keepProfile(ProfilesDiff& diff, const ProfileMatrix& before, const ProfileMatrix& after,
                 const std::string& name) {
    std::erase_if(diff.changed, [&](const ProfileChange& change) { return change.name != name; });
    std::erase_if(diff.added, [&](std::size_t index) { return after.profiles()[index] != name; });
    std::erase_if(diff.removed, [&](std::size_t index) { return before.profiles()[index] != name; });
}

void appendItemLines(std::string& text, char sign, const std::vector<const MatrixItem*>& items) {
    for (const MatrixItem* item : items) {
        text += sign;
        text += ' ';
        // As items prints them: the backslashes that join keys and titles kept.
        text += escapedControls(item->identity, {});
        text += '\t';
        text += escapedControls(item->path, {});
        text += '\n';
    }
}

// Appended piece by piece: GCC 12 takes a chain of "+" on strings for an
// overlapping copy in optimised builds.
void appendLabel(std::string& text, std::size_t index, const std::string& name, std::string_view what) {
    text += profileLabel(index, name);
    text += ": ";
    text += what;
}

std::string diffText(const ProfilesDiff& diff, const ProfileMatrix& before, const ProfileMatrix& after,
                     const Compared& compared) {
    std::string text = "--- ";
    text += escapedLine(compared.before);
    text += "\n+++ ";
    text += escapedLine(compared.after);
    text += '\n';
    for (const ProfileChange& change : diff.changed) {
        appendLabel(text, change.newIndex, change.name, "gains ");
        text += std::to_string(change.gained.size());
        text += ", loses ";
        text += std::to_string(change.lost.size());
        text += '\n';
        appendItemLines(text, '+', change.gained);
        appendItemLines(text, '-', change.lost);
    }
    for (const std::size_t index : diff.added) {
        appendLabel(text, index, after.profiles()[index], "added\n");
    }
    for (const std::size_t index : diff.removed) {
        appendLabel(text, index, before.profiles()[index], "removed\n");
    }
    return text;
}

// `items` as a JSON array of objects, each with its identity and path.
std::string jsonItems(const std::vector<const MatrixItem*>& items) {
    std::string json = "[";
    for (const MatrixItem* item : items) {
        json += json.size() > 1 ? R"(,{"identity":)" : R"({"identity":)";
        json += jsonString(item->identity);
        json += R"(,"path":)";
        json += jsonString(item->path);
        json += '}';
    }
    return json + "]";
}

std::string jsonProfiles(const std::vector<std::size_t>& indexes, const ProfileMatrix& matrix) {
    std::string json = "[";
    for (const std::size_t index : indexes) {
        json += json.size() > 1 ? R"(,{"index":)" : R"({"index":)";
        json += std::to_string(index);
        json += R"(,"name":)";
        json += jsonString(matrix.profiles()[index]);
        json += '}';
    }
    return json + "]";
}

std::string diffJson(const ProfilesDiff& diff, const ProfileMatrix& before, const ProfileMatrix& after) {
    std::string json = R"({"changed":[)";
    for (const ProfileChange& change : diff.changed) {
        json += &change == diff.changed.data() ? R"({"name":)" : R"(,{"name":)";
        json += jsonString(change.name);
        json += R"(,"oldIndex":)";
        json += std::to_string(change.oldIndex);
        json += R"(,"newIndex":)";
        json += std::to_string(change.newIndex);
        json += R"(,"gained":)";
        json += jsonItems(change.gained);
        json += R"(,"lost":)";
        json += jsonItems(change.lost);
        json += '}';
    }
    json += R"(],"added":)";
    json += jsonProfiles(diff.added, after);
    json += R"(,"removed":)";
    json += jsonProfiles(diff.removed, before);
    return json + "}\n";
}

void warnOfNamesTwice(const std::vector<std::string>& names, const std::string& file, std::ostream& err) {
    for (const std::string& name : names) {
        printError(err, "warning: " + file + " holds more than one profile named " + quotedText(name) +
                            "; they are matched by their place among those of the name");
    }
}

// The name asked for is in either file; a mistyped one would report no change.
std::optional<int> refuseUnknownProfile(const Compared& compared, const ProfileMatrix& before,
                                        const ProfileMatrix& after, std::ostream& err) {
    const auto holds = [&](const ProfileMatrix& matrix) {
        return std::ranges::find(matrix.profiles(), *compared.profile) != matrix.profiles().end();
    };
    if (!compared.profile || holds(before) || holds(after)) {
        return std::nullopt;
    }
    return reportFailure(
        generation_failure::NoSuchProfile{compared.after, compared.profile, -1, after.profiles().size(), {}},
        {}, err);
}

int runDiff(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    std::optional<DiffFormat> format;
    Compared compared;
    const SettingsRequest read =
        readSettingsRequest("diff", arguments, [&](std::string_view flag, OptionValue& value) {
            if (flag == "--format") {
                setOnce(format, flag, formatNamed(value.take(), kDiffFormats));
            } else if (flag == "--profile") {
                setOnce(compared.profile, flag, std::string(value.take()));
            } else {
                return false;
            }
            return true;
        });
    if (read.operands.size() != 2) {
        throw UsageError("diff needs two profiles files, OLD and NEW");
    }
    compared.before = std::string(read.operands[0]);
    compared.after = std::string(read.operands[1]);
    const auto sources = readMatrixSources(read.request, {compared.before, compared.after}, err);
    if (!sources) {
        return sources.failure();
    }
    const auto& [input, documents] = sources.value();
    const auto before = readMatrix(documents[0], compared.before, input, err);
    const auto after = readMatrix(documents[1], compared.after, input, err);
    for (const auto* matrix : {&before, &after}) {
        if (!*matrix) {
            return matrix->failure();
        }
    }
    const auto& old = before.value();
    const auto& now = after.value();
    if (const auto refused = refuseUnknownProfile(compared, old, now, err)) {
        return *refused;
    }
    ProfilesDiff diff = diffProfiles(old, now);
    warnOfNamesTwice(diff.oldNamesTwice, compared.before, err);
    warnOfNamesTwice(diff.newNamesTwice, compared.after, err);
    if (compared.profile) {
        keepProfile(diff, old, now, *compared.profile);
    }
    if (!diff.menusChange()) {
        return ExitDone;
    }
    out << (format == DiffFormat::Json ? diffJson(diff, old, now) : diffText(diff, old, now, compared));
    return ExitMenusChange;
}

const OptionHelp kDiffProfileOption{"--profile NAME", "diff: only the profiles of this name, in either file"};

const OptionHelp* const kOptions[] = {
    &kDiffProfileOption, &kSettingsOption, &kLanguageOption,   &kDateOption,     &kOptionOption, &kWordOption,
    &kItemOffOption,     &kOwnItemsOption, &kNoOwnItemsOption, &kAllItemsOption, &kFormatOption};

} // namespace

const Command kDiffCommand{
    .name = "diff",
    .synopsis = "tavu-cli diff OLD NEW [SETTINGS] [--profile NAME] [--format FORMAT]",
    .usageNote = kSettingsSynopsis,
    .description =
        "compares the menus of two profiles files, OLD and NEW, made with the same SETTINGS: for each "
        "profile "
        "of NEW whose menu changes, a line \"profile N \\\"NAME\\\": gains G, loses L\", then a line \"+ "
        "IDENTITY<tab>PATH\" for each item its block gains and \"- IDENTITY<tab>PATH\" for each it loses; "
        "then "
        "\"profile N \\\"NAME\\\": added\" for each profile only NEW holds and \"profile N \\\"NAME\\\": "
        "removed\" "
        "for each only OLD holds. Profiles are matched by name; profiles of the same name in one file are "
        "said on standard error and matched by their order. Nothing is printed and the status is 0 when no "
        "menu changes, and the status is 1 when one does.",
    .options = kOptions,
    .notes = {},
    .run = runDiff,
};

} // namespace tavu::cli
