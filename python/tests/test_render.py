"""kelochart.render and Chart draw the tool's bytes, from files, DataFrames and mappings."""
import datetime as dt
import os
import re

import numpy as np
import pandas as pd
import pytest

import kelochart
import kelochart.dask
from kelochart import _native

KINDS = [name for name, _ in kelochart.kinds()]


def undated(pdf):
    """A PDF without its creation time (cairo writes the second it was made)."""
    return re.sub(rb"/CreationDate \(D:\d+Z\)", b"", pdf)


def tool_bytes(tool, tmp_path, kind, csv, *args, ext="png"):
    out = tmp_path / f"tool.{ext}"
    run = tool("render", kind, str(csv), "-o", str(out), *args)
    assert run.returncode == 0, run.stderr
    return out.read_bytes()


@pytest.mark.parametrize("kind", KINDS)
def test_every_kind_file_and_dataframe_give_the_tools_bytes(tool, day, tmp_path, kind):
    expected = tool_bytes(tool, tmp_path, kind, day)
    assert kelochart.render(kind, day) == expected
    assert kelochart.render(kind, pd.read_csv(day), name="day") == expected


def test_a_kline_of_prices_written_with_zero_decimals_is_the_dataframes(tool, tmp_path):
    # TWSE exports whole prices as 577.00; a DataFrame holds 577.0, which carries no decimals.
    rows = [f"{113}/01/{d:02d},{p}.00,{p + 5}.00,{p - 5}.00,{p + 1}.00,{1000 + d}" for d, p in
            zip(range(2, 30), range(570, 598))]
    path = tmp_path / "2330.csv"
    path.write_bytes(("日期,開盤價,最高價,最低價,收盤價,成交量\r\n" + "\r\n".join(rows) + "\r\n").encode("big5"))
    expected = tool_bytes(tool, tmp_path, "kline", path)
    assert kelochart.render("kline", pd.read_csv(path, encoding="big5"), name="2330") == expected
    assert kelochart.Chart("kline", path)._repr_png_() == expected  # a Chart takes daily bars too


@pytest.mark.parametrize("args,kwargs", [
    (["--theme", "light", "--size", "400x300"], dict(theme="light", size=(400, 300))),
    (["--category", "FITX", "--session", "09:00-13:30", "--font-size", "9"],
     dict(category="FITX", session="09:00-13:30", font_size=9)),
    (["--price-scale", "1000", "--reference", "30.5", "--record"], dict(price_scale=1000, reference=30.5, record=True)),
    (["--png-level", "12", "--size", "400x300"], dict(png_level=12, size=(400, 300))),
])
def test_options_are_the_tools(tool, day, tmp_path, args, kwargs):
    expected = tool_bytes(tool, tmp_path, "intraday", day, *args)
    assert kelochart.render("intraday", pd.read_csv(day), name="day", **kwargs) == expected


@pytest.mark.parametrize("fmt", ["svg", "pdf"])
def test_vector_formats(tool, day, tmp_path, fmt):
    expected = tool_bytes(tool, tmp_path, "ratio", day, ext=fmt)
    assert undated(kelochart.render("ratio", pd.read_csv(day), name="day", format=fmt)) == undated(expected)
    if fmt == "svg":
        assert kelochart.Chart("ratio", day)._repr_svg_() == expected.decode()


def frames(day):
    """The sample day in the shapes analysts hold it, each with the file's rows."""
    df = pd.read_csv(day)
    stamps = pd.to_datetime("2024-01-02 " + df["time"])
    yield "strings", df
    yield "datetime.time", df.assign(time=[dt.time.fromisoformat(t) for t in df["time"]])
    yield "Timestamps", df.assign(time=list(stamps))
    yield "datetime64", df.assign(time=stamps)
    yield "aware datetime64", df.assign(time=stamps.dt.tz_localize("Asia/Taipei"))
    yield "DatetimeIndex", df.drop(columns="time").set_index(pd.DatetimeIndex(stamps))
    yield "named index", df.set_index("time")
    yield "float32 prices", df.astype({c: np.float32 for c in ("open", "high", "low", "close")})
    yield "mapping of arrays", {c: df[c].to_numpy() for c in df.columns}
    yield "mapping of lists", {c: df[c].tolist() for c in df.columns}


@pytest.mark.parametrize("shape", [s for s, _ in frames(os.devnull)] if False else range(10))
def test_table_shapes_give_the_files_chart(tool, day, tmp_path, shape):
    label, data = list(frames(day))[shape]
    assert kelochart.render("intraday", data, name="day") == tool_bytes(tool, tmp_path, "intraday", day), label


@pytest.mark.parametrize("values,fields", [
    ([30.0, 30.1, 30.05, 1234.5678], ["30", "30.1", "30.05", "1234.5678"]),
    (np.array([0.1, 12.35], dtype=np.float32), ["0.1", "12.35"]),
    ([0.1 + 0.2, float("nan")], ["0.30000000000000004", ""]),  # more than four decimals: refused by the reader
    ([7, 2**40], ["7", "1099511627776"]),
])
def test_numbers_keep_their_exact_decimals(values, fields):
    text = _native.from_table("t", [kelochart._column("open", values)], kelochart._missing()).text.decode()
    assert text.split("\n")[1:-1] == fields


def test_several_days_get_a_date_column():
    stamps = pd.to_datetime(["2024-01-02 13:29", "2024-01-03 09:01"])
    text = _native.from_table("t", [kelochart._column("time", stamps), kelochart._column("close", [1, 2])],
                              kelochart._missing()).text.decode()
    assert text == "date,time,close\n2024-01-02,13:29:00,1\n2024-01-03,09:01:00,2\n"


@pytest.mark.parametrize("edit,line,column,message", [
    (lambda d: d.assign(close=d["close"].where(d.index != 5, -3.0)), 6, "close", 'price -3 is not positive'),
    (lambda d: d.assign(volume=d["volume"].astype(float).where(d.index != 9)), 10, "volume", 'is not a whole number'),
    (lambda d: d.assign(time=d["time"].where(d.index != 0, "9h01")), 1, "time", 'is not a time of day'),
    (lambda d: d.assign(time=d["time"].where(d.index != 3, "09:02")), 4, "time", 'times must increase'),
    (lambda d: d.drop(columns="open"), 0, "time", 'missing column "open"'),
])
def test_table_errors_carry_row_and_column(day, edit, line, column, message):
    with pytest.raises(kelochart.InputError) as e:
        kelochart.render("intraday", edit(pd.read_csv(day)), name="day")
    assert (e.value.line, e.value.column, e.value.file) == (line, column, "day")
    assert message in e.value.message and isinstance(e.value, ValueError)


def test_file_errors_are_the_tools(tool, tmp_path):
    bad = tmp_path / "bad.csv"
    bad.write_text("time,open,high,low,close,volume\n09:01,30,31,29,30,10\n09:02,30,31,29,3x,10\n")
    run = tool("render", "intraday", str(bad), "-o", str(tmp_path / "x.png"))
    with pytest.raises(kelochart.InputError) as e:
        kelochart.render("intraday", str(bad))
    assert (e.value.line, e.value.column) == (3, 16)
    assert run.stderr.decode() == f"kelochart: {e.value}\n"
    with pytest.raises(kelochart.InputError):  # Chart checks the data when made
        kelochart.Chart("intraday", bad)


def test_chinese_headers_are_taken_as_the_tool_takes_them(tool, day, tmp_path):
    names = {"time": "時間", "open": "開盤價", "high": "最高價", "low": "最低價", "close": "收盤價", "volume": "成交量"}
    df = pd.read_csv(day).drop(columns=["inner", "outer"]).rename(columns=names)
    path = tmp_path / "day.csv"
    df.to_csv(path, index=False)
    run = tool("render", "intraday", str(path), "-o", str(tmp_path / "t.png"))
    try:
        got = kelochart.render("intraday", df, name="day")
    except kelochart.InputError as e:
        assert run.returncode == 1 and e.message in run.stderr.decode()
    else:
        assert run.returncode == 0 and got == (tmp_path / "t.png").read_bytes()


@pytest.mark.parametrize("call,error,text", [
    (lambda d: kelochart.render("intraday", d, colour="red"), TypeError, "colour"),
    (lambda d: kelochart.render("intraday", d, theme="blue"), ValueError, "theme"),
    (lambda d: kelochart.render("intraday", d, size=(8, 8)), ValueError, "size"),
    (lambda d: kelochart.render("candles", d), ValueError, "candles"),
    (lambda d: kelochart.render("intraday", d, format="gif"), ValueError, "gif"),
    (lambda d: kelochart.render("intraday", 42), TypeError, "int"),
])
def test_bad_options_name_the_option(day, call, error, text):
    with pytest.raises(error, match=text):
        call(pd.read_csv(day))


def test_chart_saves_and_shows(day, tmp_path):
    chart = kelochart.Chart("intraday", pd.read_csv(day), name="day", theme="light")
    assert chart._repr_png_() == kelochart.render("intraday", day, theme="light")
    assert chart.save(tmp_path / "c.pdf") and undated((tmp_path / "c.pdf").read_bytes()) == undated(chart.pdf())
    assert chart.png(size=(400, 300))[16:24] == (400).to_bytes(4, "big") + (300).to_bytes(4, "big")
    assert os.listdir(tmp_path) == ["c.pdf"]  # no temporary file left


@pytest.mark.parametrize("call,error,text", [
    (lambda day, tmp: kelochart.Chart("intraday", day).save(tmp / "c.gif"), ValueError, "c.gif"),
    (lambda day, tmp: kelochart.Chart("intraday", day).save(tmp / "no" / "c.png"), OSError, "no/c.png"),
    (lambda day, tmp: kelochart.render("intraday", day, name="x"), TypeError, "name="),
    (lambda day, tmp: kelochart.render("intraday", tmp / "missing.csv"), kelochart.InputError, "cannot open"),
    (lambda day, tmp: kelochart.render("intraday", {"time": np.zeros((2, 2))}), ValueError, "one-dimensional"),
])
def test_what_is_refused_says_why(day, tmp_path, call, error, text):
    with pytest.raises(error, match=text):
        call(day, tmp_path)
    assert kelochart.dask.render_batch([], tmp_path / "none") == []  # no inputs: no cluster, no tasks
