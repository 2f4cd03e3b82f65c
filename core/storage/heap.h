#pragma once

#include <cstddef>
#include <optional>

namespace veltra::core {

// The private heap from which all workspace storage comes. It counts what is
// live so that a release at exit can be checked, and it can be given a budget
// of allocations after which every allocation fails, so that tests can make
// any single allocation of an operation fail.
class Heap {
public:
    Heap() = default;
    Heap(const Heap&) = delete;
    Heap& operator=(const Heap&) = delete;
    ~Heap() = default;

    // Returns storage of `bytes` bytes aligned for any scalar type, on a
    // 64-byte boundary from 64 bytes up (contents undefined),
    // or nullptr when the budget is spent or the system has no memory.
    [[nodiscard]] void* allocate(std::size_t bytes) noexcept;
    // Returns a block obtained from allocate(); nullptr is allowed.
    void release(void* block) noexcept;

    // With a value, only that many further allocations succeed; every later
    // one fails until the budget is lifted with std::nullopt.
    void set_allocation_budget(std::optional<std::size_t> allocations) noexcept;

    std::size_t live_blocks() const noexcept { return live_blocks_; }

private:
    std::optional<std::size_t> budget_;
    std::size_t live_blocks_ = 0;
};

}  // namespace veltra::core
