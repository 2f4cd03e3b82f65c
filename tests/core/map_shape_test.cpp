#include "core/map_shape.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

namespace veltra::core {
namespace {

// A workspace with counts for the per-map storage (no data needed for it).
struct MapShapeTest : ::testing::Test {
    MapShapeTest() {
        ws.ndata = 5;
        ws.nvars = 3;
    }
    Workspace ws;
};

TEST(BuildIncidenceMatrix, TwoByThreeGivesTheWorkedExample) {
    IncidenceMatrix m{};
    build_incidence_matrix(m, 2, 3);
    const int expected[6][6] = {{0, 1, 2, 1, 1, 2}, {1, 0, 1, 1, 1, 1}, {2, 1, 0, 2, 1, 1},
                                {1, 1, 2, 0, 1, 2}, {1, 1, 1, 1, 0, 1}, {2, 1, 1, 2, 1, 0}};
    for (int p = 0; p < 6; ++p) {
        for (int q = 0; q < 6; ++q) EXPECT_EQ(m[p][q], expected[p][q]) << p << "," << q;
    }
}

TEST(BuildIncidenceMatrix, OneByThirtySixIsAChain) {
    IncidenceMatrix m{};
    build_incidence_matrix(m, 1, 36);
    for (int p = 0; p < 36; ++p) {
        for (int q = 0; q < 36; ++q) EXPECT_EQ(m[p][q], std::abs(p - q));
    }
    EXPECT_EQ(m[0][35], 35);
}

TEST(BuildIncidenceMatrix, SixBySixCornersAndTheNeighboursOfSeven) {
    IncidenceMatrix m{};
    build_incidence_matrix(m, 6, 6);
    EXPECT_EQ(m[0][35], 5);
    EXPECT_EQ(m[35][0], 5);
    std::set<int> neighbours;
    for (int q = 0; q < 36; ++q) {
        if (m[7][q] == 1) neighbours.insert(q);
    }
    EXPECT_EQ(neighbours, (std::set<int>{0, 1, 2, 6, 8, 12, 13, 14}));
}

TEST(BuildIncidenceMatrix, SmallerMapRewritesOnlyItsBlock) {
    IncidenceMatrix m{};
    build_incidence_matrix(m, 6, 6);
    const IncidenceMatrix before = m;
    build_incidence_matrix(m, 2, 2);
    IncidenceMatrix two_by_two{};
    build_incidence_matrix(two_by_two, 2, 2);
    for (int p = 0; p < 36; ++p) {
        for (int q = 0; q < 36; ++q) {
            const bool in_block = p < 4 && q < 4;
            EXPECT_EQ(m[p][q], in_block ? two_by_two[p][q] : before[p][q]) << p << "," << q;
        }
    }
    EXPECT_EQ(m[0][2], 1);  // was 2 on the 6 x 6 map
}

TEST_F(MapShapeTest, OneByOneHasNoNeighbours) {
    ASSERT_EQ(set_map_shape(ws, 1, 1), MapShapeResult::ok);
    EXPECT_EQ(ws.nprotos, 1);
    EXPECT_EQ(ws.incidence[0][0], 0);
}

TEST_F(MapShapeTest, AcceptsUpToThirtySixPrototypesAndSizesTheStorage) {
    ASSERT_EQ(set_map_shape(ws, 7, 5), MapShapeResult::ok);
    EXPECT_EQ(ws.nprotos, 35);
    ASSERT_EQ(set_map_shape(ws, 6, 6), MapShapeResult::ok);
    EXPECT_EQ(ws.rows, 6);
    EXPECT_EQ(ws.cols, 6);
    EXPECT_EQ(ws.nprotos, 36);
    EXPECT_EQ(ws.prototypes.rows(), 36);
    EXPECT_EQ(ws.prototypes.cols(), 3);
    EXPECT_EQ(ws.trial_prototypes.rows(), 36);
    EXPECT_EQ(ws.winners.size(), 5);
    EXPECT_EQ(ws.violation_counts.size(), 36);
    EXPECT_EQ(ws.win_counts.size(), 36);
    EXPECT_EQ(ws.incidence[0][35], 5);
}

TEST_F(MapShapeTest, InvalidShapesChangeNothing) {
    ASSERT_EQ(set_map_shape(ws, 2, 3), MapShapeResult::ok);
    const IncidenceMatrix incidence = ws.incidence;
    const double* prototypes = ws.prototypes[0];
    const std::size_t blocks = ws.heap.live_blocks();
    for (auto [rows, cols] : {std::pair{37, 1}, {0, 5}, {5, 0}, {-2, -3}, {-1, -36}, {-6, 6}, {7, 6}}) {
        EXPECT_EQ(set_map_shape(ws, rows, cols), MapShapeResult::invalid_shape) << rows << " x " << cols;
        EXPECT_EQ(ws.rows, 2);
        EXPECT_EQ(ws.cols, 3);
        EXPECT_EQ(ws.nprotos, 6);
        EXPECT_EQ(ws.incidence, incidence);
        EXPECT_EQ(ws.prototypes[0], prototypes);
        EXPECT_EQ(ws.heap.live_blocks(), blocks);
    }
}

TEST_F(MapShapeTest, OutOfMemoryLeavesTheIncidenceMatrixAlone) {
    ASSERT_EQ(set_map_shape(ws, 6, 6), MapShapeResult::ok);
    const IncidenceMatrix incidence = ws.incidence;
    ws.heap.set_allocation_budget(3);
    EXPECT_EQ(set_map_shape(ws, 2, 2), MapShapeResult::out_of_memory);
    EXPECT_EQ(ws.incidence, incidence);
    ws.heap.set_allocation_budget(std::nullopt);
    EXPECT_EQ(set_map_shape(ws, 2, 2), MapShapeResult::ok);
}

}  // namespace
}  // namespace veltra::core
