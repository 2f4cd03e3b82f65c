#include "ui/set_data_command.h"

#include <algorithm>
#include <cmath>

#include "ui/import_filter_dialog.h"
#include "ui/messages.h"

namespace veltra::ui {

bool set_data(core::Workspace& ws, MessageHost& host, GivenData given) {
    if (!data_counts_valid(host, given.ndata, given.nvars)) return false;
    if (!std::all_of(given.values.begin(), given.values.end(), [](double v) { return std::isfinite(v); })) {
        invalid_input(host, "Datavectors must be finite numbers!");
        return false;
    }
    if (!given.names.empty() && std::ssize(given.names) != given.nvars) {
        invalid_input(host, "# of names must equal # of variables!");
        return false;
    }
    if (!given.labels.empty() && std::ssize(given.labels) != given.ndata) {
        invalid_input(host, "# of labels must equal # of datavectors!");
        return false;
    }
    core::DataAnnotations annotations;
    annotations.variable_names = std::move(given.names);
    annotations.labels = std::move(given.labels);
    if (annotations.has_labels()) annotations.label_column = "label";
    const auto ndata = static_cast<std::int32_t>(given.ndata);
    const auto nvars = static_cast<std::int32_t>(given.nvars);
    if (core::replace_data(ws, given.values, ndata, nvars, std::move(annotations), {}) !=
        core::StorageResult::ok) {
        out_of_memory_box(host);
        return false;
    }
    ws.availability.raise(core::AvailabilityEvent::begin_data_import);
    ws.availability.raise(core::AvailabilityEvent::data_imported);
    return true;
}

}  // namespace veltra::ui
