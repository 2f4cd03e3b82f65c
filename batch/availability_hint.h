#pragma once

#include <string>

#include "core/availability.h"

namespace veltra::batch {

// Why the command with this id cannot run now and what must come first, as
// the batch runner reports it: "train is not available now: size the map
// (map-size) and give the prototypes values (...) first". The steps are
// found from the events that enable the command, going back through the
// commands that raise them until one of those can run now.
std::string not_available_message(int command_id, const core::Availability& availability);

}  // namespace veltra::batch
