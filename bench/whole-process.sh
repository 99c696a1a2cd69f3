#!/usr/bin/env bash
# Times whole pqdesk-cli runs as the shell sees them on a full-day record file (86 400 records,
# 160 MB, in the page cache) against `wc -l` and `cat >/dev/null` on the same bytes.
# Usage: bench/whole-process.sh [BUILD_DIR] [RUNS] [BASELINE_BUILD_DIR]   (default build, 31 runs)
# With a baseline build (e.g. of an earlier commit), its info and report runs join the rotation.
# Each run starts the four commands one after another, in an order that rotates from run to run, so
# that a busy moment of the machine falls on all of them; the ratios are medians of the per-run
# ratios, which is what makes them usable on a shared machine. CPU is user + system time of the
# process (wait4), peak memory its maximum resident set.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-31}
baseline=${3:+$3/bin/pqdesk-cli}
cli="$build/bin/pqdesk-cli"
[ -x "$cli" ] || { echo "no $cli: build pqdesk-cli first (Release)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/day.bin"
"$cli" generate "$file" --records 86400 >/dev/null
cat "$file" >/dev/null

python3 - "$cli" "$file" "$runs" "$work/r.json" "$baseline" <<'PY'
import os, statistics, subprocess, sys, time
cli, path, runs, json_out, baseline = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4], sys.argv[5]
commands = {
    "pqdesk-cli info": [cli, "info", path],
    "pqdesk-cli report --phase Ua --json": [cli, "report", path, "--phase", "Ua", "--json", json_out],
    "wc -l": ["wc", "-l", path],
    "cat >/dev/null": ["cat", path],
}
if baseline:
    commands["baseline info"] = [baseline, "info", path]
    commands["baseline report --phase Ua --json"] = [baseline, "report", path, "--phase", "Ua", "--json", json_out]
names = list(commands)

def run(argv):
    start = time.perf_counter()
    with open(os.devnull, "wb") as null:
        child = subprocess.Popen(argv, stdout=null)
        _, status, usage = os.wait4(child.pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f"{' '.join(argv)} failed ({status})")
    return wall, usage.ru_utime + usage.ru_stime

def peak_kib(argv):
    # A child's maximum resident set counts the parent's pages it shared before its exec, so the peak
    # is taken through /usr/bin/time, a small parent.
    out = subprocess.run(["/usr/bin/time", "-f", "%M", *argv], stdout=subprocess.DEVNULL,
                         stderr=subprocess.PIPE, text=True, check=True).stderr
    return int(out.split()[-1])

for argv in commands.values():  # warm-up: libraries and file in the cache
    run(argv)
results = {n: [] for n in names}
for i in range(runs):
    for k in range(len(names)):
        name = names[(i + k) % len(names)]
        results[name].append(run(commands[name]))

def med(values):
    return statistics.median(values)

load = os.getloadavg()
size = os.path.getsize(path)
print(f"{runs} paired runs, {time.strftime('%Y-%m-%d %H:%M UTC', time.gmtime())}, "
      f"load average {load[0]:.1f} {load[1]:.1f} {load[2]:.1f}, file {size} bytes")
print()
print("| command | wall (median) | CPU (median) | wall ÷ wc -l | CPU ÷ wc -l | wall ÷ cat | peak memory |")
print("|---|---|---|---|---|---|---|")
wc, cat = results["wc -l"], results["cat >/dev/null"]
for name in names:
    r = results[name]
    wall_wc = med([a[0] / b[0] for a, b in zip(r, wc)])
    cpu_wc = med([a[1] / b[1] for a, b in zip(r, wc) if b[1] > 0])
    wall_cat = med([a[0] / b[0] for a, b in zip(r, cat)])
    peak = peak_kib(commands[name])
    print(f"| `{name}` | {med([x[0] for x in r]) * 1000:.1f} ms | {med([x[1] for x in r]) * 1000:.1f} ms "
          f"| {wall_wc:.2f}× | {cpu_wc:.2f}× | {wall_cat:.2f}× | {peak / 1024:.1f} MiB ({peak * 1024 / size:.3f}× the file) |")
info, report = results["pqdesk-cli info"], results["pqdesk-cli report --phase Ua --json"]
beyond_wall = med([a[0] - b[0] for a, b in zip(report, info)])
beyond_cpu = med([a[1] - b[1] for a, b in zip(report, info)])
print()
print(f"report beyond the import (report − info, paired): {beyond_wall * 1000:.1f} ms wall, "
      f"{beyond_cpu * 1000:.1f} ms CPU")
if baseline:
    base_info, base_report = results["baseline info"], results["baseline report --phase Ua --json"]
    for name, new, old in (("info", info, base_info), ("report", report, base_report)):
        print(f"{name} ÷ baseline {name} (paired): {med([a[0] / b[0] for a, b in zip(new, old)]):.2f} wall, "
              f"{med([a[1] / b[1] for a, b in zip(new, old)]):.2f} CPU")
    print(f"baseline report beyond its import: "
          f"{med([a[0] - b[0] for a, b in zip(base_report, base_info)]) * 1000:.1f} ms wall, "
          f"{med([a[1] - b[1] for a, b in zip(base_report, base_info)]) * 1000:.1f} ms CPU")
PY
