#include "windows_fixture.h"

#include "about_form.h"
#include "edit_form.h"
#include "file_dialog.h"
#include "link_opener.h"
#include "main_form.h"
#include "message_box.h"
#include "translate_form.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>

namespace tavu {

namespace {

// A prompt the test did not answer in advance fails the test at once; shown,
// its modal dialog would wait for an answer until the run's time-out.
void failUnanswered(const char* kind, const QString& prompt) {
    const QByteArray message =
        QStringLiteral("a %1 nobody answered in advance: %2").arg(QLatin1String(kind), prompt).toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
}

} // namespace

WindowsFixture::WindowsFixture() {
    if (!folder_.isValid()) {
        qFatal("no temporary folder");
    }
    qputenv("TAVU_INI", iniPath().toLocal8Bit());
    QGuiApplication::clipboard()->clear();
    MessageBox::refuseUnanswered([](const QString& box) { failUnanswered("message box", box); });
    FileDialog::refuseUnanswered([](const QString& dialog) { failUnanswered("file dialog", dialog); });
}

WindowsFixture::~WindowsFixture() {
    program_.reset();
    MessageBox::forget();
    FileDialog::forget();
    LinkOpener::forget();
}

Windows& WindowsFixture::start(const QStringList& arguments) {
    program_.reset(); // a restart: the old windows go first
    program_ = std::make_unique<Program>();
    program_->start(arguments);
    if (!QTest::qWaitForWindowExposed(&program_->windows().mainForm())) {
        qFatal("the main window was never shown");
    }
    return program_->windows();
}

QString WindowsFixture::iniPath() const {
    return folder_.filePath(QStringLiteral("TAVU.ini"));
}

QString WindowsFixture::filePath(const QString& name) const {
    return folder_.filePath(name);
}

QString WindowsFixture::write(const QString& name, const QByteArray& bytes) const {
    QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

void WindowsFixture::open(const QString& path) {
    FileDialog::setNextFileName(path);
    click(windows().mainForm(), "OpenButton");
}

void WindowsFixture::choose(int index) {
    auto* combo = find<QComboBox>(windows().mainForm(), QStringLiteral("ProfileComboBox"));
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i) {
        QTest::keyClick(combo, Qt::Key_Down);
    }
}

void WindowsFixture::createCommands(int profile) {
    open(QStringLiteral(TAVU_SOURCE_DIR "/examples/profiles.xml"));
    choose(profile);
    click(windows().mainForm(), "CreateButton");
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

TMainForm& WindowsTest::start() {
    return fixture().start().mainForm();
}

TMainForm& WindowsTest::mainForm() {
    return fixture().windows().mainForm();
}

void WindowsTest::click(const char* name) {
    WindowsFixture::click(mainForm(), name);
}

QString lastErrorBox() {
    const auto shown = MessageBox::takeLastShown();
    return shown ? shown->caption + ": " + shown->text : QStringLiteral("(none)");
}

} // namespace tavu
