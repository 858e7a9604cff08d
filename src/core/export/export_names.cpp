#include "export/export_names.h"

#include "formats/code_page.h"
#include "formats/text.h"

#include <unicase.h>
#include <uninorm.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
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

struct FreeWithC {
    void operator()(void* memory) const { std::free(memory); }
};

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

// NTFS upcases each character by its table, so it takes dotless "ı" for "I";
// APFS and HFS+ fold the case of the canonical decomposition, so they take "é"
// for "e" and U+0301. Upcasing each character, then folding and normalising the
// whole name, gives one key for what either takes for the same file. Full folding
// also joins "ß" and "SS", which NTFS keeps apart: a needless " (2)" is harmless
// where a missed clash would overwrite a file.
std::string foldedFileName(std::string_view name) {
    std::optional<std::u32string> characters = codePointsOfUtf8(name);
    if (!characters) {
        return toLowerAscii(name);
    }
    std::transform(characters->begin(), characters->end(), characters->begin(),
                   [](char32_t c) { return static_cast<char32_t>(uc_toupper(c)); });
    const std::string upcased = utf8OfCodePoints(*characters);
    std::size_t length = 0;
    const std::unique_ptr<std::uint8_t, FreeWithC> folded(
        u8_casefold(reinterpret_cast<const std::uint8_t*>(upcased.data()), upcased.size(), nullptr,
                    UNINORM_NFC, nullptr, &length));
    if (!folded) {
        throw std::system_error(errno, std::generic_category(), "cannot fold the letter case of a file name");
    }
    return std::string(reinterpret_cast<const char*>(folded.get()), length);
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
