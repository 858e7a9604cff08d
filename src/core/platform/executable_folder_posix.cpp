#include "platform/executable_folder.h"

#include "platform/environment.h"
#include "platform/path_text.h"

#include <system_error>

namespace tavu {

std::filesystem::path executableFolder() {
    std::error_code code;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", code);
    return code ? std::filesystem::path{} : executable.parent_path();
}

std::filesystem::path userSettingsFolder() {
    const auto config = environmentText("XDG_CONFIG_HOME");
    if (config && config->starts_with('/')) {
        return pathFromUtf8(*config) / "tavu";
    }
    return pathFromUtf8(environmentText("HOME").value_or("")) / ".config" / "tavu";
}

} // namespace tavu
