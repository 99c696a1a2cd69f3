#!/usr/bin/env bash
# Installs what is missing, builds PQ Desk, writes a demo record file and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh
mkdir -p demo
if [ ! -f demo/demo.bin ]; then
  build/bin/pqdesk-cli generate demo/demo.bin --records 1440 --station 城东变电站 --point 10kV出线
fi
echo "Demo record file: $(pwd)/demo/demo.bin"
# The instrument simulator plays COM1, the port the live window opens, while the program runs.
build/bin/pqdesk-sim --port 1 >/dev/null &
simulator=$!
trap 'kill "$simulator" 2>/dev/null || true' EXIT
build/bin/pqdesk "$@"
