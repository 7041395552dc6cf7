#!/usr/bin/python3
"""The Python package's speed, side by side in one process:

1. kelochart.render of the 270-bar sample day from a DataFrame against matplotlib's (Agg)
   draw-and-save of the same intraday picture from the same DataFrame (bench/cli/
   matplotlib_intraday.py), both 800x600 PNG into memory; medians of alternating runs.
2. 1,800 thumbnails (400x300 PNG intraday charts, one CSV file each, as the tool's own batch
   benchmark in docs/performance.md) on a Dask LocalCluster of
   2 worker processes (kelochart.dask.render_batch) against `kelochart render --batch -j 2`;
   the cluster is started before the clock (its start-up is printed apart) and warmed up.

  .venv/bin/python bench/python_bench.py --tool build-bench/apps/kelochart [--runs 30] [--files 1800]
      [--size 400x300] [--only single|thumbnails]
(tools/kelochart bench-python builds, installs and runs it.)
"""
import argparse
import glob
import importlib.util
import io
import os
import shutil
import statistics
import subprocess
import tempfile
import time

import pandas as pd

import kelochart
import kelochart.dask

HERE = os.path.dirname(os.path.abspath(__file__))


def load_matplotlib_picture():
    found = importlib.util.spec_from_file_location("matplotlib_intraday", os.path.join(HERE, "cli", "matplotlib_intraday.py"))
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def median_ms(samples):
    return statistics.median(samples) * 1000


def single_chart(tool, work, runs):
    day = os.path.join(work, "day.csv")
    subprocess.run([tool, "sample", "-o", day], check=True, capture_output=True)
    df = pd.read_csv(day)
    mpl = load_matplotlib_picture()

    def with_matplotlib():
        buffer = io.BytesIO()
        mpl.draw_columns(df["time"].tolist(), df["open"].tolist(), df["high"].tolist(), df["low"].tolist(),
                         df["close"].tolist(), df["volume"].tolist(), buffer)
        return buffer.getvalue()

    def with_kelochart():
        return kelochart.render("intraday", df, name="day")

    with_matplotlib(), with_kelochart()  # warm-up: fonts and caches
    wall = {"kelochart": [], "matplotlib": []}
    cpu = {"kelochart": [], "matplotlib": []}
    for _ in range(runs):
        for name, draw in (("kelochart", with_kelochart), ("matplotlib", with_matplotlib)):
            w, c = time.perf_counter(), time.process_time()
            draw()
            wall[name].append(time.perf_counter() - w)
            cpu[name].append(time.process_time() - c)
    print(f"single chart, 270 bars from a DataFrame, 800x600 PNG, median of {runs} alternating runs:")
    kw, mw = median_ms(wall["kelochart"]), median_ms(wall["matplotlib"])
    kc, mc = median_ms(cpu["kelochart"]), median_ms(cpu["matplotlib"])
    print(f"  kelochart.render  {kw:8.2f} ms wall {kc:8.2f} ms CPU")
    print(f"  matplotlib        {mw:8.2f} ms wall {mc:8.2f} ms CPU")
    print(f"  kelochart faster: {mw / kw:.1f}x wall, {mc / kc:.1f}x CPU (target >= 20x)")


def thumbnails(tool, work, files, size):
    src = os.path.join(work, "in")
    os.makedirs(src)
    seeds = 90  # 90 generated days, each copied under several names: 1,800 files of real size
    for seed in range(1, seeds + 1):
        subprocess.run([tool, "sample", "--seed", str(seed), "-o", os.path.join(src, f"s{seed:04d}.csv")], check=True)
    for i in range(seeds, files):
        shutil.copyfile(os.path.join(src, f"s{i % seeds + 1:04d}.csv"), os.path.join(src, f"c{i:04d}.csv"))
    inputs = sorted(glob.glob(os.path.join(src, "*.csv")))
    from dask.distributed import Client, LocalCluster

    start = time.perf_counter()
    cluster = LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None)
    client = Client(cluster)
    startup = time.perf_counter() - start
    kelochart.dask.render_batch(inputs[:20], os.path.join(work, "warm"), client=client, size=size)
    results = {}
    for name in ("tool", "dask", "tool2", "dask2"):
        out = os.path.join(work, name)
        start = time.perf_counter()
        if name.startswith("tool"):
            subprocess.run([tool, "render", "intraday", "--batch", src, "--out", out, "-j", "2", "--size", "%dx%d" % size],
                           check=True, capture_output=True)
        else:
            got = kelochart.dask.render_batch(inputs, out, client=client, size=size)
            assert all(isinstance(r, str) for r in got)
        results.setdefault(name.rstrip("2"), []).append(time.perf_counter() - start)
    client.close()
    cluster.close()
    same = all(open(os.path.join(work, "tool", n), "rb").read() == open(os.path.join(work, "dask", n), "rb").read()
               for n in os.listdir(os.path.join(work, "tool")))
    t, d = min(results["tool"]), min(results["dask"])
    print(f"{len(inputs)} thumbnails ({size[0]}x{size[1]} PNG), best of 2 alternating runs, outputs identical: {same}")
    print(f"  kelochart render --batch -j 2        {t:7.2f} s")
    print(f"  kelochart.dask.render_batch, 2 workers {d:7.2f} s   ({d / t:.2f}x the tool; target <= 1.5x)")
    print(f"  (LocalCluster start-up, not counted: {startup:.2f} s)")


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--tool", required=True, help="the kelochart binary the package was built with")
    parser.add_argument("--runs", type=int, default=30)
    parser.add_argument("--files", type=int, default=1800)
    parser.add_argument("--size", default="400x300", help="thumbnail size (400x300)")
    parser.add_argument("--only", choices=("single", "thumbnails"), help="run one of the two comparisons")
    args = parser.parse_args()
    size = tuple(int(v) for v in args.size.split("x"))
    with tempfile.TemporaryDirectory() as work:
        if args.only != "thumbnails":
            single_chart(os.path.abspath(args.tool), work, args.runs)
        if args.only != "single":
            thumbnails(os.path.abspath(args.tool), work, args.files, size)


if __name__ == "__main__":
    main()
