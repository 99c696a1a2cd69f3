#!/usr/bin/env bash
# Random clicks, keys and typed text (CJK, digits, letters, control keys) into whatever window of
# the ASan/UBSan build of pqdesk is in front, under Xvfb, for SECONDS seconds; the event loop is
# scripts/monkey.py.
#   scripts/monkey.sh SECONDS [SEED]      SEED defaults to a new one; the run prints it
# The run passes when the program is alive at the end or ended only with status 0 (its own exits:
# a wrong password, the exit commands, cancelling the port settings; it is then started again), no
# sanitizer report was written, and the record file and the user database still read afterwards.
# Everything happens in a temporary folder: copies of the programs (their user database and COM1
# link live beside them), HOME, the working folder with the record file (loaded at every start) and
# the two files of a survey. Started as root, the
# program, the simulator and the event loop run as nobody, so that a file dialog the monkey wanders
# through can change nothing outside that folder. No printer is reachable (CUPS is pointed at a
# socket that does not exist). The folder stays when the run fails; on a pass only its log
# (monkey.log: every event and the window it went to) is kept.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/monkey.sh SECONDS [SEED]}
seed=${2:-$(( $(date +%s%N) % 2147483647 ))}
echo "monkey: seed $seed, $seconds s"

build=build-asan
programs=(pqdesk pqdesk-cli pqdesk-sim)
missing=()
for program in "${programs[@]}"; do [ -x "$build/bin/$program" ] || missing+=("$program"); done
if [ ${#missing[@]} -gt 0 ]; then
  [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DPQ_SANITIZE=address,undefined -DPQ_BUILD_BENCH=OFF >/dev/null
  cmake --build "$build" --target "${missing[@]}"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/pq-monkey-XXXXXX")
mkdir -p "$work/program" "$work/home" "$work/files" "$work/sanitizer" "$work/runtime"
cp scripts/monkey.py "$work/"
chmod 700 "$work/runtime"
# pqdesk-cli-render is the command line's Qt-linked twin, which pqdesk-cli hands pictures to.
for program in "${programs[@]}" pqdesk-cli-render; do
  if [ -x "$build/bin/$program" ]; then cp "$build/bin/$program" "$work/program/"; fi
done
cli=$work/program/pqdesk-cli
database=$work/program/Pass.mdb
records=$work/files/monkey.bin
user=monkey password=m0nkey-pw
export ASAN_OPTIONS=detect_leaks=0
"$cli" generate "$records" --records 1440 --station 城东变电站 --point 10kV出线 >/dev/null
# Two days of one survey beside it, for the survey's file dialog (monkey.py types both names).
"$cli" generate "$work/files/day1.bin" --records 720 --interval 120 --start "2010-04-20 00:00:00" \
  --station 城东变电站 --point 10kV出线 >/dev/null
"$cli" generate "$work/files/day2.bin" --records 720 --interval 120 --start "2010-04-21 00:00:00" \
  --station 城东变电站 --point 10kV出线 --seed 2 >/dev/null
"$cli" users init --db "$database"
printf '%s\n%s\n' "$password" "$password" | "$cli" users add "$user" --role Administrator --db "$database" >/dev/null

# The port settings offer the system's serial devices and COM1 to COM4; every one but the
# simulator's COM1 is linked to nothing, so the program never opens a real device.
ports=(2 3 4)
for tty in /sys/class/tty/tty{S,USB,ACM}*; do
  [ -e "$tty/device" ] || continue
  name=${tty##*/}
  case $name in
    ttyS*) ports+=($((${name#ttyS} + 1))) ;;
    ttyUSB*) ports+=($((${name#ttyUSB} + 101))) ;;
    ttyACM*) ports+=($((${name#ttyACM} + 201))) ;;
  esac
done
mkdir -p "$work/program/ports"
for port in "${ports[@]}"; do [ "$port" = 1 ] || ln -sfn "$work/no-device" "$work/program/ports/COM$port"; done

as_monkey=()
python=python3
if [ "$(id -u)" = 0 ]; then
  chown -R nobody:nogroup "$work"
  as_monkey=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
  # The system's own, which nobody may run (a python3 first on root's PATH may live in root's home).
  python=/usr/bin/python3
fi

cleanup() {
  [ -n "${simulator:-}" ] && kill "$simulator" 2>/dev/null && wait "$simulator" 2>/dev/null
  [ -n "${xserver:-}" ] && kill "$xserver" 2>/dev/null && wait "$xserver" 2>/dev/null
  return 0
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and writes it to the descriptor.
Xvfb -displayfd 3 -screen 0 1366x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xserver=$!
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "monkey: Xvfb did not start"; cat "$work/xvfb.log"; exit 1; }
export DISPLAY=:$(cat "$work/display")

"${as_monkey[@]}" "$work/program/pqdesk-sim" --port 1 >"$work/simulator.log" 2>&1 &
simulator=$!

status=0
(
  cd "$work/files"
  export HOME=$work/home XDG_RUNTIME_DIR=$work/runtime CUPS_SERVER=$work/no-cups.sock
  export QT_QPA_PLATFORM=xcb
  export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:halt_on_error=1:log_path=$work/sanitizer/asan
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1:log_path=$work/sanitizer/ubsan
  exec "${as_monkey[@]}" "$python" "$work/monkey.py" --seconds "$seconds" --seed "$seed" \
    --program "$work/program/pqdesk" --folder "$work/files" --record-file "${records##*/}" \
    --survey-files day1.bin day2.bin \
    --user "$user" --password "$password" \
    --log "$work/monkey.log" --sanitizer-folder "$work/sanitizer" --program-output "$work/pqdesk.out"
) || status=1

# What the monkey may have changed must still read: the record file (it may have lost records to the
# history window's deletion) and the user database.
export ASAN_OPTIONS=detect_leaks=0
if "$cli" info "$records" >"$work/info.txt" 2>&1; then
  echo "record file: reads ($(grep "^records:" "$work/info.txt"))"
else
  echo "record file: does not read:"; cat "$work/info.txt"; status=1
fi
if "$cli" users list --db "$database" >"$work/users.txt" 2>&1; then
  echo "user database: reads ($(wc -l <"$work/users.txt") users)"
else
  echo "user database: does not read:"; cat "$work/users.txt"; status=1
fi
for report in "$work"/sanitizer/*; do
  [ -e "$report" ] || continue
  echo "sanitizer report $report:"; head -n 60 "$report"; status=1
done

if [ $status = 0 ]; then
  echo "monkey: pass (seed $seed); log: $work/monkey.log"
  find "$work" -mindepth 1 -maxdepth 1 ! -name monkey.log -exec rm -rf {} +
  chmod 755 "$work"
else
  echo "monkey: FAIL (seed $seed); replay with: scripts/monkey.sh $seconds $seed; folder: $work"
fi
exit $status
