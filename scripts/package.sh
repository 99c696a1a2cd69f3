#!/usr/bin/env bash
# Builds the Debian package build-pkg/pqdesk_<version>-1_amd64.deb: a Release build of the programs
# the package holds (no tests, no benchmarks) with Debian's hardening flags, then CPack.
# Usage: scripts/package.sh [extra cmake args]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-pkg -G Ninja -DCMAKE_BUILD_TYPE=Release -DPQ_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" "$@" >/dev/null
cmake --build build-pkg --target pqdesk pqdesk-cli pqdesk-cli-render pqdesk-sim pqdesk-package-files
(cd build-pkg && cpack -G DEB >/dev/null)
ls build-pkg/pqdesk_*_amd64.deb
