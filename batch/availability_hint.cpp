#include "batch/availability_hint.h"

#include <algorithm>
#include <span>
#include <string_view>
#include <vector>

#include "batch/command_table.h"

namespace veltra::batch {

namespace {

using core::AvailabilityEvent;

// A step of the usual road: the event that ends it and the commands whose
// dialogs raise that event when they succeed (see the dialogs of ui/).
struct Step {
    AvailabilityEvent event;
    std::string_view what;
    std::span<const int> raised_by;
};

constexpr int IMPORT[] = {core::CMD_IMPORT_DATAVECTORS};
constexpr int SIZE[] = {core::CMD_MAP_SIZE};
constexpr int INITIALIZE[] = {core::CMD_RANDOM_WEIGHTS, core::CMD_PICK_DATAPOINTS,
                              core::CMD_IMPORT_PROTOTYPES};
constexpr int TRAIN[] = {core::CMD_SOM_TRAINING};

constexpr Step STEPS[] = {
    {AvailabilityEvent::data_imported, "import datavectors", IMPORT},
    {AvailabilityEvent::map_defined, "size the map", SIZE},
    {AvailabilityEvent::prototypes_set, "give the prototypes values", INITIALIZE},
    {AvailabilityEvent::training_done, "train the map", TRAIN},
};

const Step* step_enabling(int command_id) {
    for (const AvailabilityEvent event : core::events_enabling(command_id)) {
        for (const Step& step : STEPS) {
            if (step.event == event) return &step;
        }
    }
    return nullptr;
}

// The steps still to take, in order, before `command_id` can run.
std::vector<const Step*> missing_steps(int command_id, const core::Availability& availability) {
    std::vector<const Step*> steps;
    // Each step goes back one stage of the road, so the road's length bounds it.
    for (std::size_t guard = 0; guard < std::size(STEPS); ++guard) {
        const Step* step = step_enabling(command_id);
        if (!step) break;
        steps.insert(steps.begin(), step);
        const auto can_run = [&](int id) { return availability.is_enabled(id); };
        if (std::any_of(step->raised_by.begin(), step->raised_by.end(), can_run)) break;
        command_id = step->raised_by.front();
    }
    return steps;
}

// "a (x)", "a (x or y)", "a (x, y or z)"
std::string with_commands(const Step& step) {
    std::string text(step.what);
    text += " (";
    for (std::size_t i = 0; i < step.raised_by.size(); ++i) {
        if (i > 0) text += i + 1 == step.raised_by.size() ? " or " : ", ";
        text += command_name(step.raised_by[i]);
    }
    text += ')';
    return text;
}

}  // namespace

std::string not_available_message(int command_id, const core::Availability& availability) {
    std::string text(command_name(command_id));
    text += " is not available now";
    // Two roads meet here: the labels of an imported table and the
    // prototypes' values.
    if (command_id == core::CMD_VIEW_LABEL_MAP) {
        text += ": it needs a table with a label column (import-table) and prototypes with values";
        return text;
    }
    const std::vector<const Step*> steps = missing_steps(command_id, availability);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        text += i == 0 ? ": " : i + 1 == steps.size() ? " and " : ", ";
        text += with_commands(*steps[i]);
    }
    if (!steps.empty()) text += " first";
    return text;
}

}  // namespace veltra::batch
