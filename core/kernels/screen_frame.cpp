#include "core/kernels/screen_frame.h"

#include <cmath>

namespace veltra::core {

namespace {

constexpr int LARGEST_SCALE_EXPONENT = 400;

}  // namespace

bool choose_screen_frame(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars, double* shift,
                         double& scale) noexcept {
    double largest = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) {
        double low = prototypes[0][k];
        double high = low;
        for (std::int32_t p = 0; p < nprotos; ++p) {
            const double v = prototypes[p][k];
            if (!std::isfinite(v)) return false;
            low = v < low ? v : low;
            high = v > high ? v : high;
        }
        shift[k] = 0.5 * low + 0.5 * high;
        const double reach = std::fmax(std::fabs(low - shift[k]), std::fabs(high - shift[k]));
        largest = std::fmax(largest, reach);
    }
    if (!std::isfinite(largest)) return false;
    int exponent = 0;
    if (largest > 0.0) std::frexp(largest, &exponent);
    if (exponent < -LARGEST_SCALE_EXPONENT || exponent > LARGEST_SCALE_EXPONENT) return false;
    scale = std::ldexp(1.0, -exponent);
    return true;
}

}  // namespace veltra::core
