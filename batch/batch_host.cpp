#include "batch/batch_host.h"

#include <cstdio>

#include "ui/headless_dialog.h"
#include "ui/incidence_viewer.h"

namespace veltra::batch {

namespace {

std::string real(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The status boxes show nothing in a script run: their values reach the
// output through the observer.
class SilentStatusBox final : public ui::StatusBox {
public:
    void set_item_text(int, std::string_view) override {}
    void repaint() override {}
};

}  // namespace

void BatchHost::begin_command(const BatchCommand& command) {
    command_ = &command;
    stopped_ = false;
}

ui::Answer BatchHost::message_box(std::string_view text, std::string_view caption, ui::Icon icon,
                                  ui::Buttons buttons, bool) {
    if (icon == ui::Icon::information) {
        out_ << "message\t" << caption << '\t' << text << '\n';
    } else {
        err_ << caption << '\t' << text << '\n';
        stopped_ = true;
    }
    // No script command asks a question; should one come, the safe answer.
    return buttons == ui::Buttons::yes_no ? ui::Answer::no : ui::Answer::ok;
}

int BatchHost::run_modal(ui::DialogProcedure& procedure) {
    ui::HeadlessDialog dialog(procedure, *this);
    if (!dialog.open() || !command_) return dialog.result();
    for (const DialogAction& action : command_->actions) {
        if (stopped_ || dialog.ended()) break;
        if (action.kind == DialogAction::Kind::type) {
            dialog.type(action.id, action.text);
        } else {
            dialog.press(action.id);
        }
    }
    return dialog.result();
}

std::unique_ptr<ui::StatusBox> BatchHost::open_status_box(const ui::DialogTemplate&, ui::Placement) {
    return std::make_unique<SilentStatusBox>();
}

void BatchHost::run_incidence_viewer(ui::IncidenceViewer& viewer) {
    for (int p = 0; p < viewer.line_count(); ++p) out_ << "incidence\t" << viewer.line(p) << '\n';
}

std::optional<std::string> BatchHost::open_file_dialog(int) {
    return command_ ? command_->path : std::nullopt;
}

std::optional<std::string> BatchHost::save_file_dialog(int) {
    return command_ ? command_->path : std::nullopt;
}

void BatchHost::convergence_step(double heterogeneity) {
    out_ << "fixpoint\t" << real(heterogeneity) << '\n';
}

void BatchHost::trial_adopted(int trial, double heterogeneity) {
    out_ << "trial\t" << trial << '\t' << real(heterogeneity) << '\n';
}

void BatchHost::pairwise_done(int total, int successful, double simplicity) {
    out_ << "pairwise\t" << total << '\t' << successful << '\t' << real(simplicity) << '\n';
}

void BatchHost::epoch_done(const algorithms::EpochReport& report) {
    out_ << "epoch\t" << report.epochs << '\t' << report.iterations << '\t' << real(report.heterogeneity)
         << '\t' << real(report.simplicity) << '\t' << real(report.combined) << '\t'
         << real(report.violations) << '\t';
    const char* separator = "";
    for (const std::int32_t p : report.inactive_prototypes) {
        out_ << separator << p;
        separator = ",";
    }
    out_ << '\n';
}

void BatchHost::projection_done(double stress, const double* x, const double* y, int n) {
    out_ << "sammon\t" << real(stress) << '\n';
    for (int p = 0; p < n; ++p)
        out_ << "point\t" << p + 1 << '\t' << real(x[p]) << '\t' << real(y[p]) << '\n';
}

}  // namespace veltra::batch
