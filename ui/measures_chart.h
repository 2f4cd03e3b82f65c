#pragma once

#include <vector>

#include "algorithms/som_training.h"
#include "ui/display_list.h"

namespace veltra::ui {

// The epochs trained since the prototypes were last given values (by an
// initialization or an import), in order.
class MeasuresHistory {
public:
    void record(const algorithms::EpochReport& report) { epochs_.push_back(report); }
    void clear() noexcept { epochs_.clear(); }
    const std::vector<algorithms::EpochReport>& epochs() const noexcept { return epochs_; }

private:
    std::vector<algorithms::EpochReport> epochs_;
};

// Heterogeneity, simplicity and violations over the epochs, one chart above
// the other, each with its own range and the epoch on the x axis; a note
// when there are no epochs.
DisplayList draw_measures_chart(const std::vector<algorithms::EpochReport>& epochs, int width, int height,
                                const TextMeasurer& measurer);

}  // namespace veltra::ui
