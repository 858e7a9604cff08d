#include "arguments.h"
#include "base/escaping.h"
#include "chosen_profile.h"
#include "cli.h"
#include "command.h"
#include "matrix/matrix_export.h"
#include "preview_output.h"
#include "profile_matrices.h"

#include <algorithm>
#include <optional>

namespace tavu::cli {

namespace {

enum class MatrixFormat { Text, Csv, Html, Json };

constexpr std::pair<std::string_view, MatrixFormat> kMatrixFormats[] = {{"text", MatrixFormat::Text},
                                                                        {"csv", MatrixFormat::Csv},
                                                                        {"html", MatrixFormat::Html},
                                                                        {"json", MatrixFormat::Json}};

// The widest a path and a profile's name are shown in text; longer ones are cut.
constexpr std::size_t kPathColumns = 48;
constexpr std::size_t kNameColumns = 12;
constexpr std::string_view kEllipsis = "\u2026";

// The columns that UTF-8 text takes on a terminal, one a code point.
std::size_t columns(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A path as items prints it: control characters escaped, the backslashes
// that join its titles kept.
std::string shownPath(std::string_view path) {
    return escapedControls(path, {});
}

// The text, escaped, cut to `most` columns with an ellipsis last, then padded
// to `width`.
std::string cell(std::string shown, std::size_t most, std::size_t width) {
    if (columns(shown) > most) {
        std::size_t kept = 0;
        std::size_t end = 0;
        for (; end < shown.size(); ++end) {
            if ((static_cast<unsigned char>(shown[end]) & 0xC0) != 0x80 && kept++ == most - 1) {
                break;
            }
        }
        shown.resize(end);
        shown += kEllipsis;
    }
    shown.append(width - std::min(width, columns(shown)), ' ');
    return shown;
}

std::string matrixText(const ProfileMatrix& matrix) {
    const std::size_t profiles = matrix.profiles().size();
    std::vector<std::string> names(profiles);
    std::vector<std::size_t> widths(profiles);
    for (std::size_t profile = 0; profile < profiles; ++profile) {
        names[profile] = escapedLine(matrix.profiles()[profile]);
        widths[profile] = std::clamp(columns(names[profile]), std::size_t{3}, kNameColumns);
    }
    std::size_t pathWidth = 5;
    for (const MatrixItem& item : matrix.items()) {
        pathWidth = std::max(pathWidth, std::min(columns(shownPath(item.path)), kPathColumns));
    }
    const auto line = [&](std::string first, const auto& cellOf) {
        std::string text = cell(std::move(first), kPathColumns, pathWidth);
        for (std::size_t profile = 0; profile < profiles; ++profile) {
            text += "  ";
            text += cell(cellOf(profile), kNameColumns, widths[profile]);
        }
        text.erase(text.find_last_not_of(' ') + 1);
        return text + '\n';
    };
    std::string text = line("item", [&](std::size_t profile) { return names[profile]; });
    for (std::size_t row = 0; row < matrix.items().size(); ++row) {
        text += line(shownPath(matrix.items()[row].path), [&](std::size_t profile) {
            const Mark mark = matrix.mark(row, profile);
            return std::string(mark == Mark::Absent ? "." : markText(mark));
        });
    }
    return text + line("items written",
                       [&](std::size_t profile) { return std::to_string(matrix.writtenCount(profile)); });
}

std::string indexList(const ProfileMatrix& matrix, std::size_t row, Mark wanted) {
    std::string list = "[";
    for (std::size_t profile = 0; profile < matrix.profiles().size(); ++profile) {
        if (matrix.mark(row, profile) == wanted) {
            list += list.size() > 1 ? "," : "";
            list += std::to_string(profile);
        }
    }
    return list + "]";
}

// Appended piece by piece: GCC 12 takes a chain of "+" on strings for an
// overlapping copy in optimised builds.
void appendJsonItem(std::string& json, const ProfileMatrix& matrix, std::size_t row) {
    const MatrixItem& item = matrix.items()[row];
    json += row == 0 ? R"({"identity":)" : R"(,{"identity":)";
    json += jsonString(item.identity);
    json += R"(,"path":)";
    json += jsonString(item.path);
    json += R"(,"command":)";
    json += jsonString(item.command);
    json += R"(,"context":)";
    json += std::to_string(item.context);
    json += item.separator ? R"(,"separator":true)" : R"(,"separator":false)";
    json += item.own ? R"(,"own":true)" : R"(,"own":false)";
    json += R"(,"writtenFor":)";
    json += indexList(matrix, row, Mark::Written);
    json += R"(,"switchedOffFor":)";
    json += indexList(matrix, row, Mark::SwitchedOff);
    json += '}';
}

std::string matrixJson(const ProfileMatrix& matrix) {
    std::string json = R"({"profiles":[)";
    for (std::size_t profile = 0; profile < matrix.profiles().size(); ++profile) {
        json += profile == 0 ? R"({"name":)" : R"(,{"name":)";
        json += jsonString(matrix.profiles()[profile]);
        json += R"(,"itemsWritten":)";
        json += std::to_string(matrix.writtenCount(profile));
        json += '}';
    }
    json += R"(],"items":[)";
    for (std::size_t row = 0; row < matrix.items().size(); ++row) {
        appendJsonItem(json, matrix, row);
    }
    return json + "]}\n";
}

std::string formatted(const ProfileMatrix& matrix, MatrixFormat format, const std::string& profilesFile) {
    switch (format) {
    case MatrixFormat::Csv:
        return matrixCsv(matrix);
    case MatrixFormat::Html:
        return matrixHtml(matrix, "Profiles at a glance: " + profilesFile);
    case MatrixFormat::Json:
        return matrixJson(matrix);
    case MatrixFormat::Text:
        break;
    }
    return matrixText(matrix);
}

int runMatrix(std::span<const std::string_view> arguments, std::ostream& out, std::ostream& err) {
    std::optional<MatrixFormat> format;
    const SettingsRequest read =
        readSettingsRequest("matrix", arguments, [&](std::string_view flag, OptionValue& value) {
            if (flag != "--format") {
                return false;
            }
            setOnce(format, flag, formatNamed(value.take(), kMatrixFormats));
            return true;
        });
    const std::string file(oneOperand("matrix", read.operands, "the profiles file"));
    const auto sources = readMatrixSources(read.request, {file}, err);
    if (!sources) {
        return sources.failure();
    }
    const auto& [input, documents] = sources.value();
    const auto matrix = readMatrix(documents.front(), file, input, err);
    if (!matrix) {
        return matrix.failure();
    }
    out << formatted(matrix.value(), format.value_or(MatrixFormat::Text), file);
    return ExitDone;
}

const OptionHelp* const kOptions[] = {
    &kSettingsOption, &kLanguageOption, &kDateOption,       &kOptionOption,   &kWordOption,
    &kItemOffOption,  &kOwnItemsOption, &kNoOwnItemsOption, &kAllItemsOption, &kFormatOption};

} // namespace

const Command kMatrixCommand{
    .name = "matrix",
    .synopsis = "tavu-cli matrix PROFILES [SETTINGS] [--format FORMAT]",
    .usageNote = kSettingsSynopsis,
    .description =
        "shows every profile's menu side by side: a row for each item that any profile of PROFILES gets, a "
        "column for each profile, and in each cell x when generate writes the item into the profile's block, "
        "off when the permissions give it but it is switched off (or an own item that cannot be written), "
        "and . when the profile does not get it. Text shows the paths, escaped as list escapes names, a path "
        "cut at 48 columns and a name at 12 with an ellipsis, and the count of items each profile gets last; "
        "csv, html and json also give each item's identity and command. A generation that stops prints "
        "nothing.",
    .options = kOptions,
    .notes = {},
    .run = runMatrix,
};

} // namespace tavu::cli
