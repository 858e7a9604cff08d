#include "windows/link_opener.h"

#include <QDesktopServices>

#include <utility>

namespace tavu {

namespace {

bool holdNext = false;
std::optional<QUrl> lastTarget;

} // namespace

void LinkOpener::open(const QUrl& target) {
    lastTarget = target;
    if (std::exchange(holdNext, false)) {
        return;
    }
    QDesktopServices::openUrl(target);
}

void LinkOpener::holdNextOpening() {
    holdNext = true;
}

std::optional<QUrl> LinkOpener::takeLastTarget() {
    return std::exchange(lastTarget, std::nullopt);
}

} // namespace tavu
