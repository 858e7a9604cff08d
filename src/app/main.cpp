#include "application.h"
#include "main_form.h"
#include "program.h"

int main(int argc, char** argv) {
    tavu::Application application(argc, argv);
    tavu::Program program;
    QObject::connect(&program.windows().mainForm(), &tavu::TMainForm::FormClosed, &application,
                     &QCoreApplication::quit);
    program.start(tavu::Application::arguments().mid(1));
    return tavu::Application::exec();
}
