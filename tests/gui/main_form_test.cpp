#include "main_form_test.h"
#include "windows_fixture.h"

#include "about_form.h"
#include "application.h"
#include "edit_form.h"
#include "file_dialog.h"
#include "main_form.h"
#include "message_box.h"
#include "option_boxes.h"
#include "platform/date_text.h"
#include "preview_form.h"
#include "program_arguments.h"
#include "settings/settings_file.h"
#include "translate_form.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <array>
#include <set>
#include <stdexcept>
#include <sys/stat.h>

namespace tavu {

namespace {

const QString kExample = QStringLiteral(TAVU_SOURCE_DIR "/examples/profiles.xml");
const QStringList kExampleNames{"Owner", "Operator", "Regular"};
const QString kTitle = QString::fromUtf8(kApplicationTitle);

// The core's own output for a profile of a file, with the vocabulary of the
// settings file in use.
std::string coreOutput(const QString& file, int index, const GenerationOptions& options, const QString& ini) {
    Vocabulary vocabulary;
    readStringsSection(vocabulary, readSettingsFile(ini.toStdString()).value());
    const auto loaded = ProfilesDocument::load(file.toStdString());
    return CreateUserCommands(loaded->profile(index), options, vocabulary, todayText()).text;
}

QStringList comboItems(const QComboBox* combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i) {
        items << combo->itemText(i);
    }
    return items;
}

GenerationOptions toggled(const QStringList& boxes) {
    GenerationOptions options;
    for (const OptionBoxLook& box : optionBoxLooks()) {
        if (boxes.contains(QLatin1String(box.name))) {
            options.*box.option = !(options.*box.option);
        }
    }
    return options;
}

class Thrower : public QObject {
public:
    bool event(QEvent*) override { throw std::runtime_error("The disk is on fire"); }
};

} // namespace

void MainFormTest::typeCommands(const QString& text) {
    QTest::keyClicks(control<QPlainTextEdit>("CommandsMemo"), text);
}

void MainFormTest::expectError(const QString& text) {
    QCOMPARE(lastErrorBox(), "Error: " + text);
}

// --- Start-up and layout ---

void MainFormTest::startsWithHiddenSecondaryWindows() {
    TMainForm& form = start();
    QCOMPARE(QCoreApplication::applicationName(), kTitle);
    QCOMPARE(form.windowTitle(), QStringLiteral("TAVU : Velkor User Commands Creator 1.2.1"));
    QCOMPARE(fixture().windows().form<TEditForm>().windowTitle(), QStringLiteral("TAVU Easy Editor"));
    QCOMPARE(fixture().windows().form<TAboutForm>().windowTitle(), QStringLiteral("About"));
    QCOMPARE(fixture().windows().form<TTranslateForm>().windowTitle(), QStringLiteral("TAVU Translator"));
    QCOMPARE(fixture().windows().form<TPreviewForm>().windowTitle(), QStringLiteral("TAVU Menu preview"));
    QVERIFY(!fixture().windows().form<TEditForm>().isVisible());
    QVERIFY(!fixture().windows().form<TAboutForm>().isVisible());
    QVERIFY(!fixture().windows().form<TTranslateForm>().isVisible());
    QVERIFY(!fixture().windows().form<TPreviewForm>().isVisible());
    QCOMPARE(form.minimumSize(), QSize(441, 449));
    QCOMPARE(form.maximumSize(), QSize(441, 449));
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    QCOMPARE(form.font().families().value(0), QStringLiteral("Tahoma"));
    QCOMPARE(form.font().pointSize(), 8);
}

void MainFormTest::triggerOfNoControlIsRefused() {
    TMainForm& form = start();
    TAboutForm extra;
    const std::array rows{SecondaryFormTrigger{"NoSuchButton", &extra}};
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, form.setSecondaryForms(rows));
}

void MainFormTest::controlsStandWhereTheLayoutPutsThem_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("geometry");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("checked");    // -1: not a check box
    QTest::addColumn<QString>("status"); // the status bar's text with the pointer on the control

    const QString none = QString::fromUtf8(kDefaultStatusText);
    const auto row = [](const char* name, QRect geometry, const char* caption, int checked,
                        const QString& status) {
        QTest::newRow(name) << QString::fromLatin1(name) << geometry << QString::fromLatin1(caption)
                            << checked << status;
    };
    row("OpenButton", {16, 16, 113, 21}, "Open profiles.xml", -1, "Open profiles.xml and activate it");
    row("ProfileComboBox", {144, 16, 193, 21}, "", -1,
        "Select the profile you would like to create user commands for");
    row("RefreshButton", {352, 16, 75, 21}, "Refresh", -1,
        "Press this button in case the content of profiles.xml has changed");
    row("OptionsLabel", {16, 48, 41, 13}, "Options:", -1, none);
    for (const OptionBoxLook& look : optionBoxLooks()) {
        row(look.name, look.geometry, look.caption, GenerationOptions{}.*look.option ? 1 : 0,
            QString::fromLatin1(look.hint));
    }
    row("CreateButton", {16, 120, 113, 21}, "Create commands", -1, "Create user commands for chosen profile");
    row("CopyButton", {136, 120, 65, 21}, "Copy", -1, "Copy the content to clipboard");
    row("EditButton", {208, 120, 65, 21}, "Edit", -1, "Launch TAVU Easy Editor");
    row("TranslateButton", {280, 120, 67, 21}, "Translate", -1, "Launch TAVU Translator");
    row("AboutButton", {352, 120, 75, 21}, "About", -1, "Information about TAVU");
    row("CommandsMemo", {16, 152, 409, 265}, "", -1, none);
    row("StatusBar", {0, 430, 441, 19}, "", -1, none);
}

void MainFormTest::controlsStandWhereTheLayoutPutsThem() {
    QFETCH(QString, name);
    QFETCH(QRect, geometry);
    QFETCH(QString, caption);
    QFETCH(int, checked);
    start();
    QWidget* widget = control<QWidget>(qPrintable(name));
    QCOMPARE(widget->geometry(), geometry);
    QVERIFY(widget->toolTip().isEmpty());
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        QCOMPARE(button->text(), caption);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        QCOMPARE(label->text(), caption);
    }
    if (checked >= 0) {
        QCOMPARE(qobject_cast<QCheckBox*>(widget)->isChecked(), checked == 1);
    }
}

// Three columns of boxes of one height on the lines of the Options label and
// below it, 16 apart, above the buttons, each box in a place of its own.
void MainFormTest::optionBoxesStandInColumnsApart() {
    start();
    const QRect label = control<QWidget>("OptionsLabel")->geometry();
    const int buttonsTop = control<QWidget>("CreateButton")->geometry().top();
    std::set<int> columns;
    std::set<std::pair<int, int>> places;
    std::set<int> heights;
    for (const OptionBoxLook& look : optionBoxLooks()) {
        const QRect box = control<QWidget>(look.name)->geometry();
        columns.insert(box.left());
        places.emplace(box.left(), box.top());
        heights.insert(box.height());
        QVERIFY2(box.left() > label.right() && (box.top() - label.top()) % 16 == 0 &&
                     box.top() >= label.top() && box.bottom() < buttonsTop,
                 look.name);
    }
    QCOMPARE(columns.size(), std::size_t{3});
    QCOMPARE(places.size(), optionBoxLooks().size());
    QCOMPARE(heights.size(), std::size_t{1});
}

void MainFormTest::noCaptionIsClipped() {
    TMainForm& form = start();
    for (QCheckBox* box : form.findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect text = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        QVERIFY2(box->fontMetrics().horizontalAdvance(box->text()) <= text.width(), qPrintable(box->text()));
    }
    for (QPushButton* button : form.findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect text = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= text.width(),
                 qPrintable(button->text()));
    }
    for (QLabel* label : form.findChildren<QLabel*>()) {
        QVERIFY2(label->sizeHint().width() <= label->contentsRect().width(), qPrintable(label->text()));
        QVERIFY2(label->fontMetrics().ascent() <= label->contentsRect().height(), qPrintable(label->text()));
    }
}

void MainFormTest::tabVisitsTheControlsInOrder() {
    TMainForm& form = start();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    control<QWidget>("OpenButton")->setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    // The option boxes of each run in the order of their table.
    const auto boxes = [](TabRun run) {
        QStringList names;
        for (const OptionBoxLook& look : optionBoxLooks()) {
            names << (look.tabRun == run ? QStringList{look.name} : QStringList{});
        }
        return names;
    };
    const QStringList expected =
        QStringList{"OpenButton", "ProfileComboBox"} + boxes(TabRun::AfterProfiles) +
        QStringList{"CreateButton", "CommandsMemo", "EditButton", "CopyButton", "RefreshButton"} +
        boxes(TabRun::AfterRefresh) + QStringList{"AboutButton", "TranslateButton", "OpenButton"};
    QCOMPARE(visited, expected);
    QVERIFY(fixture().commandsText().isEmpty()); // Tab moved on from the output box and typed nothing
}

void MainFormTest::statusBarShowsTheHintUnderThePointer_data() {
    controlsStandWhereTheLayoutPutsThem_data();
}

void MainFormTest::statusBarShowsTheHintUnderThePointer() {
    QFETCH(QString, name);
    QFETCH(QString, status);
    TMainForm& form = start();
    const auto* statusLabel = control<QLabel>("StatusLabel");
    const QPoint background(420, 80);
    // Every move goes from a control with a hint to the control under test, so
    // a control without one must put the default text back.
    QTest::mouseMove(&form, control<QWidget>("ClearCheckBox")->geometry().center());
    QTest::mouseMove(&form, control<QWidget>("AboutButton")->geometry().center());
    QCOMPARE(statusLabel->text(), QStringLiteral("Information about TAVU"));
    QTest::mouseMove(&form, control<QWidget>(qPrintable(name))->geometry().center());
    QCOMPARE(statusLabel->text(), status);
    QTest::mouseMove(&form, background);
    QCOMPARE(statusLabel->text(), QString::fromUtf8(kDefaultStatusText));
    QCOMPARE(statusLabel->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);
}

void MainFormTest::longHintIsTheTextAfterTheFirstBar() {
    TMainForm& form = start();
    auto* button = control<QWidget>("CopyButton");
    button->setStatusTip(QStringLiteral("Short|Long part|with a bar"));
    QTest::mouseMove(&form, button->geometry().center());
    QCOMPARE(control<QLabel>("StatusLabel")->text(), QStringLiteral("Long part|with a bar"));
}

void MainFormTest::statusBarSaysWhoseMenuTheOutputIs() {
    TMainForm& form = start();
    const auto* statusLabel = control<QLabel>("StatusLabel");
    const QString of = QStringLiteral("The output is the menu of ") + kExampleNames[1];
    fixture().createCommands(1);
    // A hint shows over it, and the pointer off the controls brings it back.
    QTest::mouseMove(&form, control<QWidget>("AboutButton")->geometry().center());
    QCOMPARE(statusLabel->text(), QStringLiteral("Information about TAVU"));
    QTest::mouseMove(&form, QPoint(420, 80));
    QCOMPARE(statusLabel->text(), of);
    fixture().choose(0);
    QCOMPARE(statusLabel->text(), of + "; press Create commands for " + kExampleNames[0]);
    fixture().open(kExample);
    QCOMPARE(statusLabel->text(), of + "; choose a profile and press Create commands");
    // The same profile of a file read again may be another.
    fixture().choose(1);
    QCOMPARE(statusLabel->text(), of + "; press Create commands for " + kExampleNames[1]);
    control<QPlainTextEdit>("CommandsMemo")->clear();
    QCOMPARE(statusLabel->text(), QString::fromUtf8(kDefaultStatusText));
}

// --- Buttons ---

void MainFormTest::createRefusedWithoutChosenProfile_data() {
    QTest::addColumn<bool>("openFirst");
    QTest::addColumn<bool>("refreshAfterChoosing");
    QTest::newRow("before any Open") << false << false;
    QTest::newRow("right after Open") << true << false;
    QTest::newRow("after Refresh of a chosen profile") << true << true;
}

void MainFormTest::createRefusedWithoutChosenProfile() {
    QFETCH(bool, openFirst);
    QFETCH(bool, refreshAfterChoosing);
    start();
    typeCommands(QStringLiteral("$old|"));
    if (openFirst) {
        fixture().open(kExample);
        QCOMPARE(comboItems(control<QComboBox>("ProfileComboBox")), kExampleNames);
        QCOMPARE(control<QComboBox>("ProfileComboBox")->currentIndex(), -1);
    }
    if (refreshAfterChoosing) {
        fixture().choose(1);
        click("RefreshButton");
        QCOMPARE(control<QComboBox>("ProfileComboBox")->currentIndex(), -1);
    }
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("CreateButton");
    expectError("I'm not a mindreader. First of all choose a profile.");
    QCOMPARE(fixture().commandsText(), QStringLiteral("$old|"));
}

void MainFormTest::createWritesTheCoresOutput_data() {
    QTest::addColumn<int>("profile");
    QTest::addColumn<QStringList>("toggledBoxes");
    QTest::newRow("Owner, options as they start") << 0 << QStringList{};
    QTest::newRow("Operator, Offsets on, Clear off") << 1 << QStringList{"OffsetsCheckBox", "ClearCheckBox"};
    QTest::newRow("Regular, only User control and Clear")
        << 2 << QStringList{"MenuMiscellaneousCheckBox", "MenuInformationCheckBox", "MenuHubControlCheckBox",
                            "MenuAccountsCheckBox",      "MessageCheckBox",         "AnyUserCheckBox"};
}

void MainFormTest::createWritesTheCoresOutput() {
    QFETCH(int, profile);
    QFETCH(QStringList, toggledBoxes);
    // A translated word shows that Create takes the Translator's vocabulary.
    fixture().write(QStringLiteral("TAVU.ini"), "[Strings]\nwHubControl=Hubkontroll\nwUser=Nutzer\n");
    start();
    typeCommands(QStringLiteral("$old|"));
    for (const QString& box : toggledBoxes) {
        click(qPrintable(box));
    }
    fixture().open(kExample);
    fixture().choose(profile);
    click("CreateButton");
    QCOMPARE(MessageBox::takeLastShown().has_value(), false);

    const std::string expected = coreOutput(kExample, profile, toggled(toggledBoxes), fixture().iniPath());
    QVERIFY(expected.find("Hubkontroll") != std::string::npos || profile == 2);
    QCOMPARE(fixture().commandsText().toStdString(), expected);
    // The copy is byte for byte the core's, no-break spaces included.
    click("CopyButton");
    QCOMPARE(QGuiApplication::clipboard()->text().toStdString(), expected);
}

void MainFormTest::createReportsWhereTheGenerationStopped() {
    const QString file = fixture().write(
        QStringLiteral("broken/profiles.xml"),
        "<Profiles><Profile><Name>Broken</Name><General>"
        "<ProfileSettings><MayUseHubCommands enable=\"true\"/></ProfileSettings>"
        "<Information><MayShowHubInfo enable=\"true\"/><MayShowUserInfo>lots</MayShowUserInfo>"
        "</Information></General></Profile></Profiles>");
    start();
    fixture().open(file);
    fixture().choose(0);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("CreateButton");

    Vocabulary vocabulary;
    const auto loaded = ProfilesDocument::load(file.toStdString());
    const Generation expected =
        CreateUserCommands(loaded->profile(0), GenerationOptions{}, vocabulary, todayText());
    QVERIFY(expected.stop.has_value());
    QVERIFY(!expected.text.empty());
    QCOMPARE(fixture().commandsText().toStdString(), expected.text);
    const QString description = QString::fromStdString(expected.stop->description());
    QVERIFY(description.contains("General/Information/MayShowUserInfo") && description.contains("lots"));
    expectError(description);
}

void MainFormTest::createWarnsOfAMenuClientsWouldMisread() {
    // A "]" in a prompt's title ends the prompt early; the settings file is the
    // operator's own, so the word is taken and the block still shown.
    fixture().write(QStringLiteral("TAVU.ini"), "[Strings]\nwIp=I]P\n");
    start();
    fixture().open(kExample);
    fixture().choose(0);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("CreateButton");

    QVERIFY(fixture().commandsText().contains(QStringLiteral("%[line:I]P]")));
    const auto shown = MessageBox::takeLastShown();
    QVERIFY(shown.has_value());
    QCOMPARE(shown->caption, QStringLiteral("Error"));
    QVERIFY(shown->text.startsWith(QStringLiteral("The menu holds ")));
    QVERIFY(shown->text.contains(QStringLiteral("the prompt \"I\" is followed by \"P]\"")));
    // Each error names the word that causes it, next to its piece and line.
    QVERIFY2(shown->text.contains(QStringLiteral(" command (the word wIp, \"IP\" in the Translator)\n")),
             qPrintable(shown->text));
    QVERIFY(shown->text.contains(QStringLiteral("Menu preview (Ctrl+M)")));
}

void MainFormTest::copyRefusesOnlyAnEmptyOutput_data() {
    QTest::addColumn<QString>("output");
    QTest::newRow("empty") << QString();
    QTest::newRow("spaces only") << QStringLiteral("   ");
}

void MainFormTest::copyRefusesOnlyAnEmptyOutput() {
    QFETCH(QString, output);
    start();
    QGuiApplication::clipboard()->setText(QStringLiteral("held before"));
    typeCommands(output);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("CopyButton");
    if (output.isEmpty()) {
        expectError("Why should I fill clipboard with nothing?");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("held before"));
    } else {
        QCOMPARE(lastErrorBox(), QStringLiteral("(none)"));
        QCOMPARE(QGuiApplication::clipboard()->text(), output);
    }
}

void MainFormTest::editNeedsOutputBeginningWithDollar_data() {
    QTest::addColumn<QString>("output");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("bot message only") << QStringLiteral("<<Hub-Security>> Installed|") << false;
    QTest::newRow("command after a space") << QStringLiteral(" $UserCommand 255 3|") << false;
    QTest::newRow("typed by the operator") << QStringLiteral("$anything") << true;
}

void MainFormTest::editNeedsOutputBeginningWithDollar() {
    QFETCH(QString, output);
    QFETCH(bool, accepted);
    TMainForm& form = start();
    typeCommands(output);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("EditButton");
    if (accepted) {
        QCOMPARE(lastErrorBox(), QStringLiteral("(none)"));
    } else {
        expectError(
            "I think you should create some commands first. Or would you like to edit an empty window?");
    }
    QCOMPARE(fixture().windows().form<TEditForm>().isVisible(), accepted);
    QCOMPARE(form.isEnabled(), !accepted);
}

void MainFormTest::secondaryWindowDisablesTheMainWindowUntilClosed_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("caption");
    QTest::newRow("Translate") << QStringLiteral("TranslateButton") << QStringLiteral("TAVU Translator");
    QTest::newRow("About") << QStringLiteral("AboutButton") << QStringLiteral("About");
    QTest::newRow("Edit") << QStringLiteral("EditButton") << QStringLiteral("TAVU Easy Editor");
}

void MainFormTest::secondaryWindowDisablesTheMainWindowUntilClosed() {
    QFETCH(QString, button);
    QFETCH(QString, caption);
    TMainForm& form = start();
    typeCommands(QStringLiteral("$x|"));
    click(qPrintable(button));
    QVERIFY(!form.isEnabled());
    QWidget* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window != &form) {
            shown = window;
        }
    }
    QVERIFY(shown != nullptr && shown != &form);
    QCOMPARE(shown->windowTitle(), caption);
    QVERIFY(shown->close());
    QVERIFY(form.isEnabled());
    QVERIFY(!shown->isVisible());
}

void MainFormTest::commandsMemoTakesNoLineBreakAndStaysResponsive() {
    start();
    auto* memo = control<QPlainTextEdit>("CommandsMemo");
    QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!memo->isReadOnly());
    typeCommands(QStringLiteral("$a"));
    QTest::keyClick(memo, Qt::Key_Return);
    QTest::keyClick(memo, Qt::Key_Enter, Qt::KeypadModifier);
    QTest::keyClick(memo, Qt::Key_Return, Qt::ShiftModifier);
    typeCommands(QStringLiteral("b|"));
    QCOMPARE(fixture().commandsText(), QStringLiteral("$ab|"));

    // A pasted line ten times as long as the longest generated output, then typing at its end.
    const QString longText =
        QStringLiteral("$UserCommand 1 3 Menu\\Item$<%[mynick]> .cmd&#124;|").repeated(10000);
    QGuiApplication::clipboard()->setText(longText);
    QElapsedTimer timer;
    timer.start();
    QTest::keyClick(memo, Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    typeCommands(QStringLiteral("x"));
    QCoreApplication::processEvents();
    QVERIFY2(timer.elapsed() < 3000, qPrintable(QString::number(timer.elapsed()) + " ms"));
    QCOMPARE(fixture().commandsText().size(), 5 + longText.size());
}

// --- Open and Refresh ---

void MainFormTest::refreshBeforeOpenIsRefused() {
    // A file remembered from the last run is only where the dialog starts.
    fixture().write(QStringLiteral("TAVU.ini"), "[Settings]\nsFile=" + kExample.toUtf8() + "\n");
    start();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("RefreshButton");
    expectError("How can I refresh a file that has not been opened yet?");
    QCOMPARE(control<QComboBox>("ProfileComboBox")->count(), 0);
    QVERIFY(!FileDialog::takeLastRequest().has_value());
}

void MainFormTest::refreshReloadsTheFileWithoutDialog() {
    const QString file = fixture().write(QStringLiteral("hub/profiles.xml"),
                                         "<Profiles><Profile><Name>First</Name></Profile></Profiles>");
    start();
    fixture().open(file);
    FileDialog::takeLastRequest();
    fixture().choose(0);
    fixture().write(
        QStringLiteral("hub/profiles.xml"),
        "<Profiles><Profile><Name>Master</Name></Profile><Profile><Name>Guest</Name></Profile></Profiles>");
    click("RefreshButton");
    QVERIFY(!FileDialog::takeLastRequest().has_value());
    QCOMPARE(comboItems(control<QComboBox>("ProfileComboBox")), (QStringList{"Master", "Guest"}));
    QCOMPARE(control<QComboBox>("ProfileComboBox")->currentIndex(), -1);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    click("CreateButton");
    expectError("I'm not a mindreader. First of all choose a profile.");
}

void MainFormTest::openDialogAsksForAnExistingProfilesXml() {
    fixture().write(QStringLiteral("TAVU.ini"), "[Settings]\nsFile=" + kExample.toUtf8() + "\n");
    start();
    QString caption;
    QStringList filters;
    QStringList selected;
    bool existingOnly = false;
    bool hidesDetails = false;
    FileDialog::showUnanswered();
    QTimer::singleShot(0, this, [&] {
        if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
            caption = dialog->windowTitle();
            filters = dialog->nameFilters();
            selected = dialog->selectedFiles();
            existingOnly = dialog->fileMode() == QFileDialog::ExistingFile;
            hidesDetails = dialog->testOption(QFileDialog::HideNameFilterDetails);
            static_cast<QDialog*>(dialog)->accept(); // as the Open button would
        }
    });
    click("OpenButton");
    QCOMPARE(caption, QStringLiteral("Open profiles.xml"));
    QCOMPARE(filters, QStringList{"profiles.xml (profiles.xml)"});
    QCOMPARE(selected, QStringList{kExample});
    QVERIFY(existingOnly);
    QVERIFY(hidesDetails);
    QCOMPARE(comboItems(control<QComboBox>("ProfileComboBox")), kExampleNames);
}

void MainFormTest::openCancelledChangesNothing() {
    start();
    fixture().open(kExample);
    fixture().choose(2);
    fixture().open(QString());
    QCOMPARE(control<QComboBox>("ProfileComboBox")->currentIndex(), 2);
    click("CreateButton");
    QCOMPARE(fixture().commandsText().toStdString(),
             coreOutput(kExample, 2, GenerationOptions{}, fixture().iniPath()));
}

void MainFormTest::unloadableFileKeepsTheOldListAndChoice_data() {
    QTest::addColumn<bool>("byRefresh");
    QTest::addColumn<QByteArray>("content"); // empty: the file is gone
    QTest::newRow("Open: not well-formed") << false << QByteArray("<Profiles><Profile>");
    QTest::newRow("Open: root is not Profiles") << false << QByteArray("<Hub><Profile/></Hub>");
    QTest::newRow("Open: second profile has no Name")
        << false << QByteArray("<Profiles><Profile><Name>A</Name></Profile><Profile/></Profiles>");
    QTest::newRow("Refresh: file removed") << true << QByteArray();
    QTest::newRow("Refresh: not well-formed") << true << QByteArray("<Profiles>");
}

void MainFormTest::unloadableFileKeepsTheOldListAndChoice() {
    QFETCH(bool, byRefresh);
    QFETCH(QByteArray, content);
    QFile::copy(kExample, fixture().filePath(QStringLiteral("profiles.xml")));
    const QString good = fixture().filePath(QStringLiteral("profiles.xml"));
    const QString bad = byRefresh ? good : fixture().filePath(QStringLiteral("bad/profiles.xml"));
    start();
    fixture().open(good);
    fixture().choose(1);

    if (content.isEmpty()) {
        QVERIFY(QFile::remove(bad));
    } else {
        fixture().write(QDir(QFileInfo(fixture().iniPath()).path()).relativeFilePath(bad), content);
    }
    MessageBox::setNextAnswer(QMessageBox::Ok);
    if (byRefresh) {
        click("RefreshButton");
    } else {
        fixture().open(bad);
    }
    const QString box = lastErrorBox();
    QVERIFY2(box.startsWith(kTitle + ": ") && box.size() > kTitle.size() + 2, qPrintable(box));

    QCOMPARE(comboItems(control<QComboBox>("ProfileComboBox")), kExampleNames);
    QCOMPARE(control<QComboBox>("ProfileComboBox")->currentIndex(), 1);
    click("CreateButton");
    QCOMPARE(fixture().commandsText().toStdString(),
             coreOutput(kExample, 1, GenerationOptions{}, fixture().iniPath()));
}

// What opening a file leaves: the list, every box shown, the file remembered.
QStringList afterOpening(WindowsFixture& fixture) {
    QStringList state = comboItems(
        WindowsFixture::find<QComboBox>(fixture.windows().mainForm(), QStringLiteral("ProfileComboBox")));
    for (const MessageBox::Shown& box : MessageBox::takeAllShown()) {
        state << box.caption + ": " + box.text;
    }
    return state << QString::fromStdString(fixture.session().settings().file);
}

void MainFormTest::commandLineFileOpensAsWithTheOpenButton_data() {
    QTest::addColumn<QByteArray>("content"); // null: there is no such file
    QTest::newRow("profiles") << QByteArray("<Profiles><Profile><Name>A</Name></Profile></Profiles>");
    QTest::newRow("not well-formed") << QByteArray("<Profiles><Profile>");
    QTest::newRow("missing") << QByteArray();
}

void MainFormTest::commandLineFileOpensAsWithTheOpenButton() {
    QFETCH(QByteArray, content);
    const QString name = QStringLiteral("hub/profiles.xml");
    const QString path = content.isNull() ? fixture().filePath(name) : fixture().write(name, content);
    start();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    fixture().open(path);
    const QStringList byButton = afterOpening(fixture());
    QCOMPARE(byButton.back(), path);

    // Named relative to the working folder, and still remembered in full.
    const auto back = qScopeGuard([folder = QDir::currentPath()] { QDir::setCurrent(folder); });
    QVERIFY(QDir::setCurrent(QFileInfo(fixture().iniPath()).path()));
    MessageBox::forget();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    fixture().start({name});
    QCOMPARE(afterOpening(fixture()), byButton);
}

void MainFormTest::commandLineTakesOneFileAtMost() {
    MessageBox::setNextAnswer(QMessageBox::Ok);
    fixture().start({kExample, kExample});
    QCOMPARE(afterOpening(fixture()), (QStringList{"Error: Usage: tavu [profiles.xml]", QString()}));
}

void MainFormTest::commandLineOptionsAskForNoWindow_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("read"); // the action, then the files or the option not known
    QTest::newRow("help after a file") << QStringList{"a.xml", "--help"} << "help";
    QTest::newRow("version") << QStringList{"--version"} << "version";
    QTest::newRow("short unknown") << QStringList{"-x", "a.xml"} << "usage -x";
    QTest::newRow("long unknown") << QStringList{"--foo"} << "usage --foo";
    QTest::newRow("help after --") << QStringList{"--", "--help"} << "run --help";
    QTest::newRow("- alone") << QStringList{"-"} << "run -";
}

void MainFormTest::commandLineOptionsAskForNoWindow() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, read);
    const ProgramArguments got = readProgramArguments(arguments);
    const auto action = static_cast<std::size_t>(got.action);
    const bool usage = got.action == ProgramArguments::Action::UsageError;
    const QStringList detail = usage ? QStringList{got.unknownOption} : got.files;
    QCOMPARE((QStringList{std::array{"run", "help", "version", "usage"}[action]} + detail).join(' '), read);
    QCOMPARE(answerOnTerminal(got).value_or(-1), (std::array{-1, 0, 0, 2}[action]));
}

// --- Settings ---

void MainFormTest::optionsAndFileNameSurviveARestart() {
    fixture().write(QStringLiteral("TAVU.ini"), "[Settings]\nsUnknown=7\nsClear=1\n[Other]\nkept=yes\n");
    TMainForm& first = start();
    QSignalSpy closed(&first, &TMainForm::FormClosed);
    click("OffsetsCheckBox");
    click("ClearCheckBox");
    click("MenuAccountsCheckBox");
    fixture().open(kExample);
    QVERIFY(first.close());
    QCOMPARE(closed.count(), 1);

    QFile ini(fixture().iniPath());
    QVERIFY(ini.open(QIODevice::ReadOnly));
    const QString saved = QString::fromUtf8(ini.readAll());
    QVERIFY2(saved.contains("[Settings]\nsFile=" + kExample +
                            "\nsAnyUser=1\nsSelectedUser=1\nsFastUserControl=1\nsOffsets=1\n"
                            "sMenuMiscellaneous=1\nsMenuInformation=1\nsMenuHubControl=1\nsMenuAccounts=0\n"
                            "sMenuUserControl=1\nsClear=0\nsMessage=1\n"),
             qPrintable(saved));
    QVERIFY(!saved.contains("sUnknown"));
    QVERIFY(saved.contains("kept=yes"));
    QVERIFY(saved.indexOf("[Settings]") < saved.indexOf("[Strings]"));

    start();
    for (const OptionBoxLook& box : optionBoxLooks()) {
        const bool changed = QStringList{"OffsetsCheckBox", "ClearCheckBox", "MenuAccountsCheckBox"}.contains(
            QLatin1String(box.name));
        QCOMPARE(control<QCheckBox>(box.name)->isChecked(), GenerationOptions{}.*box.option != changed);
    }
    fixture().open(QString());
    const auto request = FileDialog::takeLastRequest();
    QVERIFY(request.has_value());
    QCOMPARE(request->startFile, kExample);
    QCOMPARE(request->caption, QStringLiteral("Open profiles.xml"));
    QCOMPARE(request->filter, QStringLiteral("profiles.xml (profiles.xml)"));
}

void MainFormTest::failedSaveKeepsTheWindowOpen() {
    // A regular file where the settings folder should be: no one can write there.
    fixture().write(QStringLiteral("blocker"), "x");
    const QString ini = fixture().filePath(QStringLiteral("blocker/TAVU.ini"));
    qputenv("TAVU_INI", ini.toLocal8Bit());
    TMainForm& form = start();
    QSignalSpy closed(&form, &TMainForm::FormClosed);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::setNextAnswer(QMessageBox::No);
    QVERIFY(!form.close());
    const auto boxes = MessageBox::takeAllShown();
    QCOMPARE(boxes.size(), 2u);
    QCOMPARE(boxes[0].caption + ": " + boxes[0].text,
             kTitle + ": Unable to write to " + ini + "\nNot a directory.");
    QCOMPARE(boxes[1].caption + ": " + boxes[1].text, QStringLiteral("Confirm: Close without saving?"));
    QVERIFY(form.isVisible());
    QCOMPARE(closed.count(), 0);

    // Given up, the save leaves the program without touching anything.
    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(form.close());
    QCOMPARE(closed.count(), 1);
    QFile blocker(fixture().filePath(QStringLiteral("blocker")));
    QVERIFY(blocker.open(QIODevice::ReadOnly));
    QCOMPARE(blocker.readAll(), QByteArray("x"));
}

void MainFormTest::failedSaveLeavesBothSectionsAsTheyWere() {
    const QByteArray before = "[Settings]\nsClear=0\n[Strings]\nwNick=Old\n";
    fixture().write(QStringLiteral("TAVU.ini"), before);
    const QString ini = fixture().filePath(QStringLiteral("TAVU.ini"));
    QFile::setPermissions(ini, QFileDevice::ReadOwner);
    qputenv("TAVU_INI", ini.toLocal8Bit());
    TMainForm& form = start();
    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::setNextAnswer(QMessageBox::No);
    QVERIFY(!form.close());
    QFile file(ini);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void MainFormTest::unreadableSettingsAreReportedOnceAndNeverOverwritten() {
    // A FIFO would block a plain read forever; it is refused at once.
    const QString ini = fixture().filePath(QStringLiteral("TAVU.ini"));
    QVERIFY(::mkfifo(ini.toLocal8Bit().constData(), 0600) == 0);
    qputenv("TAVU_INI", ini.toLocal8Bit());
    MessageBox::setNextAnswer(QMessageBox::Ok);
    TMainForm& form = start();
    QCOMPARE(lastErrorBox(),
             kTitle + ": " + ini +
                 " is not a regular file.\n\nThe options and words are at their defaults, and the "
                 "file is not overwritten when the program closes.");
    QVERIFY(control<QCheckBox>("ClearCheckBox")->isChecked());
    MessageBox::setNextAnswer(QMessageBox::Ok);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    QVERIFY(form.close());
    QVERIFY(QFileInfo(ini).isFile() == false && QFileInfo::exists(ini));
}

// --- Message boxes ---

void MainFormTest::errorBoxHasErrorIconCaptionAndOneOkButton() {
    start();
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QMessageBox::StandardButtons buttons;
    MessageBox::showUnanswered();
    QTimer::singleShot(0, this, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            icon = box->icon();
            caption = box->windowTitle();
            buttons = box->standardButtons();
            box->button(QMessageBox::Ok)->click();
        }
    });
    click("CreateButton");
    QCOMPARE(icon, QMessageBox::Critical);
    QCOMPARE(caption, QStringLiteral("Error"));
    QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

void MainFormTest::uncaughtErrorGoesToTheStandardErrorBox() {
    start();
    Thrower thrower;
    QEvent event(QEvent::User);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    QCOMPARE(QCoreApplication::sendEvent(&thrower, &event), false);
    QCOMPARE(lastErrorBox(), kTitle + ": The disk is on fire.");
}

void MainFormTest::standardErrorTextEndsWithAFullStop_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ends in a letter") << "Not found"
                                      << "Not found.";
    QTest::newRow("ends in a digit") << "Error 5"
                                     << "Error 5.";
    QTest::newRow("ends in a full stop") << "Done."
                                         << "Done.";
    QTest::newRow("ends in an exclamation mark") << "Stop!"
                                                 << "Stop!";
    QTest::newRow("ends in a bracket") << "(null)"
                                       << "(null)";
    QTest::newRow("empty") << ""
                           << "";
}

void MainFormTest::standardErrorTextEndsWithAFullStop() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QCOMPARE(withFullStop(text), shown);
}

// --- Screenshot ---

void MainFormTest::grabShowsTheWholeWindow() {
    start();
    fixture().open(kExample);
    fixture().choose(1);
    click("CreateButton");
    QTest::mouseMove(&mainForm(), control<QWidget>("CreateButton")->geometry().center());
    const QPixmap picture = mainForm().grab();
    QCOMPARE(picture.deviceIndependentSize().toSize(), QSize(441, 449));
    // scripts write the picture into docs/ with TAVU_SCREENSHOT set
    if (const QString path = qEnvironmentVariable("TAVU_SCREENSHOT"); !path.isEmpty()) {
        QVERIFY(picture.save(path));
    }
}

} // namespace tavu
