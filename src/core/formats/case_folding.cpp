#include "formats/case_folding.h"

#include "base/text.h"
#include "formats/code_page.h"

#include <unicase.h>
#include <uninorm.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <optional>

namespace tavu {

namespace {

struct FreeWithC {
    void operator()(void* memory) const { std::free(memory); }
};

} // namespace

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
        // The name is valid UTF-8, written from its code points: only memory can run short.
        throw std::bad_alloc();
    }
    return std::string(reinterpret_cast<const char*>(folded.get()), length);
}

} // namespace tavu
