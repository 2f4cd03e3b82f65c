#include "ui/menu.h"

#include "core/availability.h"

namespace veltra::ui {

namespace {

using enum MenuEntryKind;

constexpr MenuEntry item(std::string_view text, int id) { return {command, text, id, {}, false}; }
constexpr MenuEntry SEPARATOR = {separator, "", 0, {}, false};
constexpr MenuEntry popup_of(std::string_view text, std::span<const MenuEntry> items,
                             bool right_end = false) {
    return {popup, text, 0, items, right_end};
}

constexpr MenuEntry IMPORT_DATA[] = {
    item("&Datavectors", core::CMD_IMPORT_DATAVECTORS),
    item("&Prototypes", core::CMD_IMPORT_PROTOTYPES),
    item("&Table...", core::CMD_IMPORT_TABLE),
};
constexpr MenuEntry EXPORT_DATA[] = {
    item("&Prototypes", core::CMD_EXPORT_PROTOTYPES),
    item("&Violations", core::CMD_EXPORT_VIOLATIONS),
    item("&Mean values", core::CMD_EXPORT_MEAN_VALUES),
    item("&Table...", core::CMD_EXPORT_TABLE),
};
constexpr MenuEntry FILE_MENU[] = {
    popup_of("&Import data", IMPORT_DATA),
    popup_of("E&xport data", EXPORT_DATA),
    SEPARATOR,
    item("&Quit", core::CMD_QUIT),
};
constexpr MenuEntry MAP_MENU[] = {
    item("Si&ze", core::CMD_MAP_SIZE),
    item("&Show", core::CMD_MAP_SHOW),
};
constexpr MenuEntry INITIALIZATION[] = {
    item("Random &weights", core::CMD_RANDOM_WEIGHTS),
    item("Pick &datapoints at random", core::CMD_PICK_DATAPOINTS),
};
constexpr MenuEntry PROTOTYPES_MENU[] = {
    popup_of("&Initialization", INITIALIZATION),
    SEPARATOR,
    item("&Converge to centroid", core::CMD_CONVERGE),
    item("&Pairwise exchange", core::CMD_PAIRWISE_EXCHANGE),
    SEPARATOR,
    item("&Sammon visualization", core::CMD_SAMMON_VISUALIZATION),
};
constexpr MenuEntry RECALL_MENU[] = {
    item("&Frequency", core::CMD_RECALL_FREQUENCY),
    item("&Assignment", core::CMD_RECALL_ASSIGNMENT),
};
constexpr MenuEntry SOM_MENU[] = {
    item("&Training", core::CMD_SOM_TRAINING),
    popup_of("&Recall", RECALL_MENU),
};
constexpr MenuEntry VIEW_MENU[] = {
    item("&Hit map", core::CMD_VIEW_HIT_MAP),
    item("&U-matrix", core::CMD_VIEW_U_MATRIX),
    item("&Component planes", core::CMD_VIEW_COMPONENT_PLANES),
    item("&Label map", core::CMD_VIEW_LABEL_MAP),
    item("&Measures chart", core::CMD_VIEW_MEASURES_CHART),
    SEPARATOR,
    item("Sammon view: keep &aspect ratio", core::CMD_VIEW_KEEP_ASPECT_RATIO),
    item("&Save Sammon picture...", core::CMD_VIEW_SAVE_SAMMON_PICTURE),
};
constexpr MenuEntry HELP_MENU[] = {
    item("&Contents", core::CMD_HELP_CONTENTS),
    SEPARATOR,
    item("&About", core::CMD_ABOUT),
};
// clang-format off
constexpr MenuEntry MENU_BAR[] = {
    popup_of("&File", FILE_MENU),
    popup_of("&Map", MAP_MENU),
    popup_of("&Prototypes", PROTOTYPES_MENU),
    popup_of("&SOM", SOM_MENU),
    popup_of("&View", VIEW_MENU),
    popup_of("&Help", HELP_MENU, true),
};
// clang-format on

}  // namespace

std::span<const MenuEntry> main_menu() { return MENU_BAR; }

}  // namespace veltra::ui
