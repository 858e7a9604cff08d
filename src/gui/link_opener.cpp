#include "link_opener.h"

#include <QDesktopServices>

namespace tavu {

AnsweredInAdvance<QUrl, LinkOpener::Held>& LinkOpener::prompts() {
    static AnsweredInAdvance<QUrl, Held> prompts;
    return prompts;
}

void LinkOpener::open(const QUrl& target) {
    if (prompts().ask(target)) {
        return;
    }
    QDesktopServices::openUrl(target);
}

void LinkOpener::holdNextOpening() {
    prompts().setNextAnswer(Held{});
}

std::optional<QUrl> LinkOpener::takeLastTarget() {
    return prompts().takeLastRequest();
}

void LinkOpener::forget() {
    prompts().forget();
}

} // namespace tavu
