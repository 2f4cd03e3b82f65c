#include "algorithms/pairwise_exchange.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "algorithms/initialization.h"
#include "core/measures.h"
#include "reference.h"

namespace veltra::algorithms {
namespace {

using test::FixedWorkspace;
using test::ReferenceLcg;
using test::Rows;

TEST(PairwiseExchange, EqualSimplicityKeepsTheSwapAsAFailure) {
    // 1 x 2: every exchange swaps the pair, the simplicity stays 25.
    FixedWorkspace f(5);
    ASSERT_TRUE(test::set_up(f.ws, {{0, 0}}, 1, 2));
    test::set_prototypes(f.ws, {{0, 0}, {3, 4}});
    EXPECT_EQ(exchange_prototype_pairs(f.ws, 3), 0);
    EXPECT_EQ(test::prototypes_of(f.ws), (Rows{{3, 4}, {0, 0}}));
    EXPECT_EQ(exchange_prototype_pairs(f.ws, 4), 0);
    EXPECT_EQ(test::prototypes_of(f.ws), (Rows{{3, 4}, {0, 0}}));

    // 2 x 2: all pairs are neighbours, so every swap stays; the order follows
    // the draws (a once, b redrawn until it differs).
    FixedWorkspace g(31);
    ASSERT_TRUE(test::set_up(g.ws, {{0}}, 2, 2));
    Rows expected = {{1}, {2}, {4}, {8}};
    test::set_prototypes(g.ws, expected);
    EXPECT_EQ(exchange_prototype_pairs(g.ws, 40), 0);
    ReferenceLcg lcg(31);
    for (int n = 0; n < 40; ++n) {
        const int a = lcg.next() % 4;
        int b = lcg.next() % 4;
        while (b == a) b = lcg.next() % 4;
        std::swap(expected[a], expected[b]);
    }
    EXPECT_EQ(test::prototypes_of(g.ws), expected);
}

TEST(PairwiseExchange, EverySwapWorseLeavesTheMatrixExactly) {
    // 1 x 4 with 0, 1, 2, 3: every swap raises the simplicity above 1.
    FixedWorkspace f(8);
    ASSERT_TRUE(test::set_up(f.ws, {{0}}, 1, 4));
    test::set_prototypes(f.ws, {{0}, {1}, {2}, {3}});
    EXPECT_EQ(exchange_prototype_pairs(f.ws, 50), 0);
    EXPECT_EQ(test::prototypes_of(f.ws), (Rows{{0}, {1}, {2}, {3}}));
}

TEST(PairwiseExchange, SimplicityNeverRisesAndHeterogeneityStays) {
    FixedWorkspace f(100);
    Rows data;
    for (int i = 0; i < 20; ++i) data.push_back({i * 0.37, (i * i) % 7 * 0.5});
    ASSERT_TRUE(test::set_up(f.ws, data, 3, 3));
    init_random_weights(f.ws, 3.0, -1.0);
    Rows before_rows = test::prototypes_of(f.ws);
    f.ws.kernels.assign_winners(f.ws.data, 20, f.ws.prototypes, 9, 2, f.ws.winners.span());
    const double h_before =
        f.ws.kernels.compute_heterogeneity(f.ws.data, 20, f.ws.prototypes, f.ws.winners.span(), 2);
    std::int32_t successes = 0;
    for (int run = 0; run < 30; ++run) {
        f.clock.advance(1);
        const double before = test::plain_simplicity(test::prototypes_of(f.ws), 3);
        const std::int32_t result = exchange_prototype_pairs(f.ws, 5);
        EXPECT_GE(result, 0);
        EXPECT_LE(result, 5);
        EXPECT_LE(test::plain_simplicity(test::prototypes_of(f.ws), 3), before);
        successes += result;
    }
    EXPECT_GT(successes, 0);
    f.ws.kernels.assign_winners(f.ws.data, 20, f.ws.prototypes, 9, 2, f.ws.winners.span());
    EXPECT_EQ(f.ws.kernels.compute_heterogeneity(f.ws.data, 20, f.ws.prototypes, f.ws.winners.span(), 2),
              h_before);
    Rows after_rows = test::prototypes_of(f.ws);
    std::sort(before_rows.begin(), before_rows.end());
    std::sort(after_rows.begin(), after_rows.end());
    EXPECT_EQ(after_rows, before_rows);  // only the positions changed
}

TEST(PairwiseExchange, OnePrototypeReturnsAtOnceWithoutSeeding) {
    FixedWorkspace f(3);
    ASSERT_TRUE(test::set_up(f.ws, {{2, 2}}, 1, 1));
    test::set_prototypes(f.ws, {{1, 9}});
    f.ws.random.seed(99);
    EXPECT_EQ(exchange_prototype_pairs(f.ws, 9999), 0);
    EXPECT_EQ(test::prototypes_of(f.ws), (Rows{{1, 9}}));
    EXPECT_EQ(f.ws.random.draw_random(), ReferenceLcg(99).next());
}

}  // namespace
}  // namespace veltra::algorithms
