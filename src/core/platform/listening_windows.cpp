#include "platform/listening.h"

namespace tavu {

bool listeningReusesAddress() {
    return false;
}

} // namespace tavu
