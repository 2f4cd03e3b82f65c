#include "core/availability.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <vector>

namespace veltra::core {
namespace {

using Event = AvailabilityEvent;
using Ids = std::set<int>;

const Ids ALWAYS = {CMD_IMPORT_DATAVECTORS, CMD_QUIT, CMD_HELP_CONTENTS, CMD_ABOUT};

Ids enabled_commands(const Availability& a) {
    Ids ids;
    for (int id : ALL_COMMANDS) {
        if (a.is_enabled(id)) ids.insert(id);
    }
    return ids;
}

Ids with_always(Ids ids) {
    ids.insert(ALWAYS.begin(), ALWAYS.end());
    return ids;
}

void raise_all(Availability& a, std::initializer_list<Event> events) {
    for (Event e : events) a.raise(e);
}

// The usual road to a trained map with the Sammon check mark set: every command enabled.
void train(Availability& a) {
    raise_all(a, {Event::begin_data_import, Event::data_imported, Event::begin_map_shape, Event::map_defined,
                  Event::begin_initialization, Event::prototypes_set, Event::begin_training,
                  Event::training_done, Event::toggle_visualization});
}

struct Row {
    Event event;
    Ids grays;
    enum { unchanged, cleared, toggled } mark;
    Ids enables;
};

// The transition table of the availability state, row by row.
const std::vector<Row> TABLE = {
    {Event::begin_data_import,
     {CMD_IMPORT_PROTOTYPES, CMD_EXPORT_PROTOTYPES, CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES,
      CMD_MAP_SIZE, CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS, CMD_CONVERGE,
      CMD_PAIRWISE_EXCHANGE, CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING, CMD_RECALL_FREQUENCY,
      CMD_RECALL_ASSIGNMENT},
     Row::cleared,
     {}},
    {Event::data_imported, {}, Row::unchanged, {CMD_MAP_SIZE}},
    {Event::begin_map_shape,
     {CMD_IMPORT_PROTOTYPES, CMD_EXPORT_PROTOTYPES, CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES,
      CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE,
      CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT},
     Row::cleared,
     {}},
    {Event::map_defined,
     {},
     Row::unchanged,
     {CMD_IMPORT_PROTOTYPES, CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS}},
    {Event::begin_initialization,
     {CMD_EXPORT_PROTOTYPES, CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_CONVERGE,
      CMD_PAIRWISE_EXCHANGE, CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING, CMD_RECALL_FREQUENCY,
      CMD_RECALL_ASSIGNMENT},
     Row::cleared,
     {}},
    {Event::prototypes_set,
     {},
     Row::unchanged,
     {CMD_EXPORT_PROTOTYPES, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE, CMD_SAMMON_VISUALIZATION,
      CMD_SOM_TRAINING}},
    {Event::begin_prototype_import, {}, Row::cleared, {}},
    {Event::begin_convergence, {}, Row::cleared, {}},
    {Event::begin_exchange,
     {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT},
     Row::cleared,
     {}},
    {Event::begin_training,
     {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT},
     Row::unchanged,
     {}},
    {Event::training_done,
     {},
     Row::unchanged,
     {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY, CMD_RECALL_ASSIGNMENT}},
    {Event::toggle_visualization, {}, Row::toggled, {}},
};

TEST(Availability, AtStartOnlyImportQuitContentsAndAboutAreEnabled) {
    const Availability a;
    EXPECT_EQ(enabled_commands(a), ALWAYS);
    EXPECT_FALSE(a.is_visualization_on());
}

TEST(Availability, IdsThatAreNoCommandsAreNeverEnabled) {
    Availability a;
    train(a);
    for (int id : {-1, 0, 10, 18, 50, 100, 1000}) EXPECT_FALSE(a.is_enabled(id)) << id;
}

TEST(Availability, EachEventGraysExactlyItsRowFromEverythingEnabled) {
    for (const Row& row : TABLE) {
        Availability a;
        train(a);
        ASSERT_EQ(enabled_commands(a).size(), ALL_COMMANDS.size());
        ASSERT_TRUE(a.is_visualization_on());
        a.raise(row.event);
        Ids expected;
        for (int id : ALL_COMMANDS) {
            if (!row.grays.contains(id)) expected.insert(id);
        }
        EXPECT_EQ(enabled_commands(a), expected) << static_cast<int>(row.event);
        EXPECT_EQ(a.is_visualization_on(), row.mark == Row::unchanged) << static_cast<int>(row.event);
    }
}

TEST(Availability, EachEventEnablesExactlyItsRowFromEverythingGrayed) {
    for (const Row& row : TABLE) {
        Availability a;
        a.raise(row.event);
        EXPECT_EQ(enabled_commands(a), with_always(row.enables)) << static_cast<int>(row.event);
        EXPECT_EQ(a.is_visualization_on(), row.mark == Row::toggled) << static_cast<int>(row.event);
    }
}

TEST(Availability, TheUsualRoadEnablesStepByStep) {
    Availability a;
    a.raise(Event::begin_data_import);
    EXPECT_EQ(enabled_commands(a), ALWAYS);
    a.raise(Event::data_imported);
    EXPECT_EQ(enabled_commands(a), with_always({CMD_MAP_SIZE}));
    raise_all(a, {Event::begin_map_shape, Event::map_defined});
    EXPECT_EQ(enabled_commands(a), with_always({CMD_MAP_SIZE, CMD_IMPORT_PROTOTYPES, CMD_MAP_SHOW,
                                                CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS}));
    raise_all(a, {Event::begin_initialization, Event::prototypes_set});
    EXPECT_EQ(enabled_commands(a),
              with_always({CMD_MAP_SIZE, CMD_IMPORT_PROTOTYPES, CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS,
                           CMD_PICK_DATAPOINTS, CMD_EXPORT_PROTOTYPES, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE,
                           CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING}));
    raise_all(a, {Event::begin_training, Event::training_done});
    EXPECT_EQ(enabled_commands(a).size(), ALL_COMMANDS.size());
}

TEST(Availability, ImportGraysAllButMapSizeEvenAfterTraining) {
    Availability a;
    train(a);
    // Opening the Import filter dialog and cancelling leaves every data command grayed.
    a.raise(Event::begin_data_import);
    EXPECT_EQ(enabled_commands(a), ALWAYS);
    EXPECT_FALSE(a.is_visualization_on());
    a.raise(Event::data_imported);
    EXPECT_EQ(enabled_commands(a), with_always({CMD_MAP_SIZE}));
}

TEST(Availability, BeginEventsGrayOnOpeningWhetherOrNotTheDialogSucceeds) {
    Availability a;
    train(a);
    a.raise(Event::begin_map_shape);  // then cancelled
    EXPECT_EQ(enabled_commands(a), with_always({CMD_MAP_SIZE}));

    train(a);
    a.raise(Event::begin_initialization);  // then cancelled
    EXPECT_EQ(enabled_commands(a), with_always({CMD_MAP_SIZE, CMD_IMPORT_PROTOTYPES, CMD_MAP_SHOW,
                                                CMD_RANDOM_WEIGHTS, CMD_PICK_DATAPOINTS}));

    train(a);
    a.raise(Event::begin_training);  // closed without training
    EXPECT_EQ(enabled_commands(a),
              with_always({CMD_MAP_SIZE, CMD_IMPORT_PROTOTYPES, CMD_MAP_SHOW, CMD_RANDOM_WEIGHTS,
                           CMD_PICK_DATAPOINTS, CMD_EXPORT_PROTOTYPES, CMD_CONVERGE, CMD_PAIRWISE_EXCHANGE,
                           CMD_SAMMON_VISUALIZATION, CMD_SOM_TRAINING}));
}

TEST(Availability, PairwiseExchangeWithholdsExportsAndRecallUntilTrainingIsDone) {
    Availability a;
    train(a);
    a.raise(Event::begin_exchange);
    const Ids withheld = {CMD_EXPORT_VIOLATIONS, CMD_EXPORT_MEAN_VALUES, CMD_RECALL_FREQUENCY,
                          CMD_RECALL_ASSIGNMENT};
    for (Event e :
         {Event::begin_prototype_import, Event::prototypes_set, Event::begin_convergence, Event::map_defined,
          Event::data_imported, Event::toggle_visualization, Event::begin_exchange, Event::begin_training}) {
        a.raise(e);
        for (int id : withheld) EXPECT_FALSE(a.is_enabled(id)) << id << " after " << static_cast<int>(e);
    }
    a.raise(Event::training_done);
    for (int id : withheld) EXPECT_TRUE(a.is_enabled(id)) << id;
}

TEST(Availability, CheckMarkIsClearedOnlyByTheRightEvents) {
    const std::set<Event> clearing = {Event::begin_data_import,    Event::begin_map_shape,
                                      Event::begin_initialization, Event::begin_prototype_import,
                                      Event::begin_convergence,    Event::begin_exchange};
    for (const Row& row : TABLE) {
        if (row.event == Event::toggle_visualization) continue;
        Availability a;
        train(a);
        a.raise(row.event);
        EXPECT_EQ(a.is_visualization_on(), !clearing.contains(row.event)) << static_cast<int>(row.event);
    }
}

TEST(Availability, ToggleSwitchesTheCheckMarkBackAndForth) {
    Availability a;
    train(a);
    a.raise(Event::toggle_visualization);
    EXPECT_FALSE(a.is_visualization_on());
    a.raise(Event::toggle_visualization);
    EXPECT_TRUE(a.is_visualization_on());
    // Sammon visualization is only ever grayed together with clearing the mark.
    EXPECT_TRUE(a.is_enabled(CMD_SAMMON_VISUALIZATION));
}

TEST(Availability, EveryObserverIsCalledAfterEveryEventWithTheNewState) {
    Availability a;
    std::vector<bool> first_saw_map_size;
    int second_calls = 0;
    a.add_observer(
        [&](const Availability& state) { first_saw_map_size.push_back(state.is_enabled(CMD_MAP_SIZE)); });
    a.add_observer([&](const Availability& state) {
        EXPECT_EQ(&state, &a);
        ++second_calls;
    });
    raise_all(a, {Event::begin_data_import, Event::data_imported, Event::begin_map_shape});
    EXPECT_EQ(first_saw_map_size, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(second_calls, 3);
    a.raise(Event::toggle_visualization);
    EXPECT_EQ(second_calls, 4);
}

// The views go with the prototypes export; the label map also needs labels,
// which a plain datavector import takes away; saving the Sammon picture needs
// it on screen.
TEST(Availability, ViewsFollowThePrototypesAndLabels) {
    const auto views = [](const Availability& a) {
        Ids ids;
        for (int id : VIEW_COMMANDS) {
            if (a.is_enabled(id)) ids.insert(id);
        }
        return ids;
    };
    Availability a;
    EXPECT_EQ(views(a), Ids{CMD_VIEW_KEEP_ASPECT_RATIO});
    a.raise(Event::labels_read);
    EXPECT_EQ(views(a), Ids{CMD_VIEW_KEEP_ASPECT_RATIO});
    train(a);
    EXPECT_EQ(views(a),
              (Ids{CMD_VIEW_HIT_MAP, CMD_VIEW_U_MATRIX, CMD_VIEW_COMPONENT_PLANES, CMD_VIEW_MEASURES_CHART,
                   CMD_VIEW_KEEP_ASPECT_RATIO, CMD_VIEW_SAVE_SAMMON_PICTURE}));
    a.raise(Event::labels_read);
    EXPECT_EQ(views(a),
              (Ids{CMD_VIEW_HIT_MAP, CMD_VIEW_U_MATRIX, CMD_VIEW_COMPONENT_PLANES, CMD_VIEW_LABEL_MAP,
                   CMD_VIEW_MEASURES_CHART, CMD_VIEW_KEEP_ASPECT_RATIO, CMD_VIEW_SAVE_SAMMON_PICTURE}));
    a.raise(Event::toggle_visualization);
    EXPECT_EQ(views(a), (Ids{CMD_VIEW_HIT_MAP, CMD_VIEW_U_MATRIX, CMD_VIEW_COMPONENT_PLANES,
                             CMD_VIEW_LABEL_MAP, CMD_VIEW_MEASURES_CHART, CMD_VIEW_KEEP_ASPECT_RATIO}));
    a.raise(Event::begin_initialization);
    EXPECT_EQ(views(a), Ids{CMD_VIEW_KEEP_ASPECT_RATIO});
    a.raise(Event::prototypes_set);
    EXPECT_TRUE(a.is_enabled(CMD_VIEW_LABEL_MAP));
    a.raise(Event::begin_data_import);
    train(a);
    EXPECT_FALSE(a.is_enabled(CMD_VIEW_LABEL_MAP));
    EXPECT_EQ(events_enabling(CMD_VIEW_HIT_MAP), std::vector<Event>{Event::prototypes_set});
}

}  // namespace
}  // namespace veltra::core
