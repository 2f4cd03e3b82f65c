#pragma once

// The control ids of every dialog, one name each, grouped per dialog in
// template order. Templates, dialog procedures, the batch command table and
// the tests address controls only through these names; several dialogs reuse
// a number for different controls, so a name always carries its dialog.

namespace veltra::ui {

// Every command dialog.
inline constexpr int CONTROL_OK = 101;      // OK or Calculate, the default button
inline constexpr int CONTROL_CANCEL = 102;  // Cancel or Done
inline constexpr int CONTROL_HELP = 999;
inline constexpr int CONTROL_NONE = -1;  // a static text nobody addresses

// "IMPORTFILTER": the datavectors import.
inline constexpr int IMPORT_FILE_GROUP = 111;
inline constexpr int IMPORT_FILE_NAME = 112;
inline constexpr int IMPORT_NDATA_LABEL = 103;
inline constexpr int IMPORT_NDATA = 105;
inline constexpr int IMPORT_NDATA_DOWN = 107;
inline constexpr int IMPORT_NDATA_UP = 108;
inline constexpr int IMPORT_NVARS_LABEL = 104;
inline constexpr int IMPORT_NVARS = 106;
inline constexpr int IMPORT_NVARS_DOWN = 109;
inline constexpr int IMPORT_NVARS_UP = 110;

// "MATRIXSIZE": the shape of the map.
inline constexpr int MAP_ROWS_LABEL = 103;
inline constexpr int MAP_COLS_LABEL = 104;
inline constexpr int MAP_ROWS = 105;
inline constexpr int MAP_COLS = 106;
inline constexpr int MAP_ROWS_DOWN = 107;
inline constexpr int MAP_ROWS_UP = 108;
inline constexpr int MAP_COLS_DOWN = 109;
inline constexpr int MAP_COLS_UP = 110;

// "RANDOMWEIGHTS".
inline constexpr int WEIGHTS_UPPER_LABEL = 103;
inline constexpr int WEIGHTS_LOWER_LABEL = 104;
inline constexpr int WEIGHTS_UPPER = 105;
inline constexpr int WEIGHTS_LOWER = 106;

// "TRIALS": pick datapoints at random.
inline constexpr int TRIALS_COUNT_LABEL = 103;
inline constexpr int TRIALS_COUNT = 105;
inline constexpr int TRIALS_COUNT_DOWN = 107;
inline constexpr int TRIALS_COUNT_UP = 108;
inline constexpr int TRIALS_TRIAL = 109;
inline constexpr int TRIALS_TRIAL_GROUP = 110;
inline constexpr int TRIALS_HETEROGENEITY_GROUP = 111;
inline constexpr int TRIALS_HETEROGENEITY = 112;

// "PAIRWISE": pairwise exchange of prototypes.
inline constexpr int PAIRWISE_COUNT_LABEL = 103;
inline constexpr int PAIRWISE_COUNT = 105;
inline constexpr int PAIRWISE_COUNT_DOWN = 107;
inline constexpr int PAIRWISE_COUNT_UP = 108;
inline constexpr int PAIRWISE_TOTAL = 109;
inline constexpr int PAIRWISE_TOTAL_GROUP = 110;
inline constexpr int PAIRWISE_SUCCESSFUL_GROUP = 111;
inline constexpr int PAIRWISE_SUCCESSFUL = 112;
inline constexpr int PAIRWISE_SIMPLICITY_GROUP = 113;
inline constexpr int PAIRWISE_SIMPLICITY = 114;

// "FIXPOINT": the convergence status box.
inline constexpr int FIXPOINT_HETEROGENEITY_GROUP = 111;
inline constexpr int FIXPOINT_HETEROGENEITY = 112;

// "SOM": the training schedule.
inline constexpr int SOM_EPOCHS_LABEL = 103;
inline constexpr int SOM_EPOCHS = 105;
inline constexpr int SOM_EPOCHS_DOWN = 107;
inline constexpr int SOM_EPOCHS_UP = 108;
inline constexpr int SOM_ORDER_LABEL = 117;
inline constexpr int SOM_ORDER = 118;
inline constexpr int SOM_ORDER_DOWN = 109;
inline constexpr int SOM_ORDER_UP = 110;
inline constexpr int SOM_RATE_LABEL = 121;
inline constexpr int SOM_RATE = 122;
inline constexpr int SOM_FACTOR_LABEL = 123;
inline constexpr int SOM_FACTOR = 124;

// "SOMINFO": the SOM Monitor.
inline constexpr int MONITOR_EPOCHS_GROUP = 110;
inline constexpr int MONITOR_EPOCHS = 109;
inline constexpr int MONITOR_ITERATIONS_GROUP = 111;
inline constexpr int MONITOR_ITERATIONS = 112;
inline constexpr int MONITOR_VIOLATIONS_GROUP = 113;
inline constexpr int MONITOR_VIOLATIONS = 114;
inline constexpr int MONITOR_HETEROGENEITY_GROUP = 115;
inline constexpr int MONITOR_HETEROGENEITY = 120;
inline constexpr int MONITOR_SIMPLICITY_GROUP = 116;
inline constexpr int MONITOR_SIMPLICITY = 119;
inline constexpr int MONITOR_COMBINED_GROUP = 117;  // heterogeneity + simplicity
inline constexpr int MONITOR_COMBINED = 118;
inline constexpr int MONITOR_INACTIVE_GROUP = 121;
inline constexpr int MONITOR_INACTIVE = 122;

// "RECALL": frequency and assignment.
inline constexpr int RECALL_CYCLE_LABEL = 103;
inline constexpr int RECALL_START_LABEL = 104;
inline constexpr int RECALL_START = 105;
inline constexpr int RECALL_CYCLE = 106;
inline constexpr int RECALL_START_DOWN = 107;
inline constexpr int RECALL_START_UP = 108;
inline constexpr int RECALL_CYCLE_DOWN = 109;
inline constexpr int RECALL_CYCLE_UP = 110;
inline constexpr int RECALL_FILE_GROUP = 111;
inline constexpr int RECALL_FILE_NAME = 112;

// "ABOUT" (its OK button is CONTROL_OK).
inline constexpr int ABOUT_ICON = 102;
inline constexpr int ABOUT_VERSION = 201;
inline constexpr int ABOUT_REVISION = 202;

// "TABLEIMPORT": the fields the batch command's NAME=VALUE settings type into,
// and their labels.
inline constexpr int TABLE_FILE_GROUP = 111;
inline constexpr int TABLE_FILE_NAME = 112;
inline constexpr int TABLE_DELIMITER_LABEL = 113;
inline constexpr int TABLE_HEADER_LABEL = 114;
inline constexpr int TABLE_DECIMAL_LABEL = 115;
inline constexpr int TABLE_MISSING_LABEL = 116;
inline constexpr int TABLE_SCALE_LABEL = 117;
inline constexpr int TABLE_SKIP_LABEL = 118;
inline constexpr int TABLE_SETTINGS_HINT = 119;
inline constexpr int TABLE_DELIMITER = 120;  // auto, comma, semicolon, tab, blanks
inline constexpr int TABLE_HEADER = 121;     // auto, yes, no
inline constexpr int TABLE_DECIMAL = 122;    // . or ,
inline constexpr int TABLE_MISSING = 123;    // refuse, drop
inline constexpr int TABLE_SCALE = 124;      // none, zscore, range
inline constexpr int TABLE_SKIP = 125;       // column names separated by commas
inline constexpr int TABLE_SUMMARY = 130;    // how the file reads with the settings
inline constexpr int TABLE_UPDATE = 131;     // reads the file again with the settings
inline constexpr int TABLE_PREVIEW = 140;    // where the host shows the first rows

// "TABLEEXPORT".
inline constexpr int TABLE_KIND_LABEL = 103;
inline constexpr int TABLE_KIND = 105;  // prototypes, assignment or frequency

}  // namespace veltra::ui
