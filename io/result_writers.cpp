#include "io/result_writers.h"

#include "io/text_file_writer.h"

namespace veltra::io {

namespace {

bool ends_line(std::size_t k, std::int32_t per_line) noexcept {
    // A per-line count below 1 (never given by the callers) writes no line break.
    return per_line > 0 && k % static_cast<std::size_t>(per_line) == 0;
}

}  // namespace

bool write_prototypes_file(const std::string& path, const core::Matrix& matrix, std::int32_t rows,
                           std::int32_t cols) {
    TextFileWriter file(path);
    for (std::int32_t i = 0; i < rows; ++i) {
        for (std::int32_t j = 0; j < cols; ++j) file.print("%f ", matrix[i][j]);
        file.print("\n");
    }
    return file.close();
}

bool write_frequency_file(const std::string& path, std::span<const std::int32_t> values,
                          std::int32_t per_line) {
    TextFileWriter file(path);
    for (std::size_t k = 1; k <= values.size(); ++k) {
        file.print("%5d ", values[k - 1]);
        if (ends_line(k, per_line)) file.print("\n");
    }
    return file.close();
}

bool write_assignment_file(const std::string& path, std::span<const std::int32_t> winners, std::int32_t start,
                           std::int32_t step, std::int32_t last) {
    // Numbers outside the winner list or a step that never advances cannot be
    // written; the recall dialog never passes them.
    if (start < 1 || step < 1 || (start <= last && static_cast<std::size_t>(last) > winners.size()))
        return false;
    TextFileWriter file(path);
    // 64 bits: start + step must not overflow near the largest last.
    for (std::int64_t k = start; k <= last; k += step)
        file.print("%5d %2d\n", static_cast<int>(k), winners[k - 1] + 1);
    return file.close();
}

bool write_violations_file(const std::string& path, std::span<const std::int32_t> counts,
                           std::int32_t per_line) {
    std::int64_t sum = 0;
    for (const std::int32_t count : counts) sum += count;
    const double divisor = sum == 0 ? 1.0 : static_cast<double>(sum);
    TextFileWriter file(path);
    for (std::size_t k = 1; k <= counts.size(); ++k) {
        file.print("%6.2f ", counts[k - 1] * 100.0 / divisor);
        if (ends_line(k, per_line)) file.print("\n");
    }
    return file.close();
}

bool write_mean_values_file(const std::string& path, core::Heap& heap, std::span<const std::int32_t> winners,
                            const core::Matrix& data, std::int32_t ndata, std::int32_t nprotos,
                            std::int32_t nvars) {
    auto counts = core::alloc_int_vector(heap, nprotos);
    if (!counts) return false;
    auto means = core::alloc_matrix(heap, nprotos, nvars);
    if (!means) return false;
    for (std::int32_t p = 0; p < nprotos; ++p) {
        (*counts)[p] = 0;
        for (std::int32_t v = 0; v < nvars; ++v) (*means)[p][v] = 0.0;
    }
    for (std::int32_t i = 0; i < ndata; ++i) {
        const std::int32_t w = winners[i];
        for (std::int32_t v = 0; v < nvars; ++v) (*means)[w][v] += data[i][v];
        ++(*counts)[w];
    }
    for (std::int32_t p = 0; p < nprotos; ++p) {
        if ((*counts)[p] < 1) continue;
        for (std::int32_t v = 0; v < nvars; ++v) (*means)[p][v] /= (*counts)[p];
    }

    TextFileWriter file(path);
    file.print("vars:\n        ");
    for (std::int32_t v = 1; v <= nvars; ++v) file.print("%9d   ", v);
    for (std::int32_t p = 0; p < nprotos; ++p) {
        file.print("\nprot %2d:\n        ", p + 1);
        for (std::int32_t v = 0; v < nvars; ++v) file.print("%9.4f   ", (*means)[p][v]);
    }
    return file.close();
}

}  // namespace veltra::io
