#include "generator/catalogue.h"

namespace tavu::catalogue {

std::span<const Row> accountsRows() {
    return {};
}

} // namespace tavu::catalogue
