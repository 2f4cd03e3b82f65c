#include "python/session.h"

#include <pybind11/stl.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <variant>

#include "batch/availability_hint.h"
#include "batch/command_table.h"
#include "ui/set_data_command.h"
#include "ui/view_numbers.h"

namespace py = pybind11;

namespace veltra::python {

namespace {

// An integer as typed into a field. Beyond 99999 it is typed as 99999, which
// every field still reads whole and finds out of its range: a longer number
// would be cut to the field's length and could be read as a valid one.
std::string integer_text(std::int64_t value) {
    return std::to_string(std::clamp<std::int64_t>(value, -99999, 99999));
}

// A real as typed into a field whose reader takes `limit` characters: the
// shortest text that reads back as the same double.
std::string real_text(double value, const char* name, std::size_t limit) {
    if (!std::isfinite(value)) throw py::value_error(std::string(name) + " must be a finite number");
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    std::string typed(text, end);
    if (typed.size() > limit) {
        std::string message = name;
        message += " = ";
        message += typed;
        message += " is longer than the field's ";
        message += std::to_string(limit);
        message += " characters";
        throw py::value_error(message);
    }
    return typed;
}

// How the Python host raises an exception with a given text.
[[noreturn]] void raise(PyObject* type, const std::string& text) {
    PyErr_SetString(type, text.c_str());
    throw py::error_already_set();
}

template <class T>
py::array_t<T> copy_of(const T* values, std::int32_t n) {
    py::array_t<T> array(std::max(n, 0));
    if (n > 0) std::copy_n(values, n, array.mutable_data());
    return array;
}

// One number per prototype, laid out as the map grid.
template <typename T>
py::array_t<T> on_grid(const std::vector<T>& values, const core::Workspace& ws) {
    py::array_t<T> array({ws.rows, ws.cols});
    std::copy(values.begin(), values.end(), array.mutable_data());
    return array;
}

py::array_t<double> copy_of(const core::Matrix& matrix) {
    const std::int32_t rows = matrix.empty() ? 0 : matrix.rows();
    const std::int32_t cols = matrix.empty() ? 0 : matrix.cols();
    py::array_t<double> array({rows, cols});
    double* out = array.mutable_data();
    for (std::int32_t i = 0; i < rows; ++i) out = std::copy_n(matrix[i], cols, out);
    return array;
}

// A folder of its own for a file the caller does not want; removed with it.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltra-XXXXXX").string();
        if (!mkdtemp(pattern.data())) raise(PyExc_OSError, "can not make a scratch folder");
        folder_ = pattern;
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string file(const char* name) const { return (folder_ / name).string(); }

private:
    std::filesystem::path folder_;
};

// The value of an import_table option as typed into its field.
std::string option_text(const py::handle& value) {
    if (py::isinstance<py::bool_>(value)) return value.cast<bool>() ? "yes" : "no";
    if (py::isinstance<py::list>(value) || py::isinstance<py::tuple>(value)) {
        std::string text;
        for (const py::handle item : value) {
            if (!text.empty()) text += ',';
            text += py::str(item).cast<std::string>();
        }
        return text;
    }
    return py::str(value).cast<std::string>();
}

}  // namespace

Session::Session(std::optional<std::int64_t> clock)
    : fixed_clock_(clock.value_or(0)),
      ws_(clock ? static_cast<const core::Clock&>(fixed_clock_) : core::system_clock()),
      shell_(ws_, host_) {}

void Session::check_idle() const {
    if (busy_) raise(PyExc_RuntimeError, "the session is running a command; wait until it returns");
}

void Session::raise_refusal(const Refusal& refusal) const {
    if (refusal.icon != ui::Icon::error) raise(PyExc_ValueError, refusal.text);
    if (refusal.caption == "Not Enough Memory") raise(PyExc_MemoryError, refusal.text);
    raise(PyExc_OSError, refusal.text);
}

void Session::run(const std::vector<std::string>& words, const py::object& on_epoch) {
    check_idle();
    auto parsed = batch::parse_command(words);
    if (const auto* error = std::get_if<std::string>(&parsed)) raise(PyExc_TypeError, *error);
    const batch::BatchCommand& command = std::get<batch::BatchCommand>(parsed);
    host_.clear(on_epoch);
    busy_ = true;
    batch::CommandOutcome outcome;
    {
        const py::gil_scoped_release release;
        outcome = batch::run_menu_command(command, shell_, host_);
    }
    busy_ = false;
    if (!host_.epochs().empty()) last_epoch_ = host_.epochs().back();
    if (const std::exception_ptr error = host_.take_pending_error()) std::rethrow_exception(error);
    if (outcome == batch::CommandOutcome::not_available) {
        std::string text = batch::not_available_message(command.command_id, ws_.availability);
        // The steps are named by the commands' script names; here by their methods.
        std::replace(text.begin(), text.end(), '-', '_');
        raise(PyExc_RuntimeError, text);
    }
    if (host_.refusal()) raise_refusal(*host_.refusal());
}

void Session::import_datavectors(const std::filesystem::path& path, std::int64_t ndata, std::int64_t nvars) {
    run({"import-datavectors", path.string(), integer_text(ndata), integer_text(nvars)});
}

void Session::import_table(const std::filesystem::path& path, const py::kwargs& options) {
    std::vector<std::string> words{"import-table", path.string()};
    for (const auto& [name, value] : options) {
        words.push_back(py::str(name).cast<std::string>() + "=" + option_text(value));
    }
    run(words);
}

void Session::set_data(const py::object& array, const py::object& names, const py::object& labels) {
    check_idle();
    if (!ws_.availability.is_enabled(core::CMD_IMPORT_DATAVECTORS)) {
        raise(PyExc_RuntimeError, "set_data is not available now");
    }
    const auto values = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(array);
    if (!values || values.ndim() != 2) raise(PyExc_ValueError, "data must be a 2-D array of numbers");
    ui::GivenData given;
    given.values = std::span<const double>(values.data(), static_cast<std::size_t>(values.size()));
    given.ndata = values.shape(0);
    given.nvars = values.shape(1);
    if (!names.is_none()) given.names = py::cast<std::vector<std::string>>(py::list(names));
    if (!labels.is_none()) given.labels = py::cast<std::vector<std::string>>(py::list(labels));
    host_.clear();
    if (!ui::set_data(ws_, host_, std::move(given))) raise_refusal(*host_.refusal());
}

void Session::map_size(std::int64_t rows, std::int64_t cols) {
    run({"map-size", integer_text(rows), integer_text(cols)});
}

std::string Session::show_map() {
    run({"show-map"});
    std::string text;
    for (const std::string& line : host_.incidence_lines()) {
        text += line;
        text += '\n';
    }
    return text;
}

void Session::import_prototypes(const std::filesystem::path& path) {
    run({"import-prototypes", path.string()});
}

void Session::random_weights(double upper, double lower) {
    // The limits' fields read at most 12 characters.
    run({"random-weights", real_text(upper, "upper", 12), real_text(lower, "lower", 12)});
}

std::vector<std::pair<int, double>> Session::pick_datapoints(std::int64_t trials) {
    run({"pick-datapoints", integer_text(trials)});
    return host_.trials();
}

std::vector<double> Session::converge() {
    run({"converge"});
    return host_.fixpoints();
}

PythonHost::Pairwise Session::pairwise_exchange(std::int64_t changes) {
    run({"pairwise-exchange", integer_text(changes)});
    return host_.pairwise().value_or(PythonHost::Pairwise{});
}

std::vector<algorithms::EpochReport> Session::train(std::int64_t epochs, std::int64_t order, double rate,
                                                    double factor, const py::object& on_epoch) {
    // The schedule's fields read up to 126 characters: every real fits.
    run({"train", integer_text(epochs), integer_text(order), real_text(rate, "rate", 126),
         real_text(factor, "factor", 126)},
        on_epoch);
    return host_.epochs();
}

Projection Session::sammon() {
    run({"sammon"});
    return {host_.stress(), projection_x(), projection_y()};
}

py::array_t<std::int32_t> Session::recall_frequency(std::int64_t start, std::int64_t cycle,
                                                    const std::optional<std::filesystem::path>& path) {
    const std::optional<ScratchFolder> scratch = path ? std::nullopt : std::make_optional<ScratchFolder>();
    run({"recall-frequency", path ? path->string() : scratch->file("recall.frq"), integer_text(start),
         integer_text(cycle)});
    return win_counts();
}

py::array_t<std::int32_t> Session::recall_assignment(std::int64_t start, std::int64_t cycle,
                                                     const std::optional<std::filesystem::path>& path) {
    const std::optional<ScratchFolder> scratch = path ? std::nullopt : std::make_optional<ScratchFolder>();
    run({"recall-assignment", path ? path->string() : scratch->file("recall.lst"), integer_text(start),
         integer_text(cycle)});
    std::vector<std::int32_t> selected;
    for (std::int64_t i = start - 1; i < ws_.ndata; i += cycle) {
        selected.push_back(ws_.winners[static_cast<std::int32_t>(i)]);
    }
    return copy_of(selected.data(), static_cast<std::int32_t>(selected.size()));
}

py::array_t<std::int32_t> Session::hits() {
    run({"hits"});
    return on_grid(ui::hit_counts(ws_), ws_);
}

py::array_t<double> Session::umatrix() {
    run({"umatrix"});
    return on_grid(ui::u_matrix_values(ws_), ws_);
}

void Session::export_file(const char* command, const std::filesystem::path& path) {
    run({command, path.string()});
}

void Session::export_table(const std::string& kind, const std::filesystem::path& path) {
    run({"export-table", kind, path.string()});
}

std::int32_t Session::count(std::int32_t core::Workspace::*field) const {
    check_idle();
    return ws_.*field;
}

py::array_t<double> Session::data() const {
    check_idle();
    return copy_of(ws_.data);
}

py::array_t<double> Session::prototypes() const {
    check_idle();
    return copy_of(ws_.prototypes);
}

py::array_t<std::int32_t> Session::winners() const {
    check_idle();
    return copy_of(ws_.winners.data(), ws_.winners.size());
}

py::array_t<std::int32_t> Session::win_counts() const {
    check_idle();
    return copy_of(ws_.win_counts.data(), std::min(ws_.win_counts.size(), ws_.nprotos));
}

py::array_t<std::int32_t> Session::violation_counts() const {
    check_idle();
    return copy_of(ws_.violation_counts.data(), std::min(ws_.violation_counts.size(), ws_.nprotos));
}

py::array_t<std::int8_t> Session::incidence() const {
    check_idle();
    const std::int32_t n = ws_.prototypes.empty() ? 0 : ws_.nprotos;
    py::array_t<std::int8_t> array({n, n});
    for (std::int32_t p = 0; p < n; ++p) {
        std::copy_n(ws_.incidence[static_cast<std::size_t>(p)].data(), n, array.mutable_data(p, 0));
    }
    return array;
}

py::array_t<double> Session::projection_x() const {
    check_idle();
    return copy_of(ws_.projection_x.data(), std::min(ws_.projection_x.size(), ws_.nprotos));
}

py::array_t<double> Session::projection_y() const {
    check_idle();
    return copy_of(ws_.projection_y.data(), std::min(ws_.projection_y.size(), ws_.nprotos));
}

std::vector<std::string> Session::names() const {
    check_idle();
    std::vector<std::string> names;
    for (std::int32_t v = 0; v < ws_.nvars; ++v) names.push_back(core::variable_name(ws_.annotations, v));
    return names;
}

std::vector<std::string> Session::labels() const {
    check_idle();
    return ws_.annotations.labels;
}

std::optional<algorithms::EpochReport> Session::measures() const {
    check_idle();
    return last_epoch_;
}

}  // namespace veltra::python
