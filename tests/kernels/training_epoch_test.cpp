#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "algorithms/som_training.h"
#include "core/map_shape.h"
#include "kernel_test_support.h"
#include "tests/algorithms/reference.h"

namespace veltra::core {
namespace {

using testing::INFINITE;
using testing::NOT_A_NUMBER;
using testing::same_bits;

// An epoch on the packed prototypes against a plain epoch on rows, on every
// instruction set, with datavectors holding NaN and infinities, which the
// moves carry into the prototypes and the later winner searches meet.
TEST(TrainingEpoch, EqualsThePlainEpochBitForBit) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(5);
    std::normal_distribution<double> normal(0.0, 4.0);
    const std::int32_t rows = 6;
    const std::int32_t cols = 6;
    const std::int32_t order = 2;
    const std::uint32_t seed = 42;
    for (const std::int32_t nvars : {1, 17}) {
        test::Rows data(300, test::Row(static_cast<std::size_t>(nvars)));
        for (auto& row : data) {
            for (auto& v : row) v = normal(random);
        }
        data[10][0] = NOT_A_NUMBER;
        data[20][0] = INFINITE;
        data[30][0] = -INFINITE;
        test::Rows start(static_cast<std::size_t>(rows * cols), test::Row(static_cast<std::size_t>(nvars)));
        for (auto& row : start) {
            for (auto& v : row) v = normal(random);
        }
        test::Rows expected = start;
        std::vector<int> expected_flags(start.size(), 0);
        test::plain_epoch(expected, data, cols, order, 0.3, 0.5, seed, expected_flags);

        for (const InstructionSet set : testing::runnable_instruction_sets()) {
            SCOPED_TRACE(std::string(testing::name_of(set)) + ", nvars " + std::to_string(nvars));
            ASSERT_TRUE(force_instruction_set(set));
            Heap heap;
            Matrix data_matrix = test::matrix_of(heap, data);
            Matrix prototypes = test::matrix_of(heap, start);
            IncidenceMatrix incidence{};
            build_incidence_matrix(incidence, rows, cols);
            std::vector<std::int32_t> flags(start.size(), 0);
            FixedClock clock(seed);
            RandomGenerator generator(clock);
            const auto ndata = static_cast<std::int32_t>(data.size());
            EXPECT_EQ(algorithms::train_epoch(prototypes, data_matrix, incidence, flags, rows * cols, ndata,
                                              nvars, order, 0.3, 0.5, generator),
                      ndata);
            EXPECT_EQ(flags, std::vector<std::int32_t>(expected_flags.begin(), expected_flags.end()));
            const test::Rows trained = test::rows_of(prototypes, rows * cols, nvars);
            for (std::size_t p = 0; p < trained.size(); ++p) {
                for (std::size_t k = 0; k < trained[p].size(); ++k) {
                    EXPECT_TRUE(same_bits(trained[p][k], expected[p][k]))
                        << "prototype " << p << ", value " << k;
                }
            }
        }
    }
}

}  // namespace
}  // namespace veltra::core
