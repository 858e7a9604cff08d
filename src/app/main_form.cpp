#include "app/main_form.h"

#include "app/application.h"
#include "app/file_dialog.h"
#include "app/message_box.h"
#include "app/settings.h"
#include "app/settings_file.h"
#include "platform/date_text.h"
#include "windows/about_form.h"
#include "windows/confirmation_box.h"
#include "windows/edit_form.h"
#include "windows/form_font.h"
#include "windows/preview_form.h"
#include "windows/translate_form.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStatusTipEvent>

#include <array>
#include <memory>
#include <string_view>
#include <utility>

namespace tavu {

static_assert(std::string_view(kMainCaption).ends_with(kVersion), "the caption names the program's version");

namespace {

constexpr char kMindreader[] = "I'm not a mindreader. First of all choose a profile.";
constexpr char kNothingToCopy[] = "Why should I fill clipboard with nothing?";
constexpr char kNothingToEdit[] =
    "I think you should create some commands first. Or would you like to edit an empty window?";
constexpr char kNothingToRefresh[] = "How can I refresh a file that has not been opened yet?";
constexpr char kNothingToPreview[] = "A preview of nothing looks like nothing. Create some commands first.";
constexpr char kNotProfiles[] = "%1 is not profiles.xml. Drop the hub's profiles.xml here to open it.";
constexpr char kProfilesFileName[] = "profiles.xml";
constexpr char kOpenCaption[] = "Open profiles.xml";
constexpr char kProfilesFilter[] = "profiles.xml (profiles.xml)";

// Creates a control at its place. Its hint goes into the status tip, which Qt
// reports to the window when the pointer enters or leaves the control; no
// control has a tool tip, so hints never pop up.
template <typename Control>
Control* place(QWidget* form, const char* name, QRect geometry, const char* hint) {
    auto* control = new Control(form);
    control->setObjectName(QString::fromLatin1(name));
    control->setGeometry(geometry);
    control->setStatusTip(QString::fromUtf8(hint));
    return control;
}

template <typename Control>
Control* placeWithCaption(QWidget* form, const char* name, QRect geometry, const char* caption,
                          const char* hint) {
    Control* control = place<Control>(form, name, geometry, hint);
    control->setText(QString::fromUtf8(caption));
    return control;
}

QCheckBox* placeCheckBox(QWidget* form, const char* name, QRect geometry, const char* caption,
                         const char* hint, bool checked) {
    QCheckBox* box = placeWithCaption<QCheckBox>(form, name, geometry, caption, hint);
    box->setChecked(checked);
    return box;
}

// The one local file a drag carries, or empty when it carries anything else
// or may not be copied: a drag offering only a move would have its source
// delete the file once dropped.
QString droppedFile(const QDropEvent* event) {
    const QMimeData* data = event->mimeData();
    if (data == nullptr || !data->hasUrls() || !(event->possibleActions() & Qt::CopyAction)) {
        return {};
    }
    const QList<QUrl> urls = data->urls();
    return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
}

// The long part of a hint: the text after its first "|", or the whole hint.
QString longHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace

TMainForm::TMainForm() {
    buildControls();
    arrangeTabOrder();
    FormCreate();
}

void TMainForm::buildControls() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(441, 449);
    setFont(formFont());
    const GenerationOptions defaults;

    OpenButton = placeWithCaption<QPushButton>(this, "OpenButton", {16, 16, 113, 21}, "Open profiles.xml",
                                               "Open profiles.xml and activate it");
    ProfileComboBox = place<QComboBox>(this, "ProfileComboBox", {144, 16, 193, 21},
                                       "Select the profile you would like to create user commands for");
    RefreshButton =
        placeWithCaption<QPushButton>(this, "RefreshButton", {352, 16, 75, 21}, "Refresh",
                                      "Press this button in case the content of profiles.xml has changed");
    OptionsLabel = placeWithCaption<QLabel>(this, "OptionsLabel", {16, 48, 41, 13}, "Options:", "");
    AnyUserCheckBox =
        placeCheckBox(this, "AnyUserCheckBox", {72, 48, 81, 17}, "For any user",
                      "Adds menu items where you have to manually type the username", defaults.anyUser);
    SelectedUserCheckBox = placeCheckBox(this, "SelectedUserCheckBox", {72, 64, 105, 17}, "For selected user",
                                         "Adds menu items for selected user", defaults.selectedUser);
    FastUserControlCheckBox = placeCheckBox(
        this, "FastUserControlCheckBox", {72, 80, 105, 17}, "Fast user control",
        "Adds extra menu items for user control where reason is optional", defaults.fastUserControl);
    OffsetsCheckBox =
        placeCheckBox(this, "OffsetsCheckBox", {72, 96, 57, 17}, "Offsets",
                      "Adds extra menu items where offset variable is available", defaults.offsets);
    MenuMiscellaneousCheckBox =
        placeCheckBox(this, "MenuMiscellaneousCheckBox", {184, 48, 89, 17}, "Miscellaneous",
                      "Adds miscellaneous menu items", defaults.menuMiscellaneous);
    MenuInformationCheckBox = placeCheckBox(this, "MenuInformationCheckBox", {184, 64, 81, 17}, "Information",
                                            "Adds information menu items", defaults.menuInformation);
    MenuHubControlCheckBox = placeCheckBox(this, "MenuHubControlCheckBox", {184, 80, 81, 17}, "Hub control",
                                           "Adds menu items for hub control", defaults.menuHubControl);
    MenuAccountsCheckBox = placeCheckBox(this, "MenuAccountsCheckBox", {184, 96, 65, 17}, "Accounts",
                                         "Adds menu items for accounts management", defaults.menuAccounts);
    MenuUserControlCheckBox =
        placeCheckBox(this, "MenuUserControlCheckBox", {280, 48, 81, 17}, "User control",
                      "Adds menu items for user control", defaults.menuUserControl);
    ClearCheckBox = placeCheckBox(this, "ClearCheckBox", {280, 64, 49, 17}, "Clear",
                                  "Clear old menus before installing this one", defaults.clear);
    MessageCheckBox = placeCheckBox(this, "MessageCheckBox", {280, 80, 65, 17}, "Message",
                                    "Show user a message about installed commands", defaults.message);
    CreateButton = placeWithCaption<QPushButton>(this, "CreateButton", {16, 120, 113, 21}, "Create commands",
                                                 "Create user commands for chosen profile");
    CopyButton = placeWithCaption<QPushButton>(this, "CopyButton", {136, 120, 65, 21}, "Copy",
                                               "Copy the content to clipboard");
    EditButton = placeWithCaption<QPushButton>(this, "EditButton", {208, 120, 65, 21}, "Edit",
                                               "Launch TAVU Easy Editor");
    TranslateButton = placeWithCaption<QPushButton>(this, "TranslateButton", {280, 120, 67, 21}, "Translate",
                                                    "Launch TAVU Translator");
    AboutButton = placeWithCaption<QPushButton>(this, "AboutButton", {352, 120, 75, 21}, "About",
                                                "Information about TAVU");
    CommandsMemo = place<QPlainTextEdit>(this, "CommandsMemo", {16, 152, 409, 265}, "");
    CommandsMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    CommandsMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CommandsMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    CommandsMemo->setTabChangesFocus(true);
    CommandsMemo->installEventFilter(this);
    // Drags over the output box reach its viewport, which would paste a
    // dropped file's name as text.
    CommandsMemo->viewport()->installEventFilter(this);
    CommandsMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    setAcceptDrops(true);

    MenuPreviewAction = new QAction(QStringLiteral("Menu preview"), this);
    MenuPreviewAction->setObjectName(QStringLiteral("MenuPreviewAction"));
    MenuPreviewAction->setShortcut(QKeySequence(QString::fromLatin1(kMenuPreviewShortcut)));
    // Held by the window, so that the shortcut works whichever control has the focus.
    MenuPreviewAction->setShortcutContext(Qt::WindowShortcut);
    addAction(MenuPreviewAction);

    StatusBar = place<QStatusBar>(this, "StatusBar", {0, 430, 441, 19}, "");
    StatusBar->setSizeGripEnabled(false);
    StatusLabel = new QLabel(QString::fromUtf8(kDefaultStatusText), StatusBar);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    StatusBar->addWidget(StatusLabel, 1);

    connect(OpenButton, &QPushButton::clicked, this, &TMainForm::OpenButtonClick);
    connect(RefreshButton, &QPushButton::clicked, this, &TMainForm::RefreshButtonClick);
    // Only a choice the operator makes counts; filling the list does not.
    connect(ProfileComboBox, &QComboBox::activated, this, &TMainForm::ProfileComboBoxChange);
    connect(CreateButton, &QPushButton::clicked, this, &TMainForm::CreateButtonClick);
    connect(CopyButton, &QPushButton::clicked, this, &TMainForm::CopyButtonClick);
    connect(EditButton, &QPushButton::clicked, this, &TMainForm::EditButtonClick);
    connect(TranslateButton, &QPushButton::clicked, this, &TMainForm::TranslateButtonClick);
    connect(AboutButton, &QPushButton::clicked, this, &TMainForm::AboutButtonClick);
    connect(MenuPreviewAction, &QAction::triggered, this, &TMainForm::MenuPreviewActionTrigger);
    connect(CommandsMemo, &QPlainTextEdit::customContextMenuRequested, this,
            &TMainForm::CommandsMemoContextPopup);
}

void TMainForm::arrangeTabOrder() {
    const std::array<QWidget*, 20> order{OpenButton,
                                         ProfileComboBox,
                                         OffsetsCheckBox,
                                         FastUserControlCheckBox,
                                         AnyUserCheckBox,
                                         SelectedUserCheckBox,
                                         CreateButton,
                                         CommandsMemo,
                                         EditButton,
                                         CopyButton,
                                         RefreshButton,
                                         MenuInformationCheckBox,
                                         MenuMiscellaneousCheckBox,
                                         MenuHubControlCheckBox,
                                         MenuAccountsCheckBox,
                                         MenuUserControlCheckBox,
                                         ClearCheckBox,
                                         MessageCheckBox,
                                         AboutButton,
                                         TranslateButton};
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void TMainForm::centreOnScreen() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TMainForm::setSecondaryForms(TEditForm& editForm, TAboutForm& aboutForm, TTranslateForm& translateForm,
                                  TPreviewForm& previewForm) {
    editForm_ = &editForm;
    aboutForm_ = &aboutForm;
    translateForm_ = &translateForm;
    previewForm_ = &previewForm;
    for (SecondaryForm* form :
         std::array<SecondaryForm*, 4>{editForm_, aboutForm_, translateForm_, previewForm_}) {
        connect(form, &SecondaryForm::FormClosed, this, &TMainForm::SecondaryFormClose);
    }
    connect(editForm_, &TEditForm::OutputEdited, this, &TMainForm::EditFormDone);
}

void TMainForm::FormCreate() {
    LoadSettings();
    // Hints reach the window as status tips; event() hands them to DisplayHint.
    setWindowTitle(QString::fromUtf8(kMainCaption));
    centreOnScreen();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

void TMainForm::FormClose(QCloseEvent* event) {
    // Both sections go into the file in one save, so a failure leaves the file
    // exactly as it was rather than with new options and old words.
    const std::string failure = updateSettingsFile(settingsFilePath(), [this](IniFile& file) {
        SaveSettings(file);
        translateForm_->SaveStrings(file);
    });
    if (!failure.empty()) {
        MessageBox::standardError(this, QString::fromStdString(failure));
        // The operator can fix the folder and close again, or give up the save:
        // a save that fails for good must not keep the program open forever.
        if (!ConfirmationBox::confirm(this, QString::fromUtf8(kCloseWithoutSavingQuestion),
                                      QMessageBox::No)) {
            event->ignore();
            return;
        }
    }
    session_ = ProfileSession{};
    event->accept();
    emit FormClosed();
}

std::array<std::pair<bool GenerationOptions::*, QCheckBox*>, 11> TMainForm::optionCheckBoxes() const {
    return {{
        {&GenerationOptions::anyUser, AnyUserCheckBox},
        {&GenerationOptions::selectedUser, SelectedUserCheckBox},
        {&GenerationOptions::fastUserControl, FastUserControlCheckBox},
        {&GenerationOptions::offsets, OffsetsCheckBox},
        {&GenerationOptions::menuMiscellaneous, MenuMiscellaneousCheckBox},
        {&GenerationOptions::menuInformation, MenuInformationCheckBox},
        {&GenerationOptions::menuHubControl, MenuHubControlCheckBox},
        {&GenerationOptions::menuAccounts, MenuAccountsCheckBox},
        {&GenerationOptions::menuUserControl, MenuUserControlCheckBox},
        {&GenerationOptions::clear, ClearCheckBox},
        {&GenerationOptions::message, MessageCheckBox},
    }};
}

GenerationOptions TMainForm::options() const {
    GenerationOptions options;
    for (const auto& [option, box] : optionCheckBoxes()) {
        options.*option = box->isChecked();
    }
    return options;
}

void TMainForm::setOptions(const GenerationOptions& options) {
    for (const auto& [option, box] : optionCheckBoxes()) {
        box->setChecked(options.*option);
    }
}

void TMainForm::LoadSettings() {
    const SettingsFileRead read = readSettingsFile(settingsFilePath());
    if (!read.error.empty()) {
        // Reported once, here; the Translator then reads the same defaults.
        MessageBox::standardError(this, QString::fromStdString(read.error + kUnreadableSettingsConsequence));
    }
    const Settings settings = tavu::LoadSettings(read.file);
    fileName_ = QString::fromStdString(settings.file);
    setOptions(settings.options);
}

void TMainForm::SaveSettings(IniFile& file) const {
    tavu::SaveSettings(Settings{fileName_.toStdString(), options()}, file);
}

void TMainForm::OpenButtonClick() {
    const QString chosen = FileDialog::getOpenFileName(this, QString::fromUtf8(kOpenCaption), fileName_,
                                                       QString::fromUtf8(kProfilesFilter));
    if (chosen.isEmpty()) {
        return;
    }
    fileName_ = chosen;
    loadProfiles(fileName_);
}

void TMainForm::RefreshButtonClick() {
    if (session_.state() == ProfileState::NothingLoaded) {
        MessageBox::error(this, QString::fromUtf8(kNothingToRefresh));
        return;
    }
    loadProfiles(fileName_);
}

void TMainForm::loadProfiles(const QString& fileName) {
    // A file that fails to load leaves the document, the list and the choice
    // as they were, so the operator can go on with the profile already chosen.
    const std::string failure = session_.load(QFile::encodeName(fileName).toStdString());
    if (!failure.empty()) {
        MessageBox::standardError(this, QString::fromStdString(failure));
        return;
    }
    ProfileComboBox->clear();
    for (const std::string& name : session_.names()) {
        ProfileComboBox->addItem(QString::fromStdString(name));
    }
    ProfileComboBox->setCurrentIndex(-1);
}

void TMainForm::ProfileComboBoxChange(int index) {
    session_.choose(index);
}

void TMainForm::CreateButtonClick() {
    if (session_.state() != ProfileState::Chosen) {
        MessageBox::error(this, QString::fromUtf8(kMindreader));
        return;
    }
    CreateUserCommands();
}

void TMainForm::CreateUserCommands() {
    const Generation generation = tavu::CreateUserCommands(session_.profileNode(), options(),
                                                           translateForm_->vocabulary(), todayText());
    // Set once with the finished text: appending command by command would lay
    // the text out again for every one of them.
    CommandsMemo->setPlainText(QString::fromStdString(generation.text));
    if (generation.stop) {
        MessageBox::error(this, QString::fromStdString(generation.stop->description()));
    }
}

QString TMainForm::commandsText() const {
    // toPlainText() would turn the no-break space of the item prefix into an
    // ordinary space, which clients then trim away.
    QString text = CommandsMemo->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    text.replace(QChar::LineSeparator, QLatin1Char('\n'));
    return text;
}

void TMainForm::CopyButtonClick() {
    const QString text = commandsText();
    if (text.isEmpty()) {
        MessageBox::error(this, QString::fromUtf8(kNothingToCopy));
        return;
    }
    QGuiApplication::clipboard()->setText(text);
}

void TMainForm::EditButtonClick() {
    const QString text = commandsText();
    if (!text.startsWith(QLatin1Char('$'))) {
        MessageBox::error(this, QString::fromUtf8(kNothingToEdit));
        return;
    }
    editForm_->FormShow(text);
    showSecondaryForm(editForm_);
}

void TMainForm::EditFormDone(const QString& output) {
    CommandsMemo->setPlainText(output);
}

void TMainForm::TranslateButtonClick() {
    showSecondaryForm(translateForm_);
}

void TMainForm::AboutButtonClick() {
    showSecondaryForm(aboutForm_);
}

void TMainForm::MenuPreviewActionTrigger() {
    const QString text = commandsText();
    // White space alone is no piece at all for a client.
    if (text.trimmed().isEmpty()) {
        MessageBox::error(this, QString::fromUtf8(kNothingToPreview));
        return;
    }
    previewForm_->FormShow(text.toStdString());
    showSecondaryForm(previewForm_);
}

void TMainForm::CommandsMemoContextPopup(const QPoint& position) {
    // Qt's own edit actions, then the preview of the text they edit.
    const std::unique_ptr<QMenu> menu(CommandsMemo->createStandardContextMenu());
    menu->addSeparator();
    menu->addAction(MenuPreviewAction);
    menu->exec(CommandsMemo->viewport()->mapToGlobal(position));
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    FormDragOver(event);
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event) {
    FormDragOver(event);
}

void TMainForm::dropEvent(QDropEvent* event) {
    FormDragDrop(event);
}

// Any single file shows the drop cursor; one of another name is explained
// when dropped rather than refused without a word.
void TMainForm::FormDragOver(QDragMoveEvent* event) {
    if (droppedFile(event).isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TMainForm::FormDragDrop(QDropEvent* event) {
    const QString file = droppedFile(event);
    if (file.isEmpty()) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
    // Opened once the drop is over: a message box inside the drop would hold
    // up the program the file was dragged from.
    QMetaObject::invokeMethod(
        this, [this, file] { openDroppedFile(file); }, Qt::QueuedConnection);
}

// Links dragged over the output box are the window's, so that no file name or
// address lands in the commands as text; other text stays the box's own.
bool TMainForm::CommandsMemoDrag(QEvent* event) {
    auto* drag = static_cast<QDropEvent*>(event);
    if (drag->mimeData() == nullptr || !drag->mimeData()->hasUrls()) {
        return false;
    }
    if (event->type() == QEvent::Drop) {
        FormDragDrop(drag);
    } else {
        FormDragOver(static_cast<QDragMoveEvent*>(event));
    }
    return true;
}

void TMainForm::openDroppedFile(const QString& fileName) {
    // The same files as the Open dialog lets through, whatever the case of
    // the name: hubs written on Windows do not care about it.
    const QString name = QFileInfo(fileName).fileName();
    if (name.compare(QLatin1String(kProfilesFileName), Qt::CaseInsensitive) != 0) {
        MessageBox::error(this, QString::fromUtf8(kNotProfiles).arg(name));
        return;
    }
    fileName_ = fileName;
    loadProfiles(fileName_);
}

void TMainForm::showSecondaryForm(SecondaryForm* form) {
    // The operator works in one window at a time: this one stays disabled until
    // the shown window closes.
    setEnabled(false);
    form->show();
    form->raise();
    form->activateWindow();
}

void TMainForm::SecondaryFormClose() {
    setEnabled(true);
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void TMainForm::DisplayHint(const QString& hint) {
    const QString text = longHint(hint);
    StatusLabel->setText(text.isEmpty() ? QString::fromUtf8(kDefaultStatusText) : text);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CommandsMemo && event->type() == QEvent::KeyPress) {
        return CommandsMemoKeyPress(static_cast<QKeyEvent*>(event));
    }
    if (watched == CommandsMemo->viewport() &&
        (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
         event->type() == QEvent::Drop)) {
        return CommandsMemoDrag(event);
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::CommandsMemoKeyPress(const QKeyEvent* event) {
    // The output is one line of commands; a line break would end up inside one.
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace tavu
