#include "core/data_annotations.h"

namespace veltra::core {

std::string variable_name(const DataAnnotations& annotations, std::int32_t v) {
    const auto index = static_cast<std::size_t>(v);
    if (index < annotations.variable_names.size()) return annotations.variable_names[index];
    std::string name = "V";
    name += std::to_string(v + 1);
    return name;
}

double original_value(const DataAnnotations& annotations, std::int32_t v, double stored) noexcept {
    const auto index = static_cast<std::size_t>(v);
    if (index >= annotations.scales.size() || index >= annotations.offsets.size()) return stored;
    return stored * annotations.scales[index] + annotations.offsets[index];
}

}  // namespace veltra::core
