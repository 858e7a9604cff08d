#pragma once

#include "generator/generator.h"

#include <QWidget>

#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace tavu {

class OptionBoxes;
class Session;

class SecondaryForm;

// A secondary window and the control of the main window that shows it: a
// button or an action, by its object name.
struct SecondaryFormTrigger {
    const char* trigger;
    SecondaryForm* form;
};

// The window title, followed by the version.
inline constexpr char kMainCaption[] = "TAVU : Velkor User Commands Creator ";
inline constexpr char kMenuPreviewShortcut[] = "Ctrl+M";
inline constexpr char kDefaultStatusText[] =
    "Place your mouse pointer over a component to get more information";
// Asked after a failed save at close, so that a save that fails for good does
// not keep the program open.
inline constexpr char kCloseWithoutSavingQuestion[] = "Close without saving?";

// The main window: the profiles file and the chosen profile, the options that
// steer the generator, the output text and the buttons that act on it. A
// profiles.xml dropped on it opens as with the Open button.
class TMainForm : public QWidget {
    Q_OBJECT
public:
    // The window shows and edits the session; it lives as long as the window.
    explicit TMainForm(Session& session);
    ~TMainForm() override;

    // The windows created after this one, each with the control that shows
    // it. A trigger that names no control of this window is refused.
    void setSecondaryForms(std::span<const SecondaryFormTrigger> forms);

    // The check boxes from the session's options, and back.
    void LoadSettings();
    void SaveSettings();
    // Replaces the output with the chosen profile's commands.
    void createCommands();
    // Opens a profiles file as the Open button does with the file chosen in
    // its dialog, and remembers it for the next start.
    void openProfilesFile(const QString& fileName);
    // Chooses the profile at `index` as the operator does in the list.
    void chooseProfile(int index);

    GenerationOptions options() const;
    void setOptions(const GenerationOptions& options);

signals:
    // The window has closed for good, with the settings written.
    void FormClosed();

private slots:
    void OpenButtonClick();
    void RefreshButtonClick();
    void ProfileComboBoxChange(int index);
    void CreateButtonClick();
    void CopyButtonClick();
    void EditButtonClick();
    void EditFormDone(const QString& output);
    void TranslateButtonClick();
    void AboutButtonClick();
    void MenuPreviewActionTrigger();
    void MenuItemsActionTrigger();
    void ProfilesGlanceActionTrigger();
    void CommandsMemoContextPopup(const QPoint& position);
    void DisplayHint(const QString& hint);
    void SecondaryFormClose();

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void FormClose(QCloseEvent* event);
    bool CommandsMemoKeyPress(const QKeyEvent* event);

    void buildControls();
    void arrangeTabOrder();
    void loadProfiles(const QString& fileName);
    void openDroppedFile(const QString& fileName);
    void showSecondaryFormOf(const QObject* trigger);
    SecondaryForm* formShownBy(const QObject* trigger) const;
    QString commandsText() const;
    // The status bar's text: the hint of the control under the pointer, or
    // whose menu the output is, or the default text.
    void showStatus();
    QString outputStatus() const;
    // The file name the file-open dialog starts with: the last file chosen in
    // it, or the one remembered from the settings file.
    QString fileName() const;
    void setFileName(const QString& fileName);

    QPushButton* OpenButton;
    QComboBox* ProfileComboBox;
    QPushButton* RefreshButton;
    QLabel* OptionsLabel;
    std::unique_ptr<OptionBoxes> optionBoxes_;
    QPushButton* CreateButton;
    QPushButton* CopyButton;
    QPushButton* EditButton;
    QPushButton* TranslateButton;
    QPushButton* AboutButton;
    QPlainTextEdit* CommandsMemo;
    QStatusBar* StatusBar;
    QLabel* StatusLabel;
    // Not a control: it lives in the output box's context menu and holds the shortcut.
    QAction* MenuPreviewAction;
    // In the same context menu: the window of own items and items switched off.
    QAction* MenuItemsAction;
    // In the same context menu: every profile's menu side by side.
    QAction* ProfilesGlanceAction;

    std::vector<std::pair<const QObject*, SecondaryForm*>> secondaryForms_;

    // The profile whose menu Create put in the output: the load of the
    // profiles file it came from, its place in the list and its name.
    struct OutputSource {
        int load = 0;
        int index = -1;
        QString name;
    };
    std::optional<OutputSource> outputSource_;
    // Counts the profiles files loaded, so that a file opened again counts as another.
    int profilesLoads_ = 0;
    QString hint_;

    Session& session_;
};

} // namespace tavu
