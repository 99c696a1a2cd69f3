#!/usr/bin/env bash
# Installs what is missing, builds the programs, writes a demo record file and a demo user database, and
# starts the program at its login window.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only the three programs it runs (pqdesk-cli brings its Qt-linked twin): the first window comes
# sooner than after scripts/build.sh, which also builds the tests and benchmarks.
source scripts/compiler-cache.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release "${pq_compiler_cache[@]}" >/dev/null
cmake --build build --target pqdesk pqdesk-cli pqdesk-sim
mkdir -p demo
if [ ! -f demo/demo.bin ]; then
  build/bin/pqdesk-cli generate demo/demo.bin --records 1440 --station 城东变电站 --point 10kV出线
fi
# The program never creates its user database; the demo one holds an administrator and a user.
database=build/bin/Pass.mdb
if [ ! -f "$database" ]; then
  build/bin/pqdesk-cli users init --db "$database"
  echo admin123 | build/bin/pqdesk-cli users add admin --role Administrator --db "$database"
  echo user1234 | build/bin/pqdesk-cli users add operator --role User --db "$database"
fi
echo "Demo record file: $(pwd)/demo/demo.bin"
echo "Demo users: admin / admin123 (Administrator), operator / user1234 (User)"
# The instrument simulator plays COM1, the port the live window opens, while the program runs.
build/bin/pqdesk-sim --port 1 >/dev/null &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true' EXIT
build/bin/pqdesk "$@"
