#pragma once

// Plain reimplementations of the algorithms' definitions, written independently
// of the code under test, the plain epoch on rows, and helpers to set up a
// workspace from inline values.

#include <cstdint>
#include <vector>

#include "core/clock.h"
#include "core/workspace.h"

namespace veltra::test {

using Row = std::vector<double>;
using Rows = std::vector<Row>;

// The shared generator: state := state * 1103515245 + 12345 (mod 2^32),
// a draw is bits 16 to 30 of the new state.
class ReferenceLcg {
public:
    explicit ReferenceLcg(std::uint32_t seed) : state_(seed) {}
    int next() {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int>((state_ >> 16) & 0x7fffu);
    }
    std::uint32_t state() const { return state_; }

private:
    std::uint32_t state_;
};

// A workspace on a fixed clock showing `seconds`.
struct FixedWorkspace {
    explicit FixedWorkspace(std::int64_t seconds = 0) : clock(seconds) {}
    core::FixedClock clock;
    core::Workspace ws{clock};
};

// A matrix holding the rows (all of equal length).
core::Matrix matrix_of(core::Heap& heap, const Rows& rows);
// Stores the datavectors and sets the map shape; false when either fails.
[[nodiscard]] bool set_up(core::Workspace& ws, const Rows& data, std::int32_t rows, std::int32_t cols);
void set_prototypes(core::Workspace& ws, const Rows& prototypes);
Rows rows_of(const core::Matrix& matrix, std::int32_t rows, std::int32_t cols);
Rows prototypes_of(const core::Workspace& ws);

double plain_squared_distance(const Row& a, const Row& b);
// Lowest index among the nearest prototypes.
int plain_nearest(const Rows& prototypes, const Row& datavector);
double plain_heterogeneity(const Rows& data, const Rows& prototypes);
// Chessboard distance of prototypes p and q on a map with `cols` columns.
int grid_distance(int p, int q, int cols);
double plain_simplicity(const Rows& prototypes, int cols);

// Pick datapoints: nprotos datavectors differing pairwise in value.
Rows plain_pick(const Rows& data, int nprotos, ReferenceLcg& lcg);

// One SOM epoch seeded with `seed`, by algorithms::plain::present_epoch (the
// definition of an epoch); sets flags[w] = 1 for every winner.
void plain_epoch(Rows& prototypes, const Rows& data, int cols, int order, double rate, double factor,
                 std::uint32_t seed, std::vector<int>& flags);

// Sammon's mapping by its plain formulas, without any guard.
struct PlainSammon {
    Row x, y;
    double stress = 0.0;
};
PlainSammon plain_sammon(const Rows& prototypes, int iterations, std::uint32_t seed);

}  // namespace veltra::test
