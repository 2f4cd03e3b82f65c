#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace veltra::core {

// What a table import knows beyond the numbers: the variables' names, the
// datavectors' labels and how each variable was scaled. A plain datavector
// import leaves every list empty.
struct DataAnnotations {
    std::vector<std::string> variable_names;  // nvars names, or empty
    std::string label_column;                 // the header of the label column, or empty
    std::vector<std::string> labels;          // ndata labels, or empty when the data has none
    // Per variable, original = stored * scales[v] + offsets[v]; both empty
    // when the stored values are the original ones.
    std::vector<double> offsets;
    std::vector<double> scales;

    bool has_labels() const noexcept { return !labels.empty(); }
    void clear() { *this = DataAnnotations{}; }
};

// The name of variable v (0-based): the table's header, or "V1", "V2", ...
std::string variable_name(const DataAnnotations& annotations, std::int32_t v);

// The stored value of variable v in the units of the file it came from.
double original_value(const DataAnnotations& annotations, std::int32_t v, double stored) noexcept;

}  // namespace veltra::core
