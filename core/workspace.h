#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "core/availability.h"
#include "core/data_annotations.h"
#include "core/kernels/prototype_kernels.h"
#include "core/random.h"
#include "core/storage/heap.h"
#include "core/storage/storage.h"

namespace veltra::core {

inline constexpr int MAX_PROTOTYPES = 36;

// Grid distances between prototypes, entry [p][q]; only the top-left
// nprotos x nprotos block is meaningful.
using IncidenceMatrix = std::array<std::array<std::int8_t, MAX_PROTOTYPES>, MAX_PROTOTYPES>;

// The one in-memory state of the program. All matrices and vectors come from
// `heap` (declared first, so it outlives them).
struct Workspace {
    explicit Workspace(const Clock& clock = system_clock()) : random(clock) {}
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    Heap heap;

    std::int32_t ndata = 0;
    std::int32_t nvars = 0;
    std::int32_t rows = 0;
    std::int32_t cols = 0;
    std::int32_t nprotos = 0;

    Matrix data;                 // ndata x nvars
    Matrix prototypes;           // nprotos x nvars
    Matrix trial_prototypes;     // nprotos x nvars, scratch
    IntVector winners;           // ndata, 0-based prototype index
    IntVector violation_counts;  // nprotos
    IntVector win_counts;        // nprotos
    RealVector projection_x;     // nprotos
    RealVector projection_y;     // nprotos
    // The winner searches and training moves, with their scratch for the
    // current map (taken with the per-map storage).
    PrototypeKernels kernels{heap};

    IncidenceMatrix incidence{};
    std::string data_file_name;
    DataAnnotations annotations;  // names, labels and scaling of the data matrix
    Availability availability;
    RandomGenerator random;

    // Releases every matrix and vector, as at exit.
    void release_all() noexcept;
};

enum class ImportResult { ok, out_of_memory, read_error };
enum class StorageResult { ok, out_of_memory };

// Stores the counts, replaces the data matrix with a new ndata x nvars one and
// fills it from the file. On a read error the new matrix keeps what was read.
[[nodiscard]] ImportResult import_datavectors(Workspace& ws, const std::string& path, std::int32_t ndata,
                                              std::int32_t nvars);

// Replaces the data matrix with a new ndata x nvars one holding `values` (row
// by row, ndata * nvars of them), and ndata, nvars, the annotations and the
// data file name with the given ones. Without the storage for the new matrix
// the workspace is left exactly as it was.
[[nodiscard]] StorageResult replace_data(Workspace& ws, std::span<const double> values, std::int32_t ndata,
                                         std::int32_t nvars, DataAnnotations annotations,
                                         std::string file_name);

// Re-creates the per-map storage for the current nprotos, ndata and nvars,
// the kernels' scratch last. On failure, what was allocated before the
// failing block stays allocated.
[[nodiscard]] StorageResult allocate_map_storage(Workspace& ws);

// Reads nprotos x nvars values into the prototype matrix. On failure the
// prototype matrix is left exactly as it was (the trial prototype matrix,
// which is scratch, receives the partial read).
[[nodiscard]] ImportResult import_prototypes(Workspace& ws, const std::string& path);

}  // namespace veltra::core
