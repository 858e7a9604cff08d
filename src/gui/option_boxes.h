#pragma once

// The main window's option check boxes, one for each entry of the option
// table, with the caption, hint, place and tab stop each has on the window.

#include "generator/options.h"

#include <QRect>

#include <array>
#include <span>
#include <vector>

class QCheckBox;
class QWidget;

namespace tavu {

// Where the boxes stand in the main window's tab order: some after the
// profile list, the others after the Refresh button.
enum class TabRun { AfterProfiles, AfterRefresh };

// What the window shows of an option, keyed by the option it shows.
struct OptionBoxLook {
    bool GenerationOptions::*option;
    const char* name;
    QRect geometry;
    const char* caption;
    const char* hint;
    TabRun tabRun;
};

// Every option's look, in the order the tab key visits the boxes of each run.
std::span<const OptionBoxLook> optionBoxLooks();

class OptionBoxes {
public:
    // Places the boxes on `form`, in the order of the table, each checked as
    // its option's default.
    explicit OptionBoxes(QWidget* form);

    GenerationOptions options() const;
    void setOptions(const GenerationOptions& options);
    // The boxes of one run, in the order the tab key visits them.
    std::vector<QWidget*> tabRun(TabRun run) const;

private:
    std::array<QCheckBox*, kOptionTable.size()> boxes_{};
};

} // namespace tavu
