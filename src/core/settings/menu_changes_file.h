#pragma once

// The operator's menu changes in the settings file, beside "Settings" and
// "Strings", in sections a person can read and edit:
//
//   [Items off]
//   wUserControl\wKennylize=Regular
//   wInformation\wTraffic=*
//
//   [Own item 1]
//   Path={wHubControl}\Scripts\Restart
//   Menus=hub
//   Command=+restart %[line:Reason]
//   Profiles=Owner|Operator
//
// An identity switched off for the profiles named (joined by "|"), or "*" for
// every profile; an own item a section each, in the order of their numbers,
// with "Menus" one of hub, user or both, "Separator=1" for a separator, and
// "Profiles" as for items off. Comments and blank lines stay above the key
// they stood above. The same sections, alone, make the file that
// export and import exchange.

#include "base/result.h"
#include "formats/ini_file.h"
#include "generator/menu_changes.h"
#include "platform/file.h"

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tavu {

inline constexpr std::string_view kItemsOffSection = "Items off";
inline constexpr std::string_view kOwnItemSectionPrefix = "Own item ";

// The keys of an own item's section.
inline constexpr std::string_view kPathKey = "Path";
inline constexpr std::string_view kMenusKey = "Menus";
inline constexpr std::string_view kCommandKey = "Command";
inline constexpr std::string_view kSeparatorKey = "Separator";
inline constexpr std::string_view kProfilesKey = "Profiles";
inline constexpr std::array kOwnItemKeys{kPathKey, kMenusKey, kCommandKey, kSeparatorKey, kProfilesKey};

struct [[nodiscard]] MenuChangesRead {
    MenuChanges changes;
    // What was not taken as it stands, one sentence each: an own item that
    // ownItemProblem refuses (kept, and left out of every menu), values that
    // could not be read, sections named as own items' that give no number
    // (kept as they are by a save).
    std::vector<std::string> problems;
};

MenuChangesRead readMenuChanges(const IniFile& file);

// Forgets the values of the item that could not be read, once the operator
// has given each of them anew.
void forgetUnreadValues(OwnItem& item);

// Erases the sections of items off and own items that readMenuChanges reads,
// then writes them anew from `changes`, unknown keys, comments and blank lines
// included.
void writeMenuChanges(const MenuChanges& changes, IniFile& file);

// A file of menu changes alone, as export writes it and import reads it.
Result<MenuChangesRead, Unreadable> readMenuChangesFile(const std::filesystem::path& path,
                                                        FileOperations& operations = systemFileOperations());

// The text of such a file.
std::string menuChangesFileText(const MenuChanges& changes);

Result<Done, Unwritable> writeMenuChangesFile(const MenuChanges& changes, const std::filesystem::path& path,
                                              FileOperations& operations = systemFileOperations());

} // namespace tavu
