#pragma once

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
};

} // namespace tavu
