#include "app/application.h"
#include "app/main_form.h"
#include "app/program.h"

int main(int argc, char** argv) {
    tavu::Application application(argc, argv);
    tavu::Program program;
    QObject::connect(&program.windows().mainForm(), &tavu::TMainForm::FormClosed, &application,
                     &QCoreApplication::quit);
    program.windows().mainForm().show();
    return tavu::Application::exec();
}
