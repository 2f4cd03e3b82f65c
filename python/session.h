#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/clock.h"
#include "core/workspace.h"
#include "python/python_host.h"
#include "ui/shell.h"

namespace veltra::python {

// What one Sammon projection gave: the stress and each prototype's point.
struct Projection {
    double stress = 0.0;
    pybind11::array_t<double> x;
    pybind11::array_t<double> y;
};

// One session of the program: a workspace with its shell, driven command by
// command as veltra-batch drives it. Each command is built from the same
// words a script line has, so its fields get the same texts, its dialog the
// same rules and the results the same bits. A refusal becomes the Python
// exception of its kind: Invalid Input and other warnings ValueError, the
// memory message MemoryError, any other error box OSError, a grayed command
// RuntimeError saying which step must come first.
class Session {
public:
    explicit Session(std::optional<std::int64_t> clock);

    void import_datavectors(const std::filesystem::path& path, std::int64_t ndata, std::int64_t nvars);
    void import_table(const std::filesystem::path& path, const pybind11::kwargs& options);
    void set_data(const pybind11::object& array, const pybind11::object& names,
                  const pybind11::object& labels);
    void map_size(std::int64_t rows, std::int64_t cols);
    std::string show_map();
    void import_prototypes(const std::filesystem::path& path);
    void random_weights(double upper, double lower);
    std::vector<std::pair<int, double>> pick_datapoints(std::int64_t trials);
    std::vector<double> converge();
    PythonHost::Pairwise pairwise_exchange(std::int64_t changes);
    std::vector<algorithms::EpochReport> train(std::int64_t epochs, std::int64_t order, double rate,
                                               double factor, const pybind11::object& on_epoch);
    Projection sammon();
    // The hit map's and the U-matrix's numbers on the map grid (rows x cols).
    pybind11::array_t<std::int32_t> hits();
    pybind11::array_t<double> umatrix();
    pybind11::array_t<std::int32_t> recall_frequency(std::int64_t start, std::int64_t cycle,
                                                     const std::optional<std::filesystem::path>& path);
    pybind11::array_t<std::int32_t> recall_assignment(std::int64_t start, std::int64_t cycle,
                                                      const std::optional<std::filesystem::path>& path);
    void export_file(const char* command, const std::filesystem::path& path);
    void export_table(const std::string& kind, const std::filesystem::path& path);

    // Copies of the workspace's results.
    std::int32_t count(std::int32_t core::Workspace::*field) const;
    pybind11::array_t<double> data() const;
    pybind11::array_t<double> prototypes() const;
    pybind11::array_t<std::int32_t> winners() const;
    pybind11::array_t<std::int32_t> win_counts() const;
    pybind11::array_t<std::int32_t> violation_counts() const;
    pybind11::array_t<std::int8_t> incidence() const;
    pybind11::array_t<double> projection_x() const;
    pybind11::array_t<double> projection_y() const;
    std::vector<std::string> names() const;
    std::vector<std::string> labels() const;
    std::optional<algorithms::EpochReport> measures() const;

private:
    // Runs the command of a script line's words; raises the Python exception
    // of a refusal or of the epoch callback.
    void run(const std::vector<std::string>& words, const pybind11::object& on_epoch = pybind11::none());
    void check_idle() const;
    void raise_refusal(const Refusal& refusal) const;

    core::FixedClock fixed_clock_;
    core::Workspace ws_;
    PythonHost host_;
    ui::Shell shell_;
    bool busy_ = false;
    std::optional<algorithms::EpochReport> last_epoch_;
};

}  // namespace veltra::python
