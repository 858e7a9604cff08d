#include "platform/listening.h"

namespace tavu {

bool listeningReusesAddress() {
    return true;
}

} // namespace tavu
