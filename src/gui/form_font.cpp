#include "form_font.h"

#include <QStringList>

namespace tavu {

// Tahoma where the system has it; otherwise a narrow sans-serif, since the
// common ones are wider than Tahoma and their captions would not fit the sizes
// the layouts give the controls.
QFont formFont() {
    QFont font(QStringList{QStringLiteral("Tahoma"), QStringLiteral("Nimbus Sans Narrow"),
                           QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Arial Narrow")},
               8);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

} // namespace tavu
