#!/usr/bin/env bash
# Builds Veltra and runs it: the desktop program when a display is available,
# otherwise the bundled example session, whose results land in data/out/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DVELTRA_BUILD_TESTS=OFF >/dev/null
cmake --build build/release -j"$(nproc)"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  exec build/release/ui/qt/veltra
fi

echo "No display: running the example session data/example_session.veltra"
build/release/batch/veltra-batch --time 1000000000 data/example_session.veltra
echo "Results are in $(pwd)/data/out/"
