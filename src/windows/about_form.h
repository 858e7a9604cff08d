#pragma once

#include "windows/secondary_form.h"

namespace tavu {

// The About window. For now an empty window with its caption, so that the
// start-up order and the disabling of the main window are already real.
class TAboutForm : public SecondaryForm {
    Q_OBJECT
public:
    TAboutForm();
};

} // namespace tavu
