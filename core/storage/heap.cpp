#include "core/storage/heap.h"

#include <cstdint>
#include <cstdlib>

namespace veltra::core {

namespace {

constexpr std::size_t LINE = 64;
// What malloc's blocks are aligned to, at least.
constexpr std::size_t MALLOC_ALIGNMENT = 16;

}  // namespace

void* Heap::allocate(std::size_t bytes) noexcept {
    if (budget_) {
        if (*budget_ == 0) return nullptr;
        --*budget_;
    }
    // Blocks of a cache line or more start on one, so that the vector loads
    // of a row touch no more lines than it covers; the others on 16 bytes.
    // The byte before a block holds its distance from what malloc returned.
    const std::size_t alignment = bytes >= LINE ? LINE : MALLOC_ALIGNMENT;
    if (bytes > SIZE_MAX - alignment) return nullptr;
    auto* raw = static_cast<unsigned char*>(std::malloc(bytes + alignment));
    if (!raw) return nullptr;
    ++live_blocks_;
    const std::size_t offset = alignment - reinterpret_cast<std::uintptr_t>(raw) % alignment;
    raw[offset - 1] = static_cast<unsigned char>(offset);
    return raw + offset;
}

void Heap::release(void* block) noexcept {
    if (!block) return;
    --live_blocks_;
    auto* bytes = static_cast<unsigned char*>(block);
    std::free(bytes - bytes[-1]);
}

void Heap::set_allocation_budget(std::optional<std::size_t> allocations) noexcept { budget_ = allocations; }

}  // namespace veltra::core
