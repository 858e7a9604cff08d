#include "windows_fixture.h"

#include "main_form.h"
#include "message_box.h"

#include <QApplication>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>

#include <csignal>

namespace tavu {

// The signals that ask the program to end close the main window the normal way.
class ClosingSignalsTest : public WindowsTest {
    Q_OBJECT

private slots:
    void signalSavesTheOptionsAndCloses_data();
    void signalSavesTheOptionsAndCloses();
    void signalAsksAboutAFailedSave();
    void signalClosesTheBoxesOpenAtStartAndEnds_data();
    void signalClosesTheBoxesOpenAtStartAndEnds();
};

void ClosingSignalsTest::signalSavesTheOptionsAndCloses_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGHUP") << SIGHUP;
    QTest::newRow("SIGINT") << SIGINT;
}

void ClosingSignalsTest::signalSavesTheOptionsAndCloses() {
    QFETCH(int, signal);
    TMainForm& form = start();
    QSignalSpy closed(&form, &TMainForm::FormClosed);
    WindowsFixture::click(form, "ClearCheckBox");
    QCOMPARE(::raise(signal), 0);
    QTRY_COMPARE(closed.count(), 1);
    QFile ini(fixture().iniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QByteArray saved = ini.readAll();
    QVERIFY2(saved.contains("\nsClear=0\n"), saved.constData());
}

void ClosingSignalsTest::signalAsksAboutAFailedSave() {
    // A regular file where the settings folder should be: no one can write there.
    fixture().write(QStringLiteral("blocker"), "x");
    qputenv("TAVU_INI", fixture().filePath(QStringLiteral("blocker/TAVU.ini")).toLocal8Bit());
    TMainForm& form = start();
    QSignalSpy closed(&form, &TMainForm::FormClosed);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::setNextAnswer(QMessageBox::No);
    QCOMPARE(::raise(SIGTERM), 0);
    std::vector<MessageBox::Shown> boxes;
    // Once taken, the boxes stay in `boxes` for the check QTRY_VERIFY makes last.
    QTRY_VERIFY(!boxes.empty() || !(boxes = MessageBox::takeAllShown()).empty());
    QCOMPARE(boxes.size(), 2u);
    QCOMPARE(boxes[1].caption + ": " + boxes[1].text, QStringLiteral("Confirm: Close without saving?"));
    QVERIFY(form.isVisible());
    QCOMPARE(closed.count(), 0);

    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QCOMPARE(::raise(SIGTERM), 0);
    QTRY_COMPARE(closed.count(), 1);
}

void ClosingSignalsTest::signalClosesTheBoxesOpenAtStartAndEnds_data() {
    QTest::addColumn<int>("boxes");
    QTest::newRow("the box of a missing file") << 1;
    QTest::newRow("a box over it") << 2;
}

void ClosingSignalsTest::signalClosesTheBoxesOpenAtStartAndEnds() {
    QFETCH(int, boxes);
    MessageBox::showUnanswered();
    // Opens boxes over the box of the missing file, then signals; after 2 s,
    // ends whatever would wait for ever, a box left open or the event loop.
    int ticks = 0;
    int open = 1;
    int leftOpen = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, this, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (++ticks >= 200) {
            for (; (box = QApplication::activeModalWidget()) != nullptr; ++leftOpen) {
                box->close();
            }
            QCoreApplication::exit(1);
        } else if (box != nullptr && open < boxes) {
            QTimer::singleShot(0, this, [box] { MessageBox::error(box, QStringLiteral("over")); });
        } else if (box != nullptr && open == boxes) {
            QCOMPARE(::raise(SIGTERM), 0);
        }
        open += box != nullptr && open <= boxes ? 1 : 0;
    });
    timer.start(10);
    Program program;
    QSignalSpy closed(&program.windows().mainForm(), &TMainForm::FormClosed);
    program.start({fixture().filePath(QStringLiteral("missing.xml"))});
    QCOMPARE(leftOpen, 0);
    QCOMPARE(closed.count(), 1);
    QVERIFY(QFile::exists(fixture().iniPath()));
    QCOMPARE(program.run(), 0);
}

int runClosingSignalsTest(int argc, char** argv) {
    ClosingSignalsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "closing_signals_test.moc"
