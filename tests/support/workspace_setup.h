#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/availability.h"
#include "core/map_shape.h"
#include "core/workspace.h"
#include "tests/support/temp_directory.h"

namespace veltra::testing {

// Twelve datavectors of two variables, all different.
inline const char* const TWELVE_BY_TWO = "0 0\n1 0\n2 0\n0 1\n1 1\n2 1\n0 2\n1 2\n2 2\n5 5\n6 5\n5 6\n";

// Imports `text` as ndata x nvars datavectors and defines a rows x cols map,
// raising the events the dialogs raise.
inline void prepare_map(core::Workspace& ws, const TempDirectory& dir, const std::string& text,
                        std::int32_t ndata, std::int32_t nvars, std::int32_t rows, std::int32_t cols) {
    ws.availability.raise(core::AvailabilityEvent::begin_data_import);
    ASSERT_EQ(core::import_datavectors(ws, dir.write("data.dat", text), ndata, nvars),
              core::ImportResult::ok);
    ws.availability.raise(core::AvailabilityEvent::data_imported);
    ws.availability.raise(core::AvailabilityEvent::begin_map_shape);
    ASSERT_EQ(core::set_map_shape(ws, rows, cols), core::MapShapeResult::ok);
    ws.availability.raise(core::AvailabilityEvent::map_defined);
}

// Sets prototype p to datavector p (needs ndata >= nprotos).
inline void prototypes_from_data(core::Workspace& ws) {
    for (std::int32_t p = 0; p < ws.nprotos; ++p) {
        for (std::int32_t k = 0; k < ws.nvars; ++k) ws.prototypes[p][k] = ws.data[p][k];
    }
    ws.availability.raise(core::AvailabilityEvent::begin_initialization);
    ws.availability.raise(core::AvailabilityEvent::prototypes_set);
}

// The commands enabled at each stage of a session, in menu order: at start,
// with data, with a map, with prototypes, after training.
inline const std::vector<int> ENABLED_AT_START = {core::CMD_IMPORT_DATAVECTORS, core::CMD_QUIT,
                                                  core::CMD_HELP_CONTENTS, core::CMD_ABOUT};
inline const std::vector<int> ENABLED_WITH_DATA = {core::CMD_IMPORT_DATAVECTORS, core::CMD_QUIT,
                                                   core::CMD_MAP_SIZE, core::CMD_HELP_CONTENTS,
                                                   core::CMD_ABOUT};
inline const std::vector<int> ENABLED_WITH_MAP = {
    core::CMD_IMPORT_DATAVECTORS, core::CMD_IMPORT_PROTOTYPES, core::CMD_QUIT,
    core::CMD_MAP_SIZE,           core::CMD_MAP_SHOW,          core::CMD_RANDOM_WEIGHTS,
    core::CMD_PICK_DATAPOINTS,    core::CMD_HELP_CONTENTS,     core::CMD_ABOUT};
inline const std::vector<int> ENABLED_WITH_PROTOTYPES = {core::CMD_IMPORT_DATAVECTORS,
                                                         core::CMD_IMPORT_PROTOTYPES,
                                                         core::CMD_EXPORT_PROTOTYPES,
                                                         core::CMD_QUIT,
                                                         core::CMD_MAP_SIZE,
                                                         core::CMD_MAP_SHOW,
                                                         core::CMD_RANDOM_WEIGHTS,
                                                         core::CMD_PICK_DATAPOINTS,
                                                         core::CMD_CONVERGE,
                                                         core::CMD_PAIRWISE_EXCHANGE,
                                                         core::CMD_SAMMON_VISUALIZATION,
                                                         core::CMD_SOM_TRAINING,
                                                         core::CMD_HELP_CONTENTS,
                                                         core::CMD_ABOUT};
inline const std::vector<int> ENABLED_AFTER_TRAINING(core::ALL_COMMANDS.begin(), core::ALL_COMMANDS.end());

// The commands enabled now, in menu order.
inline std::vector<int> enabled_commands(const core::Workspace& ws) {
    std::vector<int> ids;
    for (int id : core::ALL_COMMANDS) {
        if (ws.availability.is_enabled(id)) ids.push_back(id);
    }
    return ids;
}

}  // namespace veltra::testing
