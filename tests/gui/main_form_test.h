#pragma once

#include "windows_fixture.h"

#include <QObject>
#include <QTemporaryDir>

#include <optional>

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
    void triggerOfNoControlIsRefused();
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
    void createWarnsOfAMenuClientsWouldMisread();
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
    void commandLineFileOpensAsWithTheOpenButton_data();
    void commandLineFileOpensAsWithTheOpenButton();
    void commandLineTakesOneFileAtMost();

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
    template <typename Control>
    Control* control(const char* name);
    void click(const char* name);
    void typeCommands(const QString& text);
    void expectError(const QString& text);

    std::optional<WindowsFixture> fixture_;
};

} // namespace tavu
