// The program as src/app/main.cpp starts it. When the main window is first
// painted it reports the time, then opens examples/profiles.xml, chooses the
// first profile (Owner, which grants everything), ticks Offsets and creates the
// full menu as an operator would, reports the peak memory and ends. With the
// argument --shown-only it ends once shown, so that a profile of it holds the
// start-up alone.

#include "application.h"
#include "file_dialog.h"
#include "main_form.h"
#include "program.h"
#include "shown_probe.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <cstdio>
#include <cstring>

namespace {

template <typename Control>
Control& control(tavu::TMainForm& form, const char* name) {
    auto* found = form.findChild<Control*>(QLatin1String(name));
    if (found == nullptr) {
        qFatal("the main window has no %s", name);
    }
    return *found;
}

// Home on the closed list picks its first item, as a key press of the operator.
void chooseFirstProfile(tavu::TMainForm& form) {
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::NoModifier);
    QCoreApplication::sendEvent(&control<QComboBox>(form, "ProfileComboBox"), &home);
}

bool createFullMenu(tavu::TMainForm& form, const QString& profiles) {
    tavu::FileDialog::setNextFileName(profiles);
    control<QPushButton>(form, "OpenButton").click();
    chooseFirstProfile(form);
    control<QCheckBox>(form, "OffsetsCheckBox").setChecked(true);
    control<QPushButton>(form, "CreateButton").click();
    form.repaint();
    return !control<QPlainTextEdit>(form, "CommandsMemo").document()->isEmpty();
}

} // namespace

int main(int argc, char** argv) {
    const bool shownOnly = argc > 1 && std::strcmp(argv[1], "--shown-only") == 0;
    tavu::Application application(argc, argv);
    tavu::Program program;
    tavu::TMainForm& form = program.windows().mainForm();
    QObject::connect(&form, &tavu::TMainForm::FormClosed, &application, &QCoreApplication::quit);
    tavu::bench::whenFirstPainted(form, [&form, shownOnly] {
        tavu::bench::reportShown();
        if (shownOnly) {
            QCoreApplication::quit();
            return;
        }
        if (!createFullMenu(form, QStringLiteral(TAVU_SOURCE_DIR "/examples/profiles.xml"))) {
            std::fputs("the full menu was not created\n", stderr);
            QCoreApplication::exit(1);
            return;
        }
        tavu::bench::reportPeakResident();
        QCoreApplication::quit();
    });
    form.show();
    return tavu::Application::exec();
}
