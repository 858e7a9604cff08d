#include "windows_fixture.h"

#include "edit_form.h"
#include "editor/editor_text.h"
#include "main_form.h"
#include "message_box.h"

#include <QClipboard>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextBlock>

namespace tavu {

class EditFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void textAreaFillsTheMarginsAtAnySize_data();
    void textAreaFillsTheMarginsAtAnySize();
    void showsOneCommandPerLine();
    void doneHandsTheTextBackJoined_data();
    void doneHandsTheTextBackJoined();
    void closeBoxDropsTheEdits();
    void copyTakesTheTextAsShownWithCrLf();
    void copyOfAnEmptiedTextIsRefused();

private:
    TEditForm& openEditor();
    QPlainTextEdit* memo();
};

TEditForm& EditFormTest::openEditor() {
    return show<TEditForm>("EditButton");
}

QPlainTextEdit* EditFormTest::memo() {
    return WindowsFixture::find<QPlainTextEdit>(fixture().windows().form<TEditForm>(),
                                                QStringLiteral("EditMemo"));
}

void EditFormTest::textAreaFillsTheMarginsAtAnySize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("as created") << QSize(720, 502);
    QTest::newRow("enlarged") << QSize(1000, 700);
    QTest::newRow("shrunk") << QSize(400, 300);
}

void EditFormTest::textAreaFillsTheMarginsAtAnySize() {
    QFETCH(QSize, size);
    start();
    fixture().createCommands(1);
    TEditForm& form = openEditor();
    QCOMPARE(form.size(), QSize(720, 502));
    form.resize(size);
    QTRY_COMPARE(memo()->geometry(), QRect(8, 8, size.width() - 16, size.height() - 8 - 33));
    const auto* bar = WindowsFixture::find<QWidget>(form, QStringLiteral("ButtonsPanel"));
    QCOMPARE(bar->geometry(), QRect(0, size.height() - 33, size.width(), 33));
    const auto* done = WindowsFixture::find<QPushButton>(form, QStringLiteral("DoneButton"));
    const auto* copy = WindowsFixture::find<QPushButton>(form, QStringLiteral("CopyButton"));
    QCOMPARE(done->geometry(), QRect(8, 6, 75, 21));
    QCOMPARE(done->text(), QStringLiteral("Done"));
    QCOMPARE(copy->geometry(), QRect(88, 6, 75, 21));
    QCOMPARE(copy->text(), QStringLiteral("Copy"));
    QCOMPARE(memo()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
}

void EditFormTest::showsOneCommandPerLine() {
    start();
    fixture().createCommands(1);
    const QString output = fixture().commandsText();
    openEditor();
    const QTextDocument* document = memo()->document();
    QCOMPARE(document->blockCount(), output.count(QLatin1Char('|')) + 1);
    QCOMPARE(document->lastBlock().text(), QString());
    QStringList commands = output.split(QLatin1Char('|'));
    commands.removeLast();
    for (int i = 0; i < commands.size(); ++i) {
        QCOMPARE(document->findBlockByNumber(i).text(), commands[i] + QLatin1Char('|'));
    }
    // The item prefix keeps its no-break space.
    QVERIFY(memo()->document()->toRawText().contains(QChar(0xA0)));
}

void EditFormTest::doneHandsTheTextBackJoined_data() {
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("inserted"); // what the edit leaves in the output
    QTest::newRow("no edit") << ""
                             << "";
    QTest::newRow("line break inside a command") << "Return"
                                                 << "";
    QTest::newRow("soft line break inside a command") << "Shift+Return"
                                                      << "";
    QTest::newRow("typed text") << "x"
                                << "x";
}

void EditFormTest::doneHandsTheTextBackJoined() {
    QFETCH(QString, edit);
    QFETCH(QString, inserted);
    TMainForm& main = start();
    fixture().createCommands(1);
    const QString output = fixture().commandsText();
    TEditForm& form = openEditor();
    QTextCursor cursor(memo()->document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 5);
    memo()->setTextCursor(cursor);
    const qsizetype at = memo()->document()->findBlockByNumber(0).text().size() +
                         memo()->document()->findBlockByNumber(1).text().size() + 5;
    if (edit == QLatin1String("Return")) {
        QTest::keyClick(memo(), Qt::Key_Return);
    } else if (edit == QLatin1String("Shift+Return")) {
        QTest::keyClick(memo(), Qt::Key_Return, Qt::ShiftModifier);
    } else {
        WindowsFixture::type(memo(), edit);
    }

    WindowsFixture::click(form, "DoneButton");
    QCOMPARE(fixture().commandsText(), QString(output).insert(at, inserted));
    QVERIFY(!form.isVisible());
    QVERIFY(main.isEnabled());
    QCOMPARE(memo()->document()->toRawText(), QString());
}

void EditFormTest::closeBoxDropsTheEdits() {
    start();
    fixture().createCommands(1);
    const QString output = fixture().commandsText();
    TEditForm& form = openEditor();
    memo()->moveCursor(QTextCursor::Start);
    WindowsFixture::type(memo(), QStringLiteral("edited"));
    QTest::keyClick(memo(), Qt::Key_Return);
    QVERIFY(form.close());
    QCOMPARE(fixture().commandsText(), output);
    QCOMPARE(memo()->document()->toRawText(), QString());
    // Shown again, it starts from the output, not from the dropped edits.
    openEditor();
    QVERIFY(!memo()->toPlainText().startsWith(QStringLiteral("edited")));
}

void EditFormTest::copyTakesTheTextAsShownWithCrLf() {
    start();
    fixture().createCommands(1);
    const QString output = fixture().commandsText();
    TEditForm& form = openEditor();
    WindowsFixture::click(form, "CopyButton");
    QCOMPARE(lastErrorBox(), QStringLiteral("(none)"));
    const QString copied = QGuiApplication::clipboard()->text();
    QCOMPARE(copied, QString::fromStdString(editorTextFromOutput(output.toStdString())));
    QVERIFY(copied.endsWith(QStringLiteral("|\r\n")));
    QVERIFY(!copied.contains(QRegularExpression(QStringLiteral("[^\r]\n|\r[^\n]"))));
    QVERIFY(form.isVisible());
}

void EditFormTest::copyOfAnEmptiedTextIsRefused() {
    start();
    fixture().createCommands(1);
    TEditForm& form = openEditor();
    QGuiApplication::clipboard()->setText(QStringLiteral("held before"));
    memo()->selectAll();
    QTest::keyClick(memo(), Qt::Key_Delete);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    WindowsFixture::click(form, "CopyButton");
    QCOMPARE(lastErrorBox(), QStringLiteral("Error: Why should I fill clipboard with nothing?"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("held before"));
    QVERIFY(form.isVisible());
}

int runEditFormTest(int argc, char** argv) {
    EditFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "edit_form_test.moc"
