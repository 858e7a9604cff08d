#pragma once

#include "program.h"

#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

class QAbstractButton;
class QWidget;

namespace tavu {

class TMainForm;

// The program's windows for one test, with a settings file of their own in
// a folder of their own. A message box or file dialog the test has not
// answered in advance fails the test at once and gets No or Cancel.
class WindowsFixture {
public:
    WindowsFixture();
    ~WindowsFixture();
    WindowsFixture(const WindowsFixture&) = delete;
    WindowsFixture& operator=(const WindowsFixture&) = delete;

    // Creates the windows, reading the settings file as it is now, and starts
    // the program as with the command-line `arguments`.
    Windows& start(const QStringList& arguments = {});
    Windows& windows() { return program_->windows(); }
    Session& session() { return program_->session(); }
    QString iniPath() const;
    // A file of the test's own folder, with its folders made.
    QString filePath(const QString& name) const;
    QString write(const QString& name, const QByteArray& bytes) const;
    void writeIni(const QByteArray& bytes) const { write(QStringLiteral("TAVU.ini"), bytes); }

    // Opens a file as the Open button does, the dialog answered with `path`.
    void open(const QString& path);
    // Chooses a profile with the keyboard, as the operator would.
    void choose(int index);

    // The example profiles opened, a profile chosen and its commands created.
    void createCommands(int profile);
    // The main window's output as it holds it, no-break spaces included.
    QString commandsText();
    // Clicks a main-window button and returns the window it showed.
    QWidget& showFromMainWindow(const char* button);

    template <typename Control>
    static Control* find(const QWidget& window, const QString& name) {
        auto* found = window.findChild<Control*>(name);
        if (found == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return found;
    }
    static void click(const QWidget& window, const char* name);
    // Types every character of `text` as a key press; unlike QTest::keyClicks,
    // also those outside Latin-1.
    static void type(QWidget* control, const QString& text);

private:
    QTemporaryDir folder_;
    std::unique_ptr<Program> program_;
};

// The base of every window's test class: each test function gets windows and
// a settings file of its own, so that a test class holds its test functions.
class WindowsTest : public QObject {
    Q_OBJECT

protected:
    WindowsFixture& fixture() { return *fixture_; }
    // Starts the program without arguments and returns its main window.
    TMainForm& start();
    TMainForm& mainForm();
    // A control of the main window.
    template <typename Control>
    Control* control(const char* name) {
        return WindowsFixture::find<Control>(mainForm(), QLatin1String(name));
    }
    // Clicks a button of the main window.
    void click(const char* name);
    // Clicks a main-window button that shows the window `Form` and returns it.
    template <typename Form>
    Form& show(const char* button) {
        if (&fixture().showFromMainWindow(button) != &fixture().windows().form<Form>()) {
            qFatal("%s showed another window", button);
        }
        return fixture().windows().form<Form>();
    }

private slots:
    void init() { fixture_.emplace(); }
    void cleanup() { fixture_.reset(); }

private:
    std::optional<WindowsFixture> fixture_;
};

// "caption: text" of the last error box, or "(none)".
QString lastErrorBox();

// The test classes of the windows, each run by the function in its source.
int runTranslateFormTest(int argc, char** argv);
int runEditFormTest(int argc, char** argv);
int runAboutFormTest(int argc, char** argv);
int runSecondaryFormsTest(int argc, char** argv);
int runPreviewFormTest(int argc, char** argv);
int runFileDropTest(int argc, char** argv);
int runClosingSignalsTest(int argc, char** argv);
int runUnansweredPromptsTest(int argc, char** argv);
int runProfileSessionTest(int argc, char** argv);
int runMenuItemsFormTest(int argc, char** argv);
int runProfilesGlanceFormTest(int argc, char** argv);

} // namespace tavu
