#include "algorithms/sammon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numeric>

#include "reference.h"

namespace veltra::algorithms {
namespace {

using test::ReferenceLcg;
using test::Row;
using test::Rows;

struct Projection {
    bool ok = false;
    Row x, y;
    double stress = -1.0;
};

Projection project(const Rows& prototypes, std::int64_t seconds,
                   std::int32_t iterations = SAMMON_ITERATIONS) {
    core::Heap heap;
    core::FixedClock clock(seconds);
    core::RandomGenerator random(clock);
    const core::Matrix matrix = test::matrix_of(heap, prototypes);
    const auto n = static_cast<std::int32_t>(prototypes.size());
    Projection p{false, Row(prototypes.size()), Row(prototypes.size()), -1.0};
    p.ok =
        sammon_project(matrix, p.x.data(), p.y.data(), n, matrix.cols(), iterations, p.stress, heap, random);
    return p;
}

double plane_distance(const Projection& p, int i, int k) {
    return std::hypot(p.x[i] - p.x[k], p.y[i] - p.y[k]);
}

void expect_finite_and_centred(const Projection& p) {
    ASSERT_TRUE(p.ok);
    for (std::size_t i = 0; i < p.x.size(); ++i) {
        EXPECT_TRUE(std::isfinite(p.x[i]) && std::isfinite(p.y[i])) << i;
    }
    EXPECT_TRUE(std::isfinite(p.stress));
    EXPECT_NEAR(std::accumulate(p.x.begin(), p.x.end(), 0.0), 0.0, 1e-12);
    EXPECT_NEAR(std::accumulate(p.y.begin(), p.y.end(), 0.0), 0.0, 1e-12);
}

TEST(Sammon, FirstStepByHand) {
    // Seed 0 draws 0 and 21468, both even: start at (0, 0) and (0, 0.5). With
    // D = 1, d = 0.5: e = 0.5, q = 0.5, gy = -+0.5, |hy| = 1, gx = 0, so the
    // points go to y = -0.1 and 0.6, centred -0.35 and 0.35.
    const Projection p = project({{0}, {1}}, 0, 1);
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.x, (Row{0, 0}));
    EXPECT_DOUBLE_EQ(p.y[0], -0.35);
    EXPECT_DOUBLE_EQ(p.y[1], 0.35);
    EXPECT_NEAR(p.stress, 0.3 * 0.3, 1e-15);
}

TEST(Sammon, EqualsThePlainFormulasAndIsCentredAfterEveryRepetition) {
    Rows prototypes;
    for (int i = 0; i < 9; ++i) prototypes.push_back({(i * 7 % 5) * 0.3, (i * 3 % 4) - 1.0, i * 0.1});
    for (std::uint32_t seed = 0; seed < 4; ++seed) {
        for (int iterations : {1, 2, 3, 7, 100}) {
            const Projection p = project(prototypes, seed, iterations);
            const test::PlainSammon plain = test::plain_sammon(prototypes, iterations, seed);
            expect_finite_and_centred(p);
            EXPECT_EQ(p.x, plain.x);
            EXPECT_EQ(p.y, plain.y);
            EXPECT_EQ(p.stress, plain.stress);
        }
    }
    const Projection again = project(prototypes, 3);
    EXPECT_EQ(again.x, project(prototypes, 3).x);
}

TEST(Sammon, ReproducesSimpleConfigurations) {
    for (std::int64_t seconds = 0; seconds < 10; ++seconds) {
        const Projection two = project({{0, 0}, {0.6, 0.8}}, seconds);
        expect_finite_and_centred(two);
        EXPECT_NEAR(two.x[0], -two.x[1], 1e-12);
        EXPECT_NEAR(two.y[0], -two.y[1], 1e-12);
        EXPECT_NEAR(plane_distance(two, 0, 1), 1.0, 1e-9);
        EXPECT_LT(two.stress, 1e-9);

        const Projection line = project({{0}, {1}, {2}}, seconds);
        expect_finite_and_centred(line);
        EXPECT_LT(line.stress, 0.001);
    }
}

TEST(Sammon, DegenerateInputsGiveFiniteCentredPoints) {
    const Projection one = project({{4, 5}}, 11);
    ASSERT_TRUE(one.ok);
    EXPECT_EQ(one.x, Row{0});
    EXPECT_EQ(one.y, Row{0});
    EXPECT_EQ(one.stress, 0.0);

    // All equal: no pair counts, the initial configuration stays, centred.
    const Projection equal = project({{1, 1}, {1, 1}, {1, 1}, {1, 1}}, 12);
    expect_finite_and_centred(equal);
    EXPECT_EQ(equal.stress, 0.0);
    ReferenceLcg lcg(12);
    Row x0(4);
    for (double& x : x0) x = (lcg.next() % 4) / 4.0;
    const double mean_x = (x0[0] + x0[1] + x0[2] + x0[3]) / 4;
    for (int i = 0; i < 4; ++i) {
        EXPECT_NEAR(equal.x[i], x0[i] - mean_x, 1e-12);
        EXPECT_NEAR(equal.y[i], i / 4.0 - 0.375, 1e-12);
    }

    for (std::int64_t seconds = 0; seconds < 5; ++seconds) {
        // Two equal prototypes and a third at distance 1 from both.
        const Projection pair = project({{0, 0}, {0, 0}, {0, 1}}, seconds);
        expect_finite_and_centred(pair);
        EXPECT_LT(pair.stress, 1e-6);

        // A prototype holding a NaN or an infinity is left out; the rest are
        // still arranged by their own distance.
        for (double bad :
             {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
            const Projection odd = project({{0, 0}, {bad, 0}, {0.6, 0.8}}, seconds);
            expect_finite_and_centred(odd);
            EXPECT_NEAR(plane_distance(odd, 0, 2), 1.0, 1e-9);
            EXPECT_LT(odd.stress, 1e-9);
        }
    }
}

TEST(Sammon, MissingStorageFailsWithOutputsUntouched) {
    core::Heap heap;
    core::FixedClock clock(21);
    core::RandomGenerator random(clock);
    auto matrix = core::alloc_matrix(heap, 36, 2);
    for (int i = 0; i < 36; ++i) (*matrix)[i][0] = (*matrix)[i][1] = i;
    const std::size_t live = heap.live_blocks();
    double x[36], y[36];
    for (std::size_t budget = 0; budget < 3; ++budget) {
        std::fill(x, x + 36, 7.0);
        std::fill(y, y + 36, 8.0);
        double stress = 9.0;
        random.seed(1);
        heap.set_allocation_budget(budget);
        EXPECT_FALSE(sammon_project(*matrix, x, y, 36, 2, 5, stress, heap, random));
        EXPECT_EQ(heap.live_blocks(), live);
        EXPECT_EQ(stress, 9.0);
        EXPECT_TRUE(std::all_of(x, x + 36, [](double v) { return v == 7.0; }));
        EXPECT_TRUE(std::all_of(y, y + 36, [](double v) { return v == 8.0; }));
        EXPECT_EQ(random.draw_random(), ReferenceLcg(21).next());  // seeded first all the same
    }
    heap.set_allocation_budget(3);
    double stress = 9.0;
    EXPECT_TRUE(sammon_project(*matrix, x, y, 36, 2, 5, stress, heap, random));
    EXPECT_EQ(heap.live_blocks(), live);
}

}  // namespace
}  // namespace veltra::algorithms
