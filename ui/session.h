#pragma once

#include "algorithms/som_training.h"
#include "core/workspace.h"
#include "ui/host.h"
#include "ui/map_view.h"
#include "ui/measures_chart.h"

namespace veltra::ui {

// Everything the program keeps besides the workspace, for as long as it runs.
struct Session {
    algorithms::TrainingSchedule schedule;
    algorithms::TrainingProgress progress;
    MapView map_view;
    MeasuresHistory measures;
};

// Computes a new projection for the map view, reports it to the host's
// observer when that succeeded, and repaints the main window.
void refresh_map_view(core::Workspace& ws, Session& session, ShellHost& host);

}  // namespace veltra::ui
