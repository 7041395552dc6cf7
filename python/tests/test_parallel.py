"""Charts on threads (the GIL released while drawing) and on a Dask cluster give the bytes of
one render and of the tool's --batch."""
import concurrent.futures as cf
import glob
import os

import pandas as pd

import kelochart
import kelochart.dask


def test_thread_pool_of_two_renders_100_charts_identically(day):
    df = pd.read_csv(day)
    jobs = [("intraday", "png"), ("ratio", "png"), ("curvegroup", "png"), ("xy", "svg")] * 25
    expected = {job: kelochart.render(job[0], df, name="day", format=job[1]) for job in set(jobs)}
    with cf.ThreadPoolExecutor(2) as pool:
        got = list(pool.map(lambda job: kelochart.render(job[0], df, name="day", format=job[1]), jobs))
    assert [g == expected[j] for g, j in zip(got, jobs)] == [True] * 100


def test_dask_cluster_of_two_writes_what_batch_writes(tool, tmp_path):
    src = tmp_path / "in"
    src.mkdir()
    for seed in range(1, 50):
        assert tool("sample", "--seed", str(seed), "-o", str(src / f"{seed:04d}.csv")).returncode == 0
    # sorted neither way (a file sorted newest first would be read in reverse)
    (src / "0025.csv").write_text("time,open,high,low,close,volume\n09:01,30,31,29,30,10\n09:03,30,31,29,30,10\n"
                                  "09:02,30,31,29,30,10\n")
    (src / "0050.csv").write_text((src / "0001.csv").read_text())
    batch = tool("render", "ratio", "--batch", str(src), "--out", str(tmp_path / "tool"), "-j", "2", "--theme", "light")
    inputs = sorted(glob.glob(str(src / "*.csv")))
    got = kelochart.dask.render_batch(inputs, tmp_path / "dask", kind="ratio", theme="light")
    errors = [r for r in got if isinstance(r, kelochart.InputError)]
    assert [str(e) for e in errors] == [str(src / "0025.csv") + ":4:1: column \"time\": 09:02:00 is not after the time"
                                        " of the line before: times must increase"]
    assert f"kelochart: {errors[0]} (skipped)" in batch.stderr.decode()
    assert got[24] is errors[0] and got[:3] == [str(tmp_path / "dask" / f"{n:04d}.png") for n in (1, 2, 3)]
    assert sorted(os.listdir(tmp_path / "dask")) == sorted(os.listdir(tmp_path / "tool"))
    for name in os.listdir(tmp_path / "tool"):
        assert (tmp_path / "dask" / name).read_bytes() == (tmp_path / "tool" / name).read_bytes(), name


def test_svg_of_a_threaded_batch_is_the_svg_of_one_render(tool, day, tmp_path):
    src = tmp_path / "in"
    src.mkdir()
    for seed in (1, 2, 3, 4):
        assert tool("sample", "--seed", str(seed), "-o", str(src / f"{seed}.csv")).returncode == 0
    assert tool("render", "updown", "--batch", str(src), "--out", str(tmp_path / "out"), "--format", "svg",
                "-j", "2").returncode == 0
    for seed in (1, 2, 3, 4):
        svg = kelochart.render("updown", src / f"{seed}.csv", format="svg")
        assert (tmp_path / "out" / f"{seed}.svg").read_bytes() == svg == kelochart.render(
            "updown", src / f"{seed}.csv", format="svg")
