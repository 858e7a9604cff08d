#include "hub/served_menu.h"

#include "base/escaping.h"
#include "platform/file.h"
#include "platform/path_text.h"
#include "preview/lint.h"
#include "preview/user_command_text.h"
#include "settings/settings_file.h"
#include "vocabulary/language_files.h"

#include <utility>

namespace tavu::hub {

namespace {

// The block without its protocol commands other than user commands, and those
// left out.
MadeMenu menuPiecesOnly(const std::string& block, HubMenu menu) {
    MadeMenu made{std::move(menu), {}};
    std::size_t from = 0;
    for (const preview::Piece& piece : preview::cutIntoPieces(block)) {
        if (piece.kind != preview::Piece::Kind::OtherCommand) {
            continue;
        }
        const auto start = static_cast<std::size_t>(piece.text.data() - block.data());
        made.menu.block.append(block, from, start - from);
        from = start + piece.text.size() + (piece.terminated ? 1 : 0);
        made.leftOut.push_back({piece.number, piece.line, preview::otherCommandDetail(piece.text)});
    }
    made.menu.block.append(block, from);
    return made;
}

} // namespace

ServedMenu blockFileMenu(const std::string& file, CodePage page) {
    return {[file, page]() -> Result<MadeMenu, MenuFailure> {
                const FileRead read = readRegularFile(pathFromUtf8(file), kBlockFileLimit);
                if (read.status != ReadStatus::Read) {
                    return MenuFailure{menu_failure::BlockUnreadable{read.reason}};
                }
                return menuPiecesOnly(read.bytes,
                                      HubMenu{{},
                                              "You are looking at the block " + file + ", read as " +
                                                  std::string(codePageName(page)) + ".",
                                              page});
            },
            {{pathFromUtf8(file), kBlockFileLimit}}};
}

ServedMenu profileMenu(const GenerationRequest& request) {
    std::vector<WatchedFile> files{
        {pathFromUtf8(request.profilesFile), kProfilesFileLimit},
        {request.settingsFile ? pathFromUtf8(*request.settingsFile) : settingsFilePath(),
         kSettingsFileLimit}};
    if (request.menuChangesFile) {
        files.push_back({pathFromUtf8(*request.menuChangesFile), kSettingsFileLimit});
    }
    std::string words = "the words of the settings file";
    if (request.language) {
        if (const auto language =
                findLanguage(*request.language, findLanguages(languageFolders()).languages)) {
            files.push_back({language->path, kSettingsFileLimit});
            words = "the words of " + language->name;
        }
    }
    return {[request, words]() -> Result<MadeMenu, MenuFailure> {
                ProfileBlock block = generateChosenProfile(request, true);
                if (block.failure) {
                    return MenuFailure{
                        menu_failure::ProfileUnmade{std::move(*block.failure), block.index, block.name}};
                }
                return MadeMenu{
                    HubMenu{std::move(block.bytes),
                            "You are looking at the menu of profile " + std::to_string(block.index) + " " +
                                quotedText(block.name) + " of " + request.profilesFile + ", with " + words +
                                ", encoded as " + std::string(codePageName(request.codePage())) + ".",
                            request.codePage()},
                    {}};
            },
            std::move(files)};
}

} // namespace tavu::hub
