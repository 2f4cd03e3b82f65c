#include "ui/shell.h"

#include "core/measures.h"
#include "io/result_writers.h"
#include "ui/about_dialog.h"
#include "ui/convergence_command.h"
#include "ui/dialog_templates.h"
#include "ui/file_filters.h"
#include "ui/import_filter_dialog.h"
#include "ui/incidence_viewer.h"
#include "ui/map_shape_dialog.h"
#include "ui/map_views.h"
#include "ui/messages.h"
#include "ui/pairwise_dialog.h"
#include "ui/pick_datapoints_dialog.h"
#include "ui/random_weights_dialog.h"
#include "ui/recall_dialog.h"
#include "ui/table_export_dialog.h"
#include "ui/table_import_dialog.h"
#include "ui/training_dialog.h"

namespace veltra::ui {

namespace {

template <class Dialog, class... Args>
void run_dialog(ShellHost& host, Args&&... args) {
    Dialog dialog(std::forward<Args>(args)...);
    host.run_modal(dialog);
}

}  // namespace

Shell::Shell(core::Workspace& ws, ShellHost& host) : ws_(ws), host_(host) {}

void Shell::on_command(int id) {
    if (!ws_.availability.is_enabled(id)) return;
    switch (id) {
        case core::CMD_IMPORT_DATAVECTORS:
            run_dialog<ImportFilterDialog>(host_, ws_, host_);
            break;
        case core::CMD_IMPORT_PROTOTYPES:
            import_prototypes();
            break;
        case core::CMD_EXPORT_PROTOTYPES:
            export_prototypes();
            break;
        case core::CMD_EXPORT_VIOLATIONS:
            export_violations();
            break;
        case core::CMD_EXPORT_MEAN_VALUES:
            export_mean_values();
            break;
        case core::CMD_IMPORT_TABLE: {
            TableImportDialog dialog(ws_, host_);
            host_.run_table_import(dialog);
            break;
        }
        case core::CMD_EXPORT_TABLE:
            run_dialog<TableExportDialog>(host_, ws_, host_);
            break;
        case core::CMD_QUIT:
            request_close();
            break;
        case core::CMD_MAP_SIZE:
            run_dialog<MapShapeDialog>(host_, ws_, host_);
            break;
        case core::CMD_MAP_SHOW: {
            IncidenceViewer viewer(ws_.incidence, ws_.nprotos);
            host_.run_incidence_viewer(viewer);
            break;
        }
        case core::CMD_RANDOM_WEIGHTS:
            session_.measures.clear();
            run_dialog<RandomWeightsDialog>(host_, ws_, host_);
            break;
        case core::CMD_PICK_DATAPOINTS:
            session_.measures.clear();
            run_dialog<PickDatapointsDialog>(host_, ws_, host_);
            break;
        case core::CMD_CONVERGE:
            run_convergence(ws_, host_);
            break;
        case core::CMD_PAIRWISE_EXCHANGE:
            run_dialog<PairwiseDialog>(host_, ws_, host_);
            break;
        case core::CMD_SAMMON_VISUALIZATION:
            toggle_visualization();
            break;
        case core::CMD_SOM_TRAINING:
            train();
            break;
        case core::CMD_RECALL_FREQUENCY:
            run_dialog<RecallDialog>(host_, ws_, host_, RecallKind::frequency);
            break;
        case core::CMD_RECALL_ASSIGNMENT:
            run_dialog<RecallDialog>(host_, ws_, host_, RecallKind::assignment);
            break;
        case core::CMD_VIEW_HIT_MAP:
        case core::CMD_VIEW_U_MATRIX:
        case core::CMD_VIEW_COMPONENT_PLANES:
        case core::CMD_VIEW_LABEL_MAP:
        case core::CMD_VIEW_MEASURES_CHART:
            for (const ViewKind kind : ALL_VIEWS) {
                if (view_command(kind) == id) host_.show_view(kind);
            }
            break;
        case core::CMD_VIEW_KEEP_ASPECT_RATIO:
            session_.map_view.set_keep_aspect_ratio(!session_.map_view.keeps_aspect_ratio());
            host_.repaint_main_window();
            break;
        case core::CMD_VIEW_SAVE_SAMMON_PICTURE:
            host_.save_main_window_picture();
            break;
        case core::CMD_HELP_CONTENTS:
            host_.show_help_topic("");
            break;
        case core::CMD_ABOUT:
            run_dialog<AboutDialog>(host_);
            break;
        default:
            break;
    }
}

void Shell::request_close() {
    host_.beep(Sound::question);
    const Answer answer = host_.message_box("Do you really want to quit?", "Leave Program", Icon::question,
                                            Buttons::yes_no, true);
    if (answer == Answer::yes) host_.close_main_window();
}

void Shell::on_help_key() { host_.show_help_topic(""); }

std::optional<DisplayList> Shell::paint(int width, int height, const TextMeasurer& measurer) const {
    if (!ws_.availability.is_enabled(core::CMD_SAMMON_VISUALIZATION) ||
        !ws_.availability.is_visualization_on()) {
        return std::nullopt;
    }
    return session_.map_view.draw(ws_, width, height, measurer);
}

void Shell::import_prototypes() {
    ws_.availability.raise(core::AvailabilityEvent::begin_prototype_import);
    const std::optional<std::string> path = host_.open_file_dialog(FILTER_WEIGHTS_OPEN);
    if (!path) return;
    host_.begin_wait_cursor();
    const core::ImportResult result = core::import_prototypes(ws_, *path);
    host_.end_wait_cursor();
    if (result == core::ImportResult::ok) {
        session_.measures.clear();
        information_box(host_, "Weights file read.", "Import Prototypes");
        ws_.availability.raise(core::AvailabilityEvent::prototypes_set);
    } else if (result == core::ImportResult::out_of_memory) {
        out_of_memory_box(host_);
    } else {
        error_box(host_, "Can not import weights!", "Error Reading File");
    }
}

void Shell::export_prototypes() {
    const std::optional<std::string> path = host_.save_file_dialog(FILTER_WEIGHTS_SAVE);
    if (!path) return;
    if (io::write_prototypes_file(*path, ws_.prototypes, ws_.nprotos, ws_.nvars)) {
        information_box(host_, "File written.", "Export Prototypes");
    } else {
        error_box(host_, "Can not write prototypes!", "Error Writing File");
    }
}

void Shell::export_violations() {
    const std::optional<std::string> path = host_.save_file_dialog(FILTER_VIOLATIONS);
    if (!path) return;
    host_.begin_wait_cursor();
    core::compute_violations(ws_.prototypes, ws_.nprotos, ws_.nvars, ws_.incidence,
                             ws_.violation_counts.span());
    const bool written = io::write_violations_file(*path, ws_.violation_counts.span(), ws_.cols);
    host_.end_wait_cursor();
    if (written) {
        information_box(host_, "Violations file written.", "Export Violations");
    } else {
        error_box(host_, "Can not write violations file!", "Error Writing File");
    }
}

void Shell::export_mean_values() {
    const std::optional<std::string> path = host_.save_file_dialog(FILTER_MEAN_VALUES);
    if (!path) return;
    host_.begin_wait_cursor();
    ws_.kernels.assign_winners(ws_.data, ws_.ndata, ws_.prototypes, ws_.nprotos, ws_.nvars,
                               ws_.winners.span());
    const bool written = io::write_mean_values_file(*path, ws_.heap, ws_.winners.span(), ws_.data, ws_.ndata,
                                                    ws_.nprotos, ws_.nvars);
    host_.end_wait_cursor();
    if (written) {
        information_box(host_, "Mean values file written.", "Export Mean Values");
    } else {
        error_box(host_, "Can not write mean values file!", "Error Writing File");
    }
}

// Switching off removes the check mark; the host erases the picture with it.
void Shell::toggle_visualization() {
    const bool was_on = ws_.availability.is_visualization_on();
    ws_.availability.raise(core::AvailabilityEvent::toggle_visualization);
    if (!was_on) refresh_map_view(ws_, session_, host_);
}

void Shell::train() {
    std::unique_ptr<StatusBox> monitor = host_.open_status_box(SOMINFO, Placement::bottom_right);
    run_dialog<TrainingDialog>(host_, ws_, host_, session_, *monitor);
}

}  // namespace veltra::ui
