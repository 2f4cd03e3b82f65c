#include "core/kernels/prototype_lanes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "core/measures_plain.h"
#include "kernel_test_support.h"

namespace veltra::core {
namespace {

using testing::INFINITE;
using testing::make_matrix;
using testing::NOT_A_NUMBER;
using testing::same_bits;

// The lower bounds that a pass with a limit sums: never above the plain loop's
// distance to the winner, on data for each screen and for none (spread, far
// off, tiny, huge, with equal prototypes), and close to it on ordinary data,
// or trials would stop no earlier for them.
TEST(PrototypeLanes, WinnerBoundsNeverExceedThePlainDistances) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(31);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    const std::int32_t nprotos = 36;
    const std::int32_t nvars = 40;
    const std::int32_t ndata = 301;
    for (const double scale : {100.0, 1e-200, 1e150}) {
        for (const InstructionSet set : testing::runnable_instruction_sets()) {
            SCOPED_TRACE(std::string(testing::name_of(set)) + ", scale " + std::to_string(scale));
            ASSERT_TRUE(force_instruction_set(set));
            Heap heap;
            Matrix data = make_matrix(heap, ndata, nvars);
            Matrix rows = make_matrix(heap, nprotos, nvars);
            for (std::int32_t i = 0; i < ndata; ++i) {
                for (std::int32_t k = 0; k < nvars; ++k) data[i][k] = scale * (5.0 + unit(random));
            }
            for (std::int32_t p = 0; p < nprotos; ++p) {
                for (std::int32_t k = 0; k < nvars; ++k) rows[p][k] = data[p % 30][k];
            }
            for (std::int32_t k = 0; k < nvars; ++k) {
                data[0][k] = scale * 1e12;
                data[1][k] = 1e300;
            }
            PrototypeLanes lanes;
            ASSERT_TRUE(lanes.reserve(heap, nprotos, nvars));
            ASSERT_TRUE(lanes.hold(rows, nprotos, nvars));
            std::vector<std::int32_t> winners(ndata);
            std::vector<double> bounds(ndata);
            lanes.assign_winners(data, 0, ndata, winners.data(), bounds.data());
            std::int32_t close = 0;
            for (std::int32_t i = 0; i < ndata; ++i) {
                ASSERT_EQ(winners[i], plain::find_winner(rows, nprotos, data, i, nvars))
                    << "datavector " << i;
                const double distance = plain::squared_distance(data[i], rows[winners[i]], nvars);
                EXPECT_LE(bounds[i], distance) << "datavector " << i;
                if (bounds[i] >= distance * (1.0 - 1e-4)) ++close;
            }
            if (scale == 100.0) {
                EXPECT_GE(close, ndata - 2);
            }
        }
    }
}

}  // namespace
}  // namespace veltra::core
