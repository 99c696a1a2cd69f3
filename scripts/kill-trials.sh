#!/usr/bin/env bash
# Kills pqdesk-cli with SIGKILL at random moments while it saves, and checks after every trial that
# the file is byte for byte the old one or the new one, never a mixture, and that the temporaries of
# killed saves do not pile up (the next save of the same file removes them).
#   scripts/kill-trials.sh [TRIALS]      TRIALS per kind of save, default 100
# Kinds: `delete` on a full-day record file (86 400 records), `report --qrp` and `report --xls` over
# an existing file. PQDESK_CLI names the program (default build-asan/bin/pqdesk-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
trials=${1:-100}
cli=$(realpath "${PQDESK_CLI:-build-asan/bin/pqdesk-cli}")
work=$(mktemp -d "${TMPDIR:-/tmp}/pq-kill-trials-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0
failures=0

millis() { date +%s%3N; }

# trial_kind NAME TARGET OLD NEW COMMAND...: TARGET is reset to OLD before each trial; the command,
# run to its end, turns it into NEW.
trial_kind() {
  local name=$1 target=$2 old=$3 new=$4
  shift 4
  local folder base start duration killed=0 asOld=0 asNew=0 mixed=0 mostTemporaries=0
  folder=$(dirname "$target")
  base=$(basename "$target")
  cp "$old" "$target"
  start=$(millis)
  "$@" >/dev/null 2>&1
  duration=$(( $(millis) - start ))
  cmp -s "$target" "$new" || { echo "$name: an uninterrupted run does not give the new file"; exit 1; }
  for ((i = 0; i < trials; ++i)); do
    cp "$old" "$target"
    "$@" >/dev/null 2>&1 &
    local pid=$! delay=$(( RANDOM * (duration * 11 / 10 + 1) / 32768 ))
    sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
    if kill -9 "$pid" 2>/dev/null; then killed=$((killed + 1)); fi
    wait "$pid" 2>/dev/null || true
    if cmp -s "$target" "$old"; then
      asOld=$((asOld + 1))
    elif cmp -s "$target" "$new"; then
      asNew=$((asNew + 1))
    else
      mixed=$((mixed + 1))
      cp "$target" "$work/$name-mixed-$i"
    fi
    local temporaries
    temporaries=$(find "$folder" -maxdepth 1 -name ".$base.tmp-*" | wc -l)
    (( temporaries > mostTemporaries )) && mostTemporaries=$temporaries
  done
  # One more save, to its end, clears what the last kill left.
  cp "$old" "$target"
  "$@" >/dev/null 2>&1
  local left
  left=$(find "$folder" -maxdepth 1 -name ".$base.tmp-*" | wc -l)
  echo "$name: $trials trials (${duration} ms a save), killed $killed, old file $asOld, new file $asNew," \
    "mixed $mixed; temporaries at most $mostTemporaries, after a full save $left"
  # A kill between a save creating its temporary and removing the stale ones leaves two; the next
  # save removes both, so more than two would be a pile-up.
  if (( mixed > 0 || mostTemporaries > 2 || left > 0 )); then failures=$((failures + 1)); fi
}

"$cli" generate "$work/day.bin" --records 86400 >/dev/null
cp "$work/day.bin" "$work/day-old.bin"
cp "$work/day.bin" "$work/day-new.bin"
"$cli" delete "$work/day-new.bin" --first 43200 --count 100 >/dev/null
trial_kind delete "$work/day.bin" "$work/day-old.bin" "$work/day-new.bin" \
  "$cli" delete "$work/day.bin" --first 43200 --count 100

"$cli" generate "$work/hours.bin" --records 1440 >/dev/null
for kind in qrp xls; do
  "$cli" report "$work/hours.bin" --phase Ia --level 10KV --print-date 2026-12-10 "--$kind" "$work/old.$kind"
  "$cli" report "$work/hours.bin" --phase Ua --level 10KV --print-date 2026-12-10 "--$kind" "$work/new.$kind"
  trial_kind "report --$kind" "$work/out.$kind" "$work/old.$kind" "$work/new.$kind" \
    "$cli" report "$work/hours.bin" --phase Ua --level 10KV --print-date 2026-12-10 "--$kind" "$work/out.$kind"
done
exit $(( failures > 0 ))
