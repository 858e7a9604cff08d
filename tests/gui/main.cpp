#include "application.h"
#include "main_form_test.h"

#include <QTest>

int main(int argc, char** argv) {
    tavu::Application application(argc, argv);
    tavu::MainFormTest test;
    return QTest::qExec(&test, argc, argv);
}
