#include "core/kernels/prototype_rows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "core/measures_plain.h"
#include "kernel_test_support.h"

namespace veltra::core {
namespace {

using testing::INFINITE;
using testing::make_matrix;
using testing::NOT_A_NUMBER;
using testing::same_bits;

// The copy, written back, has the bits of rows 0..nprotos-1.
void expect_stored_bits(PrototypeRows& copy, const Matrix& rows, std::int32_t nprotos, std::int32_t nvars) {
    Heap heap;
    Matrix stored = make_matrix(heap, nprotos, nvars);
    copy.store(stored);
    for (std::int32_t p = 0; p < nprotos; ++p) {
        for (std::int32_t k = 0; k < nvars; ++k) EXPECT_TRUE(same_bits(stored[p][k], rows[p][k]));
    }
}

// At the first datavector i of each block of at_once, screens the block
// (shorter at the end) and fetches the next, as a training epoch does.
void screen_block(PrototypeRows& copy, const Matrix& data, std::int32_t i, std::int32_t at_once,
                  std::int32_t ndata) {
    if (i % at_once != 0) return;
    const double* block[lanes::SCREEN_AHEAD];
    const double* following[lanes::SCREEN_AHEAD];
    const std::int32_t count = std::min(at_once, ndata - i);
    const std::int32_t following_count = std::min(at_once, ndata - i - count);
    for (std::int32_t j = 0; j < count; ++j) block[j] = data[i + j];
    for (std::int32_t j = 0; j < following_count; ++j) following[j] = data[i + count + j];
    copy.screen(block, count, following, following_count);
}

// The moves of a training presentation on the copy against the plain
// move on the rows; rates 0 and values -0.0, NaN and infinities included,
// since a prototype that does not move must keep its bits (0 * (d - v) is not
// always +0).
TEST(PrototypeRows, MovesAndWinnersKeepTheBitsOfTheRows) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(99);
    std::normal_distribution<double> normal(0.0, 3.0);
    std::uniform_int_distribution<int> coin(0, 3);
    const double specials[] = {-0.0, NOT_A_NUMBER, INFINITE, -INFINITE};
    for (const std::int32_t nvars : {1, 3, 17, 131}) {
        for (const std::int32_t nprotos : {1, 5, 36}) {
            for (const InstructionSet set : testing::runnable_instruction_sets()) {
                SCOPED_TRACE(std::string(testing::name_of(set)) + ", nvars " + std::to_string(nvars) +
                             ", nprotos " + std::to_string(nprotos));
                ASSERT_TRUE(force_instruction_set(set));
                const std::int32_t ndata = 40;
                Heap heap;
                Matrix data = make_matrix(heap, ndata, nvars);
                Matrix rows = make_matrix(heap, nprotos, nvars);
                for (std::int32_t i = 0; i < ndata; ++i) {
                    for (std::int32_t k = 0; k < nvars; ++k) data[i][k] = normal(random);
                }
                for (std::int32_t p = 0; p < nprotos; ++p) {
                    for (std::int32_t k = 0; k < nvars; ++k) rows[p][k] = normal(random);
                    rows[p][p % nvars] = specials[p % 4];
                }
                data[3][0] = NOT_A_NUMBER;
                data[4][0] = INFINITE;
                PrototypeRows copy;
                ASSERT_TRUE(copy.reserve(heap, nprotos, nvars));
                ASSERT_TRUE(copy.hold(rows, nprotos, nvars));
                std::vector<double> rates(static_cast<std::size_t>(nprotos));

                const std::int32_t at_once = 1 + static_cast<std::int32_t>(nvars % lanes::SCREEN_AHEAD);
                for (std::int32_t i = 0; i < ndata; ++i) {
                    screen_block(copy, data, i, at_once, ndata);
                    EXPECT_EQ(copy.find_next_winner(), plain::find_winner(rows, nprotos, data, i, nvars));
                    std::uint64_t moving = 0;
                    for (std::int32_t p = 0; p < nprotos; ++p) {
                        rates[p] = coin(random) == 0 ? 0.0 : 0.25;
                        if (coin(random) == 0) continue;
                        moving |= std::uint64_t{1} << p;
                        for (std::int32_t k = 0; k < nvars; ++k)
                            rows[p][k] = rows[p][k] + rates[p] * (data[i][k] - rows[p][k]);
                    }
                    copy.move_toward(rates.data(), moving);
                }
                expect_stored_bits(copy, rows, nprotos, nvars);
            }
        }
    }
}

// Moves as a map neighbourhood makes them (a run of neighbouring indices)
// on prototypes so close together that their distances differ by a few
// roundings: the bounds of the datavectors screened ahead must follow every
// move, and the moves that wait must be made before an exact distance, or a
// winner is lost.
TEST(PrototypeRows, WinnersStayExactAsNeighbourhoodsMove) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(2718);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    const std::int32_t ndata = 200;
    for (const auto& [nprotos, nvars] : {std::pair{3, 64}, {12, 64}, {36, 64}, {36, 131}}) {
        for (const InstructionSet set : testing::runnable_instruction_sets()) {
            SCOPED_TRACE(std::string(testing::name_of(set)) + ", nprotos " + std::to_string(nprotos) +
                         ", nvars " + std::to_string(nvars));
            ASSERT_TRUE(force_instruction_set(set));
            Heap heap;
            Matrix data = make_matrix(heap, ndata, nvars);
            Matrix rows = make_matrix(heap, nprotos, nvars);
            for (std::int32_t k = 0; k < nvars; ++k) {
                const double base = 50.0 + unit(random);
                for (std::int32_t p = 0; p < nprotos; ++p) rows[p][k] = base + 1e-9 * unit(random);
                for (std::int32_t i = 0; i < ndata; ++i) data[i][k] = base + 1e-9 * unit(random);
            }
            PrototypeRows copy;
            ASSERT_TRUE(copy.reserve(heap, nprotos, nvars));
            ASSERT_TRUE(copy.hold(rows, nprotos, nvars));
            std::vector<double> rates(static_cast<std::size_t>(nprotos), 1e-3);
            // A rate past 1 leaves the screen's range: the rest of its batch
            // takes the exact loop.
            rates[nprotos - 1] = 1.5;
            std::uniform_int_distribution<std::int32_t> start(0, nprotos - 1);
            std::uniform_int_distribution<std::int32_t> length(1, 6);
            for (std::int32_t i = 0; i < ndata; ++i) {
                screen_block(copy, data, i, lanes::SCREEN_AHEAD, ndata);
                ASSERT_EQ(copy.find_next_winner(), plain::find_winner(rows, nprotos, data, i, nvars))
                    << "datavector " << i;
                const std::int32_t first = start(random);
                const std::int32_t last = std::min(nprotos - 1, first + length(random) - 1);
                std::uint64_t moving = 0;
                for (std::int32_t p = first; p <= last; ++p) {
                    moving |= std::uint64_t{1} << p;
                    for (std::int32_t k = 0; k < nvars; ++k)
                        rows[p][k] = rows[p][k] + rates[p] * (data[i][k] - rows[p][k]);
                }
                copy.move_toward(rates.data(), moving);
            }
            expect_stored_bits(copy, rows, nprotos, nvars);
        }
    }
}

// Each datavector comes twice in a row, and between the two a prototype
// other than the winner jumps onto it: the second search must find that
// prototype, so the screen of a datavector taken ahead must follow the moves
// made after it was taken.
TEST(PrototypeRows, DatavectorsScreenedAheadMeetTheMovesBeforeThem) {
    testing::KernelSettingsGuard guard;
    std::mt19937_64 random(31);
    std::normal_distribution<double> normal(0.0, 1.0);
    const std::int32_t nprotos = 36;
    const std::int32_t nvars = 40;
    const std::int32_t ndata = 48;
    Heap heap;
    Matrix data = make_matrix(heap, ndata, nvars);
    Matrix start = make_matrix(heap, nprotos, nvars);
    for (std::int32_t i = 0; i < ndata; i += 2) {
        for (std::int32_t k = 0; k < nvars; ++k) data[i][k] = data[i + 1][k] = normal(random);
    }
    for (std::int32_t p = 0; p < nprotos; ++p) {
        for (std::int32_t k = 0; k < nvars; ++k) start[p][k] = normal(random);
    }
    const std::vector<double> rates(nprotos, 1.0);
    for (const InstructionSet set : testing::runnable_instruction_sets()) {
        for (std::int32_t at_once = 2; at_once <= lanes::SCREEN_AHEAD; ++at_once) {
            SCOPED_TRACE(std::string(testing::name_of(set)) + ", " + std::to_string(at_once) + " at once");
            ASSERT_TRUE(force_instruction_set(set));
            PrototypeRows copy;
            ASSERT_TRUE(copy.reserve(heap, nprotos, nvars));
            ASSERT_TRUE(copy.hold(start, nprotos, nvars));
            for (std::int32_t i = 0; i < ndata; i += 2) {
                screen_block(copy, data, i, at_once, ndata);
                const std::int32_t w = copy.find_next_winner();
                const std::int32_t jumper = (w + 1 + i % (nprotos - 1)) % nprotos;
                copy.move_toward(rates.data(), std::uint64_t{1} << jumper);
                screen_block(copy, data, i + 1, at_once, ndata);
                EXPECT_EQ(copy.find_next_winner(), jumper) << "datavector " << i + 1;
            }
        }
    }
}

}  // namespace
}  // namespace veltra::core
