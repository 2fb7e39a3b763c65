#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UBSan, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
jobs=$(nproc)
export SDL_VIDEODRIVER=${SDL_VIDEODRIVER:-offscreen}
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Sanitised build with the pool off, so AddressSanitizer sees every object.
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMARIVEL_SANITIZE=ON -DMARIVEL_NO_POOL=ON \
  -DMARIVEL_BENCH=OFF -DMARIVEL_DEBUG_INFO=lines >/dev/null
cmake --build build-test -j"$jobs"
ctest --test-dir build-test -j"$jobs" --output-on-failure --timeout 600

# The persistent storage's fuzz target for a few seconds (run tools/fuzz-storage.sh for minutes).
bash tools/fuzz-storage.sh 5

# The shipped configuration (pool on, optimised) for the core library's own tests.
cmake -S . -B build-release -DCMAKE_BUILD_TYPE=Release -DMARIVEL_BENCH=ON >/dev/null
cmake --build build-release -j"$jobs" --target test_core
ctest --test-dir build-release -j"$jobs" --output-on-failure -L core
