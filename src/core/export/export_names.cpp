#include "export/export_names.h"

#include "base/text.h"
#include "formats/case_folding.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>
#include <unordered_set>

namespace tavu {

namespace {

constexpr std::string_view kForbidden = "/\\:*?\"<>|";
constexpr std::string_view kDotsAndSpaces = ". ";
constexpr std::string_view kEmptyStem = "profile";
// Most file systems allow 255 bytes; this leaves room for "_", " (k)" and ".txt".
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

std::string copySuffix(std::size_t copy) {
    return " (" + std::to_string(copy) + ")" + std::string(kExportExtension);
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
    // Folding works character by character and nothing composes with the space
    // that starts " (k)", so a folded name is its folded stem and its suffix.
    std::unordered_set<std::string> taken;
    // Per folded stem, the lowest copy number not yet found taken: names are only
    // ever added, so a number found taken is never tried again, and many equal
    // names cost one try each instead of one per earlier name.
    std::unordered_map<std::string, std::size_t> nextCopy;
    std::vector<std::string> names;
    names.reserve(profileNames.size());
    for (const std::string& profileName : profileNames) {
        const std::string stem = safeFileStem(profileName);
        const std::string folded = foldedFileName(stem);
        std::string suffix(kExportExtension);
        if (taken.contains(folded + suffix)) {
            std::size_t& copy = nextCopy.try_emplace(folded, 2).first->second;
            while (taken.contains(folded + copySuffix(copy))) {
                ++copy;
            }
            suffix = copySuffix(copy++);
        }
        taken.insert(folded + suffix);
        names.push_back(stem + suffix);
    }
    return names;
}

} // namespace tavu
