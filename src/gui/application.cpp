#include "application.h"

#include "message_box.h"

#include <QFontDatabase>
#include <QIcon>

#include <array>
#include <exception>

// Outside any namespace, as Qt wants it: the icons are compiled into the
// static library tavu_gui, whose resources the linker leaves out unless asked.
static void addIconResource() {
    Q_INIT_RESOURCE(tavu_icons);
}

namespace tavu {

namespace {

// Debian's fonts-wine ships a Tahoma outside the folders fontconfig searches;
// the windows are laid out for Tahoma, so it is taken from there when the
// system knows no other.
void addTahomaFromWine() {
    if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma"))) {
        QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
    }
}

// The program's icon drawn at the sizes desktops ask for most, so that none
// is scaled from another.
QIcon programIcon() {
    addIconResource();
    QIcon icon;
    for (const int size : std::array{16, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/tavu-%1.png").arg(size));
    }
    return icon;
}

} // namespace

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    // The program ends with its main window, whatever other window is shown.
    setQuitOnLastWindowClosed(false);
    addTahomaFromWine();
    // Every window takes the application's icon unless it has one of its own.
    setWindowIcon(programIcon());
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        MessageBox::standardError(nullptr, QString::fromUtf8(error.what()));
        return false;
    }
}

} // namespace tavu
