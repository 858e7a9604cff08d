#pragma once

#include "app/program.h"

#include <QObject>
#include <QTemporaryDir>

#include <memory>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace tavu {

class TMainForm;

// Drives the real main window through its controls, each test with its own
// settings file in a folder of its own.
class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void startsWithHiddenSecondaryWindows();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void noCaptionIsClipped();
    void tabVisitsTheControlsInOrder();
    void statusBarShowsTheHintUnderThePointer_data();
    void statusBarShowsTheHintUnderThePointer();
    void longHintIsTheTextAfterTheFirstBar();

    void createRefusedWithoutChosenProfile_data();
    void createRefusedWithoutChosenProfile();
    void createWritesTheCoresOutput_data();
    void createWritesTheCoresOutput();
    void createReportsWhereTheGenerationStopped();
    void copyRefusesOnlyAnEmptyOutput_data();
    void copyRefusesOnlyAnEmptyOutput();
    void editNeedsOutputBeginningWithDollar_data();
    void editNeedsOutputBeginningWithDollar();
    void secondaryWindowDisablesTheMainWindowUntilClosed_data();
    void secondaryWindowDisablesTheMainWindowUntilClosed();
    void commandsMemoTakesNoLineBreakAndStaysResponsive();

    void refreshBeforeOpenIsRefused();
    void refreshReloadsTheFileWithoutDialog();
    void openDialogAsksForAnExistingProfilesXml();
    void openCancelledChangesNothing();
    void unloadableFileKeepsTheOldListAndChoice_data();
    void unloadableFileKeepsTheOldListAndChoice();

    void optionsAndFileNameSurviveARestart();
    void failedSaveKeepsTheWindowOpen();
    void failedSaveLeavesBothSectionsAsTheyWere();
    void unreadableSettingsAreReportedOnceAndNeverOverwritten();

    void errorBoxHasErrorIconCaptionAndOneOkButton();
    void uncaughtErrorGoesToTheStandardErrorBox();
    void standardErrorTextEndsWithAFullStop_data();
    void standardErrorTextEndsWithAFullStop();

    void grabShowsTheWholeWindow();

private:
    TMainForm& start();
    QString iniPath() const;
    QString write(const QString& name, const QByteArray& bytes) const;
    template <typename Control>
    Control* control(const char* name);
    void click(const char* name);
    void open(const QString& path);
    void choose(int index);
    QString commandsText();
    void typeCommands(const QString& text);
    void expectError(const QString& text);

    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<Program> program_;
};

} // namespace tavu
