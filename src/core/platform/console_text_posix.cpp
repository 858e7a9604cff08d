#include "platform/console_text.h"

namespace tavu {

std::unique_ptr<std::streambuf> consoleTextBuffer(StandardStream /*stream*/) {
    return nullptr;
}

} // namespace tavu
