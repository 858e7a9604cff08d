#pragma once

// The options of the main window, each once: its key in the section
// "Settings", its member, its default and, for the options that add kinds of
// items, the item option of the catalogue rows it lets through. The settings
// file, the command line's --option, the generator and the main window's
// check boxes all read this table.

#include "generator/catalogue.h"

#include <array>
#include <string_view>

namespace tavu {

// Every option once, in the order the keys are read and written: a new option
// is one line here (and its check box one row in the main window's table).
#define TAVU_OPTIONS(OPTION)                                                                                 \
    OPTION(anyUser, "sAnyUser", true, catalogue::Any)                                                        \
    OPTION(selectedUser, "sSelectedUser", true, catalogue::Selected)                                         \
    OPTION(fastUserControl, "sFastUserControl", true, catalogue::Fast)                                       \
    OPTION(offsets, "sOffsets", false, catalogue::Offsets)                                                   \
    OPTION(menuMiscellaneous, "sMenuMiscellaneous", true, catalogue::None)                                   \
    OPTION(menuInformation, "sMenuInformation", true, catalogue::None)                                       \
    OPTION(menuHubControl, "sMenuHubControl", true, catalogue::None)                                         \
    OPTION(menuAccounts, "sMenuAccounts", true, catalogue::None)                                             \
    OPTION(menuUserControl, "sMenuUserControl", true, catalogue::None)                                       \
    OPTION(clear, "sClear", true, catalogue::None)                                                           \
    OPTION(message, "sMessage", true, catalogue::None)

struct GenerationOptions {
#define TAVU_OPTION_MEMBER(member, key, byDefault, item) bool member{};
    TAVU_OPTIONS(TAVU_OPTION_MEMBER)
#undef TAVU_OPTION_MEMBER

    // Every option at its default, as the main window shows it before the
    // settings file is read.
    constexpr GenerationOptions();

    bool operator==(const GenerationOptions&) const = default;
};

struct OptionEntry {
    std::string_view key;
    bool GenerationOptions::*option;
    bool byDefault;
    catalogue::ItemOption item = catalogue::None;
};

// In the order the keys are read and written.
inline constexpr std::array kOptionTable{
#define TAVU_OPTION_ENTRY(member, key, byDefault, item)                                                      \
    OptionEntry{key, &GenerationOptions::member, byDefault, item},
    TAVU_OPTIONS(TAVU_OPTION_ENTRY)
#undef TAVU_OPTION_ENTRY
};

constexpr GenerationOptions::GenerationOptions() {
    for (const OptionEntry& entry : kOptionTable) {
        this->*entry.option = entry.byDefault;
    }
}

// The entry of a key, without regard to letter case; null when there is none.
const OptionEntry* optionByKey(std::string_view key);

} // namespace tavu
