#include "windows_fixture.h"

#include "about_form.h"
#include "edit_form.h"
#include "main_form.h"
#include "message_box.h"
#include "translate_form.h"

#include <QScreen>

#include <optional>

namespace tavu {

// What the three windows shown from the main window have in common.
class SecondaryFormsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fixture_.emplace(); }
    void cleanup() { fixture_.reset(); }

    void framesOfTheWindows_data();
    void framesOfTheWindows();
    void centredWhenFirstShownThenLeftWhereMoved_data();
    void centredWhenFirstShownThenLeftWhereMoved();
    void mainWindowTakesNoInputWhileOneIsShown_data();
    void mainWindowTakesNoInputWhileOneIsShown();
    void grabShowsTheWholeWindow_data();
    void grabShowsTheWholeWindow();

private:
    std::optional<WindowsFixture> fixture_;
};

namespace {

void addButtonColumn() {
    QTest::addColumn<QString>("button");
}

} // namespace

void SecondaryFormsTest::framesOfTheWindows_data() {
    addButtonColumn();
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("sizeable");
    QTest::newRow("Translator") << "TranslateButton"
                                << "TAVU Translator" << QSize(777, 588) << false;
    QTest::newRow("Easy Editor") << "EditButton"
                                 << "TAVU Easy Editor" << QSize(720, 502) << true;
    QTest::newRow("About") << "AboutButton"
                           << "About" << QSize(329, 153) << false;
}

void SecondaryFormsTest::framesOfTheWindows() {
    QFETCH(QString, button);
    QFETCH(QString, caption);
    QFETCH(QSize, size);
    QFETCH(bool, sizeable);
    fixture_->start();
    fixture_->createCommands(1);
    const QWidget& form = fixture_->showFromMainWindow(qPrintable(button));
    QCOMPARE(form.windowTitle(), caption);
    QCOMPARE(form.size(), size);
    QCOMPARE(form.minimumSize() == form.maximumSize(), !sizeable);
    const Qt::WindowFlags flags = form.windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(flags & Qt::WindowStaysOnTopHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QCOMPARE(bool(flags & Qt::WindowMaximizeButtonHint), sizeable);
    QCOMPARE(form.font().families().value(0), QStringLiteral("Tahoma"));
    QCOMPARE(form.font().pointSize(), 8);
}

void SecondaryFormsTest::centredWhenFirstShownThenLeftWhereMoved_data() {
    addButtonColumn();
    QTest::newRow("Translator") << "TranslateButton";
    QTest::newRow("Easy Editor") << "EditButton";
    QTest::newRow("About") << "AboutButton";
}

void SecondaryFormsTest::centredWhenFirstShownThenLeftWhereMoved() {
    QFETCH(QString, button);
    fixture_->start();
    fixture_->createCommands(1);
    QWidget& form = fixture_->showFromMainWindow(qPrintable(button));
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    // Within the frame the window manager adds, which is not known before the
    // window is first shown.
    QVERIFY((form.frameGeometry().center() - centre).manhattanLength() <= 8);
    form.move(form.pos() + QPoint(40, 30));
    const QPoint moved = form.pos();
    QVERIFY(form.close());
    QCOMPARE(&fixture_->showFromMainWindow(qPrintable(button)), &form);
    QCOMPARE(form.pos(), moved);
}

void SecondaryFormsTest::mainWindowTakesNoInputWhileOneIsShown_data() {
    addButtonColumn();
    QTest::addColumn<QString>("closer"); // a button of the shown window, or "" for the close box
    QTest::newRow("Translator") << "TranslateButton"
                                << "";
    QTest::newRow("Easy Editor, close box") << "EditButton"
                                            << "";
    QTest::newRow("Easy Editor, Done") << "EditButton"
                                       << "DoneButton";
    QTest::newRow("About") << "AboutButton"
                           << "";
}

void SecondaryFormsTest::mainWindowTakesNoInputWhileOneIsShown() {
    QFETCH(QString, button);
    QFETCH(QString, closer);
    TMainForm& main = fixture_->start().mainForm();
    // An output that begins with "$", so that Edit opens, and no profile, so that
    // Create answers with a message whenever it takes the click.
    QTest::keyClicks(WindowsFixture::find<QWidget>(main, QStringLiteral("CommandsMemo")),
                     QStringLiteral("$a|"));
    QWidget& form = fixture_->showFromMainWindow(qPrintable(button));
    QVERIFY(!main.isEnabled());

    MessageBox::setNextAnswer(QMessageBox::Ok);
    WindowsFixture::click(main, "CreateButton");
    WindowsFixture::click(main, "AboutButton");
    QCOMPARE(lastErrorBox(), QStringLiteral("(none)"));
    QVERIFY(form.isVisible());

    if (closer.isEmpty()) {
        QVERIFY(form.close());
    } else {
        WindowsFixture::click(form, qPrintable(closer));
    }
    QVERIFY(!form.isVisible());
    QVERIFY(main.isEnabled());
    MessageBox::setNextAnswer(QMessageBox::Ok);
    WindowsFixture::click(main, "CreateButton");
    QCOMPARE(lastErrorBox(), QStringLiteral("Error: I'm not a mindreader. First of all choose a profile."));
}

void SecondaryFormsTest::grabShowsTheWholeWindow_data() {
    addButtonColumn();
    QTest::addColumn<QString>("picture");
    QTest::newRow("Translator") << "TranslateButton"
                                << "translator-window.png";
    QTest::newRow("Easy Editor") << "EditButton"
                                 << "easy-editor-window.png";
    QTest::newRow("About") << "AboutButton"
                           << "about-window.png";
}

void SecondaryFormsTest::grabShowsTheWholeWindow() {
    QFETCH(QString, button);
    QFETCH(QString, picture);
    fixture_->start();
    fixture_->createCommands(1);
    QWidget& form = fixture_->showFromMainWindow(qPrintable(button));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPixmap grabbed = form.grab();
    QCOMPARE(grabbed.deviceIndependentSize().toSize(), form.size());
    // scripts write the pictures into docs/ with TAVU_SCREENSHOT_DIR set
    if (const QString folder = qEnvironmentVariable("TAVU_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QVERIFY(grabbed.save(folder + QLatin1Char('/') + picture));
    }
}

int runSecondaryFormsTest(int argc, char** argv) {
    SecondaryFormsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "secondary_forms_test.moc"
