#pragma once

// The main window's option check boxes, one for each entry of the option
// table, with the caption, hint and place each has on the window.

#include "generator/options.h"

#include <array>

class QCheckBox;
class QWidget;

namespace tavu {

class OptionBoxes {
public:
    // Places the boxes on `form`, in the order of the table, each checked as
    // its option's default.
    explicit OptionBoxes(QWidget* form);

    GenerationOptions options() const;
    void setOptions(const GenerationOptions& options);
    QCheckBox* box(bool GenerationOptions::*option) const;

private:
    std::array<QCheckBox*, kOptionTable.size()> boxes_{};
};

} // namespace tavu
