#include "windows_fixture.h"

#include "about_form.h"
#include "link_opener.h"

#include <QLabel>

#include <optional>

namespace tavu {

class AboutFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void labelsStandWhereTheLayoutPutsThem_data();
    void labelsStandWhereTheLayoutPutsThem();
    void linksOpenTheProjectsPages_data();
    void linksOpenTheProjectsPages();
};

void AboutFormTest::labelsStandWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QPoint>("position");
    QTest::addColumn<QString>("text");
    QTest::newRow("description") << "DescriptionLabel" << QPoint(16, 16)
                                 << "Description: TAVU is a tool for creating ready user commands\n"
                                    "by Velkor profile settings.";
    QTest::newRow("version") << "VersionLabel" << QPoint(16, 56) << "Version: 1.2.1";
    QTest::newRow("maker") << "MakerLabel" << QPoint(16, 72) << "Made by the TAVU developers";
    QTest::newRow("website") << "WebsiteLabel" << QPoint(16, 96) << "Website";
    QTest::newRow("forum") << "ForumLabel" << QPoint(16, 112) << "Forum";
    QTest::newRow("email") << "EmailLabel" << QPoint(16, 128) << "Email";
}

void AboutFormTest::labelsStandWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QPoint, position);
    QFETCH(QString, text);
    start();
    const QWidget& form = fixture().showFromMainWindow("AboutButton");
    QCOMPARE(&form, &fixture().windows().form<TAboutForm>());
    const auto* label = WindowsFixture::find<QLabel>(form, name);
    QCOMPARE(label->pos(), position);
    QCOMPARE(label->text(), text);
    // The whole text shows, inside the window.
    QVERIFY(label->size().expandedTo(label->sizeHint()) == label->size());
    QVERIFY(form.rect().contains(label->geometry()));
}

void AboutFormTest::linksOpenTheProjectsPages_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QUrl>("target");
    QTest::newRow("Website") << "WebsiteLabel" << QUrl(QStringLiteral("https://github.com/tavu-hub/tavu"));
    QTest::newRow("Forum") << "ForumLabel" << QUrl(QStringLiteral("https://github.com/tavu-hub/tavu/issues"));
    QTest::newRow("Email") << "EmailLabel"
                           << QUrl(QStringLiteral("mailto:tavu-hub@users.noreply.github.com"));
}

void AboutFormTest::linksOpenTheProjectsPages() {
    QFETCH(QString, name);
    QFETCH(QUrl, target);
    start();
    const QWidget& form = fixture().showFromMainWindow("AboutButton");
    auto* link = WindowsFixture::find<QLabel>(form, name);
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

    // A press that leaves the label before it is released opens nothing.
    LinkOpener::holdNextOpening();
    QTest::mousePress(link, Qt::LeftButton, {}, link->rect().center());
    QTest::mouseRelease(link, Qt::LeftButton, {}, link->rect().bottomRight() + QPoint(5, 5));
    QCOMPARE(LinkOpener::takeLastTarget(), std::nullopt);

    LinkOpener::holdNextOpening();
    QTest::mouseClick(link, Qt::LeftButton);
    QCOMPARE(LinkOpener::takeLastTarget(), std::optional<QUrl>(target));
    QVERIFY(form.isVisible());
}

int runAboutFormTest(int argc, char** argv) {
    AboutFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "about_form_test.moc"
