#include "generator/catalogue.h"

namespace tavu::catalogue {

std::span<const Row> hubControlRows() {
    return {};
}

} // namespace tavu::catalogue
