#include "core/column_scaling.h"

#include <algorithm>
#include <cmath>

namespace veltra::core {

ColumnScaling scale_columns(std::vector<double>& values, std::int32_t ndata, std::int32_t nvars,
                            Scaling scaling) {
    ColumnScaling result;
    if (scaling == Scaling::none || ndata < 1) return result;
    const auto n = static_cast<std::size_t>(ndata);
    const auto m = static_cast<std::size_t>(nvars);
    for (std::size_t v = 0; v < m; ++v) {
        double sum = 0.0;
        double low = values[v];
        double high = values[v];
        for (std::size_t i = 0; i < n; ++i) {
            const double x = values[i * m + v];
            sum += x;
            low = std::min(low, x);
            high = std::max(high, x);
        }
        const double mean = sum / static_cast<double>(n);
        double offset = mean;
        double scale = 1.0;
        if (low == high) {
            // Its mean is its one value, which a rounded sum / n may miss.
            offset = low;
            result.constant_columns.push_back(static_cast<std::int32_t>(v));
        } else if (scaling == Scaling::zscore) {
            double squares = 0.0;
            for (std::size_t i = 0; i < n; ++i) {
                const double d = values[i * m + v] - mean;
                squares += d * d;
            }
            scale = std::sqrt(squares / static_cast<double>(n - 1));
        } else {
            offset = low;
            scale = high - low;
        }
        for (std::size_t i = 0; i < n; ++i) values[i * m + v] = (values[i * m + v] - offset) / scale;
        result.offsets.push_back(offset);
        result.scales.push_back(scale);
    }
    return result;
}

}  // namespace veltra::core
