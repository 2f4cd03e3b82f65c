#include "core/kernels/prototype_rows.h"

#include <cstddef>

#include "core/kernels/lane_kernels.h"
#include "core/kernels/screen_frame.h"

namespace veltra::core {

namespace {

constexpr std::size_t ALIGNMENT_BYTES = 64;

std::size_t rounded_up(std::size_t n, std::size_t multiple) noexcept {
    return (n + multiple - 1) / multiple * multiple;
}

// Rows for nprotos prototypes: whole blocks of lanes::WIDTH, which the
// screen's dot products take side by side.
std::size_t padded_rows(std::int32_t nprotos) noexcept {
    return rounded_up(static_cast<std::size_t>(nprotos), lanes::WIDTH);
}

}  // namespace

bool PrototypeRows::reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars) noexcept {
    release();
    if (nprotos < 1 || nvars < 1 || nprotos > lanes::MAX_LANE_PROTOTYPES) return false;
    const std::size_t stride = rounded_up(static_cast<std::size_t>(nvars), lanes::WIDTH);
    const std::size_t float_stride = rounded_up(stride, lanes::FLOAT_WIDTH);
    const std::size_t rows = padded_rows(nprotos);
    const std::size_t values_bytes = rounded_up(rows * stride * sizeof(double), ALIGNMENT_BYTES);
    const std::size_t screen_bytes = rounded_up(rows * float_stride * sizeof(float), ALIGNMENT_BYTES);
    const std::size_t shift_bytes = rounded_up(float_stride * sizeof(double), ALIGNMENT_BYTES);
    const std::size_t shifted_bytes = lanes::SCREEN_AHEAD * float_stride * sizeof(float);
    // The heap aligns for any scalar type only; the slack lets the rows
    // start on a 64-byte boundary.
    void* block =
        heap.allocate(values_bytes + screen_bytes + shift_bytes + shifted_bytes + ALIGNMENT_BYTES - 1);
    if (!block) return false;
    auto* bytes = reinterpret_cast<unsigned char*>(
        rounded_up(reinterpret_cast<std::uintptr_t>(block), ALIGNMENT_BYTES));
    heap_ = &heap;
    block_ = block;
    capacity_protos_ = nprotos;
    capacity_vars_ = nvars;
    rows_.values = reinterpret_cast<double*>(bytes);
    rows_.screen = reinterpret_cast<float*>(bytes + values_bytes);
    rows_.shift = reinterpret_cast<double*>(bytes + values_bytes + screen_bytes);
    rows_.shifted = reinterpret_cast<float*>(bytes + values_bytes + screen_bytes + shift_bytes);
    rows_.norms = norms_;
    rows_.dots = dots_;
    rows_.stride = static_cast<std::int32_t>(stride);
    rows_.float_stride = static_cast<std::int32_t>(float_stride);
    // hold clears the rows before each use.
    return true;
}

void PrototypeRows::release() noexcept {
    if (heap_) heap_->release(block_);
    heap_ = nullptr;
    block_ = nullptr;
    capacity_protos_ = 0;
    capacity_vars_ = 0;
    rows_ = {};
}

bool PrototypeRows::hold(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept {
    if (nprotos < 1 || nvars < 1 || nprotos > capacity_protos_ || nvars > capacity_vars_) return false;
    // Values past nvars may hold a larger copy's: the rows are cleared whole.
    const std::size_t rows = padded_rows(capacity_protos_);
    for (std::size_t i = 0; i < rows * static_cast<std::size_t>(rows_.stride); ++i) rows_.values[i] = 0.0;
    for (std::size_t i = 0; i < rows * static_cast<std::size_t>(rows_.float_stride); ++i)
        rows_.screen[i] = 0.0f;
    for (std::size_t i = 0; i < lanes::SCREEN_AHEAD * static_cast<std::size_t>(rows_.float_stride); ++i)
        rows_.shifted[i] = 0.0f;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        double* values = rows_.values + static_cast<std::ptrdiff_t>(p) * rows_.stride;
        for (std::int32_t k = 0; k < nvars; ++k) values[k] = prototypes[p][k];
    }
    rows_.nprotos = nprotos;
    rows_.nvars = nvars;
    rows_.unscreenable = 0;
    rows_.ahead_count = 0;
    rows_.next = 0;
    for (float& norm : norms_) norm = 0.0f;
    for (std::int32_t k = 0; k < rows_.float_stride; ++k) rows_.shift[k] = 0.0;
    rows_.has_screen = choose_screen_frame(prototypes, nprotos, nvars, rows_.shift, rows_.scale);
    if (!rows_.has_screen) return true;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        float* screen = rows_.screen + static_cast<std::ptrdiff_t>(p) * rows_.float_stride;
        double norm = 0.0;
        for (std::int32_t k = 0; k < nvars; ++k) {
            const double b = (prototypes[p][k] - rows_.shift[k]) * rows_.scale;
            screen[k] = static_cast<float>(b);
            norm += b * b;
        }
        norms_[p] = static_cast<float>(norm);
    }
    return true;
}

void PrototypeRows::store(Matrix& prototypes) const noexcept {
    for (std::int32_t p = 0; p < rows_.nprotos; ++p) {
        const double* values = rows_.values + static_cast<std::ptrdiff_t>(p) * rows_.stride;
        for (std::int32_t k = 0; k < rows_.nvars; ++k) prototypes[p][k] = values[k];
    }
}

std::int32_t PrototypeRows::screened_at_once() const noexcept {
    // Beyond this many bytes the screen rows leave the first-level cache.
    constexpr std::size_t NEAR_BYTES = 32 * 1024;
    const std::size_t bytes =
        padded_rows(rows_.nprotos) * static_cast<std::size_t>(rows_.float_stride) * sizeof(float);
    return bytes > NEAR_BYTES ? lanes::SCREEN_AHEAD : 1;
}

void PrototypeRows::screen(const double* const* datavectors, std::int32_t count) noexcept {
    lanes::active_kernels().screen_rows_ahead(rows_, datavectors, count);
}

std::int32_t PrototypeRows::find_next_winner() noexcept {
    return lanes::active_kernels().find_row_winner(rows_);
}

void PrototypeRows::move_toward(const double* datavector, const double* rates,
                                std::uint64_t moving) noexcept {
    lanes::active_kernels().move_rows(rows_, datavector, rates, moving);
}

}  // namespace veltra::core
