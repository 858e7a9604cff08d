#include "windows_fixture.h"

#include "file_dialog.h"
#include "main_form.h"
#include "menu_items_form.h"
#include "message_box.h"
#include "profiles_glance_form.h"
#include "session.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTreeView>

namespace tavu {

class ProfilesGlanceFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void refusedWithoutAProfilesFile();
    void showsEveryProfileWithTheChosenOneMarked();
    void filtersFoldsAndScrollsBothViewsAsOne();
    void aDoubleClickOpensTheMenuItemsOfThatProfile();
    void exportWritesTheFormatOfTheName_data();
    void exportWritesTheFormatOfTheName();
    void aHostileNameIsShownAsText();
    void grabShowsTheWholeWindow();

private:
    ProfilesGlanceForm& open(int chosen);
};

namespace {

constexpr int kOperator = 1;

QTreeView* view(const ProfilesGlanceForm& form, const char* name) {
    return WindowsFixture::find<QTreeView>(form, QLatin1String(name));
}

// The row of the item whose path ends in `title`, under the open submenus.
QModelIndex rowOf(const QAbstractItemModel& model, const QString& title, const QModelIndex& parent = {}) {
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex index = model.index(row, 0, parent);
        if (index.data().toString() == title) {
            return index;
        }
        if (const QModelIndex found = rowOf(model, title, index); found.isValid()) {
            return found;
        }
    }
    return {};
}

} // namespace

ProfilesGlanceForm& ProfilesGlanceFormTest::open(int chosen) {
    fixture().writeIni({});
    start();
    fixture().createCommands(chosen);
    mainForm().findChild<QAction*>(QStringLiteral("ProfilesGlanceAction"))->trigger();
    ProfilesGlanceForm& form = fixture().windows().form<ProfilesGlanceForm>();
    if (!form.isVisible()) {
        qFatal("the window is not shown: %s", qPrintable(lastErrorBox()));
    }
    return form;
}

void ProfilesGlanceFormTest::refusedWithoutAProfilesFile() {
    start();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    mainForm().findChild<QAction*>(QStringLiteral("ProfilesGlanceAction"))->trigger();
    QVERIFY(!fixture().windows().form<ProfilesGlanceForm>().isVisible());
    QVERIFY2(lastErrorBox().contains(QStringLiteral("Open a profiles file first")),
             qPrintable(lastErrorBox()));
}

void ProfilesGlanceFormTest::showsEveryProfileWithTheChosenOneMarked() {
    ProfilesGlanceForm& form = open(kOperator);
    const QAbstractItemModel& model = *view(form, "MarksView")->model();
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Owner\n235"));
    QCOMPARE(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("\u25B6 Operator\n177"));
    QVERIFY(model.headerData(2, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    const QModelIndex lock = rowOf(model, QStringLiteral("Lock"));
    QCOMPARE(lock.siblingAtColumn(1).data().toString(), QStringLiteral("\u2713"));
    QCOMPARE(lock.siblingAtColumn(2).data().toString(), QString());
    QVERIFY2(
        lock.siblingAtColumn(2).data(Qt::ToolTipRole).toString().contains(QStringLiteral(".mainchat on")),
        qPrintable(lock.siblingAtColumn(2).data(Qt::ToolTipRole).toString()));
    QVERIFY(lock.siblingAtColumn(2).data(Qt::BackgroundRole).isValid());
    QVERIFY(!lock.siblingAtColumn(1).data(Qt::BackgroundRole).isValid());
}

void ProfilesGlanceFormTest::filtersFoldsAndScrollsBothViewsAsOne() {
    ProfilesGlanceForm& form = open(kOperator);
    QTreeView* paths = view(form, "PathsView");
    QTreeView* marks = view(form, "MarksView");
    QVERIFY(paths->isColumnHidden(1) && !paths->isColumnHidden(0) && marks->isColumnHidden(0));
    const QModelIndex information = rowOf(*paths->model(), QStringLiteral("Information"));
    paths->collapse(information);
    QVERIFY(!marks->isExpanded(information));
    paths->expand(information);
    QVERIFY(marks->isExpanded(information));
    marks->verticalScrollBar()->setValue(5);
    QCOMPARE(paths->verticalScrollBar()->value(), 5);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QModelIndex core = rowOf(*paths->model(), QStringLiteral("Core"));
    QCOMPARE(paths->visualRect(core).top(), marks->visualRect(core.siblingAtColumn(1)).top());
    WindowsFixture::type(WindowsFixture::find<QLineEdit>(form, QStringLiteral("FilterEdit")),
                         QStringLiteral("kennylize"));
    QVERIFY(rowOf(*paths->model(), QStringLiteral("Kennylize")).isValid());
    QVERIFY(!rowOf(*paths->model(), QStringLiteral("Information")).isValid());
}

void ProfilesGlanceFormTest::aDoubleClickOpensTheMenuItemsOfThatProfile() {
    ProfilesGlanceForm& form = open(0);
    QTreeView* marks = view(form, "MarksView");
    const QModelIndex cell = rowOf(*marks->model(), QStringLiteral("Core")).siblingAtColumn(3);
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    marks->scrollTo(cell);
    QVERIFY(marks->viewport()->rect().contains(marks->visualRect(cell).center()));
    // The view takes a double-click on the cell it was pressed on.
    QTest::mousePress(marks->viewport(), Qt::LeftButton, {}, marks->visualRect(cell).center());
    QTest::mouseDClick(marks->viewport(), Qt::LeftButton, {}, marks->visualRect(cell).center());
    MenuItemsForm& menuItems = fixture().windows().form<MenuItemsForm>();
    QVERIFY(menuItems.isVisible() && !form.isEnabled());
    QCOMPARE(fixture().session().profiles().chosenName(), std::string("Regular"));
    WindowsFixture::click(menuItems, "CancelButton");
    QVERIFY(form.isEnabled() && form.isVisible());
}

void ProfilesGlanceFormTest::exportWritesTheFormatOfTheName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("start");
    QTest::newRow("CSV") << "glance.csv" << QByteArray("\"identity\",\"path\",\"command\",\"Owner\"");
    QTest::newRow("Web page") << "glance.HTML" << QByteArray("<!DOCTYPE html>");
    QTest::newRow("Any other name") << "glance.txt" << QByteArray("\"identity\"");
}

void ProfilesGlanceFormTest::exportWritesTheFormatOfTheName() {
    QFETCH(QString, name);
    QFETCH(QByteArray, start);
    ProfilesGlanceForm& form = open(kOperator);
    const QString path = fixture().filePath(name);
    FileDialog::setNextFileName(path);
    WindowsFixture::click(form, "ExportButton");
    QCOMPARE(FileDialog::takeLastRequest()->filter, QStringLiteral("CSV (*.csv);;Web page (*.html *.htm)"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(file.readAll().startsWith(start), qPrintable(path));
    // A folder that does not exist: the error box names the file.
    FileDialog::setNextFileName(path + QStringLiteral(".missing/") + name);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    WindowsFixture::click(form, "ExportButton");
    QVERIFY2(lastErrorBox().contains(QStringLiteral("Unable to write to")), qPrintable(lastErrorBox()));
}

void ProfilesGlanceFormTest::aHostileNameIsShownAsText() {
    fixture().writeIni({});
    start();
    fixture().open(
        fixture().write(QStringLiteral("profiles.xml"),
                        "<Profiles><Profile><Name>&lt;b&gt;x&#10;&#x202E;</Name></Profile></Profiles>"));
    mainForm().findChild<QAction*>(QStringLiteral("ProfilesGlanceAction"))->trigger();
    const QAbstractItemModel& model =
        *view(fixture().windows().form<ProfilesGlanceForm>(), "MarksView")->model();
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("<b>x\\n\\u{202E}\n0"));
    QCOMPARE(model.headerData(1, Qt::Horizontal, Qt::ToolTipRole).toString(),
             QStringLiteral("<p>&lt;b&gt;x\\n\\u{202E}</p>"));
}

void ProfilesGlanceFormTest::grabShowsTheWholeWindow() {
    ProfilesGlanceForm& form = open(kOperator);
    view(form, "PathsView")
        ->collapse(rowOf(*view(form, "PathsView")->model(), QStringLiteral("Miscellaneous")));
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QPixmap grabbed = form.grab();
    QCOMPARE(grabbed.deviceIndependentSize().toSize(), form.size());
    if (const QString folder = qEnvironmentVariable("TAVU_SCREENSHOT_DIR"); !folder.isEmpty()) {
        QVERIFY(grabbed.save(folder + QStringLiteral("/profiles-at-a-glance.png")));
    }
}

int runProfilesGlanceFormTest(int argc, char** argv) {
    ProfilesGlanceFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "profiles_glance_form_test.moc"
