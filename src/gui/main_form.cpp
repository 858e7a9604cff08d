#include "main_form.h"

#include "file_dialog.h"
#include "file_drop_target.h"
#include "form_font.h"
#include "generation/profile_generation.h"
#include "message_box.h"
#include "option_boxes.h"
#include "placement.h"
#include "platform/date_text.h"
#include "platform/path_text.h"
#include "preview/lint.h"
#include "preview/menu_preview.h"
#include "secondary_form.h"
#include "session.h"
#include "version.h"
#include "window_centring.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QStatusTipEvent>

#include <algorithm>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace tavu {

namespace {

constexpr char kMindreader[] = "I'm not a mindreader. First of all choose a profile.";
constexpr char kNothingToCopy[] = "Why should I fill clipboard with nothing?";
constexpr char kNothingToRefresh[] = "How can I refresh a file that has not been opened yet?";
constexpr char kNotProfiles[] = "%1 is not profiles.xml. Drop the hub's profiles.xml here to open it.";
constexpr char kProfilesFileName[] = "profiles.xml";
constexpr char kOpenCaption[] = "Open profiles.xml";
constexpr char kProfilesFilter[] = "profiles.xml (profiles.xml)";
constexpr char kOutputOf[] = "The output is the menu of %1";
constexpr char kCreateFor[] = "; press Create commands for %1";
constexpr char kChooseAndCreate[] = "; choose a profile and press Create commands";

// The errors listed in full; the Menu preview has the rest.
constexpr std::size_t kMenuErrorsListed = 3;

// The words whose text ends a prompt of the finding's piece early, each as
// "wReason, "Reason"", its key and English text; none for another finding.
QStringList wordsCuttingPrompts(const preview::Finding& finding, const std::vector<preview::Piece>& pieces,
                                const Vocabulary& vocabulary) {
    QStringList words;
    const auto piece = std::find_if(pieces.begin(), pieces.end(),
                                    [&](const preview::Piece& each) { return each.number == finding.piece; });
    if (finding.kind != preview::Finding::Kind::PromptCutShort || piece == pieces.end()) {
        return words;
    }
    for (std::size_t i = 0; i < kWordCount; ++i) {
        const auto word = static_cast<Word>(i);
        const std::string& text = vocabulary.text(word);
        if (!wordProblem(word, text).empty() &&
            piece->command.find(std::string(kPromptStart) + text) != std::string::npos) {
            words << QStringLiteral("%1, \"%2\"")
                         .arg(QString::fromUtf8(wordKey(word)), QString::fromUtf8(defaultText(word)));
        }
    }
    return words;
}

// Why a created menu must not go to the hub as it is, from the findings of its
// preview, each error with the words that cause it.
QString menuErrorText(const std::vector<preview::Finding>& findings, std::string_view output,
                      const Vocabulary& vocabulary) {
    std::vector<const preview::Finding*> errors;
    for (const preview::Finding& finding : findings) {
        if (finding.isError()) {
            errors.push_back(&finding);
        }
    }
    if (errors.empty()) {
        return {};
    }
    QString text = QStringLiteral("The menu holds %1 error(s) that clients would misread. Do not install it "
                                  "as it is:\n")
                       .arg(errors.size());
    const std::vector<preview::Piece> pieces = preview::cutIntoPieces(output);
    for (std::size_t i = 0; i < std::min(errors.size(), kMenuErrorsListed); ++i) {
        text += QStringLiteral("\n") + QString::fromStdString(preview::describe(*errors[i]));
        if (const QStringList words = wordsCuttingPrompts(*errors[i], pieces, vocabulary); !words.isEmpty()) {
            text += QStringLiteral(" (the word %1 in the Translator)").arg(words.join(QStringLiteral("; ")));
        }
    }
    return text + QStringLiteral("\n\nThe Menu preview (Ctrl+M) lists every problem and selects its item.");
}

// The long part of a hint: the text after its first "|", or the whole hint.
QString longHint(const QString& hint) {
    const qsizetype bar = hint.indexOf(QLatin1Char('|'));
    return bar < 0 ? hint : hint.mid(bar + 1);
}

} // namespace

TMainForm::TMainForm(Session& session) : session_(session) {
    buildControls();
    arrangeTabOrder();
    FormCreate();
}

TMainForm::~TMainForm() = default;

void TMainForm::buildControls() {
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(441, 449);
    setFont(formFont());

    OpenButton = placeWithCaption<QPushButton>(this, "OpenButton", {16, 16, 113, 21}, "Open profiles.xml",
                                               "Open profiles.xml and activate it");
    ProfileComboBox = place<QComboBox>(this, "ProfileComboBox", {144, 16, 193, 21},
                                       "Select the profile you would like to create user commands for");
    RefreshButton =
        placeWithCaption<QPushButton>(this, "RefreshButton", {352, 16, 75, 21}, "Refresh",
                                      "Press this button in case the content of profiles.xml has changed");
    OptionsLabel = placeWithCaption<QLabel>(this, "OptionsLabel", {16, 48, 41, 13}, "Options:", "");
    optionBoxes_ = std::make_unique<OptionBoxes>(this);
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
    CommandsMemo->setContextMenuPolicy(Qt::CustomContextMenu);
    // A profiles.xml dropped on the window opens as with the Open button.
    // Drags over the output box reach its viewport, which would paste a
    // dropped file's name as text.
    auto* drop = new FileDropTarget(this, [this](const QString& file) { openDroppedFile(file); });
    drop->watch(this);
    drop->watch(CommandsMemo->viewport());

    MenuPreviewAction = new QAction(QStringLiteral("Menu preview"), this);
    MenuPreviewAction->setObjectName(QStringLiteral("MenuPreviewAction"));
    MenuPreviewAction->setShortcut(QKeySequence(QString::fromLatin1(kMenuPreviewShortcut)));
    // Held by the window, so that the shortcut works whichever control has the focus.
    MenuPreviewAction->setShortcutContext(Qt::WindowShortcut);
    addAction(MenuPreviewAction);
    MenuItemsAction = new QAction(QStringLiteral("Menu items\u2026"), this);
    MenuItemsAction->setObjectName(QStringLiteral("MenuItemsAction"));
    ProfilesGlanceAction = new QAction(QStringLiteral("Profiles at a glance\u2026"), this);
    ProfilesGlanceAction->setObjectName(QStringLiteral("ProfilesGlanceAction"));

    StatusBar = place<QStatusBar>(this, "StatusBar", {0, 430, 441, 19}, "");
    StatusBar->setSizeGripEnabled(false);
    StatusLabel = new QLabel(QString::fromUtf8(kDefaultStatusText), StatusBar);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setAlignment(Qt::AlignCenter);
    // It names profiles, whose names come from the hub's file: never markup.
    StatusLabel->setTextFormat(Qt::PlainText);
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
    connect(MenuItemsAction, &QAction::triggered, this, &TMainForm::MenuItemsActionTrigger);
    connect(ProfilesGlanceAction, &QAction::triggered, this, &TMainForm::ProfilesGlanceActionTrigger);
    connect(CommandsMemo, &QPlainTextEdit::customContextMenuRequested, this,
            &TMainForm::CommandsMemoContextPopup);
    // An output emptied is no one's menu.
    connect(CommandsMemo, &QPlainTextEdit::textChanged, this, &TMainForm::showStatus);
}

void TMainForm::arrangeTabOrder() {
    std::vector<QWidget*> order{OpenButton, ProfileComboBox};
    std::ranges::copy(optionBoxes_->tabRun(TabRun::AfterProfiles), std::back_inserter(order));
    order.insert(order.end(), {CreateButton, CommandsMemo, EditButton, CopyButton, RefreshButton});
    std::ranges::copy(optionBoxes_->tabRun(TabRun::AfterRefresh), std::back_inserter(order));
    order.insert(order.end(), {AboutButton, TranslateButton});
    for (std::size_t i = 1; i < order.size(); ++i) {
        QWidget::setTabOrder(order[i - 1], order[i]);
    }
}

void TMainForm::setSecondaryForms(std::span<const SecondaryFormTrigger> forms) {
    for (const SecondaryFormTrigger& row : forms) {
        const auto* trigger = findChild<QObject*>(QString::fromLatin1(row.trigger));
        if (trigger == nullptr) {
            throw std::invalid_argument(std::string("the main window has no control ") + row.trigger);
        }
        secondaryForms_.emplace_back(trigger, row.form);
        connect(row.form, &SecondaryForm::FormClosed, this, &TMainForm::SecondaryFormClose);
        connect(row.form, &SecondaryForm::HintChanged, this, &TMainForm::DisplayHint);
        connect(row.form, &SecondaryForm::OutputEdited, this, &TMainForm::EditFormDone);
    }
}

void TMainForm::FormCreate() {
    LoadSettings();
    // Hints reach the window as status tips; event() hands them to DisplayHint.
    setWindowTitle(QString::fromUtf8(kMainCaption) + QString::fromUtf8(kVersion));
    new FirstShowCentring(*this);
}

void TMainForm::closeEvent(QCloseEvent* event) {
    FormClose(event);
}

void TMainForm::FormClose(QCloseEvent* event) {
    // Both sections go into the file in one save, so a failure leaves the file
    // exactly as it was rather than with new options and old words.
    SaveSettings();
    const std::string failure = session_.save();
    if (!failure.empty()) {
        MessageBox::standardError(this, QString::fromStdString(failure));
        // The operator can fix the folder and close again, or give up the save:
        // a save that fails for good must not keep the program open forever.
        if (!MessageBox::confirm(this, QString::fromUtf8(kCloseWithoutSavingQuestion), QMessageBox::No)) {
            event->ignore();
            return;
        }
    }
    session_.profiles() = ProfileSession{};
    event->accept();
    emit FormClosed();
}

GenerationOptions TMainForm::options() const {
    return optionBoxes_->options();
}

void TMainForm::setOptions(const GenerationOptions& options) {
    optionBoxes_->setOptions(options);
}

void TMainForm::LoadSettings() {
    setOptions(session_.settings().options);
}

void TMainForm::SaveSettings() {
    session_.settings().options = options();
}

QString TMainForm::fileName() const {
    return QString::fromStdString(session_.settings().file);
}

void TMainForm::setFileName(const QString& fileName) {
    // Qt's dialogs give "/" on Windows too; the settings file and the messages
    // show the path as the system writes it.
    session_.settings().file = QDir::toNativeSeparators(fileName).toStdString();
}

void TMainForm::OpenButtonClick() {
    const QString chosen = FileDialog::getOpenFileName(this, QString::fromUtf8(kOpenCaption), fileName(),
                                                       QString::fromUtf8(kProfilesFilter));
    if (!chosen.isEmpty()) {
        openProfilesFile(chosen);
    }
}

void TMainForm::openProfilesFile(const QString& fileName) {
    setFileName(fileName);
    loadProfiles(fileName);
}

void TMainForm::RefreshButtonClick() {
    if (session_.profiles().state() == ProfileState::NothingLoaded) {
        MessageBox::error(this, QString::fromUtf8(kNothingToRefresh));
        return;
    }
    loadProfiles(fileName());
}

void TMainForm::loadProfiles(const QString& fileName) {
    // A file that fails to load leaves the document, the list and the choice
    // as they were, so the operator can go on with the profile already chosen.
    const std::string failure = session_.profiles().load(pathFromUtf8(fileName.toStdString()));
    if (!failure.empty()) {
        MessageBox::standardError(this, QString::fromStdString(failure));
        return;
    }
    ProfileComboBox->clear();
    for (const std::string& name : session_.profiles().names()) {
        ProfileComboBox->addItem(QString::fromStdString(name));
    }
    ProfileComboBox->setCurrentIndex(-1);
    ++profilesLoads_;
    showStatus();
}

void TMainForm::chooseProfile(int index) {
    ProfileComboBox->setCurrentIndex(index);
    ProfileComboBoxChange(index);
}

void TMainForm::ProfileComboBoxChange(int index) {
    session_.profiles().choose(index);
    showStatus();
}

void TMainForm::CreateButtonClick() {
    if (session_.profiles().state() != ProfileState::Chosen) {
        MessageBox::error(this, QString::fromUtf8(kMindreader));
        return;
    }
    createCommands();
}

void TMainForm::createCommands() {
    const GenerationInput input{options(), session_.vocabulary(),  todayText(),
                                {},        session_.menuChanges(), {}};
    const ProfileBlock block = generateProfile(session_.profiles().profileNode(),
                                               session_.profiles().chosenName(), input, BlockChecks{});
    outputSource_ = OutputSource{profilesLoads_, session_.profiles().index(),
                                 QString::fromStdString(session_.profiles().chosenName())};
    // Set once with the finished text: appending command by command would lay
    // the text out again for every one of them. A stopped generation keeps
    // what came before the stop.
    CommandsMemo->setPlainText(QString::fromStdString(block.generation.text));
    if (!block.failure) {
        return;
    }
    if (const auto* stopped = std::get_if<generation_failure::Stopped>(&*block.failure)) {
        MessageBox::error(this, QString::fromStdString(stopped->stop.description()));
    } else if (const auto* misread = std::get_if<generation_failure::MenuMisread>(&*block.failure)) {
        MessageBox::error(this, menuErrorText(misread->findings, block.generation.text, input.vocabulary));
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
    showSecondaryFormOf(EditButton);
}

void TMainForm::EditFormDone(const QString& output) {
    CommandsMemo->setPlainText(output);
}

void TMainForm::TranslateButtonClick() {
    showSecondaryFormOf(TranslateButton);
}

void TMainForm::AboutButtonClick() {
    showSecondaryFormOf(AboutButton);
}

void TMainForm::MenuPreviewActionTrigger() {
    showSecondaryFormOf(MenuPreviewAction);
}

void TMainForm::MenuItemsActionTrigger() {
    showSecondaryFormOf(MenuItemsAction);
}

void TMainForm::ProfilesGlanceActionTrigger() {
    showSecondaryFormOf(ProfilesGlanceAction);
}

void TMainForm::CommandsMemoContextPopup(const QPoint& position) {
    // Qt's own edit actions, then the preview of the text they edit and the
    // items of the menu it is made from, and every profile's menu.
    const std::unique_ptr<QMenu> menu(CommandsMemo->createStandardContextMenu());
    menu->addSeparator();
    menu->addAction(MenuPreviewAction);
    menu->addAction(MenuItemsAction);
    menu->addAction(ProfilesGlanceAction);
    menu->exec(CommandsMemo->viewport()->mapToGlobal(position));
}

void TMainForm::openDroppedFile(const QString& fileName) {
    // The same files as the Open dialog lets through, whatever the case of
    // the name: hubs written on Windows do not care about it.
    const QString name = QFileInfo(fileName).fileName();
    if (name.compare(QLatin1String(kProfilesFileName), Qt::CaseInsensitive) != 0) {
        MessageBox::error(this, QString::fromUtf8(kNotProfiles).arg(name));
        return;
    }
    openProfilesFile(fileName);
}

void TMainForm::showSecondaryFormOf(const QObject* trigger) {
    SecondaryForm* form = formShownBy(trigger);
    // A control the program gave no window does nothing.
    if (form == nullptr) {
        return;
    }
    // The windows read the options from the session, as the check boxes hold them now.
    SaveSettings();
    if (const QString refusal = form->takeOutput(commandsText()); !refusal.isEmpty()) {
        MessageBox::error(this, refusal);
        return;
    }
    // The operator works in one window at a time: this one stays disabled until
    // the shown window closes.
    setEnabled(false);
    form->show();
    form->raise();
    form->activateWindow();
}

SecondaryForm* TMainForm::formShownBy(const QObject* trigger) const {
    const auto found = std::find_if(secondaryForms_.begin(), secondaryForms_.end(),
                                    [trigger](const auto& row) { return row.first == trigger; });
    return found == secondaryForms_.end() ? nullptr : found->second;
}

void TMainForm::SecondaryFormClose() {
    // A window may still be open under the one that closed (the Menu preview
    // under the Menu items window it opened): this one waits for it too.
    const QObject* closed = sender();
    setEnabled(std::none_of(secondaryForms_.begin(), secondaryForms_.end(), [closed](const auto& row) {
        return row.second != closed && row.second->isVisible();
    }));
}

bool TMainForm::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        DisplayHint(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QWidget::event(event);
}

void TMainForm::DisplayHint(const QString& hint) {
    hint_ = longHint(hint);
    showStatus();
}

void TMainForm::showStatus() {
    if (!hint_.isEmpty()) {
        StatusLabel->setText(hint_);
    } else if (const QString output = outputStatus(); !output.isEmpty()) {
        StatusLabel->setText(output);
    } else {
        StatusLabel->setText(QString::fromUtf8(kDefaultStatusText));
    }
}

// Copy copies whatever the output holds, so the status bar says whose menu it
// is, and when the profile or the file chosen since is another.
QString TMainForm::outputStatus() const {
    if (!outputSource_ || CommandsMemo->document()->isEmpty()) {
        return {};
    }
    QString text = QString::fromUtf8(kOutputOf).arg(outputSource_->name);
    const ProfileSession& profiles = session_.profiles();
    if (profiles.state() != ProfileState::Chosen) {
        return text + QString::fromUtf8(kChooseAndCreate);
    }
    if (outputSource_->load != profilesLoads_ || outputSource_->index != profiles.index()) {
        return text + QString::fromUtf8(kCreateFor).arg(QString::fromStdString(profiles.chosenName()));
    }
    return text;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == CommandsMemo && event->type() == QEvent::KeyPress) {
        return CommandsMemoKeyPress(static_cast<QKeyEvent*>(event));
    }
    return QWidget::eventFilter(watched, event);
}

bool TMainForm::CommandsMemoKeyPress(const QKeyEvent* event) {
    // The output is one line of commands; a line break would end up inside one.
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace tavu
