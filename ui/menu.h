#pragma once

#include <span>
#include <string_view>

namespace veltra::ui {

enum class MenuEntryKind { command, separator, popup };

// One entry of the main menu. Texts mark their mnemonic with "&".
struct MenuEntry {
    MenuEntryKind kind;
    std::string_view text;             // empty for a separator
    int id;                            // the command id of a command entry, 0 otherwise
    std::span<const MenuEntry> items;  // the entries of a popup
    bool right_end;                    // placed at the right end of the menu bar
};

// The main menu bar "Veltra": its popups from left to right. Commands 36 and
// 56 are check items; whether entries are enabled or checked comes from the
// availability state.
std::span<const MenuEntry> main_menu();

}  // namespace veltra::ui
