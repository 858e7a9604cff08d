// The floor for start-up and memory: the least a Qt Widgets program does to show
// a window. It reports when the window is painted, then ends.

#include "shown_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    tavu::bench::whenFirstPainted(window, [] {
        tavu::bench::reportShown();
        tavu::bench::reportPeakResident();
        QCoreApplication::quit();
    });
    window.show();
    return QApplication::exec();
}
