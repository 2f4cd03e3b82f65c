#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/workspace.h"
#include "ui/host.h"

namespace veltra::ui {

// Datavectors handed over by a calling program instead of read from a file.
struct GivenData {
    std::span<const double> values;  // ndata x nvars, row by row
    std::int64_t ndata = 0;
    std::int64_t nvars = 0;
    std::vector<std::string> names;   // nvars variable names, or none
    std::vector<std::string> labels;  // ndata labels, or none
};

// Sets the data as a data import does, where Import Datavectors is available:
// the counts within the import's limits, every value a finite number, as
// many names as variables and labels as datavectors, each refusal an Invalid
// Input message. Only then the data, names and labels (under the label
// column "label") replace the old ones and the import's availability events
// are raised; otherwise, and when the storage cannot be had (the memory
// message), the workspace stays as it was. True when the data was set.
bool set_data(core::Workspace& ws, MessageHost& host, GivenData given);

}  // namespace veltra::ui
