#!/usr/bin/env bash
# Builds everything and runs every test: a normal build with warnings as
# errors, the same suite under the address and undefined-behaviour
# sanitizers, and each fuzzer for a short while.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
jobs=$(nproc)
fuzz_seconds=${VELTRA_FUZZ_SECONDS:-30}
export QT_QPA_PLATFORM=offscreen

echo "== Format"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror

echo "== Normal build"
cmake -S . -B build/test -DCMAKE_BUILD_TYPE=Release -DVELTRA_WERROR=ON -DVELTRA_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/test -j"$jobs"
ctest --test-dir build/test --output-on-failure -j"$jobs"

echo "== Sanitizer build (address, undefined behaviour)"
# An extension built with the sanitizers cannot load into the plain interpreter.
cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DVELTRA_SANITIZE=ON -DVELTRA_BUILD_PYTHON=OFF >/dev/null
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(pwd)/scripts/lsan.supp \
  UBSAN_OPTIONS=print_stacktrace=1 ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

echo "== Fuzzers (${fuzz_seconds} s each)"
CXX=clang++ cmake -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELTRA_BUILD_FUZZERS=ON \
  -DVELTRA_BUILD_TESTS=OFF -DVELTRA_BUILD_QT=OFF -DVELTRA_BUILD_PYTHON=OFF >/dev/null
fuzzers="matrix_reader script_reader session field_reading table_reader"
cmake --build build/fuzz -j"$jobs" --target $(for f in $fuzzers; do printf '%s_fuzzer ' "$f"; done)
for fuzzer in $fuzzers; do
  corpus=build/fuzz/corpus/$fuzzer
  mkdir -p "$corpus"
  cp -r fuzz/corpus/$fuzzer/. "$corpus"/
  build/fuzz/fuzz/${fuzzer}_fuzzer -max_total_time="$fuzz_seconds" -print_final_stats=1 "$corpus" 2>&1 | tail -n 15
done
echo "== All tests passed"
