#include "core/workspace.h"

#include <algorithm>

#include "io/matrix_reader.h"

namespace veltra::core {

void Workspace::release_all() noexcept {
    release_block(data);
    release_block(winners);
    release_block(violation_counts);
    release_block(win_counts);
    release_block(prototypes);
    release_block(trial_prototypes);
    release_block(projection_x);
    release_block(projection_y);
    kernels.release();
}

namespace {

ImportResult imported(io::ReadResult read) noexcept {
    switch (read) {
        case io::ReadResult::ok:
            return ImportResult::ok;
        case io::ReadResult::out_of_memory:
            return ImportResult::out_of_memory;
        case io::ReadResult::read_error:
            break;
    }
    return ImportResult::read_error;
}

}  // namespace

ImportResult import_datavectors(Workspace& ws, const std::string& path, std::int32_t ndata,
                                std::int32_t nvars) {
    ws.ndata = ndata;
    ws.nvars = nvars;
    ws.annotations.clear();
    release_block(ws.data);
    auto data = alloc_matrix(ws.heap, ndata, nvars);
    if (!data) return ImportResult::out_of_memory;
    ws.data = std::move(*data);
    const io::ReadResult read = io::read_matrix_file(path, ws.data, ndata, nvars, ws.heap);
    if (read == io::ReadResult::out_of_memory) release_block(ws.data);
    return imported(read);
}

StorageResult replace_data(Workspace& ws, std::span<const double> values, std::int32_t ndata,
                           std::int32_t nvars, DataAnnotations annotations, std::string file_name) {
    auto data = alloc_matrix(ws.heap, ndata, nvars);
    if (!data) return StorageResult::out_of_memory;
    const auto row = static_cast<std::size_t>(nvars);
    for (std::int32_t i = 0; i < ndata; ++i)
        std::copy_n(values.begin() + static_cast<std::ptrdiff_t>(i * row), row, (*data)[i]);
    release_block(ws.data);
    ws.data = std::move(*data);
    ws.ndata = ndata;
    ws.nvars = nvars;
    ws.annotations = std::move(annotations);
    ws.data_file_name = std::move(file_name);
    return StorageResult::ok;
}

namespace {

template <class Block, class Allocated>
bool take(Block& field, Allocated allocated) {
    if (!allocated) return false;
    field = std::move(*allocated);
    return true;
}

}  // namespace

StorageResult allocate_map_storage(Workspace& ws) {
    release_block(ws.winners);
    release_block(ws.violation_counts);
    release_block(ws.win_counts);
    release_block(ws.prototypes);
    release_block(ws.trial_prototypes);
    ws.kernels.release();
    const bool ok = take(ws.violation_counts, alloc_int_vector(ws.heap, ws.nprotos)) &&
                    take(ws.trial_prototypes, alloc_matrix(ws.heap, ws.nprotos, ws.nvars)) &&
                    take(ws.winners, alloc_int_vector(ws.heap, ws.ndata)) &&
                    take(ws.win_counts, alloc_int_vector(ws.heap, ws.nprotos)) &&
                    take(ws.prototypes, alloc_matrix(ws.heap, ws.nprotos, ws.nvars)) &&
                    ws.kernels.reserve(ws.nprotos, ws.nvars, ws.ndata);
    return ok ? StorageResult::ok : StorageResult::out_of_memory;
}

ImportResult import_prototypes(Workspace& ws, const std::string& path) {
    const io::ReadResult read =
        io::read_matrix_file(path, ws.trial_prototypes, ws.nprotos, ws.nvars, ws.heap);
    if (read != io::ReadResult::ok) return imported(read);
    copy_matrix(ws.trial_prototypes, ws.prototypes);
    return ImportResult::ok;
}

}  // namespace veltra::core
