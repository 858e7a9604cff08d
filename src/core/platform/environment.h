#pragma once

#include <optional>
#include <string>

namespace tavu {

// The value of an environment variable as UTF-8, none when it is unset or empty.
// Windows gives getenv() its value in the ANSI code page: it is read as UTF-16 there.
std::optional<std::string> environmentText(const char* name);

} // namespace tavu
