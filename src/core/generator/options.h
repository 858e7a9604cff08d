#pragma once

// The eleven options of the main window, each once: its key in the section
// "Settings", its member, its default and, for the options that add kinds of
// items, the item option of the catalogue rows it lets through. The settings
// file, the command line's --option, the generator and the main window's
// check boxes all read this table.

#include "generator/catalogue.h"

#include <array>
#include <string_view>

namespace tavu {

struct GenerationOptions {
    bool anyUser{};
    bool selectedUser{};
    bool fastUserControl{};
    bool offsets{};
    bool menuMiscellaneous{};
    bool menuInformation{};
    bool menuHubControl{};
    bool menuAccounts{};
    bool menuUserControl{};
    bool clear{};
    bool message{};

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
inline constexpr std::array<OptionEntry, 11> kOptionTable{{
    {"sAnyUser", &GenerationOptions::anyUser, true, catalogue::Any},
    {"sSelectedUser", &GenerationOptions::selectedUser, true, catalogue::Selected},
    {"sFastUserControl", &GenerationOptions::fastUserControl, true, catalogue::Fast},
    {"sOffsets", &GenerationOptions::offsets, false, catalogue::Offsets},
    {"sMenuMiscellaneous", &GenerationOptions::menuMiscellaneous, true},
    {"sMenuInformation", &GenerationOptions::menuInformation, true},
    {"sMenuHubControl", &GenerationOptions::menuHubControl, true},
    {"sMenuAccounts", &GenerationOptions::menuAccounts, true},
    {"sMenuUserControl", &GenerationOptions::menuUserControl, true},
    {"sClear", &GenerationOptions::clear, true},
    {"sMessage", &GenerationOptions::message, true},
}};

constexpr GenerationOptions::GenerationOptions() {
    for (const OptionEntry& entry : kOptionTable) {
        this->*entry.option = entry.byDefault;
    }
}

// The entry of a key, without regard to letter case; null when there is none.
const OptionEntry* optionByKey(std::string_view key);

} // namespace tavu
