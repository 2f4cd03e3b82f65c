#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "algorithms/initialization.h"
#include "kernel_test_support.h"
#include "tests/algorithms/reference.h"

namespace veltra::core {
namespace {

using testing::same_bits;

// Datavectors near a few centres far apart, so that trials differ widely in
// heterogeneity and most of them reach the best one's early.
test::Rows clustered_data(std::int32_t ndata, std::int32_t nvars) {
    std::mt19937_64 random(7);
    std::normal_distribution<double> normal(0.0, 1.0);
    test::Rows centres(5, test::Row(static_cast<std::size_t>(nvars)));
    for (auto& c : centres) {
        for (auto& v : c) v = 100.0 * normal(random);
    }
    test::Rows data(static_cast<std::size_t>(ndata), test::Row(static_cast<std::size_t>(nvars)));
    for (std::size_t i = 0; i < data.size(); ++i) {
        for (std::size_t k = 0; k < data[i].size(); ++k) data[i][k] = centres[i % 5][k] + normal(random);
    }
    return data;
}

// A pass that may stop returns the plain heterogeneity and winners whenever
// that heterogeneity lies below the limit, and at least the limit otherwise.
TEST(PickTrials, PassesThatMayStopKeepEveryResultBelowTheLimit) {
    testing::KernelSettingsGuard guard;
    const test::Rows data = clustered_data(9000, 3);
    const test::Rows prototypes(data.begin(), data.begin() + 36);
    for (const InstructionSet set : testing::runnable_instruction_sets()) {
        SCOPED_TRACE(testing::name_of(set));
        ASSERT_TRUE(force_instruction_set(set));
        test::FixedWorkspace f;
        ASSERT_TRUE(test::set_up(f.ws, data, 6, 6));
        test::set_prototypes(f.ws, prototypes);
        Workspace& ws = f.ws;
        const double h = test::plain_heterogeneity(data, prototypes);
        std::vector<std::int32_t> expected_winners;
        for (const auto& row : data) expected_winners.push_back(test::plain_nearest(prototypes, row));
        const auto pass = [&](double limit) {
            return ws.kernels.assign_winners_and_heterogeneity_below(ws.data, ws.ndata, ws.prototypes, 36, 3,
                                                                     ws.winners.span(), limit);
        };
        for (const double limit : {std::numeric_limits<double>::infinity(), std::nextafter(h, 2 * h)}) {
            EXPECT_TRUE(same_bits(pass(limit), h));
            EXPECT_EQ(std::vector<std::int32_t>(ws.winners.span().begin(), ws.winners.span().end()),
                      expected_winners);
        }
        for (const double limit : {h, h / 2, 0.0}) EXPECT_GE(pass(limit), limit);
    }
}

// Uniform datavectors, on which the trials come out within a few per cent of
// each other.
test::Rows uniform_data(std::int32_t ndata, std::int32_t nvars) {
    std::mt19937_64 random(8);
    std::uniform_real_distribution<double> uniform(0.0, 100.0);
    test::Rows data(static_cast<std::size_t>(ndata), test::Row(static_cast<std::size_t>(nvars)));
    for (auto& row : data) {
        for (auto& v : row) v = uniform(random);
    }
    return data;
}

// A run of trials, most of which stop early, against the plain trials: the
// same adoptions with the same heterogeneities, prototypes, last trial's picks
// and winners in the workspace, on one thread and on several, where trials
// differ widely and where they come out close.
class PickTrialRuns : public ::testing::TestWithParam<bool> {};

TEST_P(PickTrialRuns, EqualThePlainTrials) {
    testing::KernelSettingsGuard guard;
    const std::int32_t nvars = GetParam() ? 3 : 16;
    const test::Rows data = GetParam() ? clustered_data(9000, nvars) : uniform_data(9000, nvars);
    constexpr std::int32_t TRIALS = 30;
    constexpr std::int64_t SEED = 99;
    test::ReferenceLcg lcg(SEED);
    std::vector<std::pair<std::int32_t, double>> expected;
    test::Rows best, last;
    for (std::int32_t t = 1; t <= TRIALS; ++t) {
        last = test::plain_pick(data, 36, lcg);
        const double h = test::plain_heterogeneity(data, last);
        if (t == 1 || h < expected.back().second) {
            expected.emplace_back(t, h);
            best = last;
        }
    }
    ASSERT_GE(expected.size(), 2u);
    std::vector<std::int32_t> last_winners;
    for (const auto& row : data) last_winners.push_back(test::plain_nearest(last, row));
    for (const InstructionSet set : testing::runnable_instruction_sets()) {
        for (const std::int32_t threads : {1, 3}) {
            SCOPED_TRACE(std::string(testing::name_of(set)) + ", threads " + std::to_string(threads));
            ASSERT_TRUE(force_instruction_set(set));
            test::FixedWorkspace f(SEED);
            ASSERT_TRUE(test::set_up(f.ws, data, 6, 6));
            f.ws.kernels.set_threads(threads);
            algorithms::TrialSeries series;
            algorithms::begin_trial_series(series);
            std::vector<std::pair<std::int32_t, double>> adopted;
            ASSERT_EQ(
                algorithms::run_pick_trials(f.ws, series, TRIALS,
                                            [&](std::int32_t t, double h) { adopted.emplace_back(t, h); }),
                algorithms::PickResult::ok);
            ASSERT_EQ(adopted.size(), expected.size());
            for (std::size_t a = 0; a < adopted.size(); ++a) {
                EXPECT_EQ(adopted[a].first, expected[a].first);
                EXPECT_TRUE(same_bits(adopted[a].second, expected[a].second));
            }
            EXPECT_TRUE(same_bits(series.best_heterogeneity, expected.back().second));
            EXPECT_EQ(test::prototypes_of(f.ws), best);
            EXPECT_EQ(test::rows_of(f.ws.trial_prototypes, 36, nvars), last);
            EXPECT_EQ(std::vector<std::int32_t>(f.ws.winners.span().begin(), f.ws.winners.span().end()),
                      last_winners);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(PickTrials, PickTrialRuns, ::testing::Bool(),
                         [](const auto& run) { return run.param ? "clustered" : "uniform"; });

}  // namespace
}  // namespace veltra::core
