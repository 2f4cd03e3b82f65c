#include "python/python_host.h"

namespace py = pybind11;

namespace veltra::python {

void PythonHost::clear(py::object on_epoch) {
    on_epoch_ = std::move(on_epoch);
    refusal_.reset();
    trials_.clear();
    fixpoints_.clear();
    epochs_.clear();
    incidence_lines_.clear();
    pairwise_.reset();
    stress_ = 0.0;
    pending_error_ = nullptr;
}

void PythonHost::refusal(std::string_view caption, std::string_view text, ui::Icon icon) {
    if (!refusal_) refusal_ = Refusal{std::string(caption), std::string(text), icon};
}

void PythonHost::incidence_line(std::string_view line) { incidence_lines_.emplace_back(line); }

void PythonHost::convergence_step(double heterogeneity) { fixpoints_.push_back(heterogeneity); }

void PythonHost::trial_adopted(int trial, double heterogeneity) {
    trials_.emplace_back(trial, heterogeneity);
}

void PythonHost::pairwise_done(int total, int successful, double simplicity) {
    pairwise_ = Pairwise{total, successful, simplicity};
}

void PythonHost::epoch_done(const algorithms::EpochReport& report) {
    epochs_.push_back(report);
    const py::gil_scoped_acquire gil;
    try {
        if (!on_epoch_.is_none()) on_epoch_(py::cast(report));
        if (PyErr_CheckSignals() != 0) throw py::error_already_set();
    } catch (...) {
        pending_error_ = std::current_exception();
    }
}

void PythonHost::projection_done(double stress, const double*, const double*, int) { stress_ = stress; }

}  // namespace veltra::python
