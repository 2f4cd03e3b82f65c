#include "core/clock.h"

#include <ctime>

namespace veltra::core {

std::int64_t SystemClock::now_seconds() const { return static_cast<std::int64_t>(std::time(nullptr)); }

const Clock& system_clock() {
    static const SystemClock clock;
    return clock;
}

}  // namespace veltra::core
