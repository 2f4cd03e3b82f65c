#pragma once

#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// Command 34: centroid convergence under the wait cursor, with the Fixpoint
// box showing the heterogeneity after every step, then the final
// heterogeneity in a message box.
void run_convergence(core::Workspace& ws, ShellHost& shell);

}  // namespace veltra::ui
