#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "algorithms/som_training.h"
#include "algorithms/som_training_plain.h"
#include "kernel_test_support.h"
#include "tests/algorithms/reference.h"

namespace veltra::core {
namespace {

using testing::INFINITE;
using testing::NOT_A_NUMBER;
using testing::same_bits;

// Epochs on the kernels' packed prototypes against the plain epoch on the
// rows, on every instruction set, with datavectors holding NaN and infinities,
// which the moves carry into the prototypes and the later winner searches
// meet. Each epoch starts from the rows the last one left, as training's do,
// and the second starts after the rows were changed behind the kernels' back.
// Kernels without scratch train on the rows, with the same result. With 300
// variables the presentations are screened several at a time, the last block
// shorter.
TEST(TrainingEpoch, EqualsThePlainEpochBitForBit) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(5);
    std::normal_distribution<double> normal(0.0, 4.0);
    const algorithms::TrainingSchedule stage = {1, 2, 0.3, 0.5};
    const std::int64_t seed = 42;
    const std::int32_t ndata = 299;
    for (const std::int32_t nvars : {1, 17, 300}) {
        test::Rows data(ndata, test::Row(static_cast<std::size_t>(nvars)));
        for (auto& row : data) {
            for (auto& v : row) v = normal(random);
        }
        data[10][0] = NOT_A_NUMBER;
        data[20][0] = INFINITE;
        data[30][0] = -INFINITE;
        test::Rows start(36, test::Row(static_cast<std::size_t>(nvars)));
        for (auto& row : start) {
            for (auto& v : row) v = normal(random);
        }
        for (const InstructionSet set : testing::runnable_instruction_sets()) {
            SCOPED_TRACE(std::string(testing::name_of(set)) + ", nvars " + std::to_string(nvars));
            ASSERT_TRUE(force_instruction_set(set));
            test::FixedWorkspace plain(seed);
            test::FixedWorkspace fast(seed);
            test::FixedWorkspace without_scratch(seed);
            for (test::FixedWorkspace* f : {&plain, &fast, &without_scratch}) {
                ASSERT_TRUE(test::set_up(f->ws, data, 6, 6));
                test::set_prototypes(f->ws, start);
                for (std::int32_t p = 0; p < 36; ++p) f->ws.win_counts[p] = 0;
            }
            without_scratch.ws.kernels.release();
            for (int epoch = 0; epoch < 2; ++epoch) {
                SCOPED_TRACE("epoch " + std::to_string(epoch));
                for (test::FixedWorkspace* f : {&plain, &fast, &without_scratch}) {
                    if (epoch == 1) f->ws.prototypes[35][nvars - 1] += 1.0;
                }
                {
                    const StreamRun run(plain.ws.random, RandomStream::training_epoch);
                    EXPECT_EQ(algorithms::plain::present_epoch(plain.ws, stage), ndata);
                }
                const int next_draw = plain.ws.random.draw_random();
                for (test::FixedWorkspace* f : {&fast, &without_scratch}) {
                    EXPECT_EQ(algorithms::train_epoch(f->ws, stage), ndata);
                    for (std::int32_t p = 0; p < 36; ++p) {
                        EXPECT_EQ(f->ws.win_counts[p], plain.ws.win_counts[p]) << "prototype " << p;
                        for (std::int32_t k = 0; k < nvars; ++k) {
                            EXPECT_TRUE(same_bits(f->ws.prototypes[p][k], plain.ws.prototypes[p][k]))
                                << "prototype " << p << ", value " << k;
                        }
                    }
                    EXPECT_EQ(f->ws.random.draw_random(), next_draw);
                }
            }
        }
    }
}

}  // namespace
}  // namespace veltra::core
