#include "menu_items_exchange.h"

#include "file_dialog.h"
#include "message_box.h"
#include "platform/file.h"
#include "session.h"
#include "settings/menu_changes_file.h"

#include <QFileInfo>

namespace tavu {

namespace {

constexpr char kExportCaption[] = "Export menu items";
constexpr char kImportCaption[] = "Import menu items";
constexpr char kExportStartFile[] = "menu-items.ini";
constexpr char kExportOverSettings[] =
    "%1 is the settings file, which keeps the options and words too: export the menu items to another file.";
constexpr char kMenuItemsFilter[] = "Menu items (*.ini)";
constexpr char kReplaceQuestion[] = "Replace the own items and the items switched off with those of %1?";

std::filesystem::path filePath(const QString& fileName) {
    return QFileInfo(fileName).filesystemFilePath();
}

} // namespace

void exportMenuItems(QWidget* parent, const MenuChanges& changes, const std::filesystem::path& settingsFile) {
    const QString chosen =
        FileDialog::getSaveFileName(parent, QString::fromUtf8(kExportCaption),
                                    QString::fromUtf8(kExportStartFile), QString::fromUtf8(kMenuItemsFilter));
    if (chosen.isEmpty()) {
        return;
    }
    // The settings file written with the items alone would lose its options and words.
    if (isSameFile(filePath(chosen), settingsFile)) {
        MessageBox::error(parent, QString::fromUtf8(kExportOverSettings).arg(chosen));
        return;
    }
    if (const auto written = writeMenuChangesFile(changes, filePath(chosen)); !written) {
        MessageBox::error(parent, QString::fromStdString(unwritableMessage(written.failure())));
    }
}

// The file is read before the operator is asked, so that a file that cannot
// be read is refused at once; nothing changes unless the operator agrees.
std::optional<MenuChanges> importMenuItems(QWidget* parent) {
    const QString chosen = FileDialog::getOpenFileName(parent, QString::fromUtf8(kImportCaption), QString(),
                                                       QString::fromUtf8(kMenuItemsFilter));
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    auto read = readMenuChangesFile(filePath(chosen));
    if (!read) {
        MessageBox::error(parent, QString::fromStdString(read.failure().reason));
        return std::nullopt;
    }
    QString question = QString::fromUtf8(kReplaceQuestion).arg(QFileInfo(chosen).fileName());
    for (const std::string& problem : read->problems) {
        question += QStringLiteral("\n\n") + QString::fromStdString(problem);
    }
    if (!MessageBox::confirm(parent, question)) {
        return std::nullopt;
    }
    return std::move(read->changes);
}

} // namespace tavu
