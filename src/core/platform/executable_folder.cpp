#include "platform/executable_folder.h"

#include <system_error>

namespace tavu {

std::filesystem::path executableFolder() {
    std::error_code code;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", code);
    return code ? std::filesystem::path{} : executable.parent_path();
}

} // namespace tavu
