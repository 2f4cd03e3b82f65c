#pragma once

#include <cstdint>

#include "core/kernels/row_kernels.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core {

// A copy of the prototypes in rows for the presentations of a training
// epoch, with the single-precision copy that screens their winner searches
// kept up with every move (row_kernels.h). Winners found here and moves made
// here give exactly the bits of the plain loops on the rows.
class PrototypeRows {
public:
    PrototypeRows() = default;
    PrototypeRows(const PrototypeRows&) = delete;
    PrototypeRows& operator=(const PrototypeRows&) = delete;
    ~PrototypeRows() { release(); }

    // Takes storage for up to nprotos x nvars prototypes (both at least 1,
    // nprotos at most 64) from the heap, in place of any held before. Returns
    // false, holding nothing, when the heap refuses or the sizes are out of
    // that range.
    [[nodiscard]] bool reserve(Heap& heap, std::int32_t nprotos, std::int32_t nvars) noexcept;
    // Returns the storage to its heap; nothing is held afterwards.
    void release() noexcept;

    // Copies rows 0..nprotos-1 (nvars values each). Returns false when the
    // storage is too small for them.
    [[nodiscard]] bool hold(const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars) noexcept;
    // Makes the moves that wait and copies the values back into rows
    // 0..nprotos-1.
    void store(Matrix& prototypes) noexcept;

    // Takes the datavectors (nvars values each) of the next `count`
    // presentations, 1 to lanes::SCREEN_AHEAD, and screens them as a batch;
    // the datavectors (not the array of them) must stay in place until the
    // next screen or store, which make the moves toward them that wait. The
    // `following` datavectors (following_count of them, those of the batch
    // after) are fetched from memory meanwhile.
    void screen(const double* const* datavectors, std::int32_t count, const double* const* following,
                std::int32_t following_count) noexcept;
    // The index of the prototype nearest to the next datavector taken by
    // screen, against the prototypes as the moves since left them; ties and
    // NaN as in find_winner. Called once for each datavector screen took.
    std::int32_t find_next_winner() noexcept;

    // Each prototype p with bit p of `moving` set moves every value v to
    // v + rates[p] * (x[k] - v) (rates: nprotos entries), x the datavector
    // whose winner was found last; the others stay as they are. The rows make the moves when a search or
    // store needs them; the searches find what they would find after them.
    void move_toward(const double* rates, std::uint64_t moving) noexcept;

private:
    Heap* heap_ = nullptr;
    void* block_ = nullptr;
    std::int32_t capacity_protos_ = 0;
    std::int32_t capacity_vars_ = 0;
    // Its pointers lead into the block.
    lanes::PrototypeRowsView rows_;
};

}  // namespace veltra::core
