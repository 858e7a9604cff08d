#include "windows_fixture.h"

#include "file_dialog.h"
#include "main_form.h"
#include "menu_items_form.h"
#include "message_box.h"
#include "own_item_dialog.h"
#include "preview_form.h"
#include "session.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <string>

namespace tavu {

namespace {

constexpr int kOwner = 0;
constexpr int kOperator = 1;
const std::string kKennylize = "wUserControl\\wKennylize";

// Two own items in one submenu of their own, and Kennylize off for Operator.
const QByteArray kTwoOwnItems = "[Items off]\r\nwUserControl\\wKennylize=Operator\r\n"
                                "[Own item 1]\r\nPath=Scripts\\Rules\r\nCommand=+rules\r\n"
                                "[Own item 2]\r\nPath=Scripts\\Seen\r\nCommand=!seen %[nick]\r\n";

QTreeWidget* tree(const MenuItemsForm& form) {
    return WindowsFixture::find<QTreeWidget>(form, QStringLiteral("ItemsTree"));
}

// The first item of the tree whose identity begins with `identity`.
QTreeWidgetItem* itemOf(const MenuItemsForm& form, const std::string& identity) {
    for (QTreeWidgetItemIterator it(tree(form)); *it != nullptr; ++it) {
        if ((*it)->text(2).toStdString().starts_with(identity)) {
            return *it;
        }
    }
    qFatal("no item %s", identity.c_str());
}

// The titles of the own items, in the order of the tree.
QStringList ownTitles(const MenuItemsForm& form) {
    QStringList titles;
    for (QTreeWidgetItemIterator it(tree(form)); *it != nullptr; ++it) {
        if ((*it)->text(1) == QStringLiteral("own")) {
            titles << (*it)->text(0);
        }
    }
    return titles;
}

QTreeWidgetItem* titled(const MenuItemsForm& form, const char* title) {
    return tree(form)->findItems(QLatin1String(title), Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

bool enabled(const MenuItemsForm& form, const char* button) {
    return WindowsFixture::find<QPushButton>(form, QLatin1String(button))->isEnabled();
}

// Selects an item with the keyboard's focus in the tree, as arrow keys would.
void select(const MenuItemsForm& form, QTreeWidgetItem* item) {
    tree(form)->setFocus();
    tree(form)->setCurrentItem(item);
}

OwnItemDialog& ownItemDialog(const MenuItemsForm& form) {
    auto* dialog = form.findChild<OwnItemDialog*>();
    if (dialog == nullptr || !dialog->isVisible()) {
        qFatal("the own-item form is not shown");
    }
    return *dialog;
}

void retype(const QWidget& window, const char* edit, const QString& text) {
    auto* field = WindowsFixture::find<QLineEdit>(window, QLatin1String(edit));
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

OwnItem ownItem(const std::string& path, const std::string& command) {
    OwnItem item;
    item.path = path;
    item.command = command;
    return item;
}

} // namespace

// The window of own items and items switched off, opened on the chosen profile.
class MenuItemsFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void switchedOffItemIsGoneFromTheNextCreate();
    void checkingAgainSwitchesOnForThisProfileAlone_data();
    void checkingAgainSwitchesOnForThisProfileAlone();
    void addsAnOwnItemThroughItsForm();
    void refusesWhatWouldBreakTheBlock_data();
    void refusesWhatWouldBreakTheBlock();
    void editsMovesAndRemovesWithTheKeyboard();
    void ownItemsSwitchForTheProfilesChosen();
    void cancelRestoresEverything();
    void everythingIsBackAfterARestart();
    void exportAndImportGiveTheSameChanges();
    void problemsOfTheSettingsFileAreReportedOnce();
    void opensFromTheMenuPreview();
    void grabShowsTheWholeWindow();

private:
    // Starts the program on the settings file `ini`, opens the example
    // profiles, chooses `profile`, and opens the window from the output box.
    MenuItemsForm& openOn(int profile, const QByteArray& ini = {});
    MenuItemsForm& reopen();
    void addOwnItem(MenuItemsForm& form, const QString& path, const QString& command, bool noProfile = false);
};

MenuItemsForm& MenuItemsFormTest::openOn(int profile, const QByteArray& ini) {
    fixture().writeIni(ini);
    start();
    fixture().createCommands(profile);
    return reopen();
}

MenuItemsForm& MenuItemsFormTest::reopen() {
    mainForm().findChild<QAction*>(QStringLiteral("MenuItemsAction"))->trigger();
    auto& form = fixture().windows().form<MenuItemsForm>();
    if (!form.isVisible()) {
        qFatal("the menu items were not shown: %s", qPrintable(lastErrorBox()));
    }
    return form;
}

void MenuItemsFormTest::addOwnItem(MenuItemsForm& form, const QString& path, const QString& command,
                                   bool noProfile) {
    WindowsFixture::click(form, "AddButton");
    OwnItemDialog& dialog = ownItemDialog(form);
    retype(dialog, "PathEdit", path);
    retype(dialog, "CommandEdit", command);
    if (noProfile) {
        WindowsFixture::find<QRadioButton>(dialog, QStringLiteral("ChosenProfilesRadio"))->click();
    }
    WindowsFixture::click(dialog, "OkButton");
}

void MenuItemsFormTest::switchedOffItemIsGoneFromTheNextCreate() {
    const QString kennylizeAll = QStringLiteral("$<%[mynick]> .kennylize *&#124;|");
    const QString unkennylizeAll = QStringLiteral("$<%[mynick]> .unkennylize *&#124;|");
    const std::string allOn = kKennylize + "\\wAll\\wOn";
    MenuItemsForm& form =
        openOn(kOperator, QByteArray::fromStdString("[Items off]\r\n" + allOn + "=Owner\r\n"));
    QVERIFY(fixture().commandsText().contains(kennylizeAll));
    QTreeWidgetItem* kennylize = itemOf(form, allOn);
    select(form, kennylize);
    QTest::keyClick(tree(form), Qt::Key_Space);
    QCOMPARE(kennylize->checkState(0), Qt::Unchecked);
    WindowsFixture::click(form, "OkButton");
    QVERIFY(!form.isVisible());
    // Still off for the profile it was off for.
    QCOMPARE(fixture().session().menuChanges().itemsOff,
             (std::vector{ItemOff{allOn, {{"Owner", "Operator"}}}}));
    click("CreateButton");
    QVERIFY(!fixture().commandsText().contains(kennylizeAll));
    QVERIFY(fixture().commandsText().contains(unkennylizeAll));
}

void MenuItemsFormTest::checkingAgainSwitchesOnForThisProfileAlone_data() {
    QTest::addColumn<QByteArray>("itemsOff");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<bool>("submenu"); // checked, rather than an item in it
    QTest::newRow("named") << QByteArray("Owner|Operator") << QStringList{"Operator"} << false;
    QTest::newRow("every profile") << QByteArray("*") << QStringList{"Operator", "Regular"} << false;
    QTest::newRow("only this one") << QByteArray("Owner") << QStringList{} << false;
    QTest::newRow("the submenu") << QByteArray("*") << QStringList{"Operator", "Regular"} << true;
}

void MenuItemsFormTest::checkingAgainSwitchesOnForThisProfileAlone() {
    QFETCH(QByteArray, itemsOff);
    QFETCH(QStringList, left);
    QFETCH(bool, submenu);
    MenuItemsForm& form = openOn(kOwner, "[Items off]\r\nwUserControl\\wKennylize=" + itemsOff + "\r\n");
    QTreeWidgetItem* kennylize = submenu ? titled(form, "Kennylize") : itemOf(form, kKennylize);
    QCOMPARE(kennylize->checkState(0), Qt::Unchecked);
    select(form, kennylize);
    QTest::keyClick(tree(form), Qt::Key_Space);
    // The whole submenu comes back, not only the item checked.
    QCOMPARE(itemOf(form, kKennylize)->checkState(0), Qt::Checked);
    WindowsFixture::click(form, "OkButton");
    QStringList names;
    for (const ItemOff& off : fixture().session().menuChanges().itemsOff) {
        QCOMPARE(off.identity, kKennylize);
        for (const std::string& name : off.profiles.names) {
            names << QString::fromStdString(name);
        }
    }
    QCOMPARE(fixture().session().menuChanges().itemsOff.size(), left.isEmpty() ? 0U : 1U);
    QCOMPARE(names, left);
}

void MenuItemsFormTest::addsAnOwnItemThroughItsForm() {
    MenuItemsForm& form = openOn(kOwner);
    addOwnItem(form, QStringLiteral("{wHubControl}\\Scripts\\Rules"), QStringLiteral("+rules %[line:Topic]"));
    QCOMPARE(ownTitles(form), QStringList{"Rules"});
    QCOMPARE(tree(form)->currentItem()->parent()->text(0), QStringLiteral("Scripts"));
    QCOMPARE(tree(form)->currentItem()->parent()->parent()->text(0), QStringLiteral("Hub control"));
    WindowsFixture::click(form, "OkButton");
    click("CreateButton");
    // Each title after its item prefix.
    QStringList titles;
    for (const char* piece :
         {"Hub control\\", "Scripts\\", "Rules$<%[mynick]> +rules %[line:Topic]&#124;|"}) {
        titles << QRegularExpression::escape(QString::fromUtf8(piece));
    }
    const QRegularExpression written(titles.join(QStringLiteral("[^\\\\$|]*")));
    QVERIFY(fixture().commandsText().contains(written));
}

void MenuItemsFormTest::refusesWhatWouldBreakTheBlock_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("noProfile");
    QTest::newRow("| in a title") << "Scripts\\Ru|les"
                                  << "+rules"
                                  << "\"|\"" << false;
    QTest::newRow("] in a prompt title") << "Rules"
                                         << "+ban %[line:Days [1-9]]"
                                         << "\"]\"" << false;
    QTest::newRow("no profile checked") << "Rules"
                                        << "+rules"
                                        << "at least one profile" << true;
}

void MenuItemsFormTest::refusesWhatWouldBreakTheBlock() {
    QFETCH(QString, path);
    QFETCH(QString, command);
    QFETCH(QString, reason);
    QFETCH(bool, noProfile);
    MenuItemsForm& form = openOn(kOwner);
    addOwnItem(form, path, command, noProfile);
    OwnItemDialog& dialog = ownItemDialog(form);
    const QString problem = WindowsFixture::find<QLabel>(dialog, QStringLiteral("ProblemLabel"))->text();
    QVERIFY2(problem.startsWith(QStringLiteral("Not accepted: ")) && problem.contains(reason),
             qPrintable(problem));
    WindowsFixture::click(dialog, "CancelButton");
    QVERIFY(ownTitles(form).isEmpty());
}

void MenuItemsFormTest::editsMovesAndRemovesWithTheKeyboard() {
    MenuItemsForm& form = openOn(kOwner, kTwoOwnItems);
    QCOMPARE(ownTitles(form), (QStringList{"Rules", "Seen"}));
    // As another window opens this one at an item: shown, in a submenu that was closed.
    tree(form)->collapseAll();
    tree(form)->hide();
    QVERIFY(form.selectItem(kKennylize + "\\wAll\\wOn"));
    tree(form)->show();
    QTreeWidgetItem* current = tree(form)->currentItem();
    QVERIFY(current != nullptr);
    QCOMPARE(current->text(2).toStdString(), kKennylize + "\\wAll\\wOn");
    QVERIFY(tree(form)->viewport()->rect().contains(tree(form)->visualItemRect(current)));
    QVERIFY(!form.selectItem("wNoSuchItem"));
    QCOMPARE(tree(form)->currentItem(), current);
    select(form, itemOf(form, kKennylize));
    QVERIFY(!enabled(form, "MoveUpButton") && !enabled(form, "MoveDownButton"));
    select(form, itemOf(form, "own:2"));
    QVERIFY(!enabled(form, "MoveDownButton"));
    WindowsFixture::click(form, "MoveUpButton");
    QCOMPARE(ownTitles(form), (QStringList{"Seen", "Rules"}));
    QCOMPARE(tree(form)->currentItem()->text(0), QStringLiteral("Seen"));
    QVERIFY(!enabled(form, "MoveUpButton"));
    WindowsFixture::click(form, "MoveDownButton");
    QCOMPARE(ownTitles(form), (QStringList{"Rules", "Seen"}));

    select(form, itemOf(form, "own:1"));
    QTest::keyClick(tree(form), Qt::Key_Return);
    retype(ownItemDialog(form), "PathEdit", QStringLiteral("Scripts\\FAQ"));
    WindowsFixture::click(ownItemDialog(form), "OkButton");
    QCOMPARE(ownTitles(form), (QStringList{"FAQ", "Seen"}));

    select(form, itemOf(form, "own:2"));
    QTest::keyClick(tree(form), Qt::Key_Delete);
    QCOMPARE(ownTitles(form), QStringList{"FAQ"});
    WindowsFixture::click(form, "OkButton");
    QCOMPARE(fixture().session().menuChanges().ownItems, std::vector{ownItem("Scripts\\FAQ", "+rules")});
}

void MenuItemsFormTest::ownItemsSwitchForTheProfilesChosen() {
    MenuItemsForm& form = openOn(kOwner, kTwoOwnItems);
    select(form, itemOf(form, "own:1"));
    QTest::keyClick(tree(form), Qt::Key_Space);
    WindowsFixture::find<QRadioButton>(form, QStringLiteral("EveryProfileRadio"))->click();
    select(form, itemOf(form, "own:2"));
    QTest::keyClick(tree(form), Qt::Key_Space);
    const std::vector<OwnItem>& own = fixture().session().menuChanges().ownItems;
    WindowsFixture::click(form, "OkButton");
    QCOMPARE(own[0].profiles, (ProfileChoice{{"Operator", "Regular"}}));
    QCOMPARE(own[1].profiles, (ProfileChoice{{}, true}));
    // Back for this profile alone.
    reopen();
    select(form, itemOf(form, "own:2"));
    QTest::keyClick(tree(form), Qt::Key_Space);
    WindowsFixture::click(form, "OkButton");
    QCOMPARE(own[1].profiles, (ProfileChoice{{"Owner"}}));
}

void MenuItemsFormTest::cancelRestoresEverything() {
    MenuItemsForm& form = openOn(kOwner, kTwoOwnItems);
    const MenuChanges before = fixture().session().menuChanges();
    itemOf(form, kKennylize)->setCheckState(0, Qt::Unchecked);
    addOwnItem(form, QStringLiteral("Extra"), QStringLiteral("+extra"));
    select(form, itemOf(form, "own:1"));
    WindowsFixture::click(form, "RemoveButton");
    QTest::keyClick(tree(form), Qt::Key_Escape);
    QVERIFY(!form.isVisible());
    QCOMPARE(fixture().session().menuChanges(), before);
    reopen();
    QCOMPARE(ownTitles(form), (QStringList{"Rules", "Seen"}));
    QCOMPARE(itemOf(form, kKennylize)->checkState(0), Qt::Checked);
}

void MenuItemsFormTest::everythingIsBackAfterARestart() {
    MenuItemsForm& form = openOn(kOperator);
    WindowsFixture::find<QRadioButton>(form, QStringLiteral("EveryProfileRadio"))->click();
    QTreeWidgetItem* kennylize = itemOf(form, kKennylize);
    const std::string identity = kennylize->text(2).toStdString();
    kennylize->setCheckState(0, Qt::Unchecked);
    addOwnItem(form, QStringLiteral("Rules"), QStringLiteral("+rules"));
    WindowsFixture::click(form, "OkButton");
    const MenuChanges kept = fixture().session().menuChanges();
    QVERIFY(mainForm().close());

    // A new session on the file the first one wrote at close.
    start();
    fixture().createCommands(kOperator);
    MenuItemsForm& restarted = reopen();
    QCOMPARE(fixture().session().menuChanges(), kept);
    QCOMPARE(kept.itemsOff, (std::vector{ItemOff{identity, {}}}));
    QCOMPARE(ownTitles(restarted), QStringList{"Rules"});
    QCOMPARE(itemOf(restarted, kKennylize)->checkState(0), Qt::Unchecked);
    QVERIFY(fixture().commandsText().contains(QStringLiteral("Rules$<%[mynick]> +rules&#124;|")));
}

void MenuItemsFormTest::exportAndImportGiveTheSameChanges() {
    MenuItemsForm& form = openOn(kOwner, kTwoOwnItems);
    const MenuChanges before = fixture().session().menuChanges();
    const QString file = fixture().filePath(QStringLiteral("menu items.ini"));
    FileDialog::setNextFileName(file);
    WindowsFixture::click(form, "ExportButton");
    QCOMPARE(lastErrorBox(), QStringLiteral("(none)"));
    select(form, itemOf(form, "own:1"));
    WindowsFixture::click(form, "RemoveButton");
    FileDialog::setNextFileName(file);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    WindowsFixture::click(form, "ImportButton");
    WindowsFixture::click(form, "OkButton");
    QCOMPARE(fixture().session().menuChanges(), before);

    reopen();
    FileDialog::setNextFileName(fixture().filePath(QStringLiteral("missing.ini")));
    MessageBox::setNextAnswer(QMessageBox::Ok);
    WindowsFixture::click(form, "ImportButton");
    QVERIFY(lastErrorBox().endsWith(QStringLiteral("missing.ini does not exist")));
    QCOMPARE(ownTitles(form), (QStringList{"Rules", "Seen"}));

    // Never over the settings file, which holds the options and words too.
    const auto settingsBytes = [this] {
        QFile ini(fixture().iniPath());
        return ini.open(QIODevice::ReadOnly) ? ini.readAll() : QByteArray("(missing)");
    };
    const QByteArray settings = settingsBytes();
    QVERIFY(settings != "(missing)");
    FileDialog::setNextFileName(fixture().iniPath());
    MessageBox::setNextAnswer(QMessageBox::Ok);
    WindowsFixture::click(form, "ExportButton");
    QVERIFY(lastErrorBox().contains(QStringLiteral("is the settings file")));
    QCOMPARE(settingsBytes(), settings);
}

void MenuItemsFormTest::problemsOfTheSettingsFileAreReportedOnce() {
    fixture().writeIni("[Own item 1]\r\nPath=Ru|les\r\nCommand=+rules\r\n");
    MessageBox::setNextAnswer(QMessageBox::Ok);
    start();
    const std::vector<MessageBox::Shown> shown = MessageBox::takeAllShown();
    QCOMPARE(shown.size(), 1U);
    QVERIFY2(shown.front().text.contains(QStringLiteral("Ru|les")), qPrintable(shown.front().text));
    // Kept, and shown refused with its reason.
    fixture().createCommands(kOwner);
    MenuItemsForm& form = reopen();
    QTreeWidgetItem* refused = itemOf(form, "own:1");
    QCOMPARE(refused->checkState(0), Qt::Unchecked);
    QVERIFY(refused->toolTip(0).startsWith(QStringLiteral("Refused: ")));
}

void MenuItemsFormTest::opensFromTheMenuPreview() {
    fixture().writeIni({});
    start();
    fixture().createCommands(kOwner);
    mainForm().findChild<QAction*>(QStringLiteral("MenuPreviewAction"))->trigger();
    TPreviewForm& preview = fixture().windows().form<TPreviewForm>();
    QVERIFY(preview.isVisible());
    WindowsFixture::click(preview, "MenuItemsButton");
    QVERIFY(preview.isVisible() && !preview.isEnabled());
    QVERIFY(fixture().windows().form<MenuItemsForm>().isVisible());
    WindowsFixture::click(fixture().windows().form<MenuItemsForm>(), "CancelButton");
    QVERIFY(preview.isVisible() && preview.isEnabled() && !mainForm().isEnabled());
}

void MenuItemsFormTest::grabShowsTheWholeWindow() {
    MenuItemsForm& form = openOn(kOperator, "[Items off]\r\nwUserControl\\wKennylize=Operator\r\n"
                                            "wInformation\\wTraffic=*\r\n"
                                            "[Own item 1]\r\nPath={wHubControl}\\Scripts\\Restart\r\n"
                                            "Menus=hub\r\nCommand=+restart %[line:Reason]\r\n"
                                            "[Own item 2]\r\nPath=Rules\r\nCommand=+rules\r\n"
                                            "[Own item 3]\r\nPath=Seen\r\nCommand=!seen %[nick]\r\n"
                                            "Profiles=Owner\r\n");
    tree(form)->collapseAll();
    select(form, itemOf(form, "own:1"));
    for (QTreeWidgetItem* submenu = itemOf(form, kKennylize)->parent(); submenu != nullptr;
         submenu = submenu->parent()) {
        submenu->setExpanded(true);
    }
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPixmap grabbed = form.grab();
    QCOMPARE(grabbed.deviceIndependentSize().toSize(), form.size());
    if (const QString folder = qEnvironmentVariable("TAVU_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QVERIFY(grabbed.save(folder + QStringLiteral("/menu-items.png")));
    }
}

int runMenuItemsFormTest(int argc, char** argv) {
    MenuItemsFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "menu_items_form_test.moc"
