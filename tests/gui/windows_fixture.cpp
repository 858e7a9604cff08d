#include "windows_fixture.h"

#include "app/file_dialog.h"
#include "app/main_form.h"
#include "app/message_box.h"
#include "windows/about_form.h"
#include "windows/edit_form.h"
#include "windows/link_opener.h"
#include "windows/translate_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>

namespace tavu {

WindowsFixture::WindowsFixture() {
    if (!folder_.isValid()) {
        qFatal("no temporary folder");
    }
    qputenv("TAVU_INI", iniPath().toLocal8Bit());
    QGuiApplication::clipboard()->clear();
}

WindowsFixture::~WindowsFixture() {
    program_.reset();
    MessageBox::forget();
    FileDialog::forget();
    LinkOpener::forget();
}

Windows& WindowsFixture::start() {
    program_ = std::make_unique<Program>();
    program_->windows().mainForm().show();
    if (!QTest::qWaitForWindowExposed(&program_->windows().mainForm())) {
        qFatal("the main window was never shown");
    }
    return program_->windows();
}

QString WindowsFixture::iniPath() const {
    return folder_.filePath(QStringLiteral("TAVU.ini"));
}

void WindowsFixture::writeIni(const QByteArray& bytes) const {
    QFile file(iniPath());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write the settings file");
    }
}

void WindowsFixture::createCommands(int profile) {
    const TMainForm& form = program_->windows().mainForm();
    FileDialog::setNextFileName(QStringLiteral(TAVU_SOURCE_DIR "/examples/profiles.xml"));
    click(form, "OpenButton");
    auto* combo = find<QComboBox>(form, QStringLiteral("ProfileComboBox"));
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < profile; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
    click(form, "CreateButton");
}

QString WindowsFixture::commandsText() {
    return find<QPlainTextEdit>(program_->windows().mainForm(), QStringLiteral("CommandsMemo"))
        ->document()
        ->toRawText();
}

QWidget& WindowsFixture::showFromMainWindow(const char* button) {
    click(program_->windows().mainForm(), button);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != &program_->windows().mainForm()) {
            return *window;
        }
    }
    qFatal("%s showed no window", button);
}

void WindowsFixture::click(const QWidget& window, const char* name) {
    QTest::mouseClick(find<QAbstractButton>(window, QLatin1String(name)), Qt::LeftButton);
}

void WindowsFixture::type(QWidget* control, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, control, static_cast<Qt::Key>(c.toUpper().unicode()), QString(c),
                            Qt::NoModifier);
    }
}

QString lastErrorBox() {
    const auto shown = MessageBox::takeLastShown();
    return shown ? shown->caption + ": " + shown->text : QStringLiteral("(none)");
}

} // namespace tavu
