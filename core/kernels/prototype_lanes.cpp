#include "core/kernels/prototype_lanes.h"

#include <bit>
#include <cstdint>

#include "core/kernels/instruction_set.h"
#include "core/kernels/lane_kernels.h"
#include "core/kernels/screen_frame.h"

namespace veltra::core {

namespace {

constexpr std::size_t ALIGNMENT_BYTES = 64;

std::size_t lane_index(std::int32_t p, std::int32_t k, std::int32_t nvars, std::int32_t width) noexcept {
    const auto group = static_cast<std::size_t>(p / width);
    const auto lane = static_cast<std::size_t>(p % width);
    return (group * static_cast<std::size_t>(nvars) + static_cast<std::size_t>(k)) *
               static_cast<std::size_t>(width) +
           lane;
}

std::size_t rounded_up(std::size_t bytes) noexcept {
    return (bytes + ALIGNMENT_BYTES - 1) / ALIGNMENT_BYTES * ALIGNMENT_BYTES;
}

}  // namespace

bool PrototypeLanes::reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars) noexcept {
    release();
    if (nprotos < 1 || nvars < 1 || nprotos > lanes::MAX_LANE_PROTOTYPES) return false;
    const auto n = static_cast<std::size_t>(nvars);
    const auto groups = static_cast<std::size_t>((nprotos + lanes::WIDTH - 1) / lanes::WIDTH);
    const auto float_groups =
        static_cast<std::size_t>((nprotos + lanes::FLOAT_WIDTH - 1) / lanes::FLOAT_WIDTH);
    const std::size_t packed_bytes = rounded_up(groups * n * lanes::WIDTH * sizeof(double));
    const std::size_t shift_bytes = rounded_up(n * sizeof(double));
    const std::size_t float_bytes = float_groups * n * lanes::FLOAT_WIDTH * sizeof(float);
    // The block, of more than 64 bytes, starts on a 64-byte boundary.
    void* block = heap.allocate(packed_bytes + shift_bytes + float_bytes);
    if (!block) return false;
    auto* bytes_at = static_cast<unsigned char*>(block);
    heap_ = &heap;
    block_ = block;
    capacity_protos_ = nprotos;
    capacity_vars_ = nvars;
    packed_ = reinterpret_cast<double*>(bytes_at);
    shift_ = reinterpret_cast<double*>(bytes_at + packed_bytes);
    float_packed_ = reinterpret_cast<float*>(bytes_at + packed_bytes + shift_bytes);
    return true;
}

void PrototypeLanes::release() noexcept {
    if (heap_) heap_->release(block_);
    heap_ = nullptr;
    block_ = nullptr;
    capacity_protos_ = 0;
    capacity_vars_ = 0;
    packed_ = nullptr;
    shift_ = nullptr;
    float_packed_ = nullptr;
    float_screen_ = false;
    nprotos_ = 0;
    nvars_ = 0;
}

bool PrototypeLanes::hold(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept {
    if (nprotos < 1 || nvars < 1 || nprotos > capacity_protos_ || nvars > capacity_vars_) return false;
    if (!holds_bits_of(prototypes, nprotos, nvars)) {
        pack(prototypes, nprotos, nvars);
        return true;
    }
    if (norms_set_ != active_instruction_set()) {
        norms_set_ = active_instruction_set();
        lanes::active_kernels().measure_norms(packed_, nprotos_, nvars_, norms_);
    }
    return true;
}

bool PrototypeLanes::holds_bits_of(const Matrix& prototypes, std::int32_t nprotos,
                                   std::int32_t nvars) const noexcept {
    if (nprotos != nprotos_ || nvars != nvars_) return false;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        const double* row = prototypes[p];
        for (std::int32_t k = 0; k < nvars; ++k) {
            if (std::bit_cast<std::uint64_t>(packed_[lane_index(p, k, nvars, lanes::WIDTH)]) !=
                std::bit_cast<std::uint64_t>(row[k]))
                return false;
        }
    }
    return true;
}

void PrototypeLanes::pack(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept {
    nprotos_ = nprotos;
    nvars_ = nvars;
    const auto n = static_cast<std::size_t>(nvars);
    const auto groups = static_cast<std::size_t>((nprotos + lanes::WIDTH - 1) / lanes::WIDTH);
    const auto float_groups =
        static_cast<std::size_t>((nprotos + lanes::FLOAT_WIDTH - 1) / lanes::FLOAT_WIDTH);
    const std::size_t packed_size = groups * n * lanes::WIDTH;
    const std::size_t float_size = float_groups * n * lanes::FLOAT_WIDTH;
    // Lanes past the last prototype are never read as results; zeros keep
    // them ordinary numbers.
    for (std::size_t i = 0; i < packed_size; ++i) packed_[i] = 0.0;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        const double* row = prototypes[p];
        for (std::int32_t k = 0; k < nvars; ++k) packed_[lane_index(p, k, nvars, lanes::WIDTH)] = row[k];
    }
    norms_set_ = active_instruction_set();
    lanes::active_kernels().measure_norms(packed_, nprotos, nvars, norms_);
    for (std::size_t i = 0; i < float_size; ++i) float_packed_[i] = 0.0f;
    prepare_float_screen(prototypes);
}

void PrototypeLanes::prepare_float_screen(const Matrix& prototypes) noexcept {
    float_screen_ = false;
    if (!choose_screen_frame(prototypes, nprotos_, nvars_, shift_, scale_)) return;
    for (std::int32_t p = 0; p < lanes::MAX_LANE_PROTOTYPES; ++p) float_norms_[p] = 0.0f;
    for (std::int32_t p = 0; p < nprotos_; ++p) {
        double norm = 0.0;
        for (std::int32_t k = 0; k < nvars_; ++k) {
            const double b = (prototypes[p][k] - shift_[k]) * scale_;
            float_packed_[lanes::float_lane_index(p, k, nprotos_, nvars_)] = static_cast<float>(b);
            norm += b * b;
        }
        float_norms_[p] = static_cast<float>(norm);
    }
    float_screen_ = true;
}

std::int32_t PrototypeLanes::find_winner(const double* datavector) const noexcept {
    return lanes::active_kernels().find_winner(packed_, norms_, nprotos_, nvars_, datavector);
}

void PrototypeLanes::assign_winners(const Matrix& data, std::int32_t begin, std::int32_t end,
                                    std::int32_t* winners, double* bounds) const noexcept {
    constexpr std::int32_t BATCH = 64;
    const lanes::LaneKernels& kernels = lanes::active_kernels();
    lanes::FloatScreen screen;
    if (float_screen_) screen = {float_packed_, float_norms_, shift_, scale_};
    const double* rows[BATCH];
    for (std::int32_t i = begin; i < end; i += BATCH) {
        const std::int32_t count = end - i < BATCH ? end - i : BATCH;
        for (std::int32_t b = 0; b < count; ++b) rows[b] = data[i + b];
        kernels.find_winners(packed_, norms_, nprotos_, nvars_, screen, rows, count, winners + i,
                             bounds != nullptr ? bounds + i : nullptr);
    }
}

}  // namespace veltra::core
