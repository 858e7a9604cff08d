#pragma once

#include <string_view>

namespace tavu {

// The version that tavu-cli --version prints.
inline constexpr std::string_view kCliVersion = "1.2.1";

} // namespace tavu
