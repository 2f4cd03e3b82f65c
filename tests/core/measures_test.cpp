#include "core/measures.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "core/kernels/prototype_kernels.h"
#include "core/map_shape.h"
#include "tests/core/matrix_helpers.h"

namespace veltra::core {
namespace {

using testing::make_matrix;

IncidenceMatrix incidence_of(std::int32_t rows, std::int32_t cols) {
    IncidenceMatrix m{};
    build_incidence_matrix(m, rows, cols);
    return m;
}

TEST(Distances, MaximumNormAndSquaredEuclidean) {
    Heap heap;
    const Matrix m = make_matrix(heap, 2, 2, {1, 5, 4, 3});
    EXPECT_EQ(max_distance(m[0], m[1], 2), 3.0);
    EXPECT_EQ(squared_distance(m[0], m[1], 2), 13.0);
    EXPECT_EQ(squared_distance(m[0], m[1], 0), 0.0);
    EXPECT_EQ(max_distance(m[0], m[1], 0), 0.0);
}

// The winner rule and the heterogeneity through the kernels, with scratch
// for the sizes (the fast paths) and without (the plain loops).
struct WinnerMeasures : ::testing::TestWithParam<bool> {
    Heap heap;
    PrototypeKernels kernels{heap};
    void reserve(std::int32_t nprotos, std::int32_t nvars, std::int32_t ndata) {
        if (GetParam()) {
            ASSERT_TRUE(kernels.reserve(nprotos, nvars, ndata));
        }
    }
};

TEST_P(WinnerMeasures, TiesGoToTheLowestIndex) {
    reserve(2, 1, 3);
    const Matrix prototypes = make_matrix(heap, 2, 1, {0, 3});
    const Matrix data = make_matrix(heap, 3, 1, {1.5, 2.9, -7});
    EXPECT_EQ(kernels.find_winner(prototypes, 2, data, 0, 1), 0);
    std::vector<std::int32_t> winners(3, -1);
    kernels.assign_winners(data, 3, prototypes, 2, 1, winners);
    EXPECT_EQ(winners, (std::vector<std::int32_t>{0, 1, 0}));
}

TEST_P(WinnerMeasures, OnePrototypeWinsEverything) {
    reserve(1, 1, 1);
    const Matrix prototypes = make_matrix(heap, 1, 1, {100});
    const Matrix data = make_matrix(heap, 1, 1, {-5});
    EXPECT_EQ(kernels.find_winner(prototypes, 1, data, 0, 1), 0);
}

TEST_P(WinnerMeasures, HeterogeneityIsTheMeanSquaredDistanceToTheListedWinners) {
    reserve(2, 2, 2);
    const Matrix prototypes = make_matrix(heap, 2, 2, {0, 0, 10, 10});
    const Matrix data = make_matrix(heap, 2, 2, {0, 0, 10, 10});
    const std::vector<std::int32_t> own = {0, 1};
    EXPECT_EQ(kernels.compute_heterogeneity(data, 2, prototypes, own, 2), 0.0);
    const Matrix shifted = make_matrix(heap, 2, 2, {1, 2, 10, 13});
    EXPECT_EQ(kernels.compute_heterogeneity(shifted, 2, prototypes, own, 2), (5.0 + 9.0) / 2);
    // The listed winner is used, not recomputed.
    const std::vector<std::int32_t> swapped = {1, 0};
    EXPECT_EQ(kernels.compute_heterogeneity(data, 2, prototypes, swapped, 2), 200.0);
}

INSTANTIATE_TEST_SUITE_P(ScratchOrNot, WinnerMeasures, ::testing::Bool());

TEST(Simplicity, IsTheSquaredDistanceOfNeighbours) {
    Heap heap;
    const Matrix prototypes = make_matrix(heap, 2, 2, {0, 0, 3, 4});
    EXPECT_EQ(compute_simplicity(prototypes, 2, 2, incidence_of(1, 2)), 25.0);
}

TEST(Simplicity, AveragesOverAllNeighbourPairsDiagonalsIncluded) {
    struct Case {
        std::int32_t rows, cols, pairs, corner_neighbours;
    };
    for (const Case c :
         {Case{1, 2, 1, 1}, Case{2, 2, 6, 3}, Case{3, 3, 20, 3}, Case{6, 6, 110, 3}, Case{1, 36, 35, 1}}) {
        const IncidenceMatrix incidence = incidence_of(c.rows, c.cols);
        const std::int32_t nprotos = c.rows * c.cols;
        int pairs = 0;
        for (int j = 0; j < nprotos; ++j) {
            for (int k = j + 1; k < nprotos; ++k) pairs += incidence[j][k] == 1;
        }
        EXPECT_EQ(pairs, c.pairs) << c.rows << " x " << c.cols;
        // Only prototype 0 is off zero, so the sum counts the corner's neighbours.
        Heap heap;
        Matrix prototypes = make_matrix(heap, nprotos, 1);
        prototypes[0][0] = 1.0;
        EXPECT_EQ(compute_simplicity(prototypes, nprotos, 1, incidence),
                  static_cast<double>(c.corner_neighbours) / c.pairs)
            << c.rows << " x " << c.cols;
    }
}

TEST(Measures, OneByOneMapHasNothingToMeasure) {
    Heap heap;
    const Matrix prototypes = make_matrix(heap, 1, 2, {4, 5});
    std::array<std::int32_t, 1> counts = {99};
    EXPECT_EQ(compute_simplicity(prototypes, 1, 2, incidence_of(1, 1)), 0.0);
    EXPECT_EQ(compute_violations(prototypes, 1, 2, incidence_of(1, 1), counts), 0.0);
    EXPECT_EQ(counts[0], 0);
}

TEST(Violations, TwoPrototypesAreNeverComparable) {
    Heap heap;
    const Matrix prototypes = make_matrix(heap, 2, 1, {0, 50});
    std::array<std::int32_t, 2> counts = {7, 7};
    EXPECT_EQ(compute_violations(prototypes, 2, 1, incidence_of(1, 2), counts), 0.0);
    EXPECT_EQ(counts, (std::array<std::int32_t, 2>{0, 0}));
}

TEST(Violations, FarPrototypeNearerInDataSpaceIsAViolation) {
    Heap heap;
    const Matrix prototypes = make_matrix(heap, 3, 1, {0, 10, 1});
    std::array<std::int32_t, 3> counts{};
    EXPECT_EQ(compute_violations(prototypes, 3, 1, incidence_of(1, 3), counts), 50.0);
    EXPECT_EQ(counts, (std::array<std::int32_t, 3>{2, 0, 2}));
}

TEST(Violations, OrderedOrEquallyFarPrototypesGiveNone) {
    Heap heap;
    std::array<std::int32_t, 3> counts{};
    const Matrix ordered = make_matrix(heap, 3, 1, {0, 1, 2});
    EXPECT_EQ(compute_violations(ordered, 3, 1, incidence_of(1, 3), counts), 0.0);
    EXPECT_EQ(counts, (std::array<std::int32_t, 3>{0, 0, 0}));
    // Only strictly nearer counts.
    const Matrix equal = make_matrix(heap, 3, 1, {0, 1, 1});
    EXPECT_EQ(compute_violations(equal, 3, 1, incidence_of(1, 3), counts), 0.0);
    EXPECT_EQ(counts, (std::array<std::int32_t, 3>{0, 0, 0}));
}

TEST(Violations, CountsAddUpToTwiceTheViolationsAndStayWithinFifty) {
    Heap heap;
    // A scrambled 3 x 3 map in two variables.
    const Matrix prototypes = make_matrix(heap, 9, 2, {5, 1, 0, 0, 9, 9, 2, 7, 4, 4, 8, 0, 1, 6, 3, 3, 7, 2});
    std::array<std::int32_t, 9> counts{};
    const double percentage = compute_violations(prototypes, 9, 2, incidence_of(3, 3), counts);
    EXPECT_GT(percentage, 0.0);
    EXPECT_LE(percentage, 50.0);
    int total = 0;
    for (int c : counts) total += c;
    EXPECT_EQ(total % 2, 0);
    // 4 x 2 comparable (k, l) orders per reference: corners, edges and centre of a 3 x 3 map.
    // corner: 3 at 1, 5 at 2 -> 30; edge: 5 at 1, 3 at 2 -> 30; centre: all at 1 -> 0.
    const int comparable = 4 * 30 + 4 * 30 + 0;
    EXPECT_DOUBLE_EQ(percentage, (total / 2) * 100.0 / comparable);
}

}  // namespace
}  // namespace veltra::core
