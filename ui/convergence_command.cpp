#include "ui/convergence_command.h"

#include <string>

#include "algorithms/centroid.h"
#include "ui/dialog_templates.h"
#include "ui/field_reading.h"
#include "ui/messages.h"

namespace veltra::ui {

void run_convergence(core::Workspace& ws, ShellHost& shell) {
    shell.begin_wait_cursor();
    ws.availability.raise(core::AvailabilityEvent::begin_convergence);
    std::unique_ptr<StatusBox> box = shell.open_status_box(FIXPOINT, Placement::centered);
    const double heterogeneity = algorithms::converge_to_centroid(ws, [&](double step_heterogeneity) {
        box->set_item_text(FIXPOINT_HETEROGENEITY, format_real("%15.2f", step_heterogeneity));
        shell.observer().convergence_step(step_heterogeneity);
    });
    box.reset();
    information_box(shell, "New heterogeneity = " + format_real("%15.2f", heterogeneity), "Fixpoint");
    shell.end_wait_cursor();
}

}  // namespace veltra::ui
