#include "core/kernels/data_grid.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <random>

#include "kernel_test_support.h"
#include "tests/algorithms/reference.h"

namespace veltra::core {
namespace {

using testing::INFINITE;
using testing::NOT_A_NUMBER;

test::Rows generated(std::int32_t ndata, std::int32_t nvars,
                     const std::function<double(std::int32_t)>& value) {
    test::Rows rows(static_cast<std::size_t>(ndata), test::Row(static_cast<std::size_t>(nvars)));
    for (auto& row : rows) {
        for (std::int32_t k = 0; k < nvars; ++k) row[static_cast<std::size_t>(k)] = value(k);
    }
    return rows;
}

struct Grid {
    Grid(const test::Rows& data, std::int32_t nprotos)
        : ndata(static_cast<std::int32_t>(data.size())),
          nvars(static_cast<std::int32_t>(data[0].size())),
          matrix(test::matrix_of(heap, data)) {
        grid.reserve(heap, nprotos, nvars, ndata);
    }
    bool hold() {
        if (!grid.frame(matrix, ndata, nvars)) return false;
        grid.round(0, ndata);
        return true;
    }
    // The floor of the whole heterogeneity, or NaN when the grid refuses.
    double floor_of(const test::Rows& prototypes) {
        const Matrix rows = test::matrix_of(heap, prototypes);
        if (!grid.place(rows, static_cast<std::int32_t>(prototypes.size()))) return NOT_A_NUMBER;
        return grid.heterogeneity_floor(grid.bound_sum(0, ndata));
    }
    Heap heap;
    std::int32_t ndata, nvars;
    Matrix matrix;
    DataGrid grid;
};

// On data of every kind of range and offset, and on prototypes that are
// datavectors or lie outside the data, the floor never exceeds the plain
// heterogeneity; where the grid is fine for the data, it lies within a few
// thousandths of it.
TEST(DataGrid, FloorsNeverExceedThePlainHeterogeneity) {
    if (!grid::kernel_supported()) GTEST_SKIP() << "no processor support";
    std::mt19937_64 random(5);
    std::uniform_real_distribution<double> uniform(0.0, 1.0);
    struct Case {
        const char* name;
        std::int32_t ndata, nvars;
        std::function<double(std::int32_t)> value;
        double closeness;  // floor / heterogeneity at least
    };
    const Case cases[] = {
        {"uniform", 1000, 64, [&](std::int32_t) { return 100.0 * uniform(random); }, 0.995},
        {"odd sizes", 333, 7, [&](std::int32_t) { return 100.0 * uniform(random); }, 0.99},
        {"many variables", 200, 301, [&](std::int32_t) { return 100.0 * uniform(random); }, 0.99},
        {"far from 0", 500, 16, [&](std::int32_t) { return 1e9 + uniform(random); }, 0.99},
        {"negative, tiny", 500, 16, [&](std::int32_t) { return -1e-100 * uniform(random); }, 0.99},
        {"one variable wide", 500, 9, [&](std::int32_t k) { return (k == 0 ? 1e6 : 1.0) * uniform(random); },
         0.0},
        {"one variable constant", 500, 5, [&](std::int32_t k) { return k == 2 ? 7.0 : uniform(random); },
         0.99},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const test::Rows data = generated(c.ndata, c.nvars, c.value);
        Grid g(data, 36);
        ASSERT_TRUE(g.hold());
        for (const std::ptrdiff_t nprotos : {1, 7, 36}) {
            const test::Rows picked(data.begin() + 100, data.begin() + 100 + nprotos);
            const double h = test::plain_heterogeneity(data, picked);
            const double floor = g.floor_of(picked);
            EXPECT_LE(floor, h);
            EXPECT_GE(floor, c.closeness * h);
        }
        const test::Rows picked(data.begin() + 100, data.begin() + 136);
        // Beyond the data's range the prototypes sit at the grid's ends.
        test::Rows outside = picked;
        for (auto& row : outside) row[0] = 3.0 * row[0] - 1e7;
        EXPECT_LE(g.floor_of(outside), test::plain_heterogeneity(data, outside));
    }
    // The grid's range comes from a sample of the datavectors: values far
    // outside it, in a datavector the sample leaves out, go to its ends.
    test::Rows wide = generated(2000, 8, [&](std::int32_t) { return uniform(random); });
    wide[1] = test::Row(8, 1e6);
    wide[2][3] = -1e9;
    Grid outside(wide, 36);
    ASSERT_TRUE(outside.hold());
    const test::Rows picked(wide.begin(), wide.begin() + 36);
    EXPECT_LE(outside.floor_of(picked), test::plain_heterogeneity(wide, picked));
    // Prototypes equal to every datavector: a heterogeneity of 0.
    const test::Rows few = generated(36, 3, [&](std::int32_t) { return uniform(random); });
    Grid g(few, 36);
    ASSERT_TRUE(g.hold());
    EXPECT_EQ(g.floor_of(few), 0.0);
}

TEST(DataGrid, RefusesValuesItCannotBound) {
    if (!grid::kernel_supported()) GTEST_SKIP() << "no processor support";
    testing::KernelSettingsGuard guard;
    for (const double bad : {NOT_A_NUMBER, INFINITE, -1e300}) {
        test::Rows data = generated(40, 4, [](std::int32_t k) { return k; });
        data[17][2] = bad;
        Grid g(data, 4);
        EXPECT_FALSE(g.hold());
        EXPECT_FALSE(g.grid.holds(g.matrix, 40, 4));
    }
    const test::Rows data = generated(40, 4, [](std::int32_t k) { return k; });
    Grid g(data, 4);
    ASSERT_TRUE(force_instruction_set(InstructionSet::avx2));
    EXPECT_FALSE(g.hold());
    ASSERT_TRUE(force_instruction_set(std::nullopt));
    ASSERT_TRUE(g.hold());
    EXPECT_TRUE(std::isnan(g.floor_of({{0.0, 1.0, NOT_A_NUMBER, 3.0}})));
    EXPECT_TRUE(std::isnan(g.floor_of(test::Rows(5, {0.0, 1.0, 2.0, 3.0}))));  // more than reserved
}

}  // namespace
}  // namespace veltra::core
