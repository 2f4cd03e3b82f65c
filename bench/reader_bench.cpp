#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench_workspace.h"
#include "io/matrix_reader.h"
#include "plain_reader.h"

namespace veltra::bench {
namespace {

constexpr std::int32_t NVARS = 64;

// The data of the 64-variable workspace written as a data file: six decimals,
// blanks between values, a line per datavector.
const std::string& data_file() {
    static const std::string path = [] {
        const std::string name =
            (std::filesystem::temp_directory_path() / ("veltra_bench_" + std::to_string(NDATA) + "x64.txt"))
                .string();
        core::Workspace& ws = bench_workspace(NVARS, 6, 6);
        std::FILE* file = std::fopen(name.c_str(), "w");
        if (!file) return std::string();
        for (std::int32_t i = 0; i < NDATA; ++i) {
            for (std::int32_t k = 0; k < NVARS; ++k)
                std::fprintf(file, k == 0 ? "%.6f" : " %.6f", ws.data[i][k]);
            std::fputc('\n', file);
        }
        std::fclose(file);
        return name;
    }();
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

BENCHMARK(read_data_file<false>)->Name("read_32767x64_file")->Unit(benchmark::kMillisecond);
BENCHMARK(read_data_file<true>)->Name("read_32767x64_file_by_characters")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltra::bench
