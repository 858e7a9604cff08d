#include "windows/about_form.h"

namespace tavu {

TAboutForm::TAboutForm() : SecondaryForm(QStringLiteral("About")) {}

} // namespace tavu
