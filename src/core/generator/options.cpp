#include "generator/options.h"

#include "base/text.h"

namespace tavu {

const OptionEntry* optionByKey(std::string_view key) {
    for (const OptionEntry& entry : kOptionTable) {
        if (equalsIgnoringAsciiCase(entry.key, key)) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace tavu
