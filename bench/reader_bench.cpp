#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_workspace.h"
#include "io/matrix_reader.h"
#include "io/table_reader.h"
#include "plain_reader.h"

namespace veltra::bench {
namespace {

constexpr std::int32_t NVARS = 64;

// The data of the 64-variable workspace written as a text file: six
// decimals, `separator` between values, a line per datavector, and with
// `header` a first line of names v1 ... v64.
std::string write_data_file(const char* suffix, char separator, bool header) {
    const std::string name =
        (std::filesystem::temp_directory_path() / ("veltra_bench_" + std::to_string(NDATA) + "x64" + suffix))
            .string();
    core::Workspace& ws = bench_workspace(NVARS, 6, 6);
    std::FILE* file = std::fopen(name.c_str(), "w");
    if (!file) return std::string();
    for (std::int32_t k = 0; header && k < NVARS; ++k) {
        if (k > 0) std::fputc(separator, file);
        std::fprintf(file, "v%d", k + 1);
    }
    if (header) std::fputc('\n', file);
    for (std::int32_t i = 0; i < NDATA; ++i) {
        for (std::int32_t k = 0; k < NVARS; ++k) {
            if (k > 0) std::fputc(separator, file);
            std::fprintf(file, "%.6f", ws.data[i][k]);
        }
        std::fputc('\n', file);
    }
    std::fclose(file);
    return name;
}

const std::string& data_file() {
    static const std::string path = write_data_file(".txt", ' ', false);
    return path;
}

template <bool PLAIN>
void read_data_file(benchmark::State& state) {
    const std::string& path = data_file();
    core::Heap heap;
    auto matrix = core::alloc_matrix(heap, NDATA, NVARS);
    if (path.empty() || !matrix) {
        state.SkipWithError("no data file or no memory");
        return;
    }
    for (auto _ : state) {
        const bool ok = PLAIN ? read_matrix_file_by_characters(path, *matrix, NDATA, NVARS)
                              : io::read_matrix_file(path, *matrix, NDATA, NVARS, heap) == io::ReadResult::ok;
        if (!ok) state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

// The same numbers as a CSV table with a header, through the table reader.
void read_table_file(benchmark::State& state) {
    static const std::string path = write_data_file(".csv", ',', true);
    for (auto _ : state) {
        const io::TableReadResult table = io::read_table_file(path, {});
        const auto* read = std::get_if<io::Table>(&table);
        if (read == nullptr || read->ndata != NDATA || read->nvars != NVARS)
            state.SkipWithError("read failed");
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}

BENCHMARK(read_data_file<false>)->Name("read_32767x64_file")->Unit(benchmark::kMillisecond);
BENCHMARK(read_data_file<true>)->Name("read_32767x64_file_by_characters")->Unit(benchmark::kMillisecond);
BENCHMARK(read_table_file)->Name("read_32767x64_csv_table")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltra::bench
