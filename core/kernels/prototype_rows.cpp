#include "core/kernels/prototype_rows.h"

#include <cmath>
#include <cstddef>
#include <iterator>

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
    const std::size_t ahead = lanes::SCREEN_AHEAD;
    const std::size_t most = lanes::MAX_LANE_PROTOTYPES;
    // In the order of the fields below, each part a whole number of cache
    // lines.
    const std::size_t sizes[] = {
        rows * stride * sizeof(double), (rows + lanes::EXTRA_SCREEN_ROWS) * float_stride * sizeof(float),
        float_stride * sizeof(double),  ahead * lanes::DOTS_ROW * sizeof(float),
        ahead * most * sizeof(double),  ahead * ahead * sizeof(double),
        most * sizeof(double),          most * sizeof(double),
        ahead * most * sizeof(double),
    };
    std::size_t total = 0;
    for (const std::size_t size : sizes) total += rounded_up(size, ALIGNMENT_BYTES);
    // The block, of more than 64 bytes, starts on a 64-byte boundary.
    void* block = heap.allocate(total);
    if (!block) return false;
    auto* bytes = static_cast<unsigned char*>(block);
    unsigned char* parts[std::size(sizes)];
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
        parts[i] = bytes;
        bytes += rounded_up(sizes[i], ALIGNMENT_BYTES);
    }
    heap_ = &heap;
    block_ = block;
    capacity_protos_ = nprotos;
    capacity_vars_ = nvars;
    rows_.values = reinterpret_cast<double*>(parts[0]);
    rows_.screen = reinterpret_cast<float*>(parts[1]);
    rows_.shift = reinterpret_cast<double*>(parts[2]);
    rows_.dots = reinterpret_cast<float*>(parts[3]);
    rows_.estimates = reinterpret_cast<double*>(parts[4]);
    rows_.gram = reinterpret_cast<double*>(parts[5]);
    rows_.reach = reinterpret_cast<double*>(parts[6]);
    rows_.drift = reinterpret_cast<double*>(parts[7]);
    rows_.rates = reinterpret_cast<double*>(parts[8]);
    rows_.stride = static_cast<std::int32_t>(stride);
    rows_.float_stride = static_cast<std::int32_t>(float_stride);
    // A batch's screen turns whole vectors of dot products to double, some
    // lanes of which no sweep writes (their results go unused): they start
    // at 0. hold clears the rows before each use.
    for (std::size_t i = 0; i < ahead * lanes::DOTS_ROW; ++i) rows_.dots[i] = 0.0f;
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
    const std::size_t screen_rows = rows + lanes::EXTRA_SCREEN_ROWS;
    for (std::size_t i = 0; i < screen_rows * static_cast<std::size_t>(rows_.float_stride); ++i)
        rows_.screen[i] = 0.0f;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        double* values = rows_.values + static_cast<std::ptrdiff_t>(p) * rows_.stride;
        for (std::int32_t k = 0; k < nvars; ++k) values[k] = prototypes[p][k];
    }
    rows_.nprotos = nprotos;
    rows_.padded = static_cast<std::int32_t>(padded_rows(nprotos));
    rows_.nvars = nvars;
    rows_.shifted = rows_.screen + static_cast<std::ptrdiff_t>(nprotos) * rows_.float_stride;
    rows_.screened = false;
    rows_.count = 0;
    rows_.next = 0;
    rows_.recorded = 0;
    for (std::int32_t& settled : rows_.settled) settled = 0;
    for (bool& current : rows_.current) current = false;
    for (double& norm : rows_.norms) norm = 0.0;
    for (std::int32_t k = 0; k < rows_.float_stride; ++k) rows_.shift[k] = 0.0;
    rows_.has_screen = choose_screen_frame(prototypes, nprotos, nvars, rows_.shift, rows_.scale);
    double shift_square = 0.0;
    for (std::int32_t k = 0; k < nvars; ++k) shift_square += rows_.shift[k] * rows_.shift[k];
    rows_.shift_length = std::sqrt(shift_square) * rows_.scale * (1.0 + 0x1p-40);
    return true;
}

void PrototypeRows::store(Matrix& prototypes) noexcept {
    lanes::active_kernels().settle_moves(rows_);
    for (std::int32_t p = 0; p < rows_.nprotos; ++p) {
        const double* values = rows_.values + static_cast<std::ptrdiff_t>(p) * rows_.stride;
        for (std::int32_t k = 0; k < rows_.nvars; ++k) prototypes[p][k] = values[k];
    }
}

void PrototypeRows::screen(const double* const* datavectors, std::int32_t count,
                           const double* const* following, std::int32_t following_count) noexcept {
    lanes::active_kernels().screen_rows_ahead(rows_, datavectors, count, following, following_count);
}

std::int32_t PrototypeRows::find_next_winner() noexcept {
    return lanes::active_kernels().find_row_winner(rows_);
}

void PrototypeRows::move_toward(const double* rates, std::uint64_t moving) noexcept {
    lanes::active_kernels().move_rows(rows_, rates, moving);
}

}  // namespace veltra::core
