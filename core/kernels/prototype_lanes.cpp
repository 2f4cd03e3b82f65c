#include "core/kernels/prototype_lanes.h"

#include <new>

#include "core/kernels/instruction_set.h"
#include "core/kernels/lane_kernels.h"

namespace veltra::core {

namespace {

constexpr std::align_val_t ALIGNMENT{64};

const lanes::LaneKernels& active_kernels() noexcept {
    switch (active_instruction_set()) {
        case InstructionSet::avx512:
            return lanes::AVX512_KERNELS;
        case InstructionSet::avx2:
            return lanes::AVX2_KERNELS;
        case InstructionSet::sse2:
            break;
    }
    return lanes::SSE2_KERNELS;
}

std::size_t lane_index(std::int32_t p, std::int32_t k, std::int32_t nvars) noexcept {
    const auto group = static_cast<std::size_t>(p / lanes::WIDTH);
    const auto lane = static_cast<std::size_t>(p % lanes::WIDTH);
    return (group * static_cast<std::size_t>(nvars) + static_cast<std::size_t>(k)) * lanes::WIDTH + lane;
}

}  // namespace

PrototypeLanes::~PrototypeLanes() { ::operator delete(packed_, ALIGNMENT); }

bool PrototypeLanes::load(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept {
    if (nprotos > lanes::MAX_LANE_PROTOTYPES) return false;
    const auto groups = static_cast<std::size_t>((nprotos + lanes::WIDTH - 1) / lanes::WIDTH);
    const std::size_t size = groups * static_cast<std::size_t>(nvars) * lanes::WIDTH;
    if (size > capacity_) {
        ::operator delete(packed_, ALIGNMENT);
        packed_ = static_cast<double*>(::operator new(size * sizeof(double), ALIGNMENT, std::nothrow));
        capacity_ = packed_ ? size : 0;
        if (!packed_) {
            nprotos_ = 0;
            nvars_ = 0;
            return false;
        }
    }
    nprotos_ = nprotos;
    nvars_ = nvars;
    // Lanes past the last prototype are never read as results; zeros keep
    // them ordinary numbers.
    for (std::size_t n = 0; n < size; ++n) packed_[n] = 0.0;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        const double* row = prototypes[p];
        for (std::int32_t k = 0; k < nvars; ++k) packed_[lane_index(p, k, nvars)] = row[k];
    }
    active_kernels().measure_norms(packed_, nprotos, nvars, norms_);
    return true;
}

void PrototypeLanes::store(Matrix& prototypes) const noexcept {
    for (std::int32_t p = 0; p < nprotos_; ++p) {
        double* row = prototypes[p];
        for (std::int32_t k = 0; k < nvars_; ++k) row[k] = packed_[lane_index(p, k, nvars_)];
    }
}

std::int32_t PrototypeLanes::find_winner(const double* datavector) const noexcept {
    return active_kernels().find_winner(packed_, norms_, nprotos_, nvars_, datavector);
}

void PrototypeLanes::assign_winners(const Matrix& data, std::int32_t begin, std::int32_t end,
                                    std::int32_t* winners, double* distances) const noexcept {
    constexpr std::int32_t BATCH = 64;
    const lanes::LaneKernels& kernels = active_kernels();
    const double* rows[BATCH];
    for (std::int32_t i = begin; i < end; i += BATCH) {
        const std::int32_t count = end - i < BATCH ? end - i : BATCH;
        for (std::int32_t b = 0; b < count; ++b) rows[b] = data[i + b];
        kernels.find_winners(packed_, norms_, nprotos_, nvars_, rows, count, winners + i,
                             distances != nullptr ? distances + i : nullptr);
    }
}

void PrototypeLanes::prefetch(const double* datavector) const noexcept {
    lanes::prefetch_row(datavector, nvars_);
}

void PrototypeLanes::move_toward(const double* datavector, const double* rates,
                                 const std::uint8_t* moves) noexcept {
    active_kernels().move_toward(packed_, norms_, nprotos_, nvars_, datavector, rates, moves);
}

}  // namespace veltra::core
