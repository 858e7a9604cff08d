#pragma once

#include "windows_fixture.h"

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace tavu {

// Drives the real main window through its controls.
class MainFormTest : public WindowsTest {
    Q_OBJECT

private slots:
    void startsWithHiddenSecondaryWindows();
    void triggerOfNoControlIsRefused();
    void controlsStandWhereTheLayoutPutsThem_data();
    void controlsStandWhereTheLayoutPutsThem();
    void optionBoxesStandInColumnsApart();
    void noCaptionIsClipped();
    void tabVisitsTheControlsInOrder();
    void statusBarShowsTheHintUnderThePointer_data();
    void statusBarShowsTheHintUnderThePointer();
    void longHintIsTheTextAfterTheFirstBar();
    void statusBarSaysWhoseMenuTheOutputIs();

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
    void commandLineOptionsAskForNoWindow_data();
    void commandLineOptionsAskForNoWindow();

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
    void typeCommands(const QString& text);
    void expectError(const QString& text);
};

} // namespace tavu
