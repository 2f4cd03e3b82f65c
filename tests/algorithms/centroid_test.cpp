#include "algorithms/centroid.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "reference.h"

namespace veltra::algorithms {
namespace {

using test::FixedWorkspace;
using test::Rows;

// Runs the convergence and returns the reported heterogeneities.
std::vector<double> converge(core::Workspace& ws, double& result) {
    std::vector<double> reports;
    result = converge_to_centroid(ws, [&](double h) { reports.push_back(h); });
    return reports;
}

TEST(CentroidConvergence, WorkedExamples) {
    // Start H = (1 + 0 + 64 + 81) / 4 = 36.5 is not reported; step 1 gives
    // centroids 0.5 and 10.5, H = 0.25; step 2 changes nothing and stops.
    FixedWorkspace f;
    ASSERT_TRUE(test::set_up(f.ws, {{0}, {1}, {10}, {11}}, 1, 2));
    test::set_prototypes(f.ws, {{1}, {2}});
    double result = 0.0;
    EXPECT_EQ(converge(f.ws, result), (std::vector<double>{0.25, 0.25}));
    EXPECT_EQ(result, 0.25);
    EXPECT_EQ(test::prototypes_of(f.ws), (Rows{{0.5}, {10.5}}));

    // Already the centroids: one step, the starting value returned.
    EXPECT_EQ(converge(f.ws, result), (std::vector<double>{0.25}));

    // Prototype 1 wins nothing and goes to the origin, which then wins 0:
    // (0.5, 0) reports 0.125, (1, 0) reports 0 twice.
    FixedWorkspace g;
    ASSERT_TRUE(test::set_up(g.ws, {{0}, {1}}, 1, 2));
    test::set_prototypes(g.ws, {{5}, {6}});
    EXPECT_EQ(converge(g.ws, result), (std::vector<double>{0.125, 0.0, 0.0}));
    EXPECT_EQ(result, 0.0);
    EXPECT_EQ(test::prototypes_of(g.ws), (Rows{{1}, {0}}));
    EXPECT_EQ(g.ws.winners[0], 1);
    EXPECT_EQ(g.ws.winners[1], 0);
}

TEST(CentroidConvergence, StepAveragesInDataOrderAndStopsOnNaN) {
    FixedWorkspace f;
    ASSERT_TRUE(test::set_up(f.ws, {{1, 2}, {3, 5}, {0.1, 0.2}, {0.2, 0.4}, {0.3, 0.1}}, 1, 3));
    test::set_prototypes(f.ws, {{7, 7}, {8, 8}, {9, 9}});
    const std::vector<std::int32_t> winners = {2, 2, 0, 0, 0};
    centroid_step(f.ws.data, 5, f.ws.prototypes, 3, 2, winners);
    EXPECT_EQ(
        test::prototypes_of(f.ws),
        (Rows{{(0.1 + 0.2 + 0.3) / 3, (0.2 + 0.4 + 0.1) / 3}, {0, 0}, {(1.0 + 3.0) / 2, (2.0 + 5.0) / 2}}));

    // A NaN heterogeneity compares false: one step, no endless loop.
    FixedWorkspace g;
    ASSERT_TRUE(test::set_up(g.ws, {{std::numeric_limits<double>::quiet_NaN()}, {1}}, 1, 2));
    test::set_prototypes(g.ws, {{0}, {2}});
    double result = 0.0;
    EXPECT_EQ(converge(g.ws, result).size(), 1u);
}

}  // namespace
}  // namespace veltra::algorithms
