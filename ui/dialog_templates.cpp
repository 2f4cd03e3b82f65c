#include "ui/dialog_templates.h"

namespace veltra::ui {

namespace {

using K = ControlKind;

constexpr std::uint32_t MODAL_STYLE = STYLE_CAPTION | STYLE_MODAL_FRAME;
constexpr std::uint32_t STATUS_STYLE = STYLE_CAPTION;

constexpr ControlTemplate IMPORTFILTER_CONTROLS[] = {
    {IMPORT_FILE_GROUP, K::group_box, "Selected File", {8, 4, 149, 25}},
    {IMPORT_FILE_NAME, K::static_text, "None", {13, 16, 138, 10}},
    {IMPORT_NDATA_LABEL, K::static_text, "# of datavectors:", {8, 36, 60, 11}},
    {IMPORT_NDATA, K::edit, "1", {68, 34, 24, 12}},
    {IMPORT_NDATA_DOWN, K::arrow_button, "<", {94, 34, 13, 12}},
    {IMPORT_NDATA_UP, K::arrow_button, ">", {107, 34, 13, 12}},
    {IMPORT_NVARS_LABEL, K::static_text, "# of variables:", {8, 49, 64, 12}},
    {IMPORT_NVARS, K::edit, "1", {68, 48, 24, 12}},
    {IMPORT_NVARS_DOWN, K::arrow_button, "<", {94, 48, 13, 12}},
    {IMPORT_NVARS_UP, K::arrow_button, ">", {107, 48, 13, 12}},
    {CONTROL_OK, K::default_push_button, "&OK", {165, 8, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Cancel", {165, 22, 51, 12}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 36, 51, 12}},
};

constexpr ControlTemplate MATRIXSIZE_CONTROLS[] = {
    {MAP_ROWS_LABEL, K::static_text, "# of rows:", {8, 8, 56, 11}},
    {MAP_COLS_LABEL, K::static_text, "# of colums:", {8, 22, 56, 11}},
    {MAP_ROWS, K::edit, "1", {68, 6, 24, 12}},
    {MAP_COLS, K::edit, "1", {68, 20, 24, 12}},
    {MAP_ROWS_DOWN, K::arrow_button, "<", {94, 6, 13, 12}},
    {MAP_ROWS_UP, K::arrow_button, ">", {107, 6, 13, 12}},
    {MAP_COLS_DOWN, K::arrow_button, "<", {94, 20, 13, 12}},
    {MAP_COLS_UP, K::arrow_button, ">", {107, 20, 13, 12}},
    {CONTROL_OK, K::default_push_button, "&OK", {165, 6, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Cancel", {165, 20, 51, 12}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 34, 51, 12}},
};

constexpr ControlTemplate RANDOMWEIGHTS_CONTROLS[] = {
    {WEIGHTS_UPPER_LABEL, K::static_text, "Upper limit:", {8, 8, 53, 11}},
    {WEIGHTS_LOWER_LABEL, K::static_text, "Lower limit:", {8, 21, 47, 12}},
    {WEIGHTS_UPPER, K::edit, "0.0", {68, 6, 58, 12}},
    {WEIGHTS_LOWER, K::edit, "0.0", {68, 20, 58, 12}},
    {CONTROL_OK, K::default_push_button, "&Calculate", {165, 6, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Done", {165, 20, 51, 12}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 34, 51, 12}},
};

constexpr ControlTemplate TRIALS_CONTROLS[] = {
    {TRIALS_COUNT_LABEL, K::static_text, "# of trials:", {8, 8, 53, 11}},
    {TRIALS_COUNT, K::edit, "1", {68, 6, 20, 12}},
    {TRIALS_COUNT_DOWN, K::arrow_button, "<", {92, 6, 13, 12}},
    {TRIALS_COUNT_UP, K::arrow_button, ">", {105, 6, 13, 12}},
    {CONTROL_OK, K::default_push_button, "&Calculate", {165, 6, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Done", {165, 20, 51, 12}},
    {TRIALS_TRIAL, K::centered_static, "0", {14, 36, 52, 10}},
    {TRIALS_TRIAL_GROUP, K::group_box, "trial", {8, 24, 64, 26}},
    {TRIALS_HETEROGENEITY_GROUP, K::group_box, "heterogeneity", {80, 24, 64, 26}},
    {TRIALS_HETEROGENEITY, K::centered_static, "", {86, 36, 52, 10}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 34, 51, 12}},
};

constexpr ControlTemplate PAIRWISE_CONTROLS[] = {
    {PAIRWISE_COUNT_LABEL, K::static_text, "# of random changes:", {8, 8, 82, 11}},
    {PAIRWISE_COUNT, K::edit, "1", {88, 6, 20, 12}},
    {PAIRWISE_COUNT_DOWN, K::arrow_button, "<", {112, 6, 13, 12}},
    {PAIRWISE_COUNT_UP, K::arrow_button, ">", {125, 6, 13, 12}},
    {CONTROL_OK, K::default_push_button, "&Calculate", {165, 6, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Done", {165, 20, 51, 12}},
    {PAIRWISE_TOTAL, K::centered_static, "0", {14, 65, 52, 10}},
    {PAIRWISE_TOTAL_GROUP, K::group_box, "total changes", {8, 53, 64, 26}},
    {PAIRWISE_SUCCESSFUL_GROUP, K::group_box, "successful", {80, 53, 64, 26}},
    {PAIRWISE_SUCCESSFUL, K::centered_static, "0", {86, 65, 52, 10}},
    {PAIRWISE_SIMPLICITY_GROUP, K::group_box, "simplicity", {152, 53, 64, 26}},
    {PAIRWISE_SIMPLICITY, K::centered_static, "0", {158, 65, 52, 10}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 34, 51, 12}},
};

constexpr ControlTemplate FIXPOINT_CONTROLS[] = {
    {FIXPOINT_HETEROGENEITY_GROUP, K::group_box, "heterogeneity", {8, 6, 64, 26}},
    {FIXPOINT_HETEROGENEITY, K::centered_static, "", {14, 18, 52, 10}},
};

// The labels of the schedule are long, so its fields stand further right than
// in the sibling dialogs.
constexpr ControlTemplate SOM_CONTROLS[] = {
    {SOM_EPOCHS_LABEL, K::static_text, "# of epochs:", {8, 8, 90, 11}},
    {SOM_EPOCHS, K::edit, "1", {100, 6, 24, 12}},
    {SOM_EPOCHS_DOWN, K::arrow_button, "<", {126, 6, 13, 12}},
    {SOM_EPOCHS_UP, K::arrow_button, ">", {139, 6, 13, 12}},
    {SOM_ORDER_LABEL, K::static_text, "order of neighborhood:", {8, 22, 90, 11}},
    {SOM_ORDER, K::edit, "0", {100, 20, 24, 12}},
    {SOM_ORDER_DOWN, K::arrow_button, "<", {126, 20, 13, 12}},
    {SOM_ORDER_UP, K::arrow_button, ">", {139, 20, 13, 12}},
    {SOM_RATE_LABEL, K::static_text, "learning rate:", {8, 36, 90, 11}},
    {SOM_RATE, K::edit, "0.1", {100, 34, 52, 12}},
    {SOM_FACTOR_LABEL, K::static_text, "neigbors' update factor:", {8, 50, 90, 11}},
    {SOM_FACTOR, K::edit, "0.01", {100, 48, 52, 12}},
    {CONTROL_OK, K::default_push_button, "&Calculate", {165, 6, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Done", {165, 20, 51, 12}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 34, 51, 12}},
};

constexpr ControlTemplate SOMINFO_CONTROLS[] = {
    {MONITOR_EPOCHS_GROUP, K::group_box, "epochs", {8, 6, 64, 26}},
    {MONITOR_EPOCHS, K::centered_static, "", {14, 18, 52, 10}},
    {MONITOR_ITERATIONS_GROUP, K::group_box, "iterations", {80, 6, 64, 26}},
    {MONITOR_ITERATIONS, K::centered_static, "", {86, 18, 52, 10}},
    {MONITOR_VIOLATIONS_GROUP, K::group_box, "violations", {152, 6, 64, 26}},
    {MONITOR_VIOLATIONS, K::centered_static, "", {158, 18, 52, 10}},
    {MONITOR_HETEROGENEITY_GROUP, K::group_box, "heterogeneity", {8, 36, 64, 26}},
    {MONITOR_HETEROGENEITY, K::centered_static, "", {14, 48, 52, 10}},
    {MONITOR_SIMPLICITY_GROUP, K::group_box, "simplicity", {80, 36, 64, 26}},
    {MONITOR_SIMPLICITY, K::centered_static, "", {86, 48, 52, 10}},
    {MONITOR_COMBINED_GROUP, K::group_box, "het. + simpl.", {152, 36, 64, 26}},
    {MONITOR_COMBINED, K::centered_static, "", {158, 48, 52, 10}},
    // Three lines, so that every number shows also when nearly all of the 36
    // prototypes are inactive.
    {MONITOR_INACTIVE_GROUP, K::group_box, "inactive prototypes", {8, 66, 208, 44}},
    {MONITOR_INACTIVE, K::centered_static, "", {14, 78, 196, 28}},
};

constexpr ControlTemplate RECALL_CONTROLS[] = {
    {RECALL_CYCLE_LABEL, K::static_text, "length of cycle in datafile:", {10, 55, 48, 17}},
    {RECALL_START_LABEL, K::static_text, "start with #:", {9, 42, 56, 12}},
    {RECALL_START, K::edit, "1", {66, 40, 24, 12}},
    {RECALL_CYCLE, K::edit, "1", {66, 60, 24, 12}},
    {RECALL_START_DOWN, K::arrow_button, "<", {92, 40, 13, 12}},
    {RECALL_START_UP, K::arrow_button, ">", {105, 40, 13, 12}},
    {RECALL_CYCLE_DOWN, K::arrow_button, "<", {92, 60, 13, 12}},
    {RECALL_CYCLE_UP, K::arrow_button, ">", {105, 60, 13, 12}},
    {CONTROL_OK, K::default_push_button, "&OK", {165, 10, 51, 12}},
    {CONTROL_CANCEL, K::push_button, "&Cancel", {165, 24, 51, 12}},
    {RECALL_FILE_GROUP, K::group_box, "Selected File", {9, 6, 151, 25}},
    {RECALL_FILE_NAME, K::static_text, "None", {14, 18, 141, 10}},
    {CONTROL_HELP, K::push_button, "&Help", {165, 38, 51, 12}},
};

constexpr ControlTemplate ABOUT_CONTROLS[] = {
    {CONTROL_OK, K::default_push_button, "&OK", {186, 12, 36, 15}},
    {ABOUT_ICON, K::icon, "171", {11, 12, 14, 16}},
    {CONTROL_NONE,
     K::static_text,
     "Veltra for Windows\n32Bit Version\n\nSelf-Organizing Maps\nfor exploratory data analysis",
     {43, 12, 143, 49}},
    {CONTROL_NONE, K::static_text, "Version ", {43, 66, 33, 11}},
    {ABOUT_VERSION, K::static_text, "?", {78, 66, 77, 11}},
    {CONTROL_NONE, K::static_text, "Revision", {43, 76, 34, 11}},
    {ABOUT_REVISION, K::static_text, "?", {78, 76, 71, 11}},
};

}  // namespace

const DialogTemplate IMPORTFILTER = {"IMPORTFILTER", "Import Filter",      "System", 12, {20, 40, 225, 67},
                                     MODAL_STYLE,    IMPORTFILTER_CONTROLS};
const DialogTemplate MATRIXSIZE = {"MATRIXSIZE", "Shape Of Prototypes Map", "System", 12, {20, 40, 225, 52},
                                   MODAL_STYLE,  MATRIXSIZE_CONTROLS};
const DialogTemplate INCIDENCE = {"INCIDENCE",
                                  "Incidence Matrix",
                                  "System",
                                  12,
                                  {24, 48, 142, 118},
                                  STYLE_CAPTION | STYLE_SYSTEM_MENU | STYLE_SIZING_BORDER |
                                      STYLE_MAXIMIZE_BOX | STYLE_VERTICAL_SCROLL | STYLE_HORIZONTAL_SCROLL,
                                  {}};
const DialogTemplate RANDOMWEIGHTS = {
    "RANDOMWEIGHTS", "Random Weights Initialization", "System", 12, {27, 56, 225, 52},
    MODAL_STYLE,     RANDOMWEIGHTS_CONTROLS};
const DialogTemplate TRIALS = {
    "TRIALS", "Pick Datapoints At Random", "System", 12, {23, 56, 225, 56}, MODAL_STYLE, TRIALS_CONTROLS};
const DialogTemplate FIXPOINT = {"FIXPOINT",       "Fixpoint",   "System",         12,
                                 {20, 40, 80, 38}, STATUS_STYLE, FIXPOINT_CONTROLS};
const DialogTemplate PAIRWISE = {
    "PAIRWISE",       "Pairwise Exchange Of Prototypes", "System", 12, {23, 56, 225, 87}, MODAL_STYLE,
    PAIRWISE_CONTROLS};
const DialogTemplate SOM = {
    "SOM", "SOM Training Schedule", "System", 12, {20, 40, 225, 66}, MODAL_STYLE, SOM_CONTROLS};
const DialogTemplate SOMINFO = {"SOMINFO",          "SOM Monitor", "System",        12,
                                {20, 40, 224, 116}, STATUS_STYLE,  SOMINFO_CONTROLS};
const DialogTemplate RECALL = {"RECALL",          "Recall",    "System",       12,
                               {42, 35, 224, 82}, MODAL_STYLE, RECALL_CONTROLS};
const DialogTemplate ABOUT = {"ABOUT",           "About Veltra", "MS Sans Serif", 8,
                              {20, 20, 232, 90}, MODAL_STYLE,    ABOUT_CONTROLS};
// The window takes the splash bitmap's size when it is shown.
const DialogTemplate INTRODUCTION = {"INTRODUCTION", "Veltra",          "System", 12,
                                     {0, 0, 0, 0},   STYLE_THIN_BORDER, {}};

}  // namespace veltra::ui
