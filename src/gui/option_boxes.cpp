#include "option_boxes.h"

#include "placement.h"

#include <QCheckBox>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace tavu {

namespace {

// In the order the tab key visits the boxes of each run.
constexpr std::array<OptionBoxLook, kOptionTable.size()> kLooks{{
    {&GenerationOptions::offsets,
     "OffsetsCheckBox",
     {72, 96, 57, 17},
     "Offsets",
     "Adds extra menu items where offset variable is available",
     TabRun::AfterProfiles},
    {&GenerationOptions::fastUserControl,
     "FastUserControlCheckBox",
     {72, 80, 105, 17},
     "Fast user control",
     "Adds extra menu items for user control where reason is optional",
     TabRun::AfterProfiles},
    {&GenerationOptions::anyUser,
     "AnyUserCheckBox",
     {72, 48, 81, 17},
     "For any user",
     "Adds menu items where you have to manually type the username",
     TabRun::AfterProfiles},
    {&GenerationOptions::selectedUser,
     "SelectedUserCheckBox",
     {72, 64, 105, 17},
     "For selected user",
     "Adds menu items for selected user",
     TabRun::AfterProfiles},
    {&GenerationOptions::menuInformation,
     "MenuInformationCheckBox",
     {184, 64, 81, 17},
     "Information",
     "Adds information menu items",
     TabRun::AfterRefresh},
    {&GenerationOptions::menuMiscellaneous,
     "MenuMiscellaneousCheckBox",
     {184, 48, 89, 17},
     "Miscellaneous",
     "Adds miscellaneous menu items",
     TabRun::AfterRefresh},
    {&GenerationOptions::menuHubControl,
     "MenuHubControlCheckBox",
     {184, 80, 81, 17},
     "Hub control",
     "Adds menu items for hub control",
     TabRun::AfterRefresh},
    {&GenerationOptions::menuAccounts,
     "MenuAccountsCheckBox",
     {184, 96, 65, 17},
     "Accounts",
     "Adds menu items for accounts management",
     TabRun::AfterRefresh},
    {&GenerationOptions::menuUserControl,
     "MenuUserControlCheckBox",
     {280, 48, 81, 17},
     "User control",
     "Adds menu items for user control",
     TabRun::AfterRefresh},
    {&GenerationOptions::clear,
     "ClearCheckBox",
     {280, 64, 49, 17},
     "Clear",
     "Clear old menus before installing this one",
     TabRun::AfterRefresh},
    {&GenerationOptions::message,
     "MessageCheckBox",
     {280, 80, 65, 17},
     "Message",
     "Show user a message about installed commands",
     TabRun::AfterRefresh},
}};

constexpr bool everyOptionHasOneLook() {
    return std::all_of(kOptionTable.begin(), kOptionTable.end(), [](const OptionEntry& entry) {
        return std::count_if(kLooks.begin(), kLooks.end(), [&entry](const OptionBoxLook& look) {
                   return look.option == entry.option;
               }) == 1;
    });
}
static_assert(everyOptionHasOneLook(), "every option needs one row in kLooks");

const OptionBoxLook& lookOf(bool GenerationOptions::*option) {
    return *std::find_if(kLooks.begin(), kLooks.end(),
                         [option](const OptionBoxLook& look) { return look.option == option; });
}

std::size_t indexOf(bool GenerationOptions::*option) {
    return static_cast<std::size_t>(
        std::find_if(kOptionTable.begin(), kOptionTable.end(),
                     [option](const OptionEntry& entry) { return entry.option == option; }) -
        kOptionTable.begin());
}

// The layout's widths fit the captions in Tahoma as Windows draws it; where the
// font comes out wider (Wine draws its Tahoma so), a box grows by what its
// caption lacks rather than cut it off. Where the caption fits, the box keeps
// the layout's size.
void widenToCaption(QCheckBox* box) {
    box->ensurePolished();
    QStyleOptionButton option;
    option.initFrom(box);
    option.text = box->text();
    const int room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box).width();
    const int lacking = box->fontMetrics().horizontalAdvance(box->text()) - room;
    if (lacking > 0) {
        box->resize(box->width() + lacking, box->height());
    }
}

} // namespace

std::span<const OptionBoxLook> optionBoxLooks() {
    return kLooks;
}

OptionBoxes::OptionBoxes(QWidget* form) {
    const GenerationOptions defaults;
    for (std::size_t i = 0; i < kOptionTable.size(); ++i) {
        const OptionBoxLook& look = lookOf(kOptionTable[i].option);
        boxes_[i] = placeWithCaption<QCheckBox>(form, look.name, look.geometry, look.caption, look.hint);
        widenToCaption(boxes_[i]);
        boxes_[i]->setChecked(defaults.*look.option);
    }
}

GenerationOptions OptionBoxes::options() const {
    GenerationOptions options;
    for (std::size_t i = 0; i < kOptionTable.size(); ++i) {
        options.*kOptionTable[i].option = boxes_[i]->isChecked();
    }
    return options;
}

void OptionBoxes::setOptions(const GenerationOptions& options) {
    for (std::size_t i = 0; i < kOptionTable.size(); ++i) {
        boxes_[i]->setChecked(options.*kOptionTable[i].option);
    }
}

std::vector<QWidget*> OptionBoxes::tabRun(TabRun run) const {
    std::vector<QWidget*> boxes;
    for (const OptionBoxLook& look : kLooks) {
        if (look.tabRun == run) {
            boxes.push_back(boxes_[indexOf(look.option)]);
        }
    }
    return boxes;
}

} // namespace tavu
