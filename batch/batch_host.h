#pragma once

#include <cstdint>
#include <ostream>

#include "batch/command_host.h"

namespace veltra::batch {

// The main window of a script run: a CommandHost whose events are printed.
// Information boxes and the computations' raw results are printed as
// tab-separated lines on `out` (reals with %.17g); an Invalid Input or error
// box is printed on `err` as CAPTION<TAB>TEXT and stops the command.
class BatchHost final : public CommandHost, private CommandEvents {
public:
    BatchHost(std::ostream& out, std::ostream& err)
        : CommandHost(static_cast<CommandEvents&>(*this)), out_(out), err_(err) {}

    // Where the results go.
    std::ostream& out() noexcept { return out_; }

private:
    void information(std::string_view caption, std::string_view text) override;
    void refusal(std::string_view caption, std::string_view text, ui::Icon icon) override;
    void incidence_line(std::string_view line) override;
    void convergence_step(double heterogeneity) override;
    void trial_adopted(int trial, double heterogeneity) override;
    void pairwise_done(int total, int successful, double simplicity) override;
    void epoch_done(const algorithms::EpochReport& report) override;
    void projection_done(double stress, const double* x, const double* y, int n) override;

    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace veltra::batch
