#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/) with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer in build-fuzz/, then runs one target for SECONDS seconds.
#   scripts/fuzz.sh TARGET SECONDS [libFuzzer options...]
#   scripts/fuzz.sh --build    builds every target
#   scripts/fuzz.sh --list     prints the targets' names
#   scripts/fuzz.sh --no-build TARGET SECONDS ...   runs a target as --build left it, so that
#                              several can run at once
# The seeds in fuzz/corpus/TARGET are read only; what the run adds goes to build-fuzz/corpus/TARGET,
# a crashing input to build-fuzz/crashes/. The exit status is libFuzzer's: non-zero on a crash.
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(fuzz_record_import fuzz_report_file fuzz_field_checks fuzz_cli_arguments)
[ -f fuzz/fuzz_live_answers.cpp ] && targets+=(fuzz_live_answers)
if [ "${1:-}" = --list ]; then
  printf '%s\n' "${targets[@]}"
  exit 0
fi
build=1
if [ "${1:-}" = --no-build ]; then
  build=0
  shift
fi
if [ $build = 1 ]; then
  source scripts/compiler-cache.sh
  # A unity build (cmake/UnityBuild.cmake) like the other trees: the test command builds this one from
  # scratch on a fresh clone.
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DPQ_SANITIZE=address,undefined -DPQ_BUILD_FUZZ=ON -DPQ_BUILD_GUI=OFF -DPQ_BUILD_BENCH=OFF \
    -DCMAKE_UNITY_BUILD=ON "${pq_compiler_cache[@]}" >/dev/null
fi
if [ "${1:-}" = --build ]; then
  cmake --build build-fuzz --target "${targets[@]}"
  exit 0
fi
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS [options] | --build}
seconds=${2:?usage: scripts/fuzz.sh TARGET SECONDS [options] | --build}
shift 2
if [ $build = 1 ]; then cmake --build build-fuzz --target "$target"; fi
# Absolute paths: a target may change its working folder.
top=$(pwd)
mkdir -p "build-fuzz/corpus/$target" build-fuzz/crashes
options=(-max_total_time="$seconds" -timeout=60 -rss_limit_mb=4096 -print_final_stats=1
  -artifact_prefix="$top/build-fuzz/crashes/$target-")
[ -f "fuzz/$target.dict" ] && options+=(-dict="$top/fuzz/$target.dict")
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
exec "$top/build-fuzz/bin/$target" "${options[@]}" "$@" "$top/build-fuzz/corpus/$target" \
  "$top/fuzz/corpus/$target" </dev/null
