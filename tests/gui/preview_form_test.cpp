#include "windows_fixture.h"

#include "main_form.h"
#include "menu_items_form.h"
#include "message_box.h"
#include "preview_form.h"

#include "hub/hub_server.h"
#include "nmdc_client.h"
#include "platform/listening.h"

#include <asio/io_context.hpp>
#include <asio/ip/tcp.hpp>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMetaEnum>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>

#include <atomic>
#include <future>
#include <thread>

namespace tavu {

// The Menu preview, opened from the main window's output box.
class PreviewFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void shortcutCollidesWithNoStandardKey();
    void opensFromShortcutAnywhereInTheMainWindow_data();
    void opensFromShortcutAnywhereInTheMainWindow();
    void contextMenuKeepsTheEditActionsAndAddsThePreview();
    void blankOutputIsRefused_data();
    void blankOutputIsRefused();
    void frameAndDisabledMainWindowUntilClosed();
    void treesShowTheMenusAsAClientBuildsThem();
    void findingsAreListedWithSeverityPieceAndLine();
    void clientChoiceRebuildsTheTreesAndFindings();
    void doubleClickOnAFindingSelectsItsItem_data();
    void doubleClickOnAFindingSelectsItsItem();
    void deepMenuStopsAtTheCapAndItsFindingsSelectTheItem();
    void showsTheOutputAsItIsWhenOpened();
    void grabShowsTheWholeWindow();
    void tryInClientServesTheOutputAsShown();
    void closingThePreviewStopsTheHub();
    void destroyingThePreviewStopsTheHub();
    void linesFasterThanTheListAreLeftOutAndCounted();
    void menuItemsKeepThePreviewAndServeTheChangedMenu();

private:
    TMainForm& startActive();
    QPlainTextEdit* memo();
    TPreviewForm& openPreview(const QString& output);
    void pressShortcut(QWidget* control);
};

namespace {

// Every kind of problem the window lists, in one block. Piece 6 repeats the
// title of piece 4, and both are shown; piece 7 has a line break before it.
const QString kFaultyBlock =
    QString::fromUtf8("$UserCommand 255 3|"
                      "$UserCommand 1 3 Tools\\\u00A0Kick$<%[mynick]> !kick %[nick] %[line:Reason]&#124;|"
                      "$UserCommand 0 3|"
                      "$UserCommand 1 1 Tools\\R&D$<%[mynick]> !rd&#124;|"
                      "$UserCommand 1 2 Tools\\Gift$<%[mynick]> 50% off for %[nick]&#124;|"
                      "$UserCommand 1 1 Tools\\R&D$<%[mynick]> !rd %[line:Project] %[line:Project]&#124;|"
                      "\n$UserCommand 1 1 Late$x|"
                      "$UserCommand 1 1 Broken|");

// The tree as indented lines of "title | command | prompts".
QString dump(const QTreeWidgetItem* parent, int depth = 0) {
    QString text;
    for (int i = 0; i < parent->childCount(); ++i) {
        const QTreeWidgetItem* item = parent->child(i);
        text += QString(depth * 2, QLatin1Char(' ')) + item->text(0) + " | " + item->text(1) + " | " +
                item->text(2) + "\n" + dump(item, depth + 1);
    }
    return text;
}

QTreeWidget* tree(const TPreviewForm& form, const char* name) {
    return WindowsFixture::find<QTreeWidget>(form, QLatin1String(name));
}

QString summary(const TPreviewForm& form) {
    return WindowsFixture::find<QLabel>(form, QStringLiteral("SummaryLabel"))->text();
}

// Holds the hub's port, whether or not something else holds it already, so
// that the window falls back on a free port and tests never share one. It
// asks for the port as the hub does, so that connections of an earlier run
// still closing do not keep it from the port while the hub gets it.
class TakenHubPort {
public:
    TakenHubPort() : acceptor_(io_) {
        std::error_code ignored; // when it cannot be had, someone else holds it
        acceptor_.open(asio::ip::tcp::v4(), ignored);
        acceptor_.set_option(asio::socket_base::reuse_address(listeningReusesAddress()), ignored);
        acceptor_.bind({asio::ip::make_address(hub::kLoopbackAddress), hub::kDefaultPort}, ignored);
        acceptor_.listen(asio::socket_base::max_listen_connections, ignored);
    }

private:
    asio::io_context io_;
    asio::ip::tcp::acceptor acceptor_;
};

// Clicks "Try in client…" and returns the port of the address it shows.
std::uint16_t tryInClient(const TPreviewForm& form) {
    WindowsFixture::click(form, "TryButton");
    const QString address = WindowsFixture::find<QLineEdit>(form, QStringLiteral("AddressEdit"))->text();
    return static_cast<std::uint16_t>(address.section(QLatin1Char(':'), 2).toUInt());
}

} // namespace

TMainForm& PreviewFormTest::startActive() {
    TMainForm& main = start();
    main.activateWindow();
    if (!QTest::qWaitForWindowActive(&main)) {
        qFatal("the main window never became active");
    }
    return main;
}

QPlainTextEdit* PreviewFormTest::memo() {
    return control<QPlainTextEdit>("CommandsMemo");
}

TPreviewForm& PreviewFormTest::openPreview(const QString& output) {
    memo()->setPlainText(output);
    pressShortcut(memo());
    return fixture().windows().form<TPreviewForm>();
}

void PreviewFormTest::pressShortcut(QWidget* control) {
    control->setFocus();
    QTest::keySequence(control, QKeySequence(QString::fromLatin1(kMenuPreviewShortcut)));
}

void PreviewFormTest::shortcutCollidesWithNoStandardKey() {
    const QKeySequence shortcut(QString::fromLatin1(kMenuPreviewShortcut));
    const QMetaEnum keys = QMetaEnum::fromType<QKeySequence::StandardKey>();
    for (int i = 0; i < keys.keyCount(); ++i) {
        const auto key = static_cast<QKeySequence::StandardKey>(keys.value(i));
        QVERIFY2(!QKeySequence::keyBindings(key).contains(shortcut), keys.key(i));
    }
}

void PreviewFormTest::opensFromShortcutAnywhereInTheMainWindow_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("output box") << "CommandsMemo";
    QTest::newRow("profile list") << "ProfileComboBox";
    QTest::newRow("a check box") << "ClearCheckBox";
}

void PreviewFormTest::opensFromShortcutAnywhereInTheMainWindow() {
    QFETCH(QString, control);
    const TMainForm& main = startActive();
    memo()->setPlainText(QStringLiteral("$UserCommand 1 1 A$a|"));
    pressShortcut(WindowsFixture::find<QWidget>(main, control));
    const TPreviewForm& form = fixture().windows().form<TPreviewForm>();
    QVERIFY(form.isVisible());
    QVERIFY(!main.isEnabled());
    QCOMPARE(lastErrorBox(), QStringLiteral("(none)"));
    // The box takes no character from the shortcut.
    QCOMPARE(fixture().commandsText(), QStringLiteral("$UserCommand 1 1 A$a|"));
}

void PreviewFormTest::contextMenuKeepsTheEditActionsAndAddsThePreview() {
    const TMainForm& main = startActive();
    memo()->setPlainText(QStringLiteral("$UserCommand 1 1 A$a|"));
    QStringList texts;
    QTimer::singleShot(0, this, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        for (const QAction* action : menu->actions()) {
            texts << action->text().remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
        }
        menu->setActiveAction(menu->actions().value(menu->actions().size() - 3));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QWidget* viewport = memo()->viewport();
    QContextMenuEvent event(QContextMenuEvent::Mouse, viewport->rect().center(),
                            viewport->mapToGlobal(viewport->rect().center()));
    QApplication::sendEvent(viewport, &event);

    for (const char* standard : {"Undo", "Redo", "Cut", "Copy", "Paste", "Delete", "Select All"}) {
        QVERIFY2(texts.contains(QLatin1String(standard)), standard);
    }
    QCOMPARE(texts.value(texts.size() - 4), QString()); // a separator
    QCOMPARE(texts.value(texts.size() - 3), QStringLiteral("Menu preview"));
    QCOMPARE(texts.value(texts.size() - 2), QStringLiteral("Menu items\u2026"));
    QCOMPARE(texts.last(), QStringLiteral("Profiles at a glance\u2026"));
    QVERIFY(fixture().windows().form<TPreviewForm>().isVisible());
    QVERIFY(!main.isEnabled());
}

void PreviewFormTest::blankOutputIsRefused_data() {
    QTest::addColumn<QString>("output");
    QTest::newRow("empty") << "";
    QTest::newRow("white space only") << " \n\t";
}

void PreviewFormTest::blankOutputIsRefused() {
    QFETCH(QString, output);
    const TMainForm& main = startActive();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    openPreview(output);
    QCOMPARE(lastErrorBox(),
             QStringLiteral("Error: A preview of nothing looks like nothing. Create some commands first."));
    QVERIFY(!fixture().windows().form<TPreviewForm>().isVisible());
    QVERIFY(main.isEnabled());
}

void PreviewFormTest::frameAndDisabledMainWindowUntilClosed() {
    const TMainForm& main = startActive();
    TPreviewForm& form = openPreview(QStringLiteral("$UserCommand 1 1 A$a|"));
    QCOMPARE(form.windowTitle(), QStringLiteral("TAVU Menu preview"));
    QVERIFY(form.minimumSize() != form.maximumSize());
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(form.windowFlags() & Qt::WindowMaximizeButtonHint);
    const auto* tabs = WindowsFixture::find<QTabWidget>(form, QStringLiteral("MenuTabs"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("Hub menu"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("User-list menu"));
    QVERIFY(!main.isEnabled());
    // The main window's shortcut does not reach into this window.
    memo()->setPlainText(QStringLiteral("$UserCommand 1 2 B$b|"));
    pressShortcut(&form);
    QCOMPARE(summary(form), QStringLiteral("Hub menu: 1 item. User-list menu: 0 items. No findings."));

    WindowsFixture::click(form, "CloseButton");
    QVERIFY(!form.isVisible());
    QVERIFY(main.isEnabled());
}

void PreviewFormTest::treesShowTheMenusAsAClientBuildsThem() {
    startActive();
    const TPreviewForm& form = openPreview(kFaultyBlock);
    const QString separator(24, QChar(0x2500));
    // The no-break space in front of "Kick" is the output's own.
    QCOMPARE(dump(tree(form, "HubMenuTree")->invisibleRootItem()),
             QString::fromUtf8("Tools |  | \n"
                               "  \u00A0Kick | <%[mynick]> !kick %[nick] %[line:Reason]| | Reason\n") +
                 "  " + separator + " |  | \n" + "  R&D | <%[mynick]> !rd| | \n" +
                 "  R&D | <%[mynick]> !rd %[line:Project] %[line:Project]| | Project\n");
    QCOMPARE(dump(tree(form, "UserListMenuTree")->invisibleRootItem()),
             QString::fromUtf8("Tools |  | \n"
                               "  \u00A0Kick | <%[mynick]> !kick %[nick] %[line:Reason]| | Reason\n") +
                 "  " + separator + " |  | \n" + "  Gift | <%[mynick]> 50% off for %[nick]| | \n");
    QCOMPARE(summary(form), QStringLiteral("Hub menu: 3 items. User-list menu: 2 items. 6 findings."));
}

void PreviewFormTest::findingsAreListedWithSeverityPieceAndLine() {
    startActive();
    const QTreeWidget* list = tree(openPreview(kFaultyBlock), "FindingsList");
    const QStringList expected{
        "warning 4 1 \"&\"",        "warning 5 1 \"%\"",
        "warning 6 1 \"&\"",        "warning 6 1 the item of piece 4",
        "warning 7 2 a line break", "error 8 2 no client can read",
    };
    QCOMPARE(list->topLevelItemCount(), expected.size());
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = list->topLevelItem(row);
        const QString columns = item->text(0) + " " + item->text(1) + " " + item->text(2) + " ";
        const QString fragment = expected[row].section(QLatin1Char(' '), 3);
        QCOMPARE(columns, expected[row].section(QLatin1Char(' '), 0, 2) + " ");
        QVERIFY2(item->text(3).contains(fragment), qPrintable(item->text(3)));
    }
}

// Alt+C reaches the choice; the arrow key makes it DC++ and AirDC++, which
// show one item for a repeated one, running the later command.
void PreviewFormTest::clientChoiceRebuildsTheTreesAndFindings() {
    startActive();
    TPreviewForm& form = openPreview(QStringLiteral("$UserCommand 1 3 A$a|$UserCommand 1 3 A$b|"));
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::keyClick(form.focusWidget(), Qt::Key_C, Qt::AltModifier);
    auto* choice = WindowsFixture::find<QComboBox>(form, QStringLiteral("ClientComboBox"));
    QVERIFY(choice->hasFocus());
    QTest::keyClick(choice, Qt::Key_Down);
    QCOMPARE(dump(tree(form, "HubMenuTree")->invisibleRootItem()), QStringLiteral("A | b | \n"));
    const QString finding = tree(form, "FindingsList")->topLevelItem(0)->text(3);
    QVERIFY2(finding.endsWith(
                 "DC++ and AirDC++ show one item, running the command of piece 2, where piece 1 stood"),
             qPrintable(finding));
}

void PreviewFormTest::doubleClickOnAFindingSelectsItsItem_data() {
    QTest::addColumn<int>("finding");
    QTest::addColumn<QString>("selectedIn"); // the tree, or "" when nothing gets selected
    QTest::addColumn<QString>("title");
    QTest::newRow("item in the user-list menu only") << 1 << "UserListMenuTree"
                                                     << "Gift";
    QTest::newRow("item in the hub menu") << 2 << "HubMenuTree"
                                          << "R&D";
    QTest::newRow("item beside a later one of its title") << 0 << "HubMenuTree"
                                                          << "R&D";
    QTest::newRow("unreadable piece") << 5 << ""
                                      << "";
}

void PreviewFormTest::doubleClickOnAFindingSelectsItsItem() {
    QFETCH(int, finding);
    QFETCH(QString, selectedIn);
    QFETCH(QString, title);
    startActive();
    TPreviewForm& form = openPreview(kFaultyBlock);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* tabs = WindowsFixture::find<QTabWidget>(form, QStringLiteral("MenuTabs"));
    for (QTreeWidget* menu : {tree(form, "HubMenuTree"), tree(form, "UserListMenuTree")}) {
        menu->collapseAll();
    }
    QWidget* shownBefore = tabs->currentWidget();

    QTreeWidget* list = tree(form, "FindingsList");
    const QRect row = list->visualItemRect(list->topLevelItem(finding));
    // The view takes a double click only on the row its first click pressed.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());

    if (selectedIn.isEmpty()) {
        QCOMPARE(tabs->currentWidget(), shownBefore);
        return;
    }
    auto* menu = WindowsFixture::find<QTreeWidget>(form, selectedIn);
    QCOMPARE(tabs->currentWidget(), menu);
    const QTreeWidgetItem* current = menu->currentItem();
    QVERIFY(current != nullptr);
    QCOMPARE(current->text(0), title);
    QVERIFY(current->isSelected());
    QVERIFY(current->parent()->isExpanded());
}

// A path this deep crashed the window; the cut prompt is an error.
void PreviewFormTest::deepMenuStopsAtTheCapAndItsFindingsSelectTheItem() {
    startActive();
    TPreviewForm& form =
        openPreview(QStringLiteral("$UserCommand 1 1 ") + QStringLiteral("a\\").repeated(40'000) +
                    QStringLiteral("x$.x %[line:Re]ason]&#124;|"));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTreeWidget* list = tree(form, "FindingsList");
    QCOMPARE(list->topLevelItemCount(), 2);
    QCOMPARE(list->topLevelItem(0)->text(0), QStringLiteral("warning"));
    QCOMPARE(list->topLevelItem(1)->text(0), QStringLiteral("error"));

    const QRect row = list->visualItemRect(list->topLevelItem(1));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
    const QTreeWidgetItem* item = tree(form, "HubMenuTree")->currentItem();
    QVERIFY(item != nullptr);
    QCOMPARE(item->text(1), QStringLiteral(".x %[line:Re]ason]|"));
}

void PreviewFormTest::showsTheOutputAsItIsWhenOpened() {
    startActive();
    TPreviewForm& form = openPreview(QStringLiteral("$UserCommand 1 1 A$a|"));
    QCOMPARE(summary(form), QStringLiteral("Hub menu: 1 item. User-list menu: 0 items. No findings."));
    QVERIFY(form.close());
    openPreview(QStringLiteral("$UserCommand 1 2 B$b|$UserCommand 1 2 C$c|"));
    QCOMPARE(summary(form), QStringLiteral("Hub menu: 0 items. User-list menu: 2 items. No findings."));
    QCOMPARE(tree(form, "HubMenuTree")->topLevelItemCount(), 0);
}

void PreviewFormTest::grabShowsTheWholeWindow() {
    startActive();
    fixture().createCommands(1);
    // Two commands touched up by hand, as the findings are meant to catch them.
    memo()->moveCursor(QTextCursor::End);
    QTest::keyClicks(memo(),
                     QStringLiteral("$UserCommand 1 3 .:: Rules & FAQ$<%[mynick]> .rules&#124;|"
                                    "$UserCommand 1 2 .:: Gift$<%[mynick]> 50% off for %[nick]&#124;|"));
    TPreviewForm& form = openPreview(fixture().commandsText());
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPixmap grabbed = form.grab();
    QCOMPARE(grabbed.deviceIndependentSize().toSize(), form.size());
    if (const QString folder = qEnvironmentVariable("TAVU_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QVERIFY(grabbed.save(folder + QStringLiteral("/menu-preview-window.png")));
    }
}

void PreviewFormTest::tryInClientServesTheOutputAsShown() {
    const TakenHubPort taken;
    startActive();
    const QString output = QString::fromUtf8("$UserCommand 1 3 Gr\u00F6\u00DFe$<%[mynick]> .size&#124;|");
    TPreviewForm& form = openPreview(output);
    const std::uint16_t port = tryInClient(form);
    QVERIFY(port != 0 && port != hub::kDefaultPort);
    QVERIFY(WindowsFixture::find<QLabel>(form, QStringLiteral("PortLabel"))
                ->text()
                .startsWith(QStringLiteral("Port 4111 could not be had (")));
    QVERIFY(WindowsFixture::find<QWidget>(form, QStringLiteral("TryPanel"))->isVisible());
    // A second click keeps the hub that runs.
    QCOMPARE(tryInClient(form), port);

    test::NmdcClient client(port);
    QVERIFY(client.logIn("tester"));
    const QByteArray served = output.toUtf8() + "<TAVU> ";
    QVERIFY2(client.received().find(served.toStdString()) != std::string::npos, client.received().c_str());
    client.send("<tester> hello there|");
    const auto* list = WindowsFixture::find<QListWidget>(form, QStringLiteral("ClientMessagesList"));
    QTRY_VERIFY(!list->findItems(QStringLiteral("<tester> hello there"), Qt::MatchEndsWith).isEmpty());

    WindowsFixture::click(form, "CopyAddressButton");
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("dchub://127.0.0.1:%1").arg(port));
}

// The window closes at once even while a client chats as fast as it can;
// ten seconds is where closing has frozen.
void PreviewFormTest::closingThePreviewStopsTheHub() {
    const TakenHubPort taken;
    startActive();
    TPreviewForm& form = openPreview(QStringLiteral("$UserCommand 1 1 A$a|"));
    const std::uint16_t port = tryInClient(form);
    test::NmdcClient connected(port);
    QVERIFY(connected.logIn("tester"));
    std::atomic<bool> closed = false;
    std::thread flood([&] {
        const std::string line = "<tester> " + std::string(2048, 'x') + "|";
        while (!closed) {
            const std::size_t before = connected.received().size();
            connected.send(line);
            connected.readUntil(line, std::chrono::seconds(10), before);
        }
    });
    std::promise<void> closing;
    std::thread watchdog([done = closing.get_future()] {
        if (done.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            qFatal("closing the window froze");
        }
    });
    QTest::qWait(100);
    WindowsFixture::click(form, "CloseButton");
    closing.set_value();
    closed = true;
    flood.join();
    watchdog.join();
    QVERIFY(connected.closedByHub());
    QVERIFY(!test::NmdcClient(port).connected());
}

void PreviewFormTest::destroyingThePreviewStopsTheHub() {
    const TakenHubPort taken;
    std::uint16_t port = 0;
    {
        TPreviewForm form;
        QCOMPARE(form.takeOutput(QStringLiteral("$UserCommand 1 1 A$a|")), QString());
        port = tryInClient(form);
        QVERIFY(test::NmdcClient(port).connected());
    }
    QVERIFY(!test::NmdcClient(port).connected());
}

void PreviewFormTest::linesFasterThanTheListAreLeftOutAndCounted() {
    const TakenHubPort taken;
    startActive();
    TPreviewForm& form = openPreview(QStringLiteral("$UserCommand 1 1 A$a|"));
    test::NmdcClient client(tryInClient(form));
    QVERIFY(client.logIn("tester"));
    // Sent while the window's thread takes none of the hub's lines: the login's
    // line and the first 999 wait for it, the other 1,001 are left out.
    std::string flood;
    for (int i = 1; i <= 2000; ++i) {
        flood += "<tester> " + std::to_string(i) + "|";
    }
    client.send(flood);
    QVERIFY(client.readUntil("<tester> 2000|")); // echoed once printed
    const auto* list = WindowsFixture::find<QListWidget>(form, QStringLiteral("ClientMessagesList"));
    const QString note = QStringLiteral("(1001 lines left out: they came faster than this list shows them)");
    QTRY_VERIFY(list->count() > 0 && list->item(list->count() - 1)->text() == note);
    QCOMPARE(list->count(), 1000); // the login's line left the list
    QVERIFY(list->item(998)->text().endsWith(QStringLiteral("<tester> 999")));

    client.send("<tester> last|");
    QTRY_VERIFY(list->item(999)->text().endsWith(QStringLiteral("<tester> last")));
    QCOMPARE(list->item(998)->text(), note);
    QVERIFY(list->item(0)->text().endsWith(QStringLiteral("<tester> 2")));
}

// The loop of trying the menu, changing an item and trying again: the preview
// and its hub stay, and OK shows and serves the changed menu.
void PreviewFormTest::menuItemsKeepThePreviewAndServeTheChangedMenu() {
    const TakenHubPort taken;
    const TMainForm& main = startActive();
    fixture().createCommands(0);
    const QString before = fixture().commandsText();
    TPreviewForm& form = openPreview(before);
    test::NmdcClient client(tryInClient(form));
    QVERIFY(client.logIn("tester"));
    const std::size_t loggedIn = client.received().size();
    auto& items = fixture().windows().form<MenuItemsForm>();
    WindowsFixture::click(form, "MenuItemsButton");
    auto* itemsTree = WindowsFixture::find<QTreeWidget>(items, QStringLiteral("ItemsTree"));
    itemsTree->setFocus();
    itemsTree->setCurrentItem(
        itemsTree->findItems(QStringLiteral("Kennylize"), Qt::MatchExactly | Qt::MatchRecursive).value(0));
    QTest::keyClick(itemsTree, Qt::Key_Space);
    WindowsFixture::click(items, "OkButton");
    const std::string served = fixture().commandsText().toStdString();
    QVERIFY(before.contains(QStringLiteral(".kennylize")) && served.find(".kennylize") == std::string::npos);
    QVERIFY(served.starts_with(kClearCommand) &&
            client.readUntil(served, std::chrono::seconds(10), loggedIn));
    for (const char* menu : {"HubMenuTree", "UserListMenuTree"}) {
        QVERIFY(tree(form, menu)->findItems(QStringLiteral("Kennylize"), Qt::MatchRecursive).isEmpty());
    }
    QVERIFY(form.isVisible() && form.isEnabled() && !main.isEnabled());
}

int runPreviewFormTest(int argc, char** argv) {
    PreviewFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "preview_form_test.moc"
