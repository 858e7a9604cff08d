#include "app/application.h"
#include "app/main_form.h"

int main(int argc, char** argv) {
    tavu::Application application(argc, argv);
    tavu::Windows windows;
    QObject::connect(&windows.mainForm(), &tavu::TMainForm::FormClosed, &application,
                     &QCoreApplication::quit);
    windows.mainForm().show();
    return tavu::Application::exec();
}
