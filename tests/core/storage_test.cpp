#include "core/storage/storage.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "core/kernels/grid_kernel.h"
#include "core/workspace.h"
#include "tests/core/matrix_helpers.h"

namespace veltra::core {
namespace {

using testing::make_matrix;
using testing::values_of;

TEST(Heap, BudgetFailsEveryAllocationOnceSpentUntilLifted) {
    Heap heap;
    heap.set_allocation_budget(2);
    void* a = heap.allocate(8);
    void* b = heap.allocate(0);  // an empty block still counts as a block
    EXPECT_NE(a, nullptr);
    EXPECT_NE(b, nullptr);
    EXPECT_EQ(heap.allocate(8), nullptr);
    EXPECT_EQ(heap.live_blocks(), 2u);
    heap.set_allocation_budget(std::nullopt);
    void* c = heap.allocate(8);
    EXPECT_NE(c, nullptr);
    for (void* block : {a, b, c, static_cast<void*>(nullptr)}) heap.release(block);
    EXPECT_EQ(heap.live_blocks(), 0u);
}

// Rows of a cache line or more start on one; a size that cannot be held
// with the alignment's slack fails instead of wrapping around.
TEST(Heap, AlignsBlocksAndRefusesSizesPastTheLimit) {
    Heap heap;
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{63}, std::size_t{64}, std::size_t{520}}) {
        void* block = heap.allocate(bytes);
        ASSERT_NE(block, nullptr);
        const std::size_t alignment = bytes >= 64 ? 64 : 16;
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % alignment, 0u) << bytes << " bytes";
        static_cast<unsigned char*>(block)[bytes - 1] = 1;
        heap.release(block);
    }
    EXPECT_EQ(heap.allocate(SIZE_MAX - 8), nullptr);
    EXPECT_EQ(heap.live_blocks(), 0u);
}

TEST(Storage, MatrixHasItsShapeAndReleasesEveryRow) {
    Heap heap;
    auto m = alloc_matrix(heap, 4, 3);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->rows(), 4);
    EXPECT_EQ(m->cols(), 3);
    EXPECT_EQ(heap.live_blocks(), 5u);  // the row index and four rows
    release_block(*m);
    EXPECT_TRUE(m->empty());
    EXPECT_EQ(heap.live_blocks(), 0u);
    release_block(*m);  // an empty block is allowed
    EXPECT_EQ(heap.live_blocks(), 0u);
}

TEST(Storage, FailureAnywhereInAllocMatrixLeavesNothingAllocated) {
    Heap heap;
    const Matrix kept = make_matrix(heap, 1, 1);
    const std::size_t before = heap.live_blocks();
    // Budget k lets the row index and k - 1 rows succeed; k = 0 fails the index.
    for (std::size_t k = 0; k <= 5; ++k) {
        heap.set_allocation_budget(k);
        EXPECT_FALSE(alloc_matrix(heap, 6, 2)) << k;
        EXPECT_EQ(heap.live_blocks(), before) << k;
    }
    heap.set_allocation_budget(7);
    EXPECT_TRUE(alloc_matrix(heap, 6, 2));
    EXPECT_EQ(heap.live_blocks(), before);
}

TEST(Storage, VectorsFailOnRefusalOrNegativeLength) {
    Heap heap;
    EXPECT_FALSE(alloc_int_vector(heap, -1));
    EXPECT_FALSE(alloc_real_vector(heap, -1));
    EXPECT_FALSE(alloc_matrix(heap, -1, 2));
    EXPECT_FALSE(alloc_matrix(heap, 2, -1));
    heap.set_allocation_budget(0);
    EXPECT_FALSE(alloc_int_vector(heap, 3));
    EXPECT_FALSE(alloc_real_vector(heap, 3));
    heap.set_allocation_budget(std::nullopt);
    auto v = alloc_real_vector(heap, 3);
    ASSERT_TRUE(v);
    EXPECT_EQ(v->size(), 3);
    EXPECT_EQ(heap.live_blocks(), 1u);
    release_block(*v);
    EXPECT_TRUE(v->empty());
    EXPECT_EQ(heap.live_blocks(), 0u);
}

TEST(Storage, MovingReleasesTheReplacedBlock) {
    Heap heap;
    Matrix m = make_matrix(heap, 2, 2, {1, 2, 3, 4});
    m = make_matrix(heap, 1, 3, {5, 6, 7});
    EXPECT_EQ(heap.live_blocks(), 2u);
    EXPECT_EQ(values_of(m), (std::vector<double>{5, 6, 7}));
    IntVector v = std::move(*alloc_int_vector(heap, 4));
    v = std::move(*alloc_int_vector(heap, 2));
    EXPECT_EQ(v.size(), 2);
    EXPECT_EQ(heap.live_blocks(), 3u);
}

TEST(Storage, CopyMatrixCopiesEveryValue) {
    Heap heap;
    const Matrix from = make_matrix(heap, 2, 3, {1, 2, 3, 4, 5, 6});
    Matrix to = make_matrix(heap, 2, 3);
    copy_matrix(from, to);
    EXPECT_EQ(values_of(to), values_of(from));
}

// The map storage of a workspace with ndata 4, nvars 3 and nprotos 6.
struct MapStorageTest : ::testing::Test {
    MapStorageTest() {
        ws.ndata = 4;
        ws.nvars = 3;
        ws.rows = 2;
        ws.cols = 3;
        ws.nprotos = 6;
    }
    // Which of the five fields are allocated, in allocation order.
    std::vector<bool> allocated() const {
        return {!ws.violation_counts.empty(), !ws.trial_prototypes.empty(), !ws.winners.empty(),
                !ws.win_counts.empty(), !ws.prototypes.empty()};
    }
    Workspace ws;
};

TEST_F(MapStorageTest, AllocatesEveryFieldWithItsSize) {
    ASSERT_EQ(allocate_map_storage(ws), StorageResult::ok);
    EXPECT_EQ(ws.violation_counts.size(), 6);
    EXPECT_EQ(ws.win_counts.size(), 6);
    EXPECT_EQ(ws.winners.size(), 4);
    EXPECT_EQ(ws.prototypes.rows(), 6);
    EXPECT_EQ(ws.prototypes.cols(), 3);
    EXPECT_EQ(ws.trial_prototypes.rows(), 6);
    EXPECT_EQ(ws.trial_prototypes.cols(), 3);
    // The fields, then the kernels' packed prototypes, their rows, the
    // distances and, where the processor has its kernel, the data's grid.
    const std::size_t blocks = 3u + 2 * 7 + 3 + (grid::kernel_supported() ? 1 : 0);
    EXPECT_EQ(ws.heap.live_blocks(), blocks);
    // Again: the old storage is released first.
    ASSERT_EQ(allocate_map_storage(ws), StorageResult::ok);
    EXPECT_EQ(ws.heap.live_blocks(), blocks);
}

TEST_F(MapStorageTest, FailureAtEachAllocationKeepsWhatCameBefore) {
    struct Case {
        std::size_t budget;  // heap allocations that succeed
        std::vector<bool> allocated;
    };
    // Heap allocations in order: violation counts 1, trial prototypes 7, winners 1, win counts 1,
    // prototypes 7, then the kernels' scratch 2, which holds nothing when it fails.
    const std::vector<Case> cases = {
        {0, {false, false, false, false, false}},  // violation counts
        {1, {true, false, false, false, false}},   // trial prototype index
        {4, {true, false, false, false, false}},   // a trial prototype row
        {8, {true, true, false, false, false}},    // winner list
        {9, {true, true, true, false, false}},     // win counts
        {10, {true, true, true, true, false}},     // prototype index
        {16, {true, true, true, true, false}},     // the last prototype row
        {17, {true, true, true, true, true}},      // the kernels' packed prototypes
        {18, {true, true, true, true, true}},      // the kernels' distances
    };
    ASSERT_EQ(allocate_map_storage(ws), StorageResult::ok);
    for (const Case& c : cases) {
        ws.heap.set_allocation_budget(c.budget);
        EXPECT_EQ(allocate_map_storage(ws), StorageResult::out_of_memory) << c.budget;
        EXPECT_EQ(allocated(), c.allocated) << c.budget;
        std::size_t blocks = 0;
        const std::size_t sizes[] = {1, 7, 1, 1, 7};
        for (int f = 0; f < 5; ++f) blocks += c.allocated[f] ? sizes[f] : 0;
        EXPECT_EQ(ws.heap.live_blocks(), blocks) << c.budget;
    }
    ws.heap.set_allocation_budget(std::nullopt);
    EXPECT_EQ(allocate_map_storage(ws), StorageResult::ok);
}

TEST_F(MapStorageTest, ReleaseAllAtExitReturnsEveryBlock) {
    ws.data = make_matrix(ws.heap, 4, 3);
    ASSERT_EQ(allocate_map_storage(ws), StorageResult::ok);
    ws.projection_x = std::move(*alloc_real_vector(ws.heap, 6));
    ws.projection_y = std::move(*alloc_real_vector(ws.heap, 6));
    EXPECT_GT(ws.heap.live_blocks(), 0u);
    ws.release_all();
    EXPECT_EQ(ws.heap.live_blocks(), 0u);
    for (bool a : allocated()) EXPECT_FALSE(a);
    EXPECT_TRUE(ws.data.empty());
    EXPECT_TRUE(ws.projection_x.empty());
    EXPECT_TRUE(ws.projection_y.empty());
}

}  // namespace
}  // namespace veltra::core
