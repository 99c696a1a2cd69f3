#!/usr/bin/env bash
# Builds the Debian package build-pkg/pqdesk_<version>-1_amd64.deb: a Release build of the programs
# the package holds with Debian's hardening flags, then CPack.
# Usage: scripts/package.sh [--all] [extra cmake args]
#   --all  builds every target of the tree, tests and benchmarks too, before packing, so that one
#          Release build both checks that everything compiles at -O3 with these flags and gives the
#          package (scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(--target pqdesk pqdesk-cli pqdesk-cli-render pqdesk-sim pqdesk-package-files)
bench=OFF
if [ "${1:-}" = --all ]; then
  targets=()
  bench=ON
  shift
fi
bash scripts/install-deps.sh
source scripts/compiler-cache.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
# Without -g: CPack strips the programs, so the debugging information would only cost build time. A
# unity build (cmake/UnityBuild.cmake), since this tree is built from scratch rather than edited.
export DEB_CXXFLAGS_MAINT_STRIP=-g
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DPQ_BUILD_BENCH=$bench -DCMAKE_UNITY_BUILD=ON \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "${pq_compiler_cache[@]}" "$@" >/dev/null
cmake --build build-pkg "${targets[@]}"
(cd build-pkg && cpack -G DEB >/dev/null)
ls build-pkg/pqdesk_*_amd64.deb
