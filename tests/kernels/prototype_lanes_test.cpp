#include "core/kernels/prototype_lanes.h"

#include <gtest/gtest.h>

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

// The moves of a training presentation on the packed copy against the plain
// move on the rows; rates 0 and values -0.0, NaN and infinities included,
// since a prototype that does not move must keep its bits (0 * (d - v) is not
// always +0).
TEST(PrototypeLanes, MovesAndWinnersKeepTheBitsOfTheRows) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(99);
    std::normal_distribution<double> normal(0.0, 3.0);
    std::uniform_int_distribution<int> coin(0, 3);
    const double specials[] = {-0.0, NOT_A_NUMBER, INFINITE, -INFINITE};
    for (const std::int32_t nvars : {1, 3, 17}) {
        for (const std::int32_t nprotos : {1, 5, 36}) {
            for (const InstructionSet set : testing::runnable_instruction_sets()) {
                SCOPED_TRACE(std::string(testing::name_of(set)) + ", nvars " + std::to_string(nvars) +
                             ", nprotos " + std::to_string(nprotos));
                ASSERT_TRUE(force_instruction_set(set));
                const std::int32_t ndata = 40;
                Heap heap;
                Matrix data = make_matrix(heap, ndata, nvars);
                Matrix rows = make_matrix(heap, nprotos, nvars);
                Matrix stored = make_matrix(heap, nprotos, nvars);
                for (std::int32_t i = 0; i < ndata; ++i) {
                    for (std::int32_t k = 0; k < nvars; ++k) data[i][k] = normal(random);
                }
                for (std::int32_t p = 0; p < nprotos; ++p) {
                    for (std::int32_t k = 0; k < nvars; ++k) rows[p][k] = normal(random);
                    rows[p][p % nvars] = specials[p % 4];
                }
                data[3][0] = NOT_A_NUMBER;
                data[4][0] = INFINITE;
                PrototypeLanes lanes;
                ASSERT_TRUE(lanes.load(rows, nprotos, nvars));
                std::vector<double> rates(static_cast<std::size_t>(nprotos));

                for (std::int32_t i = 0; i < ndata; ++i) {
                    EXPECT_EQ(lanes.find_winner(data[i]), plain::find_winner(rows, nprotos, data, i, nvars));
                    std::uint64_t moving = 0;
                    for (std::int32_t p = 0; p < nprotos; ++p) {
                        rates[p] = coin(random) == 0 ? 0.0 : 0.25;
                        if (coin(random) == 0) continue;
                        moving |= std::uint64_t{1} << p;
                        for (std::int32_t k = 0; k < nvars; ++k)
                            rows[p][k] = rows[p][k] + rates[p] * (data[i][k] - rows[p][k]);
                    }
                    lanes.move_toward(data[i], rates.data(), moving);
                }
                lanes.store(stored);
                for (std::int32_t p = 0; p < nprotos; ++p) {
                    for (std::int32_t k = 0; k < nvars; ++k) EXPECT_TRUE(same_bits(stored[p][k], rows[p][k]));
                }
            }
        }
    }
}

}  // namespace
}  // namespace veltra::core
