#!/usr/bin/env bash
# Installs what is missing and checks everything: the layer rule; every target built under
# AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/ and every test run there; a Release
# build of every target with the package's flags in build-pkg/, the package made from it and tested;
# the tests of the code that runs threads under ThreadSanitizer in build-tsan/; every libFuzzer target in
# build-fuzz/; the kill trials; a minute of random input in the windows (scripts/monkey.sh).
#
# Two lanes run at once. Lane A: the sanitizer build, the tests, the kill trials. Lane B: the Release
# build and the package test, ThreadSanitizer, the fuzz targets. The tests mostly wait on
# subprocesses, pseudo-terminals and timers, and a build leaves cores idle while it links, so the other
# lane fills them. Lane B's output goes to build-logs/lane-b.log, shown when it fails.
# The trees are unity builds (cmake/UnityBuild.cmake) and go through ccache when it is installed
# (scripts/compiler-cache.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/compiler-cache.sh
mkdir -p build-logs
jobs=$(nproc)

# Each stage's wall time and CPU time (user and system time of its processes), printed at the end, also
# when a stage fails, so that slow stages show. Lanes run side by side, so a stage's CPU time can
# exceed its wall time and the stages' wall times add up to more than the total.
timings=build-logs/stage-times
: >"$timings"
lane=A
stage_name=""
stage() {
  local now=$SECONDS cpu times_file=$timings.$BASHPID
  # `times` in this shell: in a command substitution it would count the subshell's children.
  times >"$times_file"
  cpu=$(awk 'NR == 2 { split($1, u, /[ms]/); split($2, s, /[ms]/); print u[1] * 60 + u[2] + s[1] * 60 + s[2] }' \
    "$times_file")
  # Lane B's CPU time comes to lane A when its shell is reaped, whenever it ends: taken out again.
  if [ "$lane" = A ] && [ -n "$lane_b_pid" ] && ! kill -0 "$lane_b_pid" 2>/dev/null; then
    cpu=$(awk "BEGIN { print $cpu - $(cat "$timings.lane-b") }")
  fi
  if [ -n "$stage_name" ]; then
    echo "$stage_start $now $(awk "BEGIN { print $cpu - $stage_cpu }") $lane $stage_name" >>"$timings"
  fi
  stage_name=$1
  stage_start=$now
  stage_cpu=$cpu
}
lane_b=""
lane_b_pid=""
report() {
  stage ""
  if [ -n "$lane_b" ] && kill -0 "$lane_b" 2>/dev/null; then
    kill -- -"$lane_b" 2>/dev/null || true
    wait "$lane_b" 2>/dev/null || true
  fi
  echo "test.sh: time by stage (wall, CPU; from the start)"
  sort -n "$timings" | awk -v seconds="$SECONDS" '
    { name = $5; for (i = 6; i <= NF; ++i) name = name " " $i
      cpu = $3; total += cpu
      printf "  %s  %-36s %5d s %6.0f s CPU  (%d s to %d s)\n", $4, name, $2 - $1, cpu, $1, $2 }
    END { printf "     %-36s %5d s %6.0f s CPU\n", "total", seconds, total }'
}
trap report EXIT

# run_gtest BINARY SHARDS [GoogleTest options]: the shards of one test executable at once, each in its
# own process; a failing shard's output is shown.
run_gtest() {
  local binary=$1 shards=$2 name pids=() failed=0 i
  shift 2
  # The tree's name too: lane B's shards of one tree may run while lane A's of another do.
  name=$(basename "$(dirname "$(dirname "$binary")")")-$(basename "$binary")
  for ((i = 0; i < shards; ++i)); do
    GTEST_TOTAL_SHARDS=$shards GTEST_SHARD_INDEX=$i timeout 1500 "$binary" "$@" \
      >"build-logs/$name-$i.log" 2>&1 &
    pids+=($!)
  done
  for ((i = 0; i < shards; ++i)); do
    if wait "${pids[$i]}"; then
      echo "$name, shard $((i + 1)) of $shards: $(grep '^\[  PASSED  \]' "build-logs/$name-$i.log")"
    else
      echo "$name, shard $((i + 1)) of $shards FAILED (build-logs/$name-$i.log):"
      grep -v '^\[       OK \]\|^\[ RUN      \]' "build-logs/$name-$i.log" | tail -n 200
      failed=1
    fi
  done
  return $failed
}

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS="suppressions=$(pwd)/scripts/lsan.supp:print_suppressions=0"
export TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1

stage "packages"
bash scripts/install-deps.sh
stage "layer check"
# The layer rule first: a core file that includes a window header or Qt, or a folder loop, stops the run.
python3 scripts/check-layers.py
stage ""

lane_b_stages() {
  lane=B
  # At its end, the lane's own and its processes' CPU time, for lane A's accounting.
  trap 'stage ""; times >"$timings.$BASHPID"; awk "{ for (i = 1; i <= 2; ++i) { split(\$i, t, /[ms]/);
    cpu += t[1] * 60 + t[2] } } END { print cpu }" "$timings.$BASHPID" >"$timings.lane-b"' EXIT
  # One Release tree of everything (tests and benchmarks too: an -O3 build once failed in a test file
  # that the Debug build compiled) with Debian's hardening flags, which the package is made from.
  stage "Release build (everything)"
  bash scripts/package.sh --all
  # Validates the package; as root installs, runs and removes it.
  stage "package test"
  bash scripts/package-test.sh --built

  # The tests of code that runs threads (the serial library's, the survey's decoding thread that fills
  # the next chunk of records while the pass reads the one before) once more under ThreadSanitizer, in a
  # core-only tree of its own that builds their program only (pq_threaded_tests, tests/CMakeLists.txt).
  stage "TSan build"
  cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPQ_SANITIZE=thread -DPQ_BUILD_GUI=OFF \
    -DPQ_BUILD_BENCH=OFF -DCMAKE_UNITY_BUILD=ON "${pq_compiler_cache[@]}" >/dev/null
  cmake --build build-tsan -j "$jobs" --target pq_threaded_tests
  stage "TSan tests"
  run_gtest build-tsan/bin/pq_threaded_tests 2

  # Every libFuzzer target for 20 seconds, two at a time, from its corpus (the long campaign's,
  # minimised); a crash fails the run.
  stage "fuzz build"
  bash scripts/fuzz.sh --build
  stage "fuzz smoke runs"
  bash scripts/fuzz.sh --list | xargs -P 2 -I '{}' bash -c '
    bash scripts/fuzz.sh --no-build "$1" 20 >"build-logs/fuzz-$1.log" 2>&1 || {
      echo "fuzz target $1 FAILED:"; tail -n 60 "build-logs/fuzz-$1.log"; exit 1; }' _ '{}'
}
set -m
lane_b_stages >build-logs/lane-b.log 2>&1 &
lane_b=$!
lane_b_pid=$lane_b
set +m

stage "ASan/UBSan build"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPQ_SANITIZE=address,undefined \
  -DPQ_BUILD_BENCH=OFF -DCMAKE_UNITY_BUILD=ON "${pq_compiler_cache[@]}" >/dev/null
cmake --build build-asan -j "$jobs"
stage "ASan/UBSan tests"
# Both test executables in shards at once, the window tests on Qt's offscreen platform.
run_gtest build-asan/bin/pq_core_tests 3 &
core_tests=$!
run_gtest build-asan/bin/pq_ui_tests 3 &
ui_tests=$!
# The tests that are scripts rather than GoogleTest cases (workbooks read back by openpyxl and
# LibreOffice), labelled "script" in CTest.
ctest --test-dir build-asan -L script --output-on-failure >build-logs/script-tests.log 2>&1 &
script_tests=$!
tests_failed=0
wait $core_tests || tests_failed=1
wait $ui_tests || tests_failed=1
if ! wait $script_tests; then
  tail -n 100 build-logs/script-tests.log
  tests_failed=1
fi
grep 'tests passed' build-logs/script-tests.log || true
[ $tests_failed = 0 ]

# 10 kill trials per save (scripts/kill-trials.sh runs 100 by default).
stage "kill trials"
bash scripts/kill-trials.sh 10
# A minute of random clicks, keys and text in the windows of the ASan/UBSan build (docs/reliability.md).
stage "monkey"
bash scripts/monkey.sh 60

stage "waiting for lane B"
if ! wait "$lane_b"; then
  lane_b=""
  echo "test.sh: lane B FAILED (build-logs/lane-b.log):"
  tail -n 80 build-logs/lane-b.log
  exit 1
fi
lane_b=""
grep '^package-test\|^build-tsan-\|^lintian' build-logs/lane-b.log || true
