#!/usr/bin/env bash
# Kills pqdesk-cli with SIGKILL at random moments while it saves, and checks after every trial that
# the file is byte for byte the old one or the new one, never a mixture, and that the temporaries of
# killed saves do not pile up (the next save of the same file removes them).
#   scripts/kill-trials.sh [TRIALS]      TRIALS per kind of save, default 100
# Kinds: `delete` on a full-day record file (86 400 records), `report --qrp` and `report --xls` over
# an existing file, `archive add` of a second survey into a SQLite archive. PQDESK_CLI names the
# program (default build-asan/bin/pqdesk-cli).
set -euo pipefail
cd "$(dirname "$0")/.."
trials=${1:-100}
cli=$(realpath "${PQDESK_CLI:-build-asan/bin/pqdesk-cli}")
work=$(mktemp -d "${TMPDIR:-/tmp}/pq-kill-trials-XXXXXX")
trap 'rm -rf "$work"' EXIT
export ASAN_OPTIONS=detect_leaks=0
failures=0

millis() { date +%s%3N; }

# kill_at_random DURATION COMMAND...: runs the command and kills it with SIGKILL at a random moment of
# up to 1.1 x DURATION ms; true when it was still running then.
kill_at_random() {
  local duration=$1
  shift
  "$@" >/dev/null 2>&1 &
  local pid=$! delay=$(( RANDOM * (duration * 11 / 10 + 1) / 32768 )) killed=0
  sleep "$(printf '%d.%03d' $((delay / 1000)) $((delay % 1000)))"
  if kill -9 "$pid" 2>/dev/null; then killed=1; fi
  wait "$pid" 2>/dev/null || true
  (( killed == 1 ))
}

# judge RESULT OLD NEW KEEP: counts the result of a trial in the caller's asOld, asNew or mixed; a
# mixed one is kept as KEEP.
judge() {
  if cmp -s "$1" "$2"; then
    asOld=$((asOld + 1))
  elif cmp -s "$1" "$3"; then
    asNew=$((asNew + 1))
  else
    mixed=$((mixed + 1))
    cp "$1" "$4"
  fi
}

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
    if kill_at_random "$duration" "$@"; then killed=$((killed + 1)); fi
    judge "$target" "$old" "$new" "$work/$name-mixed-$i"
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
# The archive's tables and its listing: what an archive holds, whichever bytes its file has.
archive_state() {
  "$cli" archive list --archive "$1"
  for table in stations points surveys files events gaps survey_notes survey_values archive_migrations; do
    sqlite3 "$1" "SELECT '$table', count(*) FROM $table"
  done
  sqlite3 "$1" "PRAGMA integrity_check"
}

# archive_trials: kills `archive add` of a second survey at random moments; opened again (SQLite rolls
# back what a killed writer left in its journal), the archive holds the first survey alone or both
# whole, never a part of the second.
archive_trials() {
  local old="$work/archive-old.db" target="$work/archive.db" start duration killed=0 asOld=0 asNew=0 mixed=0
  "$cli" archive add "$work/first.bin" --archive "$old" >/dev/null
  cp "$old" "$target"
  start=$(millis)
  "$cli" archive add "$work/hours.bin" --archive "$target" >/dev/null
  duration=$(( $(millis) - start ))
  archive_state "$old" >"$work/state-old"
  archive_state "$target" >"$work/state-new"
  cmp -s "$work/state-old" "$work/state-new" && { echo "archive add: an uninterrupted run adds nothing"; exit 1; }
  for ((i = 0; i < trials; ++i)); do
    rm -f "$target" "$target-journal"
    cp "$old" "$target"
    if kill_at_random "$duration" "$cli" archive add "$work/hours.bin" --archive "$target"; then
      killed=$((killed + 1))
    fi
    archive_state "$target" >"$work/state"
    judge "$work/state" "$work/state-old" "$work/state-new" "$work/archive-mixed-$i"
  done
  echo "archive add: $trials trials (${duration} ms an add), killed $killed, first survey alone $asOld," \
    "both $asNew, a part $mixed"
  if (( mixed > 0 )); then failures=$((failures + 1)); fi
}
"$cli" generate "$work/first.bin" --records 60 --start "2010-04-18 08:00:00" >/dev/null
archive_trials

exit $(( failures > 0 ))
