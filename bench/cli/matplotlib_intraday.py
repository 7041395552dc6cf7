#!/usr/bin/python3
"""The intraday pane pair drawn with matplotlib (Agg), as the speed reference of kelochart.

Same steps as the tool's end-to-end benchmark: read and parse the CSV, draw the price pane
(time grid, scale lines around the reference with labels, the tick-price path coloured by
direction, high and low marked) over the state-coloured volume pane, and save an 800x600
PNG into memory. Line collections are used throughout (matplotlib's fast path).

  /usr/bin/python3 bench/cli/matplotlib_intraday.py FILE.csv [--runs N] [--out picture.png]
"""
import csv
import io
import statistics
import sys
import time

import matplotlib
matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402
from matplotlib.collections import LineCollection  # noqa: E402

UP, DOWN, GRID, TEXT = "#ff3c3c", "#00c800", "#606060", "#c8c8c8"


def minutes(text):
    parts = [int(p) for p in text.split(":")]
    return parts[0] * 60 + parts[1] + (parts[2] / 60 if len(parts) > 2 else 0)


def draw(path, out):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f))
    draw_columns([r["time"] for r in rows], *([float(r[k]) for r in rows] for k in ("open", "high", "low", "close")),
                 [int(r["volume"]) for r in rows], out)


def draw_columns(times, o, h, l, c, v, out):
    """The picture from columns (times as text, prices, volumes): the Python package's
    benchmark draws it from a DataFrame's columns."""
    t = [minutes(x) - 540 for x in times]
    ref, tick = o[0], 0.05
    span = max(max(h) - ref, ref - min(l)) + tick
    top, bottom = ref + span, ref - span
    scale = [bottom + (ref - bottom) * i / 5 for i in range(5)] + [ref + (top - ref) * i / 5 for i in range(6)]

    fig = plt.figure(figsize=(8, 6), dpi=100, facecolor="black")
    price = fig.add_axes([0.07, 0.37, 0.85, 0.6], facecolor="black")
    volume = fig.add_axes([0.07, 0.05, 0.85, 0.28], facecolor="black", sharex=price)
    for ax in (price, volume):
        ax.set_xlim(0, 271)
        ax.tick_params(colors=TEXT, labelsize=8)
        for x in range(30, 271, 30):
            ax.axvline(x, color=GRID, lw=0.8, ls="-" if x % 60 == 0 else ":")
    price.set_ylim(bottom, top)
    price.set_yticks(scale)
    price.set_yticklabels([f"{p:.2f}" for p in scale])
    price.hlines(scale, 0, 271, colors=GRID, linestyles=":", lw=0.8)
    price.axhline(ref, color="#ffffa0", lw=1)
    # The tick-price path: joints from the previous close, bodies, highs and lows.
    segments, colors, prev = [], [], (t[0], ref, ref)
    for i in range(len(t)):
        segments.append([(prev[0], prev[1]), (t[i], o[i])]); colors.append(UP if o[i] >= prev[2] else DOWN)
        segments.append([(t[i], o[i]), (t[i], c[i])]); colors.append(UP if c[i] >= ref else DOWN)
        segments.append([(t[i], c[i]), (t[i], h[i])]); colors.append(DOWN)
        segments.append([(t[i], c[i]), (t[i], l[i])]); colors.append(UP)
        prev = (t[i], c[i], c[i])
    price.add_collection(LineCollection(segments, colors=colors, linewidths=1.5))
    hi, lo = h.index(max(h)), l.index(min(l))
    price.annotate(f"{h[hi]:.2f} {times[hi]}", (t[hi], h[hi]), color="#ffffa0", fontsize=8)
    price.annotate(f"{l[lo]:.2f} {times[lo]}", (t[lo], l[lo]), color="#ffffa0", fontsize=8)
    fig.text(0.08, 0.975, f"sample  stock  {c[-1]:.2f}", color=TEXT, fontsize=8)
    states = [UP if i and c[i] > c[i - 1] else DOWN for i in range(len(c))]
    volume.vlines(t, 0, v, colors=states, lw=1.5)
    volume.set_ylim(0, max(v) * 1.1)
    volume.set_xticks(range(0, 271, 60))
    volume.set_xticklabels([f"{9 + k}:00" for k in range(5)])
    fig.savefig(out, format="png", dpi=100, facecolor="black")
    plt.close(fig)


def main():
    path = sys.argv[1]
    runs = int(sys.argv[sys.argv.index("--runs") + 1]) if "--runs" in sys.argv else 20
    if "--out" in sys.argv:
        draw(path, sys.argv[sys.argv.index("--out") + 1])
    draw(path, io.BytesIO())  # warm-up: fonts and caches
    wall, cpu = [], []
    for _ in range(runs):
        w, p = time.perf_counter(), time.process_time()
        buffer = io.BytesIO()
        draw(path, buffer)
        wall.append(time.perf_counter() - w)
        cpu.append(time.process_time() - p)
    print(f"matplotlib {matplotlib.__version__} Agg, 800x600 PNG in memory ({len(buffer.getvalue())} bytes): "
          f"median {statistics.median(wall) * 1000:.1f} ms wall, {statistics.median(cpu) * 1000:.1f} ms CPU "
          f"over {runs} runs")


if __name__ == "__main__":
    main()
