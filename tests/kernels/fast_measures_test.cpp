#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "core/kernels/instruction_set.h"
#include "core/kernels/prototype_kernels.h"
#include "core/map_shape.h"
#include "core/measures.h"
#include "core/measures_plain.h"
#include "kernel_test_support.h"

namespace veltra::core {
namespace {

using testing::INFINITE;
using testing::make_matrix;
using testing::NOT_A_NUMBER;
using testing::same_bits;

enum class Values { spread, ties, specials, clustered };

// Spread: distinct values, so winners are decided by the sums. Ties: few
// small integers and duplicated prototypes, so equal distances are common.
// Specials: NaN and infinities in some datavectors and prototypes (prototype
// 0 included), each row holding at most one so that most sums stay finite.
// Clustered: rows near one of a few centres (the same for every matrix of
// that width), with NaN and infinities as in specials, so that early abandon
// pays and is used.
void fill(Matrix& m, std::int32_t rows, std::int32_t cols, Values values, std::mt19937_64& random) {
    std::normal_distribution<double> normal(0.0, 10.0);
    std::uniform_int_distribution<int> small(0, 2);
    std::mt19937_64 centre_random(static_cast<std::uint64_t>(cols));
    std::vector<double> centres(static_cast<std::size_t>(7 * cols));
    for (double& c : centres) c = 100.0 * normal(centre_random);
    for (std::int32_t i = 0; i < rows; ++i) {
        const double* centre = centres.data() + static_cast<std::ptrdiff_t>(i % 7) * cols;
        for (std::int32_t k = 0; k < cols; ++k) {
            switch (values) {
                case Values::ties:
                    m[i][k] = small(random);
                    break;
                case Values::clustered:
                    m[i][k] = centre[k] + normal(random);
                    break;
                default:
                    m[i][k] = normal(random);
            }
        }
    }
    if (values == Values::ties) {
        for (std::int32_t i = 1; i < rows; i += 3) std::copy(m[i - 1], m[i - 1] + cols, m[i]);
    }
    if (values == Values::specials || values == Values::clustered) {
        const double specials[] = {NOT_A_NUMBER, INFINITE, -INFINITE};
        std::uniform_int_distribution<std::int32_t> column(0, cols - 1);
        for (std::int32_t i = 0; i < rows; i += 4) m[i][column(random)] = specials[(i / 4) % 3];
    }
}

struct Expected {
    std::vector<std::int32_t> winners;
    double heterogeneity = 0.0;
};

Expected plain_result(const Matrix& data, std::int32_t ndata, const Matrix& prototypes, std::int32_t nprotos,
                      std::int32_t nvars) {
    Expected e;
    e.winners.resize(static_cast<std::size_t>(ndata));
    plain::assign_winners(data, ndata, prototypes, nprotos, nvars, e.winners);
    e.heterogeneity = plain::compute_heterogeneity(data, ndata, prototypes, e.winners, nvars);
    return e;
}

void expect_fast_winners(PrototypeKernels& kernels, const Matrix& data, std::int32_t ndata,
                         const Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
                         const Expected& expected) {
    std::vector<std::int32_t> winners(static_cast<std::size_t>(ndata), -1);
    kernels.assign_winners(data, ndata, prototypes, nprotos, nvars, winners);
    EXPECT_EQ(winners, expected.winners);
    EXPECT_TRUE(same_bits(kernels.compute_heterogeneity(data, ndata, prototypes, winners, nvars),
                          expected.heterogeneity));
    std::fill(winners.begin(), winners.end(), -1);
    EXPECT_TRUE(
        same_bits(kernels.assign_winners_and_heterogeneity(data, ndata, prototypes, nprotos, nvars, winners),
                  expected.heterogeneity));
    EXPECT_EQ(winners, expected.winners);
    for (std::int32_t i = 0; i < ndata; i += 5) {
        EXPECT_EQ(kernels.find_winner(prototypes, nprotos, data, i, nvars),
                  expected.winners[static_cast<std::size_t>(i)])
            << "datavector " << i;
    }
}

// Kernels with scratch for these sizes from the heap.
PrototypeKernels& reserved(PrototypeKernels& kernels, std::int32_t nprotos, std::int32_t nvars,
                           std::int32_t ndata) {
    EXPECT_TRUE(kernels.reserve(nprotos, nvars, ndata));
    return kernels;
}

void expect_fast_map_measures(const Matrix& prototypes, std::int32_t nvars, std::int32_t rows,
                              std::int32_t cols) {
    SCOPED_TRACE(std::to_string(rows) + " x " + std::to_string(cols) + " map");
    IncidenceMatrix incidence{};
    build_incidence_matrix(incidence, rows, cols);
    const std::int32_t nprotos = rows * cols;
    EXPECT_TRUE(same_bits(compute_simplicity(prototypes, nprotos, nvars, incidence),
                          plain::compute_simplicity(prototypes, nprotos, nvars, incidence)));
    std::vector<std::int32_t> counts(static_cast<std::size_t>(nprotos), -1);
    std::vector<std::int32_t> plain_counts(static_cast<std::size_t>(nprotos), -1);
    EXPECT_TRUE(same_bits(compute_violations(prototypes, nprotos, nvars, incidence, counts),
                          plain::compute_violations(prototypes, nprotos, nvars, incidence, plain_counts)));
    EXPECT_EQ(counts, plain_counts);
}

TEST(FastMeasures, MatchThePlainLoopsBitForBit) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(20240611);
    const std::int32_t map_shapes[][2] = {{1, 1}, {1, 2}, {1, 5}, {4, 6}, {6, 6}, {4, 9}, {7, 8}, {8, 8}};
    for (const std::int32_t nvars : {1, 3, 17, 64, 1000}) {
        const std::int32_t ndata = nvars >= 1000 ? 41 : 203;
        for (const auto& shape : map_shapes) {
            const std::int32_t nprotos = shape[0] * shape[1];
            for (const Values values : {Values::spread, Values::ties, Values::specials, Values::clustered}) {
                SCOPED_TRACE("nvars " + std::to_string(nvars) + ", nprotos " + std::to_string(nprotos) +
                             ", values " + std::to_string(static_cast<int>(values)));
                Heap heap;
                Matrix data = make_matrix(heap, ndata, nvars);
                Matrix prototypes = make_matrix(heap, nprotos, nvars);
                fill(data, ndata, nvars, values, random);
                fill(prototypes, nprotos, nvars, values, random);
                const Expected expected = plain_result(data, ndata, prototypes, nprotos, nvars);
                PrototypeKernels kernels(heap);
                reserved(kernels, nprotos, nvars, ndata);
                for (const InstructionSet set : testing::runnable_instruction_sets()) {
                    SCOPED_TRACE(testing::name_of(set));
                    ASSERT_TRUE(force_instruction_set(set));
                    expect_fast_winners(kernels, data, ndata, prototypes, nprotos, nvars, expected);
                }
                // Wider shapes test the winner screens only: a map has at most 36 prototypes.
                if (nprotos <= MAX_PROTOTYPES)
                    expect_fast_map_measures(prototypes, nvars, shape[0], shape[1]);
            }
        }
    }
}

// Passes large enough to be split among the threads, with uneven splits.
TEST(FastMeasures, ThreadCountsChangeNothing) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(7);
    const std::int32_t ndata = 3001;
    const std::int32_t nvars = 64;
    const std::int32_t nprotos = 36;
    Heap heap;
    Matrix data = make_matrix(heap, ndata, nvars);
    Matrix prototypes = make_matrix(heap, nprotos, nvars);
    fill(data, ndata, nvars, Values::specials, random);
    fill(prototypes, nprotos, nvars, Values::spread, random);
    // Prototypes that some datavectors equal exactly, so that ties and zero
    // distances occur among the splits.
    for (std::int32_t p = 0; p < nprotos; p += 5)
        std::copy(data[p * 7 + 1], data[p * 7 + 1] + nvars, prototypes[p]);
    const Expected expected = plain_result(data, ndata, prototypes, nprotos, nvars);
    PrototypeKernels kernels(heap);
    reserved(kernels, nprotos, nvars, ndata);
    for (const std::int32_t threads : {1, 2, 3}) {
        SCOPED_TRACE(std::to_string(threads) + " threads");
        kernels.set_threads(threads);
        for (const InstructionSet set : testing::runnable_instruction_sets()) {
            SCOPED_TRACE(testing::name_of(set));
            ASSERT_TRUE(force_instruction_set(set));
            expect_fast_winners(kernels, data, ndata, prototypes, nprotos, nvars, expected);
        }
    }
}

// The kernels keep their packed copy from call to call: a change of any one
// value of the rows, the last included, must show in the next search.
TEST(FastMeasures, PackedCopyFollowsEveryChangeOfTheRows) {
    testing::KernelSettingsGuard guard;
    const std::int32_t nvars = 5;
    const std::int32_t nprotos = 9;
    Heap heap;
    Matrix prototypes = make_matrix(heap, nprotos, nvars);
    Matrix data = make_matrix(heap, 1, nvars);
    for (std::int32_t k = 0; k < nvars; ++k) {
        data[0][k] = 0.0;
        for (std::int32_t p = 0; p < nprotos; ++p) prototypes[p][k] = 1.0;
    }
    PrototypeKernels kernels(heap);
    reserved(kernels, nprotos, nvars, 1);
    std::int32_t winner = -1;
    for (std::int32_t p = 1; p < nprotos; ++p) {
        for (std::int32_t k = 0; k < nvars; ++k) {
            SCOPED_TRACE("prototype " + std::to_string(p) + ", value " + std::to_string(k));
            prototypes[p][k] = 0.0;  // now nearest
            EXPECT_EQ(kernels.find_winner(prototypes, nprotos, data, 0, nvars), p);
            prototypes[p][k] = 1.0;  // a tie again, which prototype 0 wins
            kernels.assign_winners_and_heterogeneity(data, 1, prototypes, nprotos, nvars,
                                                     std::span(&winner, 1));
            EXPECT_EQ(winner, 0);
        }
    }
}

enum class Hard { near_ties, midpoints, offset, tiny, subnormal, huge, outliers };

// Values that test the screens' error bounds rather than the arithmetic:
// prototypes whose distances differ by a few roundings or not at all, values
// far from 0 relative to their spread, at the ends of the exponent range, and
// datavectors far outside the prototypes.
void fill_hard(Matrix& data, std::int32_t ndata, Matrix& prototypes, std::int32_t nprotos, std::int32_t nvars,
               Hard hard, std::mt19937_64& random) {
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(-52, -20);
    const double base_scale = hard == Hard::tiny        ? 0x1p-400
                              : hard == Hard::subnormal ? 0x1p-1060
                              : hard == Hard::huge      ? 0x1p470
                                                        : 1.0;
    const double offset = hard == Hard::offset ? 1e8 : 0.0;
    std::vector<double> base(static_cast<std::size_t>(nvars));
    for (double& b : base) b = offset + unit(random) * base_scale;
    const auto near_base = [&](double* row) {
        for (std::int32_t k = 0; k < nvars; ++k) {
            const double b = base[static_cast<std::size_t>(k)];
            switch (hard) {
                case Hard::near_ties:
                    row[k] = b + std::ldexp(unit(random), exponent(random));
                    break;
                case Hard::midpoints:
                    row[k] = std::ldexp(std::round(unit(random) * 8.0), -3);
                    break;
                case Hard::offset:
                    row[k] = b + unit(random) * 1e-3;
                    break;
                default:
                    row[k] = unit(random) * base_scale;
            }
        }
    };
    for (std::int32_t p = 0; p < nprotos; ++p) near_base(prototypes[p]);
    for (std::int32_t i = 0; i < ndata; ++i) near_base(data[i]);
    // Exact ties: duplicated prototypes, and datavectors equal to prototypes or
    // halfway between two of them (exact in binary for these values).
    std::copy(prototypes[0], prototypes[0] + nvars, prototypes[nprotos - 1]);
    for (std::int32_t i = 0; i < ndata; i += 3) {
        const double* a = prototypes[i % nprotos];
        const double* b = prototypes[(i / 3) % nprotos];
        for (std::int32_t k = 0; k < nvars; ++k) data[i][k] = i % 2 == 0 ? a[k] : a[k] * 0.5 + b[k] * 0.5;
    }
    if (hard == Hard::outliers) {
        for (std::int32_t i = 1; i < ndata; i += 2) {
            for (std::int32_t k = 0; k < nvars; ++k) data[i][k] = 1e12 * unit(random);
        }
    }
}

// The screens may only drop prototypes that cannot win; on these values a
// bound too small by a little would drop a winner and show here.
TEST(FastMeasures, ScreensKeepEveryPossibleWinner) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(31337);
    const std::int32_t ndata = 150;
    for (const std::int32_t nvars : {2, 64, 301}) {
        for (const std::int32_t nprotos : {6, 36}) {
            for (const Hard hard : {Hard::near_ties, Hard::midpoints, Hard::offset, Hard::tiny,
                                    Hard::subnormal, Hard::huge, Hard::outliers}) {
                SCOPED_TRACE("nvars " + std::to_string(nvars) + ", nprotos " + std::to_string(nprotos) +
                             ", values " + std::to_string(static_cast<int>(hard)));
                Heap heap;
                Matrix data = make_matrix(heap, ndata, nvars);
                Matrix prototypes = make_matrix(heap, nprotos, nvars);
                fill_hard(data, ndata, prototypes, nprotos, nvars, hard, random);
                const Expected expected = plain_result(data, ndata, prototypes, nprotos, nvars);
                PrototypeKernels kernels(heap);
                reserved(kernels, nprotos, nvars, ndata);
                for (const InstructionSet set : testing::runnable_instruction_sets()) {
                    SCOPED_TRACE(testing::name_of(set));
                    ASSERT_TRUE(force_instruction_set(set));
                    expect_fast_winners(kernels, data, ndata, prototypes, nprotos, nvars, expected);
                }
            }
        }
    }
}

// The winner rule's corners, decided within one group of lanes and across
// groups: a NaN distance never wins, a NaN distance to prototype 0 is never
// beaten, equal distances (+inf included) go to the lowest index, and a sum
// that turns NaN late must not win.
TEST(FastMeasures, WinnerSearchKeepsTheNaNAndTieRules) {
    testing::KernelSettingsGuard guard;
    const std::int32_t nvars = 20;
    const std::int32_t nprotos = 20;
    Heap heap;
    Matrix prototypes = make_matrix(heap, nprotos, nvars);
    Matrix data = make_matrix(heap, 1, nvars);
    // One kernels object for all cases: each case changes the rows it packed
    // for the case before.
    PrototypeKernels kernels(heap);
    reserved(kernels, nprotos, nvars, 1);
    const auto set_row = [&](Matrix& m, std::int32_t row, double value) {
        for (std::int32_t k = 0; k < nvars; ++k) m[row][k] = value;
    };
    struct Case {
        const char* what;
        std::function<void()> change;
        std::int32_t winner;
    };
    const Case cases[] = {
        {"nearest by the sums", [&] { set_row(prototypes, 19, 0.5); }, 19},
        {"NaN at prototype 0 is never beaten",
         [&] {
             prototypes[0][19] = NOT_A_NUMBER;
             set_row(prototypes, 12, 0.0);
         },
         0},
        {"a sum that turns NaN at its last value never wins",
         [&] {
             set_row(prototypes, 9, 0.0);
             prototypes[9][nvars - 1] = NOT_A_NUMBER;
             set_row(prototypes, 17, 0.5);
         },
         17},
        {"all distances +inf go to prototype 0",
         [&] {
             for (std::int32_t p = 0; p < nprotos; ++p) prototypes[p][p] = INFINITE;
         },
         0},
        {"+inf distances before a finite one",
         [&] {
             for (std::int32_t p = 0; p < 15; ++p) prototypes[p][5] = -INFINITE;
         },
         15},
        {"a tie across groups",
         [&] {
             set_row(prototypes, 2, 1.0);
             set_row(prototypes, 10, 1.0);
         },
         2},
        {"an infinite datavector", [&] { data[0][4] = INFINITE; }, 0},
        {"a NaN datavector", [&] { data[0][7] = NOT_A_NUMBER; }, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (std::int32_t p = 0; p < nprotos; ++p) set_row(prototypes, p, 100.0 + p);
        set_row(data, 0, 0.0);
        c.change();
        EXPECT_EQ(plain::find_winner(prototypes, nprotos, data, 0, nvars), c.winner);
        for (const InstructionSet set : testing::runnable_instruction_sets()) {
            SCOPED_TRACE(testing::name_of(set));
            ASSERT_TRUE(force_instruction_set(set));
            EXPECT_EQ(kernels.find_winner(prototypes, nprotos, data, 0, nvars), c.winner);
            // A pass searches with early abandon, a single search without.
            std::int32_t winner = -1;
            kernels.assign_winners(data, 1, prototypes, nprotos, nvars, std::span(&winner, 1));
            EXPECT_EQ(winner, c.winner);
        }
    }
}

}  // namespace
}  // namespace veltra::core
