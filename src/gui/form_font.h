#pragma once

#include <QFont>

namespace tavu {

// The font all four windows are laid out for: Tahoma, 8 point.
QFont formFont();

} // namespace tavu
