#include "ui/file_filters.h"

#include <array>

namespace veltra::ui {

namespace {

constexpr std::array<std::string_view, 10> FILTER_STRINGS = {
    "Data Files (*.dat)|*.dat|Veltra Files (*.vlt)|*.vlt|All Files (*.*)|*.*|",
    "Weights Files (*.wgt)|*.wgt|Data Files (*.dat)|*.dat|Veltra Files (*.vlt)|*.vlt|All Files (*.*)|*.*|",
    "Weights Files (*.wgt)|*.wgt|Fixpoint Files (*.fix)|*.fix|Veltra Files (*.vlt)|*.vlt|All Files "
    "(*.*)|*.*|",
    "Violations Files (*.vio)|*.vio|All Files (*.*)|*.*|",
    "Mean Values Files (*.avg)|*.avg|All Files (*.*)|*.*|",
    "Frequency Files (*.frq)|*.frq|All Files (*.*)|*.*|",
    "Assignment Files (*.lst)|*.lst|All Files (*.*)|*.*|",
    "Tables (*.csv *.tsv *.txt)|*.csv;*.tsv;*.txt|All Files (*.*)|*.*|",
    "CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|",
    "Pictures (*.png *.svg)|*.png;*.svg|PNG Pictures (*.png)|*.png|SVG Pictures (*.svg)|*.svg|",
};

}  // namespace

std::string_view file_filter_string(int filter_id) {
    if (filter_id < 0 || filter_id >= static_cast<int>(FILTER_STRINGS.size())) return {};
    return FILTER_STRINGS[static_cast<std::size_t>(filter_id)];
}

std::vector<FileFilter> file_filters(int filter_id) {
    std::string_view rest = file_filter_string(filter_id);
    std::vector<FileFilter> filters;
    if (rest.empty()) return filters;
    const char separator = rest.back();
    std::vector<std::string_view> parts;
    while (!rest.empty()) {
        const std::size_t end = rest.find(separator);
        parts.push_back(rest.substr(0, end));
        rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    }
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) filters.push_back({parts[i], parts[i + 1]});
    return filters;
}

}  // namespace veltra::ui
