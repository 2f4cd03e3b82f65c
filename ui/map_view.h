#pragma once

#include "core/workspace.h"
#include "ui/display_list.h"
#include "ui/host.h"

namespace veltra::ui {

// The Sammon view of the prototypes in the main window: a stored projection
// (in the workspace's projection vectors) with its stress and extents, drawn
// on demand for any client size.
class MapView {
public:
    // Computes a new projection (SAMMON_ITERATIONS steps) and its extents.
    // On failure shows the memory error through `host` and returns false;
    // the view then draws nothing until a recompute succeeds.
    bool recompute(core::Workspace& ws, MessageHost& host);

    // The display list for a client area of width x height pixels; empty when
    // there is no usable projection.
    DisplayList draw(const core::Workspace& ws, int width, int height, const TextMeasurer& measurer) const;

    double stress() const noexcept { return stress_; }

    // Whether both axes get the same scale (off: each axis fills the client
    // area).
    bool keeps_aspect_ratio() const noexcept { return keep_aspect_ratio_; }
    void set_keep_aspect_ratio(bool keep) noexcept { keep_aspect_ratio_ = keep; }

private:
    bool valid_ = false;
    bool keep_aspect_ratio_ = false;
    double stress_ = 0.0;
    double x_min_ = 0.0, x_max_ = 0.0, y_min_ = 0.0, y_max_ = 0.0;
};

}  // namespace veltra::ui
