#!/usr/bin/env bash
# Builds PQ Desk in build/ (optimised, with the benchmarks). Usage: scripts/build.sh [extra cmake args]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${pq_compiler_cache[@]}" "$@" >/dev/null
cmake --build build
