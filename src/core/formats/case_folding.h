#pragma once

// Names compared as the file systems that ignore letter case compare them.

#include <string>
#include <string_view>

namespace tavu {

// The name as case-insensitive and normalising file systems (NTFS, APFS, HFS+)
// compare names: two names with the same key may be one file on one of them.
// Text that is not UTF-8 has its ASCII letters folded only.
std::string foldedFileName(std::string_view name);

} // namespace tavu
