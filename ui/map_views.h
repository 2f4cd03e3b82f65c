#pragma once

#include <string_view>

#include "core/workspace.h"
#include "ui/display_list.h"
#include "ui/measures_chart.h"

namespace veltra::ui {

// The views of the map beside the Sammon view, each behind its View menu
// command.
enum class ViewKind { hit_map, u_matrix, component_planes, label_map, measures_chart };

inline constexpr ViewKind ALL_VIEWS[] = {ViewKind::hit_map, ViewKind::u_matrix, ViewKind::component_planes,
                                         ViewKind::label_map, ViewKind::measures_chart};

// The window title of a view, its help keyword and its menu command id.
std::string_view view_title(ViewKind kind);
std::string_view view_help_keyword(ViewKind kind);
int view_command(ViewKind kind);

// The view for a client area of width x height pixels, drawn from the
// current prototypes (and, for the measures chart, from `history`). While
// the view's command is grayed (no prototypes with values, or no labels for
// the label map) it is a note saying what is missing.
DisplayList draw_view(ViewKind kind, core::Workspace& ws, const MeasuresHistory& history, int width,
                      int height, const TextMeasurer& measurer);

}  // namespace veltra::ui
