#include "algorithms/som_training.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

#include "algorithms/som_training_plain.h"
#include "core/kernels/drawn_ahead.h"
#include "core/measures.h"

namespace veltra::algorithms {

void move_toward(core::Matrix& prototypes, std::int32_t p, const core::Matrix& data, std::int32_t r,
                 std::int32_t nvars, double rate) noexcept {
    double* prototype = prototypes[p];
    const double* datavector = data[r];
    for (std::int32_t k = 0; k < nvars; ++k)
        prototype[k] = prototype[k] + rate * (datavector[k] - prototype[k]);
}

namespace {

// Who moves, and by how much, when prototype w wins: bit j of moving[w] for w
// itself and its neighbours up to the order, rates[w][j] the rate of j. Set
// once per epoch, so that no presentation writes what its moves read.
struct Neighbourhoods {
    std::array<std::uint64_t, core::MAX_PROTOTYPES> moving{};
    std::array<std::array<double, core::MAX_PROTOTYPES>, core::MAX_PROTOTYPES> rates;
};

Neighbourhoods neighbourhoods_of(const core::Workspace& ws, const TrainingSchedule& stage) {
    Neighbourhoods n;
    for (std::int32_t w = 0; w < ws.nprotos; ++w) {
        n.rates[w].fill(stage.learning_rate * stage.update_factor);
        n.rates[w][w] = stage.learning_rate;
        for (std::int32_t j = 0; j < ws.nprotos; ++j) {
            const int grid_distance = ws.incidence[w][j];
            if (j == w || (grid_distance >= 1 && grid_distance <= stage.neighborhood_order))
                n.moving[w] |= std::uint64_t{1} << j;
        }
    }
    return n;
}

// Assigns the winners and measures the map after an epoch.
void measure(core::Workspace& ws, const TrainingProgress& progress, EpochReport& report) {
    report.epochs = progress.epochs_done;
    report.iterations = std::int64_t{ws.ndata} * progress.epochs_done;
    report.heterogeneity = ws.kernels.assign_winners_and_heterogeneity(
        ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, ws.winners.span());
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

// The presentations search and move the kernels' copy of the prototypes,
// whose winners and moves have the bits of the rows'; the rows get it back
// after the epoch.
std::int32_t train_epoch(core::Workspace& ws, const TrainingSchedule& stage) {
    const core::StreamRun run(ws.random, core::RandomStream::training_epoch);
    core::PrototypeRows* prototypes = ws.kernels.begin_moves(ws.prototypes, ws.nprotos, ws.nvars);
    if (prototypes == nullptr) return plain::present_epoch(ws, stage);
    const Neighbourhoods neighbourhoods = neighbourhoods_of(ws, stage);
    core::DrawnAhead drawn(ws.data, ws.ndata, [&] { return ws.random.draw_random() % ws.ndata; });
    // Each batch is drawn before the one before it is screened, so that its
    // rows come from memory meanwhile.
    constexpr std::int32_t AT_ONCE = core::lanes::SCREEN_AHEAD;
    const double* batches[2][AT_ONCE];
    for (std::int32_t i = 0; i < std::min(AT_ONCE, ws.ndata); ++i) batches[0][i] = ws.data[drawn.next()];
    for (std::int32_t n = 0, b = 0; n < ws.ndata; n += AT_ONCE, b ^= 1) {
        const std::int32_t count = std::min(AT_ONCE, ws.ndata - n);
        const std::int32_t following = std::min(AT_ONCE, ws.ndata - n - count);
        for (std::int32_t i = 0; i < following; ++i) batches[b ^ 1][i] = ws.data[drawn.next()];
        prototypes->screen(batches[b], count, batches[b ^ 1], following);
        for (std::int32_t i = 0; i < count; ++i) {
            const std::int32_t w = prototypes->find_next_winner();
            ws.win_counts[w] = 1;
            prototypes->move_toward(neighbourhoods.rates[w].data(), neighbourhoods.moving[w]);
        }
    }
    ws.kernels.end_moves(ws.prototypes);
    return ws.ndata;
}

void train_som(core::Workspace& ws, TrainingProgress& progress, const TrainingSchedule& schedule,
               const TrainingObserver& observer) {
    EpochReport report;
    report.inactive_prototypes.reserve(static_cast<std::size_t>(ws.nprotos));
    for (std::int32_t epoch = 0; epoch < schedule.epochs; ++epoch) {
        for (std::int32_t p = 0; p < ws.nprotos; ++p) ws.win_counts[p] = 0;
        train_epoch(ws, schedule);
        // Saturates rather than overflow after 2^31 - 1 epochs.
        if (progress.epochs_done < std::numeric_limits<std::int32_t>::max()) ++progress.epochs_done;
        measure(ws, progress, report);
        if (observer && !observer(report)) break;
    }
}

}  // namespace veltra::algorithms
