#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <vector>

#include "algorithms/centroid.h"
#include "algorithms/initialization.h"
#include "algorithms/pairwise_exchange.h"
#include "algorithms/recall.h"
#include "algorithms/sammon.h"
#include "algorithms/som_training.h"
#include "reference.h"

namespace veltra::algorithms {
namespace {

using test::ReferenceLcg;
using test::Row;
using test::Rows;

// Plain centroid convergence: assign, average, until H falls by no more than
// 0.001.
double plain_converge(Rows& prototypes, const Rows& data) {
    double h = test::plain_heterogeneity(data, prototypes);
    double previous = 0.0;
    do {
        previous = h;
        Rows sums(prototypes.size(), Row(data[0].size(), 0.0));
        std::vector<int> counts(prototypes.size(), 0);
        for (const Row& v : data) {
            const int w = test::plain_nearest(prototypes, v);
            ++counts[w];
            for (std::size_t k = 0; k < v.size(); ++k) sums[w][k] += v[k];
        }
        for (std::size_t p = 0; p < prototypes.size(); ++p) {
            for (double& s : sums[p]) s = counts[p] == 0 ? s : s / counts[p];
        }
        prototypes = sums;
        h = test::plain_heterogeneity(data, prototypes);
    } while (previous - h > 0.001);
    return h;
}

// Two clusters of six datavectors, a 1 x 3 map, a fixed clock: every stage
// against a plain reimplementation or a property that holds by construction.
TEST(EndToEnd, TwoClustersThroughEveryAlgorithm) {
    const Rows data = {{0, 0},   {0, 1},   {1, 0},     {1, 1},     {0.5, 0.5},   {0.2, 0.8},
                       {10, 10}, {10, 11}, {11, 10.5}, {11.5, 11}, {10.5, 10.5}, {10.8, 10.2}};
    test::FixedWorkspace f(1'700'000'000);
    core::Workspace& ws = f.ws;
    ASSERT_TRUE(test::set_up(ws, data, 1, 3));

    init_random_weights(ws, 11.0, 0.0);
    ReferenceLcg weights(1'700'000'000);
    for (int p = 0; p < 3; ++p) {
        for (int v = 0; v < 2; ++v) EXPECT_EQ(ws.prototypes[p][v], ((weights.next() % 101) / 100.0) * 11.0);
    }

    f.clock.advance(1);
    TrialSeries series;
    begin_trial_series(series);
    std::vector<std::pair<int, double>> adopted;
    ASSERT_EQ(run_pick_trials(ws, series, 6, [&](int t, double h) { adopted.emplace_back(t, h); }),
              PickResult::ok);
    ReferenceLcg picks_lcg(1'700'000'001);
    std::vector<std::pair<int, double>> expected_adopted;
    Rows expected;
    for (int t = 1; t <= 6; ++t) {
        const Rows picks = test::plain_pick(data, 3, picks_lcg);
        const double h = test::plain_heterogeneity(data, picks);
        if (t == 1 || h < expected_adopted.back().second) {
            expected_adopted.emplace_back(t, h);
            expected = picks;
        }
    }
    EXPECT_EQ(adopted, expected_adopted);
    ASSERT_EQ(test::prototypes_of(ws), expected);

    std::vector<double> fixpoints;
    const double h = converge_to_centroid(ws, [&](double value) { fixpoints.push_back(value); });
    EXPECT_EQ(h, plain_converge(expected, data));
    EXPECT_EQ(test::prototypes_of(ws), expected);
    EXPECT_EQ(fixpoints.back(), h);
    EXPECT_TRUE(std::is_sorted(fixpoints.rbegin(), fixpoints.rend()));

    const double simplicity = test::plain_simplicity(expected, 3);
    Rows before = test::prototypes_of(ws);
    EXPECT_LE(exchange_prototype_pairs(ws, 20), 20);
    Rows after = test::prototypes_of(ws);
    EXPECT_LE(test::plain_simplicity(after, 3), simplicity);
    EXPECT_EQ(test::plain_heterogeneity(data, after), h);
    std::sort(before.begin(), before.end());
    std::sort(after.begin(), after.end());
    EXPECT_EQ(after, before);

    expected = test::prototypes_of(ws);
    TrainingProgress progress;
    const TrainingSchedule stages[] = {{2, 2, 0.5, 0.5}, {3, 1, 0.1, 0.3}, {2, 0, 0.02, 0.0}};
    std::vector<EpochReport> reports;
    for (const TrainingSchedule& stage : stages) {
        f.clock.advance(7);
        train_som(ws, progress, stage, [&](const EpochReport& r) {
            reports.push_back(r);
            return true;
        });
        std::vector<int> flags(3, 0);
        // The epochs of a stage share its second: each goes on with the draws.
        test::ReferenceLcg stream(static_cast<std::uint32_t>(f.clock.now_seconds()));
        for (int e = 0; e < stage.epochs; ++e) {
            test::plain_epoch(expected, data, 3, stage.neighborhood_order, stage.learning_rate,
                              stage.update_factor, stream.state(), flags);
            for (std::size_t n = 0; n < data.size(); ++n) stream.next();
        }
    }
    EXPECT_EQ(test::prototypes_of(ws), expected);
    ASSERT_EQ(reports.size(), 7u);
    for (int e = 0; e < 7; ++e) {
        EXPECT_EQ(reports[e].epochs, e + 1);
        EXPECT_EQ(reports[e].iterations, 12 * (e + 1));
    }
    EXPECT_EQ(reports.back().heterogeneity, test::plain_heterogeneity(data, expected));
    EXPECT_EQ(reports.back().simplicity, test::plain_simplicity(expected, 3));

    const auto dir = std::filesystem::temp_directory_path() / ("veltra_e2e_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    std::vector<int> counts(3, 0);
    std::string lines;
    for (int i = 0; i < 12; ++i) {
        const int w = test::plain_nearest(expected, data[i]);
        ++counts[w];
        char line[32];
        std::snprintf(line, sizeof line, "%5d %2d\r\n", i + 1, w + 1);
        lines += line;
    }
    ASSERT_TRUE(recall_frequency(ws, (dir / "all.frq").string(), 1, 1));
    EXPECT_EQ(std::vector<int>(ws.win_counts.data(), ws.win_counts.data() + 3), counts);
    ASSERT_TRUE(recall_assignment(ws, (dir / "all.lst").string(), 1, 1));
    std::ifstream in(dir / "all.lst", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), lines);
    std::filesystem::remove_all(dir);

    double x[3], y[3], stress = 0.0;
    ASSERT_TRUE(sammon_project(ws.prototypes, x, y, 3, 2, SAMMON_ITERATIONS, stress, ws.heap, ws.random));
    const test::PlainSammon plain = test::plain_sammon(expected, SAMMON_ITERATIONS, 1'700'000'022);
    EXPECT_EQ(Row(x, x + 3), plain.x);
    EXPECT_EQ(Row(y, y + 3), plain.y);
    EXPECT_EQ(stress, plain.stress);
}

}  // namespace
}  // namespace veltra::algorithms
