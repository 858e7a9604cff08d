#pragma once

#include <string_view>

namespace tavu {

// The line ending of the system's own text files, as its text editors write
// them: "\n" on POSIX systems, "\r\n" on Windows.
std::string_view systemLineEnd();

} // namespace tavu
