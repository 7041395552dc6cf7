#!/bin/bash
# What a whole kelochart process costs in CPU (user + system, from the kernel's accounting of
# each finished child, so a busy machine inflates it much less than wall time), side by side
# in one run:
#   - `kelochart --version` (start-up: loading the program and its libraries),
#   - `kelochart render intraday -o x.png` (the sample day, 800x600, one process),
#   - matplotlib's in-process draw and save of the same picture (bench/cli/matplotlib_intraday.py),
#   - a batch of BATCH thumbnails at 400x300 (`render intraday --batch`), per chart.
# The two processes run interleaved ROUNDS times each; medians are printed with the ratios
# the targets of docs/performance.md are written against.
#   bench/cli/process_cost.sh [BUILD_DIR] [ROUNDS]     (a Release build; default build, 40)
# Environment: BATCH (default 1800; 0 skips the batch), JOBS (batch workers, default 2),
# MPL_RUNS (default 10; 0 skips matplotlib), KELOCHART (a binary to measure instead of
# BUILD_DIR/apps/kelochart, e.g. an older build for a before/after).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
build="${1:-build}"
rounds="${2:-40}"
kelochart="${KELOCHART:-$build/apps/kelochart}"
batch="${BATCH:-1800}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

/usr/bin/python3 - "$kelochart" "$rounds" "$batch" "${JOBS:-2}" "${MPL_RUNS:-10}" "$here" "$work" <<'EOF'
import os, re, statistics, subprocess, sys

kelochart, rounds, batch, jobs, mpl_runs, here, work = sys.argv[1:8]
rounds, batch, mpl_runs = int(rounds), int(batch), int(mpl_runs)
devnull = open(os.devnull, "wb")


def cpu_ms(argv):
    """CPU time (user + system) of one child process, in ms, from wait4's rusage."""
    p = subprocess.Popen(argv, stdout=devnull, stderr=devnull)
    _, status, usage = os.wait4(p.pid, 0)
    p.returncode = os.waitstatus_to_exitcode(status)
    if p.returncode != 0:
        sys.exit(f"failed ({p.returncode}): {' '.join(argv)}")
    return (usage.ru_utime + usage.ru_stime) * 1000, usage.ru_minflt


png = os.path.join(work, "x.png")
commands = {"version": [kelochart, "--version"], "render": [kelochart, "render", "intraday", "-o", png]}
for argv in commands.values():  # warm the page cache
    cpu_ms(argv)
cpu = {name: [] for name in commands}
faults = {name: [] for name in commands}
for _ in range(rounds):
    for name, argv in commands.items():
        ms, flt = cpu_ms(argv)
        cpu[name].append(ms)
        faults[name].append(flt)
med = {name: statistics.median(values) for name, values in cpu.items()}
for name, argv in commands.items():
    print(f"kelochart {name:<8} CPU median {med[name]:6.2f} ms (min {min(cpu[name]):6.2f}), "
          f"{statistics.median(faults[name]):.0f} page faults, {rounds} runs")
print(f"render / version: {med['render'] / med['version']:.2f}x (target at most 2x)")

if mpl_runs > 0:
    csv = os.path.join(work, "day.csv")
    subprocess.run([kelochart, "sample", "-o", csv], check=True, stdout=devnull)
    out = subprocess.run(["/usr/bin/python3", os.path.join(here, "matplotlib_intraday.py"), csv,
                          "--runs", str(mpl_runs)], check=True, capture_output=True, text=True).stdout
    mpl = float(re.search(r"([0-9.]+) ms CPU", out).group(1))
    print(out.strip())
    print(f"matplotlib draw-and-save / kelochart process: {mpl / med['render']:.1f}x (target at least 4x)")

if batch > 0:
    market, thumbs = os.path.join(work, "market"), os.path.join(work, "thumbs")
    os.makedirs(market)
    for i in range(1, batch + 1):
        subprocess.run([kelochart, "sample", "--seed", str(i), "-o", os.path.join(market, f"i{i}.csv")],
                       check=True, stdout=devnull)
    argv = [kelochart, "render", "intraday", "--batch", market, "--out", thumbs, "--size", "400x300", "-j", jobs]
    p = subprocess.Popen(argv, stdout=devnull, stderr=devnull)
    _, status, usage = os.wait4(p.pid, 0)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("batch failed")
    user, system = usage.ru_utime * 1000, usage.ru_stime * 1000
    print(f"batch of {batch} at 400x300, {jobs} workers: {user:.0f} ms user + {system:.0f} ms system = "
          f"{(user + system) / batch:.2f} ms CPU per chart (target at most 2.5 ms), "
          f"system {100 * system / (user + system):.0f} %, {usage.ru_minflt} page faults")
EOF
