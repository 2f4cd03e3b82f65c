#pragma once

#include <array>
#include <functional>
#include <vector>

namespace veltra::core {

// Command ids, shared by the menu, the shell's routing table and the
// availability state.
inline constexpr int CMD_IMPORT_DATAVECTORS = 11;
inline constexpr int CMD_IMPORT_PROTOTYPES = 12;
inline constexpr int CMD_EXPORT_PROTOTYPES = 13;
inline constexpr int CMD_EXPORT_VIOLATIONS = 14;
inline constexpr int CMD_EXPORT_MEAN_VALUES = 15;
// Beside the menu of the original design: tables and views.
inline constexpr int CMD_IMPORT_TABLE = 16;
inline constexpr int CMD_EXPORT_TABLE = 17;
inline constexpr int CMD_QUIT = 19;
inline constexpr int CMD_MAP_SIZE = 21;
inline constexpr int CMD_MAP_SHOW = 22;
inline constexpr int CMD_RANDOM_WEIGHTS = 32;
inline constexpr int CMD_PICK_DATAPOINTS = 33;
inline constexpr int CMD_CONVERGE = 34;
inline constexpr int CMD_PAIRWISE_EXCHANGE = 35;
inline constexpr int CMD_SAMMON_VISUALIZATION = 36;
inline constexpr int CMD_SOM_TRAINING = 41;
inline constexpr int CMD_RECALL_FREQUENCY = 42;
inline constexpr int CMD_RECALL_ASSIGNMENT = 43;
inline constexpr int CMD_VIEW_HIT_MAP = 51;
inline constexpr int CMD_VIEW_U_MATRIX = 52;
inline constexpr int CMD_VIEW_COMPONENT_PLANES = 53;
inline constexpr int CMD_VIEW_LABEL_MAP = 54;
inline constexpr int CMD_VIEW_MEASURES_CHART = 55;
inline constexpr int CMD_VIEW_KEEP_ASPECT_RATIO = 56;
inline constexpr int CMD_VIEW_SAVE_SAMMON_PICTURE = 57;
inline constexpr int CMD_HELP_CONTENTS = 91;
inline constexpr int CMD_ABOUT = 99;

// Every command id of the original menu, in menu order.
inline constexpr std::array<int, 18> ALL_COMMANDS = {CMD_IMPORT_DATAVECTORS,
                                                     CMD_IMPORT_PROTOTYPES,
                                                     CMD_EXPORT_PROTOTYPES,
                                                     CMD_EXPORT_VIOLATIONS,
                                                     CMD_EXPORT_MEAN_VALUES,
                                                     CMD_QUIT,
                                                     CMD_MAP_SIZE,
                                                     CMD_MAP_SHOW,
                                                     CMD_RANDOM_WEIGHTS,
                                                     CMD_PICK_DATAPOINTS,
                                                     CMD_CONVERGE,
                                                     CMD_PAIRWISE_EXCHANGE,
                                                     CMD_SAMMON_VISUALIZATION,
                                                     CMD_SOM_TRAINING,
                                                     CMD_RECALL_FREQUENCY,
                                                     CMD_RECALL_ASSIGNMENT,
                                                     CMD_HELP_CONTENTS,
                                                     CMD_ABOUT};
// The table import and export beside them, enabled exactly when Datavectors
// and the prototypes export are.
inline constexpr std::array<int, 2> TABLE_COMMANDS = {CMD_IMPORT_TABLE, CMD_EXPORT_TABLE};
// The View menu: the views, enabled exactly when the prototypes export is
// (the label map only once labels were read too); the Sammon view's option,
// always enabled; saving its picture, enabled while it is shown.
inline constexpr std::array<int, 7> VIEW_COMMANDS = {
    CMD_VIEW_HIT_MAP,        CMD_VIEW_U_MATRIX,          CMD_VIEW_COMPONENT_PLANES,   CMD_VIEW_LABEL_MAP,
    CMD_VIEW_MEASURES_CHART, CMD_VIEW_KEEP_ASPECT_RATIO, CMD_VIEW_SAVE_SAMMON_PICTURE};

// The named events that alone change which commands may run.
enum class AvailabilityEvent {
    begin_data_import,
    data_imported,
    begin_map_shape,
    map_defined,
    begin_initialization,
    prototypes_set,
    begin_prototype_import,
    begin_convergence,
    begin_exchange,
    begin_training,
    training_done,
    labels_read,           // a table with a label column was imported
    toggle_visualization,  // stays last: events_enabling counts up to it
};

// The events that enable `command`, in the order of the enumeration; empty
// for a command that is always enabled or never.
std::vector<AvailabilityEvent> events_enabling(int command);

// Which commands are enabled and whether Sammon visualization carries its
// check mark. Observers are told after every event.
class Availability {
public:
    using Observer = std::function<void(const Availability&)>;

    Availability();

    // Applies the event's grays, then its check mark change, then its enables,
    // and notifies every observer.
    void raise(AvailabilityEvent event);

    // False for an id that is not a command.
    bool is_enabled(int command) const noexcept;
    bool is_visualization_on() const noexcept { return visualization_on_; }

    void add_observer(Observer observer);

private:
    static constexpr int ID_LIMIT = 100;
    std::array<bool, ID_LIMIT> enabled_{};
    bool visualization_on_ = false;
    std::vector<Observer> observers_;
};

}  // namespace veltra::core
