#include "generator/catalogue.h"

namespace tavu::catalogue {

std::span<const Row> userControlRows() {
    return {};
}

} // namespace tavu::catalogue
