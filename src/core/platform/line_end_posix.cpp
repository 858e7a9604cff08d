#include "platform/line_end.h"

namespace tavu {

std::string_view systemLineEnd() {
    return "\n";
}

} // namespace tavu
