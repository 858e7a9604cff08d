#pragma once

#include "answered_in_advance.h"

#include <QUrl>

#include <optional>

namespace tavu {

// Hands a web page or mail target to the desktop's default handler. A test
// holds the next opening back instead of starting a browser or mail program.
class LinkOpener {
public:
    // The outcome is not reported: a target that cannot be opened is ignored.
    static void open(const QUrl& target);

    // The next target is only noted, not opened.
    static void holdNextOpening();
    // The last target asked for, opened or held back; forgets it.
    static std::optional<QUrl> takeLastTarget();

    // Forgets what was asked and the openings held back but not used, so that
    // nothing of one test reaches the next.
    static void forget();

private:
    struct Held {};
    static AnsweredInAdvance<QUrl, Held>& prompts();
};

} // namespace tavu
