#pragma once

#include <cstdint>
#include <ostream>

#include "batch/command_table.h"
#include "ui/host.h"

namespace veltra::batch {

// The main window of a script run. Dialogs run headless and get the current
// command's actions; file choices are answered with its path. Information
// boxes and the computations' raw results are printed as tab-separated lines
// on `out` (reals with %.17g); an Invalid Input or error box is printed on
// `err` as CAPTION<TAB>TEXT and stops the command: its remaining actions are
// dropped.
class BatchHost final : public ui::ShellHost, private ui::SessionObserver {
public:
    BatchHost(std::ostream& out, std::ostream& err) : out_(out), err_(err) {}

    // Makes `command` the current one and clears the stop.
    void begin_command(const BatchCommand& command);
    // True once an Invalid Input or error box was shown for the current command.
    bool stopped() const noexcept { return stopped_; }
    // Where the results go.
    std::ostream& out() noexcept { return out_; }

    ui::Answer message_box(std::string_view text, std::string_view caption, ui::Icon icon,
                           ui::Buttons buttons = ui::Buttons::ok, bool default_no = false) override;
    void beep(ui::Sound) override {}
    void begin_wait_cursor() override {}
    void end_wait_cursor() override {}

    int run_modal(ui::DialogProcedure& procedure) override;
    std::unique_ptr<ui::StatusBox> open_status_box(const ui::DialogTemplate& box,
                                                   ui::Placement placement) override;
    void run_incidence_viewer(ui::IncidenceViewer& viewer) override;
    std::optional<std::string> open_file_dialog(int filter_id) override;
    std::optional<std::string> save_file_dialog(int filter_id) override;
    void show_help_topic(std::string_view) override {}
    void repaint_main_window() override {}
    void close_main_window() override {}
    ui::SessionObserver& observer() override { return *this; }

private:
    void convergence_step(double heterogeneity) override;
    void trial_adopted(int trial, double heterogeneity) override;
    void pairwise_done(int total, int successful, double simplicity) override;
    void epoch_done(const algorithms::EpochReport& report) override;
    void projection_done(double stress, const double* x, const double* y, int n) override;

    std::ostream& out_;
    std::ostream& err_;
    const BatchCommand* command_ = nullptr;
    bool stopped_ = false;
};

}  // namespace veltra::batch
