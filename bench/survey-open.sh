#!/usr/bin/env bash
# Times `pqdesk-cli survey` over 7 (and, for the memory, 31) generated full-day record files (86 400
# one-second records each, 160 MB, in the page cache) against `pqdesk-cli info` on one of them.
# Usage: bench/survey-open.sh [BUILD_DIR] [RUNS]   (default build, 11 runs)
# The files are generated once into a temporary folder (31 days need 5 GB of it: TMPDIR). Each run
# starts info and the 7-day survey one after the other, in an order that alternates, so that a busy
# moment of the shared machine falls on both; the ratio is the median of the per-run ratios. Peak
# memory is the maximum resident set through /usr/bin/time.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-11}
cli="$build/bin/pqdesk-cli"
[ -x "$cli" ] || { echo "no $cli: build pqdesk-cli first (Release)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for day in $(seq 1 31); do
  "$cli" generate "$work/day$(printf %02d "$day").bin" --records 86400 --interval 1 --seed "$day" \
    --start "2010-05-$(printf %02d "$day") 00:00:00" >/dev/null
done

python3 - "$cli" "$work" "$runs" <<'PY'
import glob, os, statistics, subprocess, sys, time
cli, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
days = sorted(glob.glob(os.path.join(work, "day*.bin")))
info = [cli, "info", days[0]]
week = [cli, "survey", *days[:7]]
month = [cli, "survey", *days]

def cached(paths):
    for p in paths:
        with open(p, "rb") as f:
            while f.read(1 << 24):
                pass

def run(argv):
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        child = subprocess.Popen(argv, stdout=null, stderr=null)
        _, status, usage = os.wait4(child.pid, 0)
    if status != 0:
        sys.exit(f"{' '.join(argv[:2])} failed ({status})")
    return time.perf_counter() - start, usage.ru_utime + usage.ru_stime

def peak_kib(argv):
    out = subprocess.run(["/usr/bin/time", "-f", "%M", *argv], stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True, check=True).stderr
    return int(out.split()[-1])

cached(days[:7])
run(info), run(week)
pairs = []
for i in range(runs):
    order = [info, week] if i % 2 == 0 else [week, info]
    r = {id(a): run(a) for a in order}
    pairs.append((r[id(info)], r[id(week)]))
med = statistics.median
load = os.getloadavg()
print(f"{runs} paired runs, {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}, "
      f"load average {load[0]:.1f} {load[1]:.1f} {load[2]:.1f}, {os.cpu_count()} cores")
print()
print("| command | wall (median) | CPU (median) | peak memory |")
print("|---|---|---|---|")
peaks = {"info": peak_kib(info), "week": peak_kib(week)}
print(f"| `info` (1 day) | {med([p[0][0] for p in pairs]) * 1000:.0f} ms | {med([p[0][1] for p in pairs]) * 1000:.0f} ms | {peaks['info'] / 1024:.1f} MiB |")
print(f"| `survey` (7 days) | {med([p[1][0] for p in pairs]) * 1000:.0f} ms | {med([p[1][1] for p in pairs]) * 1000:.0f} ms | {peaks['week'] / 1024:.1f} MiB |")
cached(days)
start = time.perf_counter()
peaks["month"] = peak_kib(month)
print(f"| `survey` (31 days, one run) | {(time.perf_counter() - start) * 1000:.0f} ms | | {peaks['month'] / 1024:.1f} MiB |")
print()
print(f"survey of 7 ÷ info, paired: {med([w[0] / i[0] for i, w in pairs]):.2f}× wall, "
      f"{med([w[1] / i[1] for i, w in pairs]):.2f}× CPU")
for name, n in (("week", 7), ("month", 31)):
    allowed = 1.5 * peaks["info"] + 4 * 1024 * n
    print(f"peak of {n} days: {peaks[name] / 1024:.1f} MiB of the allowed {allowed / 1024:.1f} MiB "
          f"(1.5 × info + 4 MiB per day)")
PY
