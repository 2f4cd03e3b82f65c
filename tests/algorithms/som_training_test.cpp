#include "algorithms/som_training.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "reference.h"

namespace veltra::algorithms {
namespace {

using test::FixedWorkspace;
using test::Rows;

std::vector<EpochReport> train(core::Workspace& ws, TrainingProgress& progress,
                               const TrainingSchedule& schedule) {
    std::vector<EpochReport> reports;
    train_som(ws, progress, schedule, [&](const EpochReport& r) {
        reports.push_back(r);
        return true;
    });
    return reports;
}

Rows scattered_data(int n) {
    Rows data;
    for (int i = 0; i < n; ++i) data.push_back({(i * 7 % 11) * 0.9, (i * 5 % 13) * 0.4 - 1.0});
    return data;
}

TEST(SomTraining, RateZeroMovesNothingAndInactiveComeFromThePresentations) {
    // Each corner datavector is nearest to its own prototype, at squared
    // distance 2. Seed 7 draws 0, 2, 0, 2 mod 4 in the first epoch: prototypes
    // 2 and 4 win no presentation although they win datavectors in the final
    // assignment. The later epochs of the same second go on with the draws
    // (3, 1, 2, 2, then 1, 1, 1, 3) instead of repeating them.
    const Rows data = {{0, 0}, {10, 0}, {0, 10}, {10, 10}};
    const Rows prototypes = {{1, 1}, {9, 1}, {1, 9}, {9, 9}};
    FixedWorkspace f(7);
    ASSERT_TRUE(test::set_up(f.ws, data, 2, 2));
    test::set_prototypes(f.ws, prototypes);
    std::vector<int> flags(4, 0);
    Rows moved = prototypes;
    test::plain_epoch(moved, data, 2, 1, 0.0, 0.3, 7, flags);
    ASSERT_EQ(flags, (std::vector<int>{1, 0, 1, 0}));

    TrainingProgress progress;
    const auto reports = train(f.ws, progress, {3, 1, 0.0, 0.3});
    ASSERT_EQ(reports.size(), 3u);
    const std::vector<std::vector<std::int32_t>> inactive = {{2, 4}, {1}, {1, 3}};
    for (int e = 0; e < 3; ++e) {
        EXPECT_EQ(reports[e].epochs, e + 1);
        EXPECT_EQ(reports[e].iterations, 4 * (e + 1));
        EXPECT_EQ(reports[e].heterogeneity, 2.0);
        EXPECT_EQ(reports[e].simplicity, test::plain_simplicity(prototypes, 2));
        EXPECT_EQ(reports[e].combined, 2.0 + reports[e].simplicity);
        EXPECT_EQ(reports[e].violations, 0.0);
        EXPECT_EQ(reports[e].inactive_prototypes, inactive[e]);
    }
    EXPECT_EQ(test::prototypes_of(f.ws), prototypes);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(f.ws.winners[i], i);
}

TEST(SomTraining, MovesEqualAPlainEpochForEverySchedule) {
    const Rows data = scattered_data(15);
    const Rows start = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}};
    struct Case {
        TrainingSchedule schedule;
        int plain_order;  // the order a plain epoch needs for the same moves
    };
    const Case cases[] = {
        {{2, 0, 1.0, 0.7}, 0},  // the winner lands on the datavector, nobody else moves
        {{2, 2, 0.4, 0.0}, 0},  // update factor 0: neighbours never move
        {{2, 1, 0.3, 0.5}, 1},
        {{2, 2, 0.3, 0.5}, 2},  // full order: everyone moves at every presentation
    };
    for (const Case& c : cases) {
        FixedWorkspace f(1234);
        ASSERT_TRUE(test::set_up(f.ws, data, 3, 3));
        test::set_prototypes(f.ws, start);
        TrainingProgress progress;
        const auto reports = train(f.ws, progress, c.schedule);
        Rows expected = start;
        std::vector<int> flags(9, 0);
        // Both epochs run in one second: the second goes on with the draws.
        test::ReferenceLcg stream(1234);
        for (int e = 0; e < 2; ++e) {
            std::fill(flags.begin(), flags.end(), 0);
            test::plain_epoch(expected, data, 3, c.plain_order, c.schedule.learning_rate,
                              c.schedule.update_factor, stream.state(), flags);
            for (std::size_t n = 0; n < data.size(); ++n) stream.next();
        }
        const Rows trained = test::prototypes_of(f.ws);
        EXPECT_EQ(trained, expected) << c.schedule.neighborhood_order << " " << c.schedule.update_factor;
        std::vector<std::int32_t> inactive;
        for (int p = 0; p < 9; ++p) {
            if (flags[p] == 0) inactive.push_back(p + 1);
        }
        EXPECT_EQ(reports.back().inactive_prototypes, inactive);
        EXPECT_EQ(reports.back().heterogeneity, test::plain_heterogeneity(data, trained));
        for (int p = 0; p < 9; ++p) {
            const bool on_data = std::find(data.begin(), data.end(), trained[p]) != data.end();
            if (c.schedule.learning_rate == 1.0) {
                EXPECT_TRUE(on_data || trained[p] == start[p]);
            }
            if (c.schedule.neighborhood_order == 2 && c.schedule.update_factor > 0) {
                EXPECT_NE(trained[p], start[p]);
            }
        }
    }
}

TEST(SomTraining, RunsContinueEpochsAndIterationsIn64Bits) {
    FixedWorkspace f(50);
    ASSERT_TRUE(test::set_up(f.ws, scattered_data(12), 1, 3));
    test::set_prototypes(f.ws, {{0, 0}, {1, 1}, {2, 2}});
    for (int p = 0; p < 3; ++p) f.ws.violation_counts[p] = -1;
    TrainingProgress progress;
    std::vector<EpochReport> reports = train(f.ws, progress, {2, 1, 0.1, 0.3});
    const auto second = train(f.ws, progress, {3, 2, 0.05, 0.3});
    reports.insert(reports.end(), second.begin(), second.end());
    for (int e = 0; e < 5; ++e) {
        EXPECT_EQ(reports[e].epochs, e + 1);
        EXPECT_EQ(reports[e].iterations, 12 * (e + 1));
    }
    EXPECT_EQ(progress.epochs_done, 5);
    for (int p = 0; p < 3; ++p) EXPECT_GE(f.ws.violation_counts[p], 0);  // refreshed

    progress.epochs_done = 2'000'000'000;
    EXPECT_EQ(train(f.ws, progress, {1, 1, 0.1, 0.3}).back().iterations, 12 * 2'000'000'001LL);
}

TEST(SomTraining, OneByOneMapAlwaysWins) {
    FixedWorkspace f(7);
    ASSERT_TRUE(test::set_up(f.ws, scattered_data(9), 1, 1));
    test::set_prototypes(f.ws, {{50, 50}});
    TrainingProgress progress;
    for (const EpochReport& r : train(f.ws, progress, {4, 0, 0.2, 0.3})) {
        EXPECT_TRUE(r.inactive_prototypes.empty());
        EXPECT_EQ(r.simplicity, 0.0);
        EXPECT_EQ(r.violations, 0.0);
        EXPECT_EQ(r.combined, r.heterogeneity);
    }
    EXPECT_EQ(f.ws.violation_counts[0], 0);
}

}  // namespace
}  // namespace veltra::algorithms
