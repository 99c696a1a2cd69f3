#!/usr/bin/env bash
# Builds PQ Desk in build/ (optimised, with the benchmarks). Usage: scripts/build.sh [extra cmake args]
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
cmake --build build
