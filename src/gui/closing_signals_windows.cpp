#include "closing_signals.h"

namespace tavu {

// Windows ends a desktop program with window messages, which the main window's
// close already handles.
struct ClosingSignals::Watch {};

ClosingSignals::ClosingSignals(QWidget& /*window*/) {}

ClosingSignals::~ClosingSignals() = default;

} // namespace tavu
