#include "windows/edit_form.h"

namespace tavu {

TEditForm::TEditForm() : SecondaryForm(QStringLiteral("TAVU Easy Editor")) {}

} // namespace tavu
