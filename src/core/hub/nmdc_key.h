#pragma once

#include <string>
#include <string_view>

namespace tavu::hub {

// The key that answers an NMDC lock, as clients compute it: each byte of the
// lock (up to " Pk=") XORed with the one before it (the first with the last
// two and 5), its nibbles swapped, and the bytes NMDC cannot carry (0, 5, "$",
// "`", "|" and "~") written as "/%DCN000%/" with their decimal value.
std::string lockToKey(std::string_view lock);

} // namespace tavu::hub
