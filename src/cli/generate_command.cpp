#include "arguments.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "export/export_names.h"
#include "platform/file.h"
#include "platform/path_text.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace tavu::cli {

namespace {

// A profile of --all whose file is written and awaits the batch's commit.
struct StagedExport {
    std::string path;
    std::string profile; // "profile N \"NAME\""
};

// Generates one profile of --all and writes its temporary file; the status
// when it fails, else its staged file.
Result<StagedExport, int> stageExport(const ProfilesDocument& document, std::size_t index,
                                      const std::filesystem::path& path, const GenerationRequest& request,
                                      const GenerationInput& input, FileBatch& batch, std::ostream& err) {
    // A part of a menu whose clear command wipes the users' menus is worse than
    // no file: the profile's file is left as it was. So is a menu that clients
    // would misread; the other profiles are still written.
    const ProfileBlock block = generateProfile(document, index, input, {true, request.codePage()});
    const std::string who = whoOf(request, block);
    if (block.failure) {
        return reportFailure(*block.failure, {who, utf8FromPath(path), true}, err);
    }
    // A symbolic link in the folder is replaced, never followed out of it.
    if (!batch.stage(path, block.bytes, SymbolicLink::Replace)) {
        printError(err, who + "cannot write " + utf8FromPath(path) + ": " + std::strerror(errno));
        return ExitUnwritable;
    }
    return StagedExport{utf8FromPath(path), profileLabel(index, block.name)};
}

// Puts the staged files in place and reports each; the worst status.
int commitStaged(FileBatch& batch, std::vector<StagedExport>& staged, std::ostream& out, std::ostream& err) {
    const std::vector<int> committed = batch.commit();
    int status = ExitDone;
    for (std::size_t i = 0; i < staged.size(); ++i) {
        if (committed[i] != 0) {
            printError(err, staged[i].profile + ": cannot write " + staged[i].path + ": " +
                                std::strerror(committed[i]));
            status = std::max<int>(status, ExitUnwritable);
            continue;
        }
        out << "wrote " << escapedMessage(staged[i].path) << " for " << staged[i].profile << '\n';
    }
    staged.clear();
    return status;
}

int exportAll(const GenerationRequest& request, const std::string& outDir, std::ostream& out,
              std::ostream& err) {
    auto input = readGenerationInput(request);
    if (!input) {
        return reportFailure(input.failure(), {}, err);
    }
    const auto profiles = loadProfiles(request.profilesFile);
    if (!profiles) {
        return reportFailure(profiles.failure(), {}, err);
    }
    const ProfilesDocument& document = profiles.value();
    warnOfUnknownProfiles(input.value(), document, request.profilesFile);
    printWarnings(input.value(), err);
    const std::filesystem::path folder = pathFromUtf8(outDir);
    std::error_code code;
    std::filesystem::create_directories(folder, code);
    if (code || !std::filesystem::is_directory(folder, code)) {
        printError(err, "cannot make the folder " + outDir + (code ? ": " + code.message() : std::string()));
        return ExitUnwritable;
    }
    // The files are written a batch at a time, each batch made durable with
    // one sync: a process killed outright leaves one batch of temporary files
    // at most, and one interrupted by a signal none.
    const std::vector<std::string> fileNames = exportFileNames(document.names());
    FileBatch batch;
    std::vector<StagedExport> staged;
    int status = ExitDone;
    for (std::size_t i = 0; i < fileNames.size(); ++i) {
        auto result =
            stageExport(document, i, folder / pathFromUtf8(fileNames[i]), request, input.value(), batch, err);
        if (result) {
            staged.push_back(std::move(result).value());
        } else {
            status = std::max(status, result.failure());
        }
        if (batch.full()) {
            status = std::max(status, commitStaged(batch, staged, out, err));
        }
    }
    return std::max(status, commitStaged(batch, staged, out, err));
}

int runGenerate(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    bool allProfiles = false;
    std::optional<std::string> outDir;
    const GenerationRequest request =
        readProfileRequest("generate", arguments, [&](std::string_view flag, OptionValue& value) {
            if (flag == "--all") {
                allProfiles = true;
            } else if (flag == "--out-dir") {
                setOnce(outDir, flag, std::string(value.take()));
            } else {
                return false;
            }
            return true;
        });
    requireOneChoice("generate", request, "--all", allProfiles);
    if (allProfiles != outDir.has_value()) {
        throw UsageError("--all and --out-dir DIR go together");
    }
    if (allProfiles) {
        return exportAll(request, *outDir, out, err);
    }
    // Nothing at all when the generation stopped: a script that ignores the
    // status would otherwise install a block that clears the users' menus. Nor
    // a menu whose items would send the hub other than they say.
    const auto chosen = readWarnedProfile(request, err);
    if (!chosen) {
        return chosen.failure();
    }
    const ChosenProfile& profile = chosen.value();
    const ProfileBlock block =
        generateProfile(profile.document, profile.index, profile.input, {true, request.codePage()});
    if (block.failure) {
        return reportFailure(*block.failure, {whoOf(request, block), "<stdout>"}, err);
    }
    out << block.bytes;
    return ExitDone;
}

const OptionHelp kAllOption{"--all", "every profile, each into its own file in DIR"};
const OptionHelp kOutDirOption{
    "--out-dir DIR",
    "the folder for --all; it is created when missing. The file name is the profile name made safe on every "
    "file system, with \".txt\"; names equal without regard to case get \" (2)\", \" (3)\", ... An existing "
    "file is replaced whole (a symbolic link is replaced, not followed), and nothing outside DIR is "
    "written."};

const OptionHelp* const kOptions[] = {
    &kProfileOption,  &kIndexOption,      &kAllOption,      &kOutDirOption,  &kSettingsOption,
    &kLanguageOption, &kDateOption,       &kOptionOption,   &kWordOption,    &kItemOffOption,
    &kOwnItemsOption, &kNoOwnItemsOption, &kAllItemsOption, &kEncodingOption};

} // namespace

const Command kGenerateCommand{
    .name = "generate",
    .synopsis = "tavu-cli generate PROFILES (--profile NAME | --index N) [SETTINGS] [--encoding NAME]\n"
                "tavu-cli generate PROFILES --all --out-dir DIR [SETTINGS] [--encoding NAME]",
    .usageNote = kSettingsSynopsis,
    .description = "writes the $UserCommand block for one profile to standard output, byte for byte, with "
                   "nothing added (no final newline), or nothing at all when the generation stops. With "
                   "--all it writes one file per profile into DIR "
                   "instead, and prints one line for each file it wrote.",
    .options = kOptions,
    .notes = {},
    .run = runGenerate,
};

} // namespace tavu::cli
