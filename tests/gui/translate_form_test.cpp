#include "windows_fixture.h"

#include "file_dialog.h"
#include "main_form.h"
#include "message_box.h"
#include "settings/settings_file.h"
#include "translate_form.h"
#include "vocabulary/language_files.h"
#include "vocabulary/vocabulary.h"
#include "word_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include <algorithm>

namespace tavu {

namespace {

const QString kNoBreakSpace(QChar(0xA0));

QString fieldName(Word word) {
    return QString::fromLatin1(wordKey(word)) + QStringLiteral("Edit");
}

QString defaultOf(Word word) {
    return QString::fromStdString(std::string(defaultText(word)));
}

QString wordIn(const Vocabulary& vocabulary, Word word) {
    return QString::fromStdString(vocabulary.text(word));
}

Vocabulary savedVocabulary(const QString& ini) {
    Vocabulary vocabulary;
    readStringsSection(vocabulary, readSettingsFile(ini.toStdString()).value());
    return vocabulary;
}

// Replaces the field's whole text the way an operator does: select all, type.
void retype(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Delete);
    WindowsFixture::type(field, text);
}

void paste(QLineEdit* field, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
}

void drop(QLineEdit* field, const QString& text) {
    QMimeData data;
    data.setText(text);
    // At the right end, after the text.
    const QPointF at(field->width() - 2, field->height() / 2);
    QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the field: the application hands a drop only to the target of
    // a drag it runs itself.
    static_cast<QObject*>(field)->event(&dropped);
}

QAction* entry(const QMenu* menu, const QString& text) {
    const QList<QAction*> actions = menu != nullptr ? menu->actions() : QList<QAction*>();
    const auto found =
        std::find_if(actions.begin(), actions.end(), [&](auto* a) { return a->text() == text; });
    if (found == actions.end()) {
        qFatal("no menu entry %s", qPrintable(text));
    }
    return *found;
}

// Goes down the open context menu with the keyboard: a submenu, its entry.
void choose(const QStringList& entries) {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    for (const QString& text : entries) {
        QAction* action = entry(menu, text);
        menu->setActiveAction(action);
        QTest::keyClick(menu, action->menu() != nullptr ? Qt::Key_Right : Qt::Key_Return);
        menu = action->menu();
    }
}

} // namespace

class TranslateFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void fieldsStandInSixColumnsInCanonicalOrder();
    void tabVisitsTheFieldsInCanonicalOrderThenTheButton();
    void editIsUsedByTheNextCreateWithoutASaveAndSavedAtClose();
    void resetAsksFirst_data();
    void resetAsksFirst();
    void barAndDollarNeverGetIn_data();
    void barAndDollarNeverGetIn();
    void everyFieldFiltersAlike();
    void typedBarOrDollarKeepsTheUndoHistory();
    void itemPrefixSpaceBecomesANoBreakSpaceOnClose();
    void emptiedWordStaysEmptyAndIsSavedEmpty();
    void everyFieldHintsItsKeyAndDefault();
    void toolTipAddsTheWholeTextOnceItDiffers_data();
    void toolTipAddsTheWholeTextOnceItDiffers();
    void contextMenuOffersTheLanguages_data();
    void contextMenuOffersTheLanguages();
    void loadingALanguageAsksFirst();
    void importRefusesAFileWithoutWordsBeforeAsking();
    void importRefusesAFileThatSmugglesACommand();
    void exportedWordsImportAsTheyWere();
    void exportReplacesALinkNotItsTarget();

private:
    TTranslateForm& openTranslator();
    QLineEdit* field(Word word);
    bool fieldsShow(const Vocabulary& vocabulary);
    // Opens the Translator's context menu with Shift+F10 and chooses `entries`.
    void useContextMenu(const QStringList& entries);
    // Imports `file` over words of the operator's own; returns those words.
    Vocabulary importOverOwnWords(const QString& file);
};

TTranslateForm& TranslateFormTest::openTranslator() {
    return show<TTranslateForm>("TranslateButton");
}

QLineEdit* TranslateFormTest::field(Word word) {
    return WindowsFixture::find<QLineEdit>(fixture().windows().form<TTranslateForm>(), fieldName(word));
}

bool TranslateFormTest::fieldsShow(const Vocabulary& vocabulary) {
    for (std::size_t i = 0; i < kWordCount; ++i) {
        if (field(static_cast<Word>(i))->text() != wordIn(vocabulary, static_cast<Word>(i))) {
            return false;
        }
    }
    return true;
}

void TranslateFormTest::fieldsStandInSixColumnsInCanonicalOrder() {
    start();
    const TTranslateForm& form = fixture().windows().form<TTranslateForm>();
    for (std::size_t n = 0; n < kWordCount; ++n) {
        const auto word = static_cast<Word>(n);
        QCOMPARE(field(word)->geometry(), wordFieldGeometry(word));
        QCOMPARE(field(word)->text(), defaultOf(word));
        QVERIFY(form.rect().contains(field(word)->geometry()));
        for (std::size_t other = 0; other < n; ++other) {
            QVERIFY(!field(word)->geometry().intersects(field(static_cast<Word>(other))->geometry()));
        }
    }
    QCOMPARE(field(Word::wStartWith)->text(), ".::" + kNoBreakSpace);
    const auto* prefixLabel = WindowsFixture::find<QLabel>(form, QStringLiteral("wStartWithLabel"));
    const auto* botLabel = WindowsFixture::find<QLabel>(form, QStringLiteral("wBotMessageLabel"));
    const auto* reset = WindowsFixture::find<QPushButton>(form, QStringLiteral("ResetButton"));
    // The grid's last field, the item prefix's and the bot message's stand in one
    // column; the grid keeps one margin on the left and, through the Reset button
    // at its foot, on the right; its first column's lowest field stands level
    // with the button.
    QCOMPARE(field(Word::wWorkpace)->x(), field(Word::wBotMessage)->x());
    QCOMPARE(form.width() - 1 - reset->geometry().right(), field(Word::w0Coma)->x());
    QCOMPARE(field(static_cast<Word>(23))->geometry().bottom(), reset->geometry().bottom());
    QCOMPARE(prefixLabel->text(), QStringLiteral("Items starts with:"));
    QCOMPARE(prefixLabel->pos(), field(Word::wStartWith)->pos() - QPoint(0, 16));
    QCOMPARE(botLabel->text(), QStringLiteral("Bot message:"));
    QCOMPARE(botLabel->pos(), field(Word::wBotMessage)->pos() - QPoint(0, 16));
    QCOMPARE(reset->text(), QStringLiteral("Reset defaults"));
    QCOMPARE(reset->geometry(), field(Word::wBotMessage)->geometry().translated(0, 72));
    for (const QWidget* control : std::initializer_list<const QWidget*>{prefixLabel, botLabel, reset}) {
        QVERIFY2(control->fontMetrics().horizontalAdvance(control->property("text").toString()) <=
                     control->width() - (control == reset ? 8 : 0),
                 "caption clipped");
    }
}

void TranslateFormTest::tabVisitsTheFieldsInCanonicalOrderThenTheButton() {
    start();
    TTranslateForm& form = openTranslator();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    field(Word::w0Coma)->setFocus();
    for (std::size_t i = 1; i < kWordCount; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), fieldName(static_cast<Word>(i)));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("ResetButton"));
}

void TranslateFormTest::editIsUsedByTheNextCreateWithoutASaveAndSavedAtClose() {
    start();
    fixture().createCommands(1);
    // A menu path element: the item prefix, the word, the separator.
    const QString kick = kNoBreakSpace + QStringLiteral("Kick\\");
    const QString translated = kNoBreakSpace + QStringLiteral("Выгнать\\");
    const QString before = fixture().commandsText();
    QVERIFY(before.contains(kick));

    TTranslateForm& form = openTranslator();
    retype(field(Word::wKick), QStringLiteral("Выгнать"));
    // The generator reads the fields' store as it is, even with the window open.
    QCOMPARE(wordIn(fixture().session().vocabulary(), Word::wKick), QStringLiteral("Выгнать"));
    QVERIFY(form.close());
    click("CreateButton");
    const QString after = fixture().commandsText();
    QVERIFY(!after.contains(kick));
    QCOMPARE(after.count(translated), before.count(kick));
    QCOMPARE(wordIn(savedVocabulary(fixture().iniPath()), Word::wKick), QStringLiteral("Kick"));

    QVERIFY(mainForm().close());
    QCOMPARE(wordIn(savedVocabulary(fixture().iniPath()), Word::wKick), QStringLiteral("Выгнать"));
}

void TranslateFormTest::resetAsksFirst_data() {
    QTest::addColumn<QMessageBox::StandardButton>("answer");
    QTest::newRow("No") << QMessageBox::No;
    QTest::newRow("Yes") << QMessageBox::Yes;
    QTest::newRow("Enter in the box shown") << QMessageBox::NoButton;
}

void TranslateFormTest::resetAsksFirst() {
    QFETCH(QMessageBox::StandardButton, answer);
    fixture().writeIni("[Strings]\nwNick=Ник\nw0Coma=\n");
    start();
    TTranslateForm& form = openTranslator();
    retype(field(Word::wStartWith), QStringLiteral("> "));
    retype(field(Word::wBotMessage), QStringLiteral("Hi"));
    const Vocabulary edited = fixture().session().vocabulary();
    QCOMPARE(wordIn(edited, Word::wNick), QStringLiteral("Ник"));

    if (answer == QMessageBox::NoButton) {
        // Enter presses the default button, which must not wipe every word.
        MessageBox::showUnanswered();
        QTimer::singleShot(0, this,
                           [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); });
    } else {
        MessageBox::setNextAnswer(answer);
    }
    WindowsFixture::click(form, "ResetButton");
    QCOMPARE(MessageBox::takeLastShown().value_or(MessageBox::Shown{}).text,
             QStringLiteral("This will reset all fields to default english values. "
                            "Are you sure you want to do this?"));
    const Vocabulary expected = answer == QMessageBox::Yes ? Vocabulary() : edited;
    QVERIFY(fixture().session().vocabulary() == expected);
    QVERIFY(fieldsShow(expected));
}

void TranslateFormTest::barAndDollarNeverGetIn_data() {
    QTest::addColumn<QByteArray>("stored"); // the word as the settings file holds it
    QTest::addColumn<int>("cursor");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("cursorAfter");

    QTest::newRow("typed") << QByteArray() << 0 << "type"
                           << "a$b|c"
                           << "abc" << 3;
    QTest::newRow("typed into a stored bar") << QByteArray("x|y") << 2 << "type"
                                             << "$|z"
                                             << "x|zy" << 3;
    QTest::newRow("pasted") << QByteArray() << 0 << "paste"
                            << "$x|y$"
                            << "xy" << 2;
    QTest::newRow("pasted between stored ones") << QByteArray("a|b$c") << 2 << "paste"
                                                << "1$2|"
                                                << "a|12b$c" << 4;
    QTest::newRow("pasted only rejected") << QByteArray("ab") << 1 << "paste"
                                          << "|$"
                                          << "ab" << 1;
    QTest::newRow("pasted beside the same character") << QByteArray("a|") << 2 << "paste"
                                                      << "||"
                                                      << "a|" << 2;
    QTest::newRow("dropped") << QByteArray() << 0 << "drop"
                             << "d$r|op"
                             << "drop" << 4;
}

void TranslateFormTest::barAndDollarNeverGetIn() {
    QFETCH(QByteArray, stored);
    QFETCH(int, cursor);
    QFETCH(QString, how);
    QFETCH(QString, input);
    QFETCH(QString, shown);
    QFETCH(int, cursorAfter);
    fixture().writeIni("[Strings]\nwNick=" + stored + "\n");
    start();
    openTranslator();
    QLineEdit* nick = field(Word::wNick);
    // A stored word keeps its "|" and "$": only what the operator puts in is filtered.
    QCOMPARE(nick->text(), QString::fromUtf8(stored));
    nick->setFocus();
    nick->setCursorPosition(cursor);
    if (how == QLatin1String("type")) {
        WindowsFixture::type(nick, input);
    } else if (how == QLatin1String("paste")) {
        paste(nick, input);
    } else {
        drop(nick, input);
    }
    QCOMPARE(nick->text(), shown);
    QCOMPARE(nick->cursorPosition(), cursorAfter);
    QCOMPARE(wordIn(fixture().session().vocabulary(), Word::wNick), shown);
}

void TranslateFormTest::everyFieldFiltersAlike() {
    start();
    openTranslator();
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        retype(field(word), QStringLiteral("$é|"));
        paste(field(word), QStringLiteral("|w$"));
        QCOMPARE(field(word)->text(), QStringLiteral("éw"));
        QCOMPARE(wordIn(fixture().session().vocabulary(), word), QStringLiteral("éw"));
    }
}

void TranslateFormTest::typedBarOrDollarKeepsTheUndoHistory() {
    start();
    openTranslator();
    QLineEdit* nick = field(Word::wNick);
    retype(nick, QStringLiteral("ab"));
    WindowsFixture::type(nick, QStringLiteral("$|"));
    QVERIFY(nick->isUndoAvailable());
    nick->undo();
    QVERIFY(nick->text() != QStringLiteral("ab"));
}

void TranslateFormTest::itemPrefixSpaceBecomesANoBreakSpaceOnClose() {
    start();
    TTranslateForm& form = openTranslator();
    retype(field(Word::wStartWith), QStringLiteral("- > "));
    retype(field(Word::wNick), QStringLiteral("Nick name"));
    QCOMPARE(field(Word::wStartWith)->text(), QStringLiteral("- > "));
    QCOMPARE(fixture().session().vocabulary().text(Word::wStartWith), "- > ");

    QVERIFY(form.close());
    QCOMPARE(fixture().session().vocabulary().text(Word::wStartWith), "-\xC2\xA0>\xC2\xA0");
    openTranslator();
    const QString normalised = "-" + kNoBreakSpace + ">" + kNoBreakSpace;
    QCOMPARE(field(Word::wStartWith)->text(), normalised);
    // Only the item prefix: clients trim nothing inside other words.
    QCOMPARE(field(Word::wNick)->text(), QStringLiteral("Nick name"));

    QVERIFY(form.close());
    QVERIFY(mainForm().close());
    QCOMPARE(wordIn(savedVocabulary(fixture().iniPath()), Word::wStartWith), normalised);
}

void TranslateFormTest::emptiedWordStaysEmptyAndIsSavedEmpty() {
    start();
    TTranslateForm& form = openTranslator();
    retype(field(Word::wKick), QString());
    QVERIFY(form.close());
    openTranslator();
    QCOMPARE(field(Word::wKick)->text(), QString());
    QVERIFY(form.close());
    QVERIFY(mainForm().close());
    QCOMPARE(wordIn(savedVocabulary(fixture().iniPath()), Word::wKick), QString());
    QCOMPARE(wordIn(savedVocabulary(fixture().iniPath()), Word::wBan), QStringLiteral("Ban"));
}

void TranslateFormTest::everyFieldHintsItsKeyAndDefault() {
    start();
    TTranslateForm& form = openTranslator();
    // Out from under the Translator: the offscreen platform lets the pointer
    // enter the window below as well.
    mainForm().move(2000, 2000);
    const auto* status = control<QLabel>("StatusLabel");
    const QPoint emptyFoot(700, 530); // below the last column's fields
    QTest::mouseMove(&form, emptyFoot);
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        const QString hint = QString::fromLatin1(wordKey(word)) + ": " + defaultOf(word);
        QCOMPARE(field(word)->toolTip(), hint);
        QTest::mouseMove(&form, field(word)->geometry().center());
        QCOMPARE(status->text(), hint);
    }
    QTest::mouseMove(&form, emptyFoot);
    QCOMPARE(status->text(), QString::fromUtf8(kDefaultStatusText));
}

void TranslateFormTest::toolTipAddsTheWholeTextOnceItDiffers_data() {
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("typed"); // retyped over the stored word unless null
    QTest::addColumn<QString>("tip");
    QTest::newRow("default") << QByteArray() << QString() << "wNick: Nick";
    QTest::newRow("stored translation") << QByteArray("Ник") << QString() << "wNick: Nick\nNow: \"Ник\"";
    QTest::newRow("typed back to the default") << QByteArray("Ник") << "Nick"
                                               << "wNick: Nick";
    QTest::newRow("typed markup") << QByteArray() << "<b>N</b>"
                                  << "wNick: Nick\nNow: \"<b>N</b>\"";
    QTest::newRow("stored ] in a prompt")
        << QByteArray("N]") << QString()
        << "wNick: Nick\nNow: \"N]\"\nBreaks the menu: \"]\" ends the prompt this word stands in early, and "
           "clients send the rest of the word with the command.";
}

void TranslateFormTest::toolTipAddsTheWholeTextOnceItDiffers() {
    QFETCH(QByteArray, stored);
    QFETCH(QString, typed);
    QFETCH(QString, tip);
    fixture().writeIni(stored.isNull() ? QByteArray() : "[Strings]\nwNick=" + stored + "\n");
    start();
    openTranslator();
    if (!typed.isNull()) {
        retype(field(Word::wNick), typed);
    }
    QCOMPARE(field(Word::wNick)->toolTip(), tip);
    QVERIFY(!Qt::mightBeRichText(tip)); // shown as it is, not as markup
    // Framed in red while it would break the menu: as typed, and only in a prompt.
    QCOMPARE(static_cast<WordEdit*>(field(Word::wNick))->problem().isEmpty(), !tip.contains("Breaks"));
    retype(field(Word::wKick), QStringLiteral("K]ick"));
    QVERIFY(static_cast<WordEdit*>(field(Word::wKick))->problem().isEmpty());
}

void TranslateFormTest::useContextMenu(const QStringList& entries) {
    QTest::keyClick(openTranslator().windowHandle(), Qt::Key_F10, Qt::ShiftModifier);
    choose(entries);
}

void TranslateFormTest::contextMenuOffersTheLanguages_data() {
    QTest::addColumn<QString>("where"); // the control with the focus for Shift+F10; none: a right click
    QTest::newRow("Shift+F10 on a field") << "wKickEdit";
    QTest::newRow("Shift+F10 on the button") << "ResetButton";
    QTest::newRow("right click beside the fields") << "";
}

void TranslateFormTest::contextMenuOffersTheLanguages() {
    QFETCH(QString, where);
    start();
    TTranslateForm& form = openTranslator();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    if (where.isEmpty()) {
        QTest::mouseClick(form.windowHandle(), Qt::RightButton, {}, QPoint(700, 530));
    } else {
        WindowsFixture::find<QWidget>(form, where)->setFocus();
        QTest::keyClick(form.focusWidget(), Qt::Key_F10, Qt::ShiftModifier);
    }
    const auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    const QList<QAction*> actions = menu != nullptr ? menu->actions() : QList<QAction*>();
    // A field keeps its own edit menu, set apart above the three entries.
    const bool onField = where.endsWith(QLatin1String("Edit"));
    QCOMPARE(actions.size() > 4 && actions.at(actions.size() - 4)->isSeparator(), onField);
    QCOMPARE(actions.size() == 3, !onField);
    const QMenu* languages = entry(menu, QStringLiteral("Load language"))->menu();
    entry(languages, QStringLiteral("Русский"));
    QCOMPARE(languages->actions().size(), QDir(TAVU_SOURCE_DIR "/languages", "*.ini").count());
}

void TranslateFormTest::loadingALanguageAsksFirst() {
    fixture().writeIni("[Strings]\nwNick=N\n");
    start();
    fixture().createCommands(1);
    const Vocabulary before = fixture().session().vocabulary();
    MessageBox::setNextAnswer(QMessageBox::No);
    useContextMenu({"Load language", "Русский"});
    QCOMPARE(lastErrorBox(),
             QStringLiteral("Confirm: This will replace the words in all fields with those of "
                            "Русский. Are you sure you want to do this?"));
    QVERIFY(fixture().session().vocabulary() == before);

    MessageBox::setNextAnswer(QMessageBox::Yes);
    useContextMenu({"Load language", "Русский"});
    const Vocabulary russian = readLanguageFile(TAVU_SOURCE_DIR "/languages/ru.ini", {}).value();
    QVERIFY(fixture().session().vocabulary() == russian);
    QVERIFY(fieldsShow(russian));
    QVERIFY(fixture().windows().form<TTranslateForm>().close());
    click("CreateButton");
    QVERIFY(fixture().commandsText().contains(kNoBreakSpace + "Кик\\"));
}

Vocabulary TranslateFormTest::importOverOwnWords(const QString& file) {
    fixture().writeIni("[Strings]\nwNick=N\n");
    start();
    Vocabulary before = fixture().session().vocabulary();
    FileDialog::setNextFileName(file);
    MessageBox::setNextAnswer(QMessageBox::Ok);
    useContextMenu({"Import words from file…"});
    return before;
}

void TranslateFormTest::importRefusesAFileWithoutWordsBeforeAsking() {
    const QString file = fixture().write(QStringLiteral("named.ini"), "[Language]\nName=Nothing\n");
    const Vocabulary before = importOverOwnWords(file);
    QVERIFY(lastErrorBox().startsWith("Error: " + file)); // refused before anything is asked
    QVERIFY(fixture().session().vocabulary() == before);
    QVERIFY(fieldsShow(before));
}

void TranslateFormTest::importRefusesAFileThatSmugglesACommand() {
    const QString file =
        fixture().write(QStringLiteral("shared.ini"), "[Strings]\nwNick=Theirs\nwKick=Kick|$BadPass\n");
    const Vocabulary before = importOverOwnWords(file);
    QCOMPARE(lastErrorBox(),
             "Error: " + file +
                 " is refused: its word wKick holds \"|\", which would end a prompt or start a "
                 "command in the hub's menus. No word of a language file may hold ], |, $ or %[, "
                 "and none of its words were loaded.");
    QVERIFY(fixture().session().vocabulary() == before);
    QVERIFY(fieldsShow(before));
}

void TranslateFormTest::exportedWordsImportAsTheyWere() {
    const QString file = fixture().filePath(QStringLiteral("mine.ini"));
    start();
    openTranslator();
    retype(field(Word::wKick), QStringLiteral("Вон"));
    retype(field(Word::wBan), QString());
    const Vocabulary edited = fixture().session().vocabulary();
    FileDialog::setNextFileName(file);
    useContextMenu({"Export words to file…"});
    const auto request = FileDialog::takeLastRequest().value_or(FileDialog::Request{});
    QVERIFY(request.purpose == FileDialog::Purpose::save && request.filter == "Language files (*.ini)");

    retype(field(Word::wKick), QStringLiteral("Kick"));
    FileDialog::setNextFileName(file);
    MessageBox::setNextAnswer(QMessageBox::Yes);
    useContextMenu({"Import words from file…"});
    QVERIFY(fixture().session().vocabulary() == edited);
    QVERIFY(fieldsShow(edited));
}

void TranslateFormTest::exportReplacesALinkNotItsTarget() {
    const QString target = fixture().write(QStringLiteral("target.ini"), "kept");
    const QString link = fixture().filePath(QStringLiteral("link.ini"));
    QVERIFY(QFile::link(target, link));
    start();
    openTranslator();
    FileDialog::setNextFileName(link);
    useContextMenu({"Export words to file…"});
    QVERIFY(!QFileInfo(link).isSymLink());
    QVERIFY(readLanguageFile(QFileInfo(link).filesystemFilePath(), {}).ok());
    QFile kept(target);
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), QByteArray("kept"));
}

int runTranslateFormTest(int argc, char** argv) {
    TranslateFormTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace tavu

#include "translate_form_test.moc"
