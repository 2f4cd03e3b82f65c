#pragma once

#include <ostream>

#include "ui/display_list.h"

namespace veltra::ui {
class Shell;
}

namespace veltra::batch {

// True for the commands of the View menu that the batch runner runs: hits,
// umatrix, planes, labels and chart.
bool is_view_command(int command_id);

// The lines a view command prints, one per prototype (P from 1, reals with
// %.17g): `hits P COUNT`, `umatrix P VALUE`, `label P NAME SHARE`; nothing
// for planes and chart.
void print_view_lines(int command_id, ui::Shell& shell, std::ostream& out);

// The picture a command draws into its SVG file: the view of a view
// command, else what the main window shows.
ui::DisplayList picture_of(int command_id, ui::Shell& shell, int width, int height,
                           const ui::TextMeasurer& measurer);

}  // namespace veltra::batch
