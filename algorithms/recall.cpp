#include "algorithms/recall.h"

#include "io/result_writers.h"

namespace veltra::algorithms {

bool recall_frequency(core::Workspace& ws, const std::string& path, std::int32_t start, std::int32_t cycle) {
    ws.kernels.assign_winners(ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, ws.winners.span());
    for (std::int32_t p = 0; p < ws.nprotos; ++p) ws.win_counts[p] = 0;
    // A cycle below 1 would never advance; refused as the assignment writer does.
    if (start < 1 || cycle < 1) return false;
    // A 64-bit index: i + cycle cannot overflow, whatever the arguments.
    for (std::int64_t i = start - 1; i < ws.ndata; i += cycle) {
        ++ws.win_counts[ws.winners[static_cast<std::int32_t>(i)]];
    }
    return io::write_frequency_file(path, ws.win_counts.span().first(static_cast<std::size_t>(ws.nprotos)),
                                    ws.cols);
}

bool recall_assignment(core::Workspace& ws, const std::string& path, std::int32_t start, std::int32_t cycle) {
    ws.kernels.assign_winners(ws.data, ws.ndata, ws.prototypes, ws.nprotos, ws.nvars, ws.winners.span());
    return io::write_assignment_file(path, ws.winners.span(), start, cycle, ws.ndata);
}

}  // namespace veltra::algorithms
