#pragma once

#include <optional>

#include "algorithms/som_training.h"
#include "core/workspace.h"
#include "ui/display_list.h"
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

// The program around the workspace: routes menu commands to their dialogs and
// file commands, asks before quitting, and says what the main window shows.
// Hosts mirror ws.availability into the menu through its observers.
class Shell {
public:
    Shell(core::Workspace& ws, ShellHost& host);

    // A menu command by id; ids without an action are ignored, and so is a
    // command that is not enabled now.
    void on_command(int id);
    // The close request (title bar, system menu or Quit): asks, and on Yes
    // closes the main window.
    void request_close();
    // F1 in the main window: the help contents.
    void on_help_key();
    // What the main window's client area shows now: the map view while Sammon
    // visualization is on, nothing (white) otherwise.
    std::optional<DisplayList> paint(int width, int height, const TextMeasurer& measurer) const;

    core::Workspace& workspace() noexcept { return ws_; }
    Session& session() noexcept { return session_; }

private:
    void import_prototypes();
    void export_prototypes();
    void export_violations();
    void export_mean_values();
    void toggle_visualization();
    void train();

    core::Workspace& ws_;
    ShellHost& host_;
    Session session_;
};

}  // namespace veltra::ui
