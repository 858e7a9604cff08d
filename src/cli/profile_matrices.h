#pragma once

#include "arguments.h"
#include "base/result.h"
#include "generation/profile_generation.h"
#include "matrix/profile_matrix.h"

#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What matrix and diff share: the options of SETTINGS, and every profile of a
// profiles file read into a matrix with the messages and statuses of generate.
namespace tavu::cli {

// The request that SETTINGS make, and the operands.
struct SettingsRequest {
    GenerationRequest request;
    std::vector<std::string_view> operands;
};

// Reads SETTINGS; `takeOwnOption` takes the command's others.
SettingsRequest readSettingsRequest(std::string_view command, std::span<const std::string_view> arguments,
                                    const TakeOption& takeOwnOption);

// The input and the documents of the profiles files, with the input's
// warnings printed; the exit status when one cannot be read.
struct MatrixSources {
    GenerationInput input;
    std::vector<ProfilesDocument> documents;
};
Result<MatrixSources, int> readMatrixSources(const GenerationRequest& request,
                                             const std::vector<std::string>& profilesFiles,
                                             std::ostream& err);

// The matrix of every profile of `document`, read from `profilesFile`; the exit
// status, with the message generate gives, when a profile's generation stops.
Result<ProfileMatrix, int> readMatrix(const ProfilesDocument& document, const std::string& profilesFile,
                                      const GenerationInput& input, std::ostream& err);

// The value of --format among `formats`, named in the order given.
template <typename Format, std::size_t N>
Format formatNamed(std::string_view text, const std::pair<std::string_view, Format> (&formats)[N]) {
    std::string names;
    for (const auto& [name, format] : formats) {
        if (name == text) {
            return format;
        }
        names += (names.empty() ? "" : ", ") + std::string(name);
    }
    throw UsageError("--format: \"" + std::string(text) + "\" is not one of " + names);
}

} // namespace tavu::cli
