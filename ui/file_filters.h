#pragma once

#include <string_view>
#include <utility>
#include <vector>

namespace veltra::ui {

// Filter ids: the string table entries of the Open and Save dialogs.
inline constexpr int FILTER_DATA = 0;          // Open, import datavectors
inline constexpr int FILTER_WEIGHTS_OPEN = 1;  // Open, import prototypes
inline constexpr int FILTER_WEIGHTS_SAVE = 2;  // Save, export prototypes
inline constexpr int FILTER_VIOLATIONS = 3;    // Save, export violations
inline constexpr int FILTER_MEAN_VALUES = 4;   // Save, export mean values
inline constexpr int FILTER_FREQUENCY = 5;     // Save, recall frequency
inline constexpr int FILTER_ASSIGNMENT = 6;    // Save, recall assignment
inline constexpr int FILTER_TABLE_OPEN = 7;    // Open, import table
inline constexpr int FILTER_TABLE_SAVE = 8;    // Save, export table
inline constexpr int FILTER_PICTURE = 9;       // Save, a view's picture

// The string table entry 0 to 9 as stored: description and pattern pairs,
// each part followed by the separator "|". Empty for another id.
std::string_view file_filter_string(int filter_id);

struct FileFilter {
    std::string_view description;  // "Data Files (*.dat)"
    std::string_view pattern;      // "*.dat"
};

// The pairs of a filter string, split at its last character (the separator);
// the first pair is the one selected when the dialog opens.
std::vector<FileFilter> file_filters(int filter_id);

}  // namespace veltra::ui
