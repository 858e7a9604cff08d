#include "application.h"
#include "windows_fixture.h"

#include <array>

int main(int argc, char** argv) {
    tavu::Application application(argc, argv);
    constexpr std::array runs{
        tavu::runTranslateFormTest,  tavu::runEditFormTest,          tavu::runAboutFormTest,
        tavu::runSecondaryFormsTest, tavu::runPreviewFormTest,       tavu::runFileDropTest,
        tavu::runClosingSignalsTest, tavu::runUnansweredPromptsTest, tavu::runProfileSessionTest,
        tavu::runMenuItemsFormTest,  tavu::runProfilesGlanceFormTest};
    int failures = 0;
    for (const auto run : runs) {
        failures += run(argc, argv);
    }
    return failures;
}
