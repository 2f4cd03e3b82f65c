// Training epochs, pick-trial runs and pairwise-exchange runs each keep their
// own stream of draws: a start in the second of that kind's last seeding goes
// on where the kind stopped, so nothing repeats on a fast machine.
#include <gtest/gtest.h>

#include <vector>

#include "algorithms/pairwise_exchange.h"
#include "algorithms/sammon.h"
#include "algorithms/som_training.h"
#include "core/random.h"
#include "reference.h"

namespace veltra::algorithms {
namespace {

using core::RandomStream;
using test::FixedWorkspace;
using test::ReferenceLcg;
using test::Rows;

std::vector<int> draws(core::RandomGenerator& random, RandomStream stream, int count) {
    const core::StreamRun run(random, stream);
    std::vector<int> values;
    for (int n = 0; n < count; ++n) values.push_back(random.draw_random());
    return values;
}

std::vector<int> reference_draws(ReferenceLcg& lcg, int count) {
    std::vector<int> values;
    for (int n = 0; n < count; ++n) values.push_back(lcg.next());
    return values;
}

TEST(RandomStreams, EachKindResumesWithinItsSecondAndSeedsInANewOne) {
    core::FixedClock clock(100);
    core::RandomGenerator random(clock);
    ReferenceLcg training(100);
    ReferenceLcg pairwise(100);
    EXPECT_EQ(draws(random, RandomStream::training_epoch, 5), reference_draws(training, 5));
    // Another kind starts its own stream from the clock.
    EXPECT_EQ(draws(random, RandomStream::pairwise_exchange, 3), reference_draws(pairwise, 3));
    // An operation that seeds every time (a Sammon projection) between two
    // epochs changes nothing for the training.
    random.seed_random_from_clock();
    random.draw_random();
    EXPECT_EQ(draws(random, RandomStream::training_epoch, 5), reference_draws(training, 5));
    EXPECT_EQ(draws(random, RandomStream::pairwise_exchange, 3), reference_draws(pairwise, 3));
    // A new second seeds again, and its state is the one resumed next.
    clock.advance(1);
    ReferenceLcg next_second(101);
    EXPECT_EQ(draws(random, RandomStream::training_epoch, 4), reference_draws(next_second, 4));
    EXPECT_EQ(draws(random, RandomStream::training_epoch, 4), reference_draws(next_second, 4));
    // A kind first started in this second seeds from it, whatever the others did.
    ReferenceLcg picks(101);
    EXPECT_EQ(draws(random, RandomStream::pick_trials, 2), reference_draws(picks, 2));
}

TEST(RandomStreams, TwoPairwiseRunsInOneSecondAreOneLongRun) {
    const Rows data = {{0, 0}, {1, 5}, {2, 1}, {7, 3}, {4, 4}, {9, 9}};
    const Rows start = {{9, 9}, {0, 0}, {4, 4}, {1, 5}, {7, 3}, {2, 1}};
    FixedWorkspace split(77);
    FixedWorkspace whole(77);
    for (FixedWorkspace* f : {&split, &whole}) {
        ASSERT_TRUE(test::set_up(f->ws, data, 2, 3));
        test::set_prototypes(f->ws, start);
    }
    const std::int32_t successful =
        exchange_prototype_pairs(split.ws, 4) + exchange_prototype_pairs(split.ws, 4);
    EXPECT_EQ(successful, exchange_prototype_pairs(whole.ws, 8));
    EXPECT_EQ(test::prototypes_of(split.ws), test::prototypes_of(whole.ws));
}

TEST(RandomStreams, ASammonProjectionBetweenEpochsLeavesTheTrainingAsItIs) {
    Rows data;
    for (int i = 0; i < 20; ++i) data.push_back({(i * 7 % 11) * 0.9, (i * 5 % 13) * 0.4 - 1.0});
    const Rows start = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    const TrainingSchedule schedule{4, 1, 0.3, 0.5};
    FixedWorkspace plain(5);
    FixedWorkspace watched(5);
    std::vector<double> x(4);
    std::vector<double> y(4);
    for (FixedWorkspace* f : {&plain, &watched}) {
        ASSERT_TRUE(test::set_up(f->ws, data, 2, 2));
        test::set_prototypes(f->ws, start);
        TrainingProgress progress;
        train_som(f->ws, progress, schedule, [&](const EpochReport&) {
            double stress = 0.0;
            if (f != &watched) return true;
            EXPECT_TRUE(sammon_project(f->ws.prototypes, x.data(), y.data(), 4, 2, 10, stress, f->ws.heap,
                                       f->ws.random));
            return true;
        });
    }
    EXPECT_EQ(test::prototypes_of(plain.ws), test::prototypes_of(watched.ws));
}

}  // namespace
}  // namespace veltra::algorithms
