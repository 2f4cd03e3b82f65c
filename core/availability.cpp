#include "core/availability.h"

#include <algorithm>
#include <vector>

namespace veltra::core {

namespace {

enum class Mark { unchanged, cleared, toggled };

// Owning lists: an initializer_list member would dangle once transition_of
// returns, its array being a temporary of the return statement.
struct Transition {
    std::vector<int> grays;
    Mark mark;
    std::vector<int> enables;
};

Transition transition_of(AvailabilityEvent event) {
    switch (event) {
        case AvailabilityEvent::begin_data_import:
            return {{CMD_IMPORT_PROTOTYPES, CMD_EXPORT_PROTOTYPES, CMD_EXPORT_VIOLATIONS,
                     CMD_EXPORT_MEAN_VALUES, CMD_MAP_SIZE, CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS,
                     CMD_PICK_DATAPOINTS, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE, CMD_SAMMON_VISUALIZATION,
                     CMD_SOM_TRAINING, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT, CMD_VIEW_LABEL_MAP},
                    Mark::cleared,
                    {}};
        case AvailabilityEvent::data_imported:
            return {{}, Mark::unchanged, {CMD_MAP_SIZE}};
        case AvailabilityEvent::begin_map_shape:
            return {
                {CMD_IMPORT_PROTOTYPES, CMD_EXPORT_PROTOTYPES, CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES,
                 CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE,
                 CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT},
                Mark::cleared,
                {}};
        case AvailabilityEvent::map_defined:
            return {{},
                    Mark::unchanged,
                    {CMD_IMPORT_PROTOTYPES, CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS}};
        case AvailabilityEvent::begin_initialization:
            return {{CMD_EXPORT_PROTOTYPES, CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_CONVERGE,
                     CMD_PAIRWISE_EXCHANGE, CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING, CMD_RECALL_FREQUENCY,
                     CMD_RECALL_ASSIGNMENT},
                    Mark::cleared,
                    {}};
        case AvailabilityEvent::prototypes_set:
            return {{},
                    Mark::unchanged,
                    {CMD_EXPORT_PROTOTYPES, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE, CMD_SAMMON_VISUALIZATION,
                     CMD_SOM_TRAINING}};
        case AvailabilityEvent::begin_prototype_import:
        case AvailabilityEvent::begin_convergence:
            return {{}, Mark::cleared, {}};
        case AvailabilityEvent::begin_exchange:
            return {
                {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT},
                Mark::cleared,
                {}};
        case AvailabilityEvent::begin_training:
            return {
                {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT},
                Mark::unchanged,
                {}};
        case AvailabilityEvent::training_done:
            return {
                {},
                Mark::unchanged,
                {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT}};
        case AvailabilityEvent::labels_read:
            return {{}, Mark::unchanged, {CMD_VIEW_LABEL_MAP}};
        case AvailabilityEvent::toggle_visualization:
            return {{}, Mark::toggled, {}};
    }
    return {{}, Mark::unchanged, {}};
}

// The commands beside the original menu that share the state of one of its
// commands: the table import and export go with the commands whose data they
// read or write, the views with the prototypes export (the prototypes have
// values).
int gate_of(int command) {
    switch (command) {
        case CMD_IMPORT_TABLE:
            return CMD_IMPORT_DATAVECTORS;
        case CMD_EXPORT_TABLE:
        case CMD_VIEW_HIT_MAP:
        case CMD_VIEW_U_MATRIX:
        case CMD_VIEW_COMPONENT_PLANES:
        case CMD_VIEW_MEASURES_CHART:
            return CMD_EXPORT_PROTOTYPES;
        default:
            return command;
    }
}

}  // namespace

std::vector<AvailabilityEvent> events_enabling(int command) {
    command = gate_of(command);
    std::vector<AvailabilityEvent> events;
    for (int e = 0; e <= static_cast<int>(AvailabilityEvent::toggle_visualization); ++e) {
        const auto event = static_cast<AvailabilityEvent>(e);
        const std::vector<int> enables = transition_of(event).enables;
        if (std::find(enables.begin(), enables.end(), command) != enables.end()) events.push_back(event);
    }
    return events;
}

Availability::Availability() {
    for (int id :
         {CMD_IMPORT_DATAVECTORS, CMD_QUIT, CMD_HELP_CONTENTS, CMD_ABOUT, CMD_VIEW_KEEP_ASPECT_RATIO})
        enabled_[id] = true;
}

void Availability::raise(AvailabilityEvent event) {
    const Transition t = transition_of(event);
    for (int id : t.grays) enabled_[id] = false;
    if (t.mark == Mark::cleared) visualization_on_ = false;
    if (t.mark == Mark::toggled) visualization_on_ = !visualization_on_;
    for (int id : t.enables) enabled_[id] = true;
    for (const Observer& observer : observers_) observer(*this);
}

bool Availability::is_enabled(int command) const noexcept {
    // The label map needs labels and prototypes with values; saving the
    // Sammon picture needs the picture on screen.
    if (command == CMD_VIEW_LABEL_MAP && !is_enabled(CMD_EXPORT_PROTOTYPES)) return false;
    if (command == CMD_VIEW_SAVE_SAMMON_PICTURE) {
        return is_enabled(CMD_SAMMON_VISUALIZATION) && visualization_on_;
    }
    command = gate_of(command);
    return command >= 0 && command < ID_LIMIT && enabled_[command];
}

void Availability::add_observer(Observer observer) { observers_.push_back(std::move(observer)); }

}  // namespace veltra::core
