#include "windows_fixture.h"

#include "file_dialog.h"
#include "message_box.h"

namespace tavu {

// A prompt that a test did not answer in advance fails that test at once
// instead of waiting for an answer until the run's time-out.
class UnansweredPromptsTest : public WindowsTest {
    Q_OBJECT

private slots:
    void questionFailsTheTestAndGetsNo();
    void fileDialogFailsTheTestAndIsCancelled();
};

void UnansweredPromptsTest::questionFailsTheTestAndGetsNo() {
    QEXPECT_FAIL("", "the question was not answered in advance", Continue);
    const bool yes = MessageBox::confirm(nullptr, QStringLiteral("Unanswered?"), QMessageBox::Yes);
    QVERIFY(!yes);
    QCOMPARE(lastErrorBox(), QStringLiteral("Confirm: Unanswered?"));
}

void UnansweredPromptsTest::fileDialogFailsTheTestAndIsCancelled() {
    QEXPECT_FAIL("", "the dialog was not answered in advance", Continue);
    const QString chosen = FileDialog::getOpenFileName(nullptr, QStringLiteral("Open"), QString(), QString());
    QCOMPARE(chosen, QString());
}

int runUnansweredPromptsTest(int argc, char** argv) {
    UnansweredPromptsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "unanswered_prompts_test.moc"
