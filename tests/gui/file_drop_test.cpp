#include "windows_fixture.h"

#include "application.h"
#include "file_dialog.h"
#include "main_form.h"
#include "message_box.h"

#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>

namespace tavu {

// A file dragged from a file manager onto the main window.
class FileDropTest : public WindowsTest {
    Q_OBJECT

private slots:
    void droppedFileOpensAsWithOpen_data();
    void droppedFileOpensAsWithOpen();
    void textDraggedInTheOutputBoxStaysText();
    void noDropWhileAnotherWindowIsShown();

private:
    QWidget* target(const QString& name);
    QStringList profileNames();
};

namespace {

const QString kExample = QStringLiteral(TAVU_SOURCE_DIR "/examples/profiles.xml");
const QString kOutput = QStringLiteral("$UserCommand 1 1 A$a|");

struct Drop {
    bool dragAccepted = false;
    bool dropAccepted = false;
};

// A drag entering `target` and dropped there at once, then the events the drop
// queued.
Drop dragAndDrop(QWidget* target, const QMimeData& data, Qt::DropActions actions) {
    const QPoint point = target->rect().center();
    QDragEnterEvent enter(point, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(QPointF(point), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    QCoreApplication::processEvents();
    return {enter.isAccepted(), drop.isAccepted()};
}

} // namespace

QWidget* FileDropTest::target(const QString& name) {
    TMainForm& main = mainForm();
    return name == "output box"
               ? WindowsFixture::find<QPlainTextEdit>(main, QStringLiteral("CommandsMemo"))->viewport()
               : static_cast<QWidget*>(&main);
}

QStringList FileDropTest::profileNames() {
    const auto* combo = control<QComboBox>("ProfileComboBox");
    QStringList names;
    for (int i = 0; i < combo->count(); ++i) {
        names << combo->itemText(i);
    }
    return names;
}

void FileDropTest::droppedFileOpensAsWithOpen_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<QStringList>("urls"); // a name alone: that file in the test's folder
    QTest::addColumn<int>("actions");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("box");     // how the error box begins, or "(none)"
    QTest::addColumn<bool>("opened");     // the profiles are listed
    QTest::addColumn<bool>("remembered"); // Open and Refresh start from the file
    const int copyOrMove = Qt::CopyAction | Qt::MoveAction;
    const QString none = QStringLiteral("(none)");
    const QString standardError = QString::fromUtf8(kApplicationTitle) + ": ";
    QTest::newRow("profiles.xml on the window")
        << "window" << QStringList{"hub/profiles.xml"} << copyOrMove << true << none << true << true;
    QTest::newRow("profiles.xml on the output box")
        << "output box" << QStringList{"hub/profiles.xml"} << copyOrMove << true << none << true << true;
    QTest::newRow("name in other case")
        << "window" << QStringList{"upper/PROFILES.XML"} << copyOrMove << true << none << true << true;
    QTest::newRow("other name") << "output box" << QStringList{"hub/hub.xml"} << copyOrMove << true
                                << "Error: hub.xml is not profiles.xml. Drop the hub's profiles.xml here to "
                                   "open it."
                                << false << false;
    // As with Open: the file is remembered even though it could not be read.
    QTest::newRow("unloadable profiles.xml") << "window" << QStringList{"bad/profiles.xml"} << copyOrMove
                                             << true << standardError << false << true;
    QTest::newRow("two files") << "window" << QStringList{"hub/profiles.xml", "upper/PROFILES.XML"}
                               << copyOrMove << false << none << false << false;
    QTest::newRow("web address") << "output box" << QStringList{"https://example.org/profiles.xml"}
                                 << copyOrMove << false << none << false << false;
    QTest::newRow("move only") << "window" << QStringList{"hub/profiles.xml"} << int(Qt::MoveAction) << false
                               << none << false << false;
}

void FileDropTest::droppedFileOpensAsWithOpen() {
    QFETCH(QString, target);
    QFETCH(QStringList, urls);
    QFETCH(int, actions);
    QFETCH(bool, accepted);
    QFETCH(QString, box);
    QFETCH(bool, opened);
    QFETCH(bool, remembered);
    const QByteArray example = [] {
        QFile file(kExample);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    fixture().write(QStringLiteral("hub/profiles.xml"), example);
    fixture().write(QStringLiteral("upper/PROFILES.XML"), example);
    fixture().write(QStringLiteral("hub/hub.xml"), example);
    fixture().write(QStringLiteral("bad/profiles.xml"), "<Profiles><Profile>");
    start();
    control<QPlainTextEdit>("CommandsMemo")->setPlainText(kOutput);

    QList<QUrl> dragged;
    for (const QString& url : urls) {
        dragged << (url.contains(QLatin1Char(':')) ? QUrl(url)
                                                   : QUrl::fromLocalFile(fixture().filePath(url)));
    }
    QMimeData data;
    data.setUrls(dragged);
    // Answered even when no box is expected, so that a wrong one fails the row
    // instead of waiting for a click.
    MessageBox::setNextAnswer(QMessageBox::Ok);
    const Drop drop = dragAndDrop(this->target(target), data, Qt::DropActions(actions));

    QCOMPARE(drop.dragAccepted, accepted);
    QCOMPARE(drop.dropAccepted, accepted);
    const QString shown = lastErrorBox();
    QVERIFY2(shown.startsWith(box), qPrintable(shown));
    const QStringList listed = opened ? QStringList{"Owner", "Operator", "Regular"} : QStringList{};
    QCOMPARE(profileNames(), listed);
    QCOMPARE(fixture().commandsText(), kOutput);
    FileDialog::setNextFileName(QString());
    click("OpenButton");
    QCOMPARE(FileDialog::takeLastRequest()->startFile,
             remembered ? dragged.front().toLocalFile() : QString());
}

void FileDropTest::textDraggedInTheOutputBoxStaysText() {
    start();
    QMimeData data;
    data.setText(kOutput);
    const Drop drop = dragAndDrop(target(QStringLiteral("output box")), data, Qt::CopyAction);
    QVERIFY(drop.dragAccepted);
    QCOMPARE(fixture().commandsText(), kOutput);
    QVERIFY(!dragAndDrop(target(QStringLiteral("window")), data, Qt::CopyAction).dragAccepted);
}

void FileDropTest::noDropWhileAnotherWindowIsShown() {
    start();
    fixture().showFromMainWindow("AboutButton");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(kExample)});
    QVERIFY(!dragAndDrop(target(QStringLiteral("window")), data, Qt::CopyAction).dropAccepted);
    QCOMPARE(profileNames(), QStringList{});
}

int runFileDropTest(int argc, char** argv) {
    FileDropTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "file_drop_test.moc"
