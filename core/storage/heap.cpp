#include "core/storage/heap.h"

#include <cstdlib>

namespace veltra::core {

void* Heap::allocate(std::size_t bytes) noexcept {
    if (budget_) {
        if (*budget_ == 0) return nullptr;
        --*budget_;
    }
    // Blocks of a cache line or more start on one, so that the vector loads
    // of a row touch no more lines than it covers. malloc(0) may return
    // nullptr, which would read as failure.
    constexpr std::size_t LINE = 64;
    void* block = bytes >= LINE ? std::aligned_alloc(LINE, (bytes + LINE - 1) / LINE * LINE)
                                : std::malloc(bytes == 0 ? 1 : bytes);
    if (block) ++live_blocks_;
    return block;
}

void Heap::release(void* block) noexcept {
    if (!block) return;
    --live_blocks_;
    std::free(block);
}

void Heap::set_allocation_budget(std::optional<std::size_t> allocations) noexcept { budget_ = allocations; }

}  // namespace veltra::core
