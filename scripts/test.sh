#!/usr/bin/env bash
# Installs what is missing, builds every target under AddressSanitizer and UndefinedBehaviorSanitizer
# in build-asan/, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each stage's time, printed at the end (also when a stage fails), so that slow stages show.
stage_times=()
stage_name=""
stage_start=$SECONDS
stage() {
  if [ -n "$stage_name" ]; then
    stage_times+=("$(printf '%-34s %5d s' "$stage_name" $((SECONDS - stage_start)))")
  fi
  stage_name=$1
  stage_start=$SECONDS
}
trap 'stage ""; printf "test.sh: time by stage\n"; printf "  %s\n" "${stage_times[@]}"; printf "  %-34s %5d s\n" total $SECONDS' EXIT

stage "packages"
bash scripts/install-deps.sh
stage "layer check"
# The layer rule first: a core file that includes a window header or Qt, or a folder loop, stops the run.
python3 scripts/check-layers.py
stage "ASan/UBSan build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPQ_SANITIZE=address,undefined \
  -DPQ_BUILD_BENCH=OFF >/dev/null
cmake --build build-asan
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
stage "ASan/UBSan tests"
ctest --test-dir build-asan --output-on-failure -j"$(nproc)"

# The serial library's threads, and the survey's import thread that fills the store while the
# aggregation reads it, once more under ThreadSanitizer, in a core-only tree of its own.
stage "TSan build"
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPQ_SANITIZE=thread -DPQ_BUILD_GUI=OFF \
  -DPQ_BUILD_BENCH=OFF >/dev/null
cmake --build build-tsan --target pq_core_tests
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1
stage "TSan tests"
ctest --test-dir build-tsan --output-on-failure -j"$(nproc)" -R '^(Comm(32|Queue|Package|Device|SerialPortInfo|Settings|Simulator)|Survey)'

# ---- Debian package (scripts/package-test.sh) ----
# Builds the package from a Release build of the programs only and validates it; installs, runs and
# removes it only where this script may install packages (root), and says so otherwise.
stage "package test"
bash scripts/package-test.sh

# --- Hardening: fuzz smoke runs and kill trials ---
# Every libFuzzer target for 30 seconds on its corpus in a clang tree of its own (build-fuzz/); a
# crash fails the run. Then 10 kill trials per save (scripts/kill-trials.sh runs 100 by default).
stage "fuzz smoke runs"
mkdir -p build-fuzz
for target in $(bash scripts/fuzz.sh --list); do
  bash scripts/fuzz.sh "$target" 30 >"build-fuzz/smoke-$target.log" 2>&1 || {
    tail -n 60 "build-fuzz/smoke-$target.log"
    exit 1
  }
done
stage "kill trials"
bash scripts/kill-trials.sh 10
stage "monkey"
bash scripts/monkey.sh 60
