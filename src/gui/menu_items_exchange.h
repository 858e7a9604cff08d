#pragma once

#include "generator/menu_changes.h"

#include <filesystem>
#include <optional>

class QWidget;

namespace tavu {

// Asks for a file and writes the own items and items switched off to it;
// refuses the settings file, which keeps the options and words too. Every
// failure is shown in a box over `parent`.
void exportMenuItems(QWidget* parent, const MenuChanges& changes, const std::filesystem::path& settingsFile);

// Asks for a file and reads its own items and items switched off; the
// changes read once the operator agrees to replace those shown with them,
// none when nothing is to change.
std::optional<MenuChanges> importMenuItems(QWidget* parent);

} // namespace tavu
