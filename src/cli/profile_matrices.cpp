#include "profile_matrices.h"

#include "chosen_profile.h"

namespace tavu::cli {

SettingsRequest readSettingsRequest(std::string_view command, std::span<const std::string_view> arguments,
                                    const TakeOption& takeOwnOption) {
    SettingsRequest read;
    read.operands = readArguments(command, arguments, [&](std::string_view flag, OptionValue& value) {
        return takeSettingsOption(read.request, flag, value) || takeOwnOption(flag, value);
    });
    return read;
}

Result<MatrixSources, int> readMatrixSources(const GenerationRequest& request,
                                             const std::vector<std::string>& profilesFiles,
                                             std::ostream& err) {
    auto input = readGenerationInput(request);
    if (!input) {
        return reportFailure(input.failure(), {}, err);
    }
    MatrixSources sources{std::move(input).value(), {}};
    for (const std::string& file : profilesFiles) {
        auto document = loadProfiles(file);
        if (!document) {
            return reportFailure(document.failure(), {}, err);
        }
        sources.documents.push_back(std::move(document).value());
    }
    // A profile that the changes name is told of when no file holds it.
    if (!sources.documents.empty()) {
        warnOfUnknownProfiles(sources.input, sources.documents.back(), profilesFiles.back());
    }
    printWarnings(sources.input, err);
    return sources;
}

Result<ProfileMatrix, int> readMatrix(const ProfilesDocument& document, const std::string& profilesFile,
                                      const GenerationInput& input, std::ostream& err) {
    auto matrix = buildProfileMatrix(document, input);
    if (!matrix) {
        const MatrixStop& stop = matrix.failure();
        return reportFailure(generation_failure::Stopped{stop.stop},
                             {profilesFile + ": " + profileLabel(stop.profile, stop.name) + ": ", {}}, err);
    }
    return std::move(matrix).value();
}

} // namespace tavu::cli
