#pragma once

#include <cstddef>
#include <cstdint>

#include "core/kernels/float_screen.h"
#include "core/kernels/instruction_set.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core {

// A contiguous copy of the prototypes, packed for the vector kernels of the
// active instruction set, with their squared norms for the winner search's
// screen. Winners found here and moves made here give exactly the bits of the
// plain loops on the rows.
class PrototypeLanes {
public:
    PrototypeLanes() = default;
    PrototypeLanes(const PrototypeLanes&) = delete;
    PrototypeLanes& operator=(const PrototypeLanes&) = delete;
    ~PrototypeLanes() { release(); }

    // Takes storage for up to nprotos x nvars prototypes (both at least 1,
    // nprotos at most 64) from the heap, in place of any held before. Returns
    // false, holding nothing, when the heap refuses or the sizes are out of
    // that range.
    [[nodiscard]] bool reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars) noexcept;
    // Returns the storage to its heap; nothing is held afterwards.
    void release() noexcept;

    // Makes the copy hold rows 0..nprotos-1 (nvars values each): packs them
    // unless it holds exactly their bits already. Returns false when the
    // storage is too small for them.
    [[nodiscard]] bool hold(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept;

    // The index of the prototype nearest to the datavector (nvars values); ties
    // and NaN as in find_winner.
    std::int32_t find_winner(const double* datavector) const noexcept;

    // winners[i] := find_winner(data[i]) for begin <= i < end; unless
    // `bounds` is null, bounds[i] := a number at most the plain loop's
    // distance of data[i] to that winner.
    void assign_winners(const Matrix& data, std::int32_t begin, std::int32_t end, std::int32_t* winners,
                        double* bounds) const noexcept;

private:
    // Whether the packed values are exactly the bits of the rows.
    bool holds_bits_of(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) const noexcept;
    void pack(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept;
    // Shifts, scales and rounds the prototypes for the single-precision
    // screen; leaves it off when their values do not suit it.
    void prepare_float_screen(const Matrix& prototypes) noexcept;

    // One block from the heap holds the packed values, the shift and the
    // single-precision values, each starting on a 64-byte boundary.
    Heap* heap_ = nullptr;
    void* block_ = nullptr;
    std::int32_t capacity_protos_ = 0;
    std::int32_t capacity_vars_ = 0;
    double* packed_ = nullptr;
    double* shift_ = nullptr;
    float* float_packed_ = nullptr;
    double scale_ = 1.0;
    bool float_screen_ = false;
    // The instruction set whose kernels measured the norms.
    InstructionSet norms_set_ = InstructionSet::sse2;
    alignas(64) double norms_[lanes::MAX_LANE_PROTOTYPES];
    alignas(64) float float_norms_[lanes::MAX_LANE_PROTOTYPES];
    std::int32_t nprotos_ = 0;
    std::int32_t nvars_ = 0;
};

}  // namespace veltra::core
