#include "core/storage/heap.h"

#include <cstdlib>

namespace veltra::core {

void* Heap::allocate(std::size_t bytes) noexcept {
    if (budget_) {
        if (*budget_ == 0) return nullptr;
        --*budget_;
    }
    // malloc(0) may return nullptr, which would read as failure.
    void* block = std::malloc(bytes == 0 ? 1 : bytes);
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
