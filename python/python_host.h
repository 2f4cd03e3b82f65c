#pragma once

#include <pybind11/pybind11.h>

#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "batch/command_host.h"

namespace veltra::python {

// A refusal box of the last command: its caption, text and icon.
struct Refusal {
    std::string caption;
    std::string text;
    ui::Icon icon;
};

// The main window of a Python session: a CommandHost that keeps what the
// current command reported for the Session to hand back. Commands run with
// the GIL released; after every training epoch the host takes the GIL back
// to call the epoch callback and to let a pending signal (Ctrl+C) raise its
// exception. Either exception ends the training after that epoch and waits
// in pending_error() for the caller.
class PythonHost final : public batch::CommandHost, private batch::CommandEvents {
public:
    PythonHost() : CommandHost(static_cast<batch::CommandEvents&>(*this)) {}

    // Forgets the last command's reports; `on_epoch` (may be None) receives
    // this command's epoch reports.
    void clear(pybind11::object on_epoch = pybind11::none());

    const std::optional<Refusal>& refusal() const noexcept { return refusal_; }
    const std::vector<std::pair<int, double>>& trials() const noexcept { return trials_; }
    const std::vector<double>& fixpoints() const noexcept { return fixpoints_; }
    const std::vector<algorithms::EpochReport>& epochs() const noexcept { return epochs_; }
    const std::vector<std::string>& incidence_lines() const noexcept { return incidence_lines_; }
    struct Pairwise {
        int total = 0;
        int successful = 0;
        double simplicity = 0.0;
    };
    const std::optional<Pairwise>& pairwise() const noexcept { return pairwise_; }
    double stress() const noexcept { return stress_; }
    // The exception raised by the epoch callback or by a signal, if any;
    // taken (and cleared) with the GIL held.
    std::exception_ptr take_pending_error() noexcept { return std::exchange(pending_error_, nullptr); }

private:
    void information(std::string_view, std::string_view) override {}
    void refusal(std::string_view caption, std::string_view text, ui::Icon icon) override;
    void incidence_line(std::string_view line) override;
    void convergence_step(double heterogeneity) override;
    void trial_adopted(int trial, double heterogeneity) override;
    void pairwise_done(int total, int successful, double simplicity) override;
    void epoch_done(const algorithms::EpochReport& report) override;
    void projection_done(double stress, const double* x, const double* y, int n) override;
    bool stop_requested() override { return pending_error_ != nullptr; }

    pybind11::object on_epoch_;
    std::optional<Refusal> refusal_;
    std::vector<std::pair<int, double>> trials_;
    std::vector<double> fixpoints_;
    std::vector<algorithms::EpochReport> epochs_;
    std::vector<std::string> incidence_lines_;
    std::optional<Pairwise> pairwise_;
    double stress_ = 0.0;
    std::exception_ptr pending_error_;
};

}  // namespace veltra::python
