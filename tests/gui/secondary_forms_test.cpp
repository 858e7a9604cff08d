#include "windows_fixture.h"

#include "about_form.h"
#include "edit_form.h"
#include "main_form.h"
#include "message_box.h"
#include "translate_form.h"
#include "window_centring.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QScopeGuard>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

namespace tavu {

// What the three windows shown from the main window have in common.
class SecondaryFormsTest : public WindowsTest {
    Q_OBJECT

private slots:
    void framesOfTheWindows_data();
    void framesOfTheWindows();
    void centredFramePositionCountsTheFrame_data();
    void centredFramePositionCountsTheFrame();
    void centredWhenFirstShownThenLeftWhereMoved_data();
    void centredWhenFirstShownThenLeftWhereMoved();
    void placedAgainWhenItFirstAppearsElsewhere();
    void everyWindowHasTheProgramIcon();
    void mainWindowTakesNoInputWhileOneIsShown_data();
    void mainWindowTakesNoInputWhileOneIsShown();
    void escapeClosesTheWindowFromEveryControl_data();
    void escapeClosesTheWindowFromEveryControl();
    void grabShowsTheWholeWindow_data();
    void grabShowsTheWholeWindow();
    void captionsShownWholeInAWiderFont();
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
    start();
    fixture().createCommands(1);
    const QWidget& form = fixture().showFromMainWindow(qPrintable(button));
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

void SecondaryFormsTest::centredFramePositionCountsTheFrame_data() {
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QSize>("client");
    QTest::addColumn<QMargins>("frame"); // left, top, right, bottom
    QTest::addColumn<QPoint>("position");
    const QRect screen(0, 0, 1280, 1024);
    QTest::newRow("no frame") << screen << QSize(441, 449) << QMargins() << QPoint(419, 287);
    QTest::newRow("title bar") << screen << QSize(441, 449) << QMargins(1, 20, 1, 1) << QPoint(418, 277);
    QTest::newRow("panel above and left, wider left border")
        << QRect(64, 32, 1216, 992) << QSize(777, 588) << QMargins(9, 24, 3, 4) << QPoint(277, 220);
}

void SecondaryFormsTest::centredFramePositionCountsTheFrame() {
    QFETCH(QRect, available);
    QFETCH(QSize, client);
    QFETCH(QMargins, frame);
    QFETCH(QPoint, position);
    QCOMPARE(centredFramePosition(available, client, frame), position);
}

void SecondaryFormsTest::centredWhenFirstShownThenLeftWhereMoved_data() {
    addButtonColumn();
    QTest::newRow("Translator") << "TranslateButton";
    QTest::newRow("Easy Editor") << "EditButton";
    QTest::newRow("About") << "AboutButton";
}

void SecondaryFormsTest::centredWhenFirstShownThenLeftWhereMoved() {
    QFETCH(QString, button);
    const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
    const TMainForm& main = start();
    QCOMPARE(main.frameGeometry().center(), centre);
    fixture().createCommands(1);
    QWidget& form = fixture().showFromMainWindow(qPrintable(button));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.frameGeometry().center(), centre);
    form.move(form.pos() + QPoint(40, 30));
    const QPoint moved = form.pos();
    QVERIFY(form.close());
    QCOMPARE(&fixture().showFromMainWindow(qPrintable(button)), &form);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.pos(), moved);
}

// As when the window manager puts a frame other than the one expected around
// the window: the first time it appears, it is placed again.
void SecondaryFormsTest::placedAgainWhenItFirstAppearsElsewhere() {
    start();
    TAboutForm& about = fixture().windows().form<TAboutForm>();
    about.show();
    about.move(3, 5);
    QVERIFY(QTest::qWaitForWindowExposed(&about));
    QCOMPARE(about.frameGeometry().center(), QGuiApplication::primaryScreen()->availableGeometry().center());
}

void SecondaryFormsTest::everyWindowHasTheProgramIcon() {
    const QList<QSize> sizes{{16, 16}, {32, 32}, {48, 48}, {64, 64}, {128, 128}, {256, 256}};
    QCOMPARE(fixture().start().form<TTranslateForm>().windowIcon().availableSizes(), sizes);
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
    TMainForm& main = start();
    // An output that begins with "$", so that Edit opens, and no profile, so that
    // Create answers with a message whenever it takes the click.
    QTest::keyClicks(control<QWidget>("CommandsMemo"), QStringLiteral("$a|"));
    QWidget& form = fixture().showFromMainWindow(qPrintable(button));
    QVERIFY(!main.isEnabled());

    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("CreateButton");
    click("AboutButton");
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
    click("CreateButton");
    QCOMPARE(lastErrorBox(), QStringLiteral("Error: I'm not a mindreader. First of all choose a profile."));
}

void SecondaryFormsTest::escapeClosesTheWindowFromEveryControl_data() {
    QTest::addColumn<QString>("trigger"); // a button or an action of the main window
    QTest::newRow("Translator") << "TranslateButton";
    QTest::newRow("Easy Editor") << "EditButton";
    QTest::newRow("About") << "AboutButton";
    QTest::newRow("Menu preview") << "MenuPreviewAction";
}

void SecondaryFormsTest::escapeClosesTheWindowFromEveryControl() {
    QFETCH(QString, trigger);
    TMainForm& main = start();
    fixture().createCommands(1);
    auto* action = main.findChild<QAction*>(trigger);
    action != nullptr ? action->trigger() : click(qPrintable(trigger));
    QWidget* form = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        form = window->isVisible() && window != &main ? window : form;
    }
    // The window itself, then each control that takes the focus.
    for (QWidget* control : QList<QWidget*>{form} + form->findChildren<QWidget*>()) {
        if (control == form || (control->isVisibleTo(form) && control->focusPolicy() != Qt::NoFocus)) {
            action != nullptr ? action->trigger() : click(qPrintable(trigger));
            QTest::keyClick(control, Qt::Key_Escape);
            QVERIFY2(!form->isVisible() && main.isEnabled(), qPrintable(control->objectName()));
        }
    }
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
    start();
    fixture().createCommands(1);
    QWidget& form = fixture().showFromMainWindow(qPrintable(button));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPixmap grabbed = form.grab();
    QCOMPARE(grabbed.deviceIndependentSize().toSize(), form.size());
    // scripts write the pictures into docs/ with TAVU_SCREENSHOT_DIR set
    if (const QString folder = qEnvironmentVariable("TAVU_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QVERIFY(grabbed.save(folder + QLatin1Char('/') + picture));
    }
}

// Where the font comes out wider than the layouts expect, as Wine draws its
// Tahoma, the option boxes and the About window's lines are shown whole.
void SecondaryFormsTest::captionsShownWholeInAWiderFont() {
    qApp->setStyleSheet(QStringLiteral("QCheckBox, QLabel { font-size: 14pt; }"));
    const auto plainAgain = qScopeGuard([] { qApp->setStyleSheet({}); });
    Windows& windows = fixture().start();
    const QList<QCheckBox*> boxes = windows.mainForm().findChildren<QCheckBox*>();
    QCOMPARE(boxes.size(), static_cast<qsizetype>(kOptionTable.size()));
    for (const QCheckBox* box : boxes) {
        QStyleOptionButton option;
        option.initFrom(box);
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        QCOMPARE_GE(room.width(), box->fontMetrics().horizontalAdvance(box->text()));
    }
    const TAboutForm& about = windows.form<TAboutForm>();
    QCOMPARE_GT(about.width(), 329);
    for (const QLabel* label : about.findChildren<QLabel*>()) {
        QVERIFY2(about.rect().contains(label->geometry()), qPrintable(label->objectName()));
    }
}

int runSecondaryFormsTest(int argc, char** argv) {
    SecondaryFormsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "secondary_forms_test.moc"
