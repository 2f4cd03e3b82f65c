// The Python module "veltra": a session of the program driven from Python.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include "python/session.h"

namespace py = pybind11;
using namespace py::literals;

namespace veltra::python {

namespace {

std::string epoch_repr(const algorithms::EpochReport& r) {
    return "EpochReport(epochs=" + std::to_string(r.epochs) + ", iterations=" + std::to_string(r.iterations) +
           ", heterogeneity=" + py::repr(py::float_(r.heterogeneity)).cast<std::string>() +
           ", simplicity=" + py::repr(py::float_(r.simplicity)).cast<std::string>() +
           ", combined=" + py::repr(py::float_(r.combined)).cast<std::string>() +
           ", violations=" + py::repr(py::float_(r.violations)).cast<std::string>() +
           ", inactive_prototypes=" + py::repr(py::cast(r.inactive_prototypes)).cast<std::string>() + ")";
}

}  // namespace

PYBIND11_MODULE(veltra, m) {
    m.doc() =
        "Self-organizing maps on the engine of the Veltra desktop program and veltra-batch.\n\n"
        "A Session runs the program's commands with the same fields and the same dialog\n"
        "rules, so that a session gives the same bits here, in veltra-batch and on the desktop.";

    py::class_<algorithms::EpochReport>(m, "EpochReport", "The map's measures after one training epoch.")
        .def_readonly("epochs", &algorithms::EpochReport::epochs, "epochs trained since the session began")
        .def_readonly("iterations", &algorithms::EpochReport::iterations, "datavectors presented so far")
        .def_readonly("heterogeneity", &algorithms::EpochReport::heterogeneity)
        .def_readonly("simplicity", &algorithms::EpochReport::simplicity)
        .def_readonly("combined", &algorithms::EpochReport::combined, "heterogeneity + simplicity")
        .def_readonly("violations", &algorithms::EpochReport::violations, "percentage of violated triples")
        .def_readonly("inactive_prototypes", &algorithms::EpochReport::inactive_prototypes,
                      "prototypes that won nothing in the epoch, numbered from 1")
        .def("__repr__", &epoch_repr);

    py::class_<PythonHost::Pairwise>(m, "PairwiseReport", "What one pairwise exchange run did.")
        .def_readonly("total", &PythonHost::Pairwise::total, "exchanges tried")
        .def_readonly("successful", &PythonHost::Pairwise::successful, "exchanges kept")
        .def_readonly("simplicity", &PythonHost::Pairwise::simplicity, "the simplicity afterwards")
        .def("__repr__", [](const PythonHost::Pairwise& r) {
            return "PairwiseReport(total=" + std::to_string(r.total) +
                   ", successful=" + std::to_string(r.successful) +
                   ", simplicity=" + py::repr(py::float_(r.simplicity)).cast<std::string>() + ")";
        });

    py::class_<Projection>(m, "Projection", "A Sammon projection of the prototypes.")
        .def_readonly("stress", &Projection::stress)
        .def_readonly("x", &Projection::x, "x of each prototype (a copy)")
        .def_readonly("y", &Projection::y, "y of each prototype (a copy)");

    py::class_<Session>(m, "Session", R"(A session of the program on a workspace of its own.

Each method runs the menu command of its name with its dialog, typing the
arguments into the dialog's fields as veltra-batch does: the same order of
checks, the same messages, the same results. Commands are available in the
program's order (import or set data, size the map, give the prototypes values,
...). Errors:
  ValueError    an Invalid Input (or other warning) with the program's message
  OSError       a file that cannot be read or written
  MemoryError   the storage cannot be had
  RuntimeError  the command is not available now; says which step comes first
A refused command leaves the workspace as the program leaves it. Commands
release the GIL while they compute; every array handed out is a copy.
Prototypes, winners and grid cells are numbered from 0 in arrays.)")
        .def(py::init<std::optional<std::int64_t>>(), "clock"_a = py::none(),
             "clock: the calendar time in whole seconds that seeds every random start (as\n"
             "veltra-batch --time), or None for the real clock.")
        .def("import_datavectors", &Session::import_datavectors, "path"_a, "ndata"_a, "nvars"_a,
             "Reads ndata datavectors of nvars numbers each from a whitespace-separated file.")
        .def("import_table", &Session::import_table, "path"_a,
             "import_table(path, **options)\n\n"
             "Reads a CSV or TSV table with a header of names and a label column. Options, as\n"
             "the Import Table dialog's fields: delimiter ('auto', 'comma', 'semicolon', 'tab',\n"
             "'blanks'), header ('auto', True, False), decimal ('.' or ','), missing ('refuse'\n"
             "or 'drop'), scale ('none', 'zscore', 'range'), skip (a list of column names).")
        .def("set_data", &Session::set_data, "array"_a, "names"_a = py::none(), "labels"_a = py::none(),
             "Takes the datavectors from a 2-D array-like of numbers (rows are datavectors) as a\n"
             "data import does, with the import's limits; names: one per variable, labels: one\n"
             "per datavector. The array is copied.")
        .def("map_size", &Session::map_size, "rows"_a, "cols"_a,
             "Sizes the map: rows x cols prototypes, at most 36.")
        .def("show_map", &Session::show_map,
             "The incidence matrix as the viewer shows it, one line a prototype.")
        .def("import_prototypes", &Session::import_prototypes, "path"_a,
             "Reads the prototypes from a weights file.")
        .def("random_weights", &Session::random_weights, "upper"_a, "lower"_a,
             "Random prototypes between lower and upper.")
        .def("pick_datapoints", &Session::pick_datapoints, "trials"_a,
             "The best of `trials` random picks of datavectors as prototypes. Returns the\n"
             "adopted trials as (trial, heterogeneity) pairs.")
        .def("converge", &Session::converge,
             "Moves the prototypes to their centroids until the heterogeneity stops falling.\n"
             "Returns the heterogeneity after each step.")
        .def("pairwise_exchange", &Session::pairwise_exchange, "changes"_a,
             "Tries `changes` swaps of prototypes that lower the simplicity; returns a PairwiseReport.")
        .def("train", &Session::train, "epochs"_a, "order"_a, "rate"_a, "factor"_a, "on_epoch"_a = py::none(),
             "One stage of SOM training: `epochs` epochs in which the winner moves by `rate` and\n"
             "its neighbours up to grid distance `order` by rate * factor. on_epoch(report) is\n"
             "called after each epoch with an EpochReport. Returns the stage's EpochReports.\n"
             "Ctrl+C (or an exception in on_epoch) stops the stage after the current epoch and\n"
             "is raised then; the epochs done are kept.")
        .def("sammon", &Session::sammon,
             "Projects the prototypes onto the plane (Sammon visualization, recomputed when\n"
             "already on); returns a Projection.")
        .def("hits", &Session::hits,
             "The hit map: how many datavectors each prototype wins with the current\n"
             "prototypes, as a rows x cols array.")
        .def("umatrix", &Session::umatrix,
             "The U-matrix: each prototype's mean Euclidean distance to its neighbours one\n"
             "step away on the grid, as a rows x cols array.")
        .def("recall_frequency", &Session::recall_frequency, "start"_a, "cycle"_a, "path"_a = py::none(),
             "Counts the wins of datavectors start, start + cycle, ... (numbered from 1) per\n"
             "prototype; writes them to the frequency file `path` when given. Returns the counts.")
        .def("recall_assignment", &Session::recall_assignment, "start"_a, "cycle"_a, "path"_a = py::none(),
             "The winning prototype of datavectors start, start + cycle, ... (numbered from 1);\n"
             "writes the assignment file `path` when given. Returns the winners.")
        .def(
            "export_prototypes",
            [](Session& s, const std::filesystem::path& path) { s.export_file("export-prototypes", path); },
            "path"_a, "Writes the prototypes (.wgt).")
        .def(
            "export_violations",
            [](Session& s, const std::filesystem::path& path) { s.export_file("export-violations", path); },
            "path"_a, "Writes the violations per prototype (.vio).")
        .def(
            "export_mean_values",
            [](Session& s, const std::filesystem::path& path) { s.export_file("export-mean-values", path); },
            "path"_a, "Writes the mean datavector per prototype (.avg).")
        .def("export_table", &Session::export_table, "kind"_a, "path"_a,
             "Writes a CSV table with names: kind is 'prototypes', 'assignment' or 'frequency'.")
        .def_property_readonly(
            "ndata", [](const Session& s) { return s.count(&core::Workspace::ndata); }, "datavectors")
        .def_property_readonly(
            "nvars", [](const Session& s) { return s.count(&core::Workspace::nvars); }, "variables")
        .def_property_readonly(
            "rows", [](const Session& s) { return s.count(&core::Workspace::rows); }, "rows of the map")
        .def_property_readonly(
            "cols", [](const Session& s) { return s.count(&core::Workspace::cols); }, "columns of the map")
        .def_property_readonly(
            "nprotos", [](const Session& s) { return s.count(&core::Workspace::nprotos); }, "prototypes")
        .def_property_readonly("data", &Session::data, "the datavectors, ndata x nvars (as stored, scaled)")
        .def_property_readonly("names", &Session::names, "the variables' names")
        .def_property_readonly("labels", &Session::labels, "the datavectors' labels (empty without)")
        .def_property_readonly("prototypes", &Session::prototypes,
                               "the prototypes, nprotos x nvars, row by row")
        .def_property_readonly("winners", &Session::winners,
                               "each datavector's prototype as the last command that assigned them left it")
        .def_property_readonly("win_counts", &Session::win_counts,
                               "per prototype: its wins in the last recall, or 1 if it won in the last epoch")
        .def_property_readonly("violation_counts", &Session::violation_counts,
                               "violations per prototype as last counted")
        .def_property_readonly("incidence", &Session::incidence, "grid distances, nprotos x nprotos")
        .def_property_readonly("projection_x", &Session::projection_x, "the last projection's x")
        .def_property_readonly("projection_y", &Session::projection_y, "the last projection's y")
        .def_property_readonly("measures", &Session::measures,
                               "the EpochReport of the last training epoch, None before any");
}

}  // namespace veltra::python
