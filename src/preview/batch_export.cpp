#include "preview/batch_export.h"

#include "platform/code_page.h"
#include "platform/file.h"
#include "platform/text.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace tavu {

namespace {

constexpr std::string_view kForbidden = "/\\:*?\"<>|";
constexpr std::string_view kDotsAndSpaces = ". ";
constexpr std::string_view kEmptyStem = "profile";
// Most file systems allow 255 bytes; this leaves room for " (99999)" and ".txt".
constexpr std::size_t kMaxStemBytes = 200;

constexpr std::array<std::string_view, 22> kDeviceNames{
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",
    "COM8", "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9"};

bool isUnsafeByte(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || kForbidden.find(c) != std::string_view::npos;
}

// At most `limit` bytes, never cutting a UTF-8 character in two.
std::string_view firstBytes(std::string_view utf8, std::size_t limit) {
    if (utf8.size() <= limit) {
        return utf8;
    }
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) {
        --end;
    }
    return utf8.substr(0, end);
}

// Windows opens the device for its name with any extension, and ignores spaces
// before the extension.
bool isDeviceName(std::string_view stem) {
    const std::string_view base = trimmed(stem.substr(0, stem.find('.')), " ");
    return std::any_of(kDeviceNames.begin(), kDeviceNames.end(),
                       [&](std::string_view device) { return equalsIgnoringAsciiCase(device, base); });
}

// Letter case folded for the scripts profile names are usually written in
// (Latin, Greek, Cyrillic), as case-insensitive file systems compare names.
char32_t foldedCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3A9) ||
        (c >= 0x410 && c <= 0x42F)) {
        return c + 0x20;
    }
    if (c >= 0x400 && c <= 0x40F) {
        return c + 0x50;
    }
    return c;
}

std::string foldedName(std::string_view name) {
    auto codePoints = codePointsOfUtf8(name);
    if (!codePoints) {
        return toLowerAscii(name);
    }
    std::transform(codePoints->begin(), codePoints->end(), codePoints->begin(), foldedCase);
    return utf8OfCodePoints(*codePoints);
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

} // namespace

std::string safeFileStem(std::string_view profileName) {
    std::string stem(profileName);
    std::replace_if(stem.begin(), stem.end(), isUnsafeByte, '_');
    std::string_view kept = firstBytes(trimmed(stem, kDotsAndSpaces), kMaxStemBytes);
    kept = trimmed(kept, kDotsAndSpaces);
    if (kept.empty()) {
        return std::string(kEmptyStem);
    }
    std::string safe = isDeviceName(kept) ? "_" : "";
    safe.append(kept);
    return safe;
}

std::vector<std::string> exportFileNames(const std::vector<std::string>& profileNames) {
    std::vector<std::string> names;
    std::vector<std::string> taken; // folded, as a case-insensitive file system compares
    for (const std::string& profileName : profileNames) {
        const std::string stem = safeFileStem(profileName);
        std::string name = stem + std::string(kExportExtension);
        for (int copy = 2; std::find(taken.begin(), taken.end(), foldedName(name)) != taken.end(); ++copy) {
            name = stem + " (" + std::to_string(copy) + ")" + std::string(kExportExtension);
        }
        taken.push_back(foldedName(name));
        names.push_back(std::move(name));
    }
    return names;
}

std::string replaceFileInFolder(const std::filesystem::path& folder, const std::string& name,
                                std::string_view bytes) {
    // A symbolic link in the folder is replaced, never followed out of it.
    const std::filesystem::path target = folder / name;
    if (!writeFileAtomically(target, bytes, SymbolicLink::Replace)) {
        return systemError("cannot write " + target.string());
    }
    return {};
}

} // namespace tavu
