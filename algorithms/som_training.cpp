#include "algorithms/som_training.h"

#include <array>
#include <cstdint>
#include <limits>

#include "core/kernels/prototype_lanes.h"
#include "core/measures.h"

namespace veltra::algorithms {

void move_toward(core::Matrix& prototypes, std::int32_t p, const core::Matrix& data, std::int32_t r,
                 std::int32_t nvars, double rate) noexcept {
    double* prototype = prototypes[p];
    const double* datavector = data[r];
    for (std::int32_t k = 0; k < nvars; ++k)
        prototype[k] = prototype[k] + rate * (datavector[k] - prototype[k]);
}

std::int32_t train_epoch(core::Matrix& prototypes, const core::Matrix& data,
                         const core::IncidenceMatrix& incidence, std::span<std::int32_t> win_counts,
                         std::int32_t nprotos, std::int32_t ndata, std::int32_t nvars,
                         std::int32_t neighborhood_order, double learning_rate, double update_factor,
                         core::RandomGenerator& random) {
    const core::StreamRun run(random, core::RandomStream::training_epoch);
    const double neighbour_rate = learning_rate * update_factor;
    // The presentations work on a packed copy of the prototypes, written back
    // after the epoch; its winners and moves have the bits of the rows'. Its
    // storage is kept for the next epoch.
    thread_local core::PrototypeLanes lanes;
    const bool packed = nprotos >= 1 && nvars >= 1 && lanes.load(prototypes, nprotos, nvars);
    // Bit j of moving[w]: whether prototype j moves when w wins (w itself and
    // its neighbours up to the order); rates[w][j]: by how much. Both are set
    // once, so that no presentation writes what its moves read.
    std::array<std::uint64_t, core::MAX_PROTOTYPES> moving{};
    std::array<std::array<double, core::MAX_PROTOTYPES>, core::MAX_PROTOTYPES> rates;
    for (std::int32_t w = 0; w < nprotos; ++w) {
        rates[w].fill(neighbour_rate);
        rates[w][w] = learning_rate;
        for (std::int32_t j = 0; j < nprotos; ++j) {
            const int grid_distance = incidence[w][j];
            if (j == w || (grid_distance >= 1 && grid_distance <= neighborhood_order))
                moving[w] |= std::uint64_t{1} << j;
        }
    }
    // The datavectors are drawn ahead (the draws keep their order and number),
    // so that their values come from memory meanwhile: their entries in the
    // row index 2 * LOOKAHEAD presentations ahead, their values LOOKAHEAD
    // ahead, each fetch finding the address it needs at hand.
    constexpr std::int32_t LOOKAHEAD = 16;
    constexpr std::int32_t AHEAD = 2 * LOOKAHEAD;
    std::array<std::int32_t, AHEAD> upcoming{};
    std::int32_t drawn = 0;
    const auto draw = [&] {
        const std::int32_t r = random.draw_random() % ndata;
        upcoming[static_cast<std::size_t>(drawn % AHEAD)] = r;
        ++drawn;
        if (packed) __builtin_prefetch(data.row_entry(r));
    };
    while (drawn < ndata && drawn < AHEAD) draw();
    for (std::int32_t n = 0; n < ndata; ++n) {
        const std::int32_t r = upcoming[static_cast<std::size_t>(n % AHEAD)];
        if (packed && n + LOOKAHEAD < drawn)
            lanes.prefetch(data[upcoming[static_cast<std::size_t>((n + LOOKAHEAD) % AHEAD)]]);
        if (drawn < ndata) draw();
        const std::int32_t w =
            packed ? lanes.find_winner(data[r]) : core::find_winner(prototypes, nprotos, data, r, nvars);
        win_counts[w] = 1;
        if (packed) {
            lanes.move_toward(data[r], rates[w].data(), moving[w]);
        } else {
            for (std::int32_t j = 0; j < nprotos; ++j) {
                if ((moving[w] >> j) & 1u) move_toward(prototypes, j, data, r, nvars, rates[w][j]);
            }
        }
    }
    if (packed) lanes.store(prototypes);
    return ndata;
}

namespace {

// Assigns the winners and measures the map after an epoch.
void measure(core::Workspace& ws, const TrainingProgress& progress, EpochReport& report) {
    report.epochs = progress.epochs_done;
    report.iterations = std::int64_t{ws.ndata} * progress.epochs_done;
    report.heterogeneity = core::assign_winners_and_heterogeneity(ws.data, ws.ndata, ws.prototypes,
                                                                  ws.nprotos, ws.nvars, ws.winners.span());
    report.simplicity = core::compute_simplicity(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence);
    report.combined = report.heterogeneity + report.simplicity;
    report.violations = core::compute_violations(ws.prototypes, ws.nprotos, ws.nvars, ws.incidence,
                                                 ws.violation_counts.span());
    report.inactive_prototypes.clear();  // keeps the capacity reserved for the run
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        if (ws.win_counts[p] == 0) report.inactive_prototypes.push_back(p + 1);
    }
}

}  // namespace

void train_som(core::Workspace& ws, TrainingProgress& progress, const TrainingSchedule& schedule,
               const TrainingObserver& observer) {
    EpochReport report;
    report.inactive_prototypes.reserve(static_cast<std::size_t>(ws.nprotos));
    for (std::int32_t epoch = 0; epoch < schedule.epochs; ++epoch) {
        for (std::int32_t p = 0; p < ws.nprotos; ++p) ws.win_counts[p] = 0;
        train_epoch(ws.prototypes, ws.data, ws.incidence, ws.win_counts.span(), ws.nprotos, ws.ndata,
                    ws.nvars, schedule.neighborhood_order, schedule.learning_rate, schedule.update_factor,
                    ws.random);
        // Saturates rather than overflow after 2^31 - 1 epochs.
        if (progress.epochs_done < std::numeric_limits<std::int32_t>::max()) ++progress.epochs_done;
        measure(ws, progress, report);
        if (observer) observer(report);
    }
}

}  // namespace veltra::algorithms
