#include "batch/batch_host.h"

#include <cstdio>

namespace veltra::batch {

namespace {

std::string real(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

}  // namespace

void BatchHost::information(std::string_view caption, std::string_view text) {
    out_ << "message\t" << caption << '\t' << text << '\n';
}

void BatchHost::refusal(std::string_view caption, std::string_view text, ui::Icon) {
    err_ << caption << '\t' << text << '\n';
}

void BatchHost::incidence_line(std::string_view line) { out_ << "incidence\t" << line << '\n'; }

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
