"""The CSV text a table becomes (what the tool's reader is fed), and the way back from the
reader's errors to the table's rows and columns."""
import datetime as dt
import pickle

import numpy as np
import pandas as pd
import pytest

import kelochart
import kelochart.dask
from kelochart import _native


def text_of(**columns):
    table = _native.from_table("t", [kelochart._column(k, v) for k, v in columns.items()], kelochart._missing())
    return table.text.decode()


@pytest.mark.parametrize("values,fields", [
    (pd.to_datetime(["2024-01-02 09:01:00.250", None]), ["09:01:00.25", ""]),  # fraction kept, NaT empty
    (pd.to_timedelta(["09:01:00", "25:00:00"]), ["09:01:00", "25:00:00"]),     # past a day: the reader refuses it
    (pd.to_datetime(["2024-01-02 09:01"]).tz_localize("Asia/Taipei"), ["09:01:00"]),  # the exchange's wall clock
    ([dt.datetime(2024, 1, 2, 9, 1), dt.time(9, 2, 5), dt.date(2024, 1, 3)], ["09:01:00", "09:02:05", "2024-01-03"]),
    (["a,b", 'say "x"', None, pd.NA], ['"a,b"', '"say ""x"""', "", ""]),
    (np.array([1, 2], dtype=np.uint8), ["1", "2"]),
])
def test_field_texts(values, fields):
    assert text_of(time=values).split("\n")[1:-1] == fields


def test_a_date_column_of_its_own_is_kept():
    stamps = pd.to_datetime(["2024-01-02 13:29", "2024-01-03 09:01"])
    assert text_of(日期=["2024/01/02", "2024/01/03"], time=stamps) == "日期,time\n2024/01/02,13:29:00\n2024/01/03,09:01:00\n"


def test_several_days_are_read_as_the_tool_reads_their_file(tool, day, tmp_path):
    df = pd.read_csv(day)
    df.index = pd.to_datetime("2024-01-02 " + df.pop("time"))
    df.index = df.index.where(df.index.hour >= 12, df.index + pd.Timedelta(days=1))  # the morning a day later
    path = tmp_path / "day.csv"
    path.write_bytes(kelochart._input(df, "day").text)
    assert path.read_text().startswith("date,time,open,")
    run = tool("render", "intraday", str(path), "-o", str(tmp_path / "t.png"))
    try:
        got = kelochart.render("intraday", df, name="day")
    except kelochart.InputError as e:
        assert run.returncode == 1 and run.stderr.decode().endswith(f"{e.message}\n") and e.column == "time"
    else:
        assert run.returncode == 0 and got == (tmp_path / "t.png").read_bytes()


@pytest.mark.parametrize("columns,line,column", [
    (dict(time=["09:01", "09:02\n"]), 2, "time"),
    (dict(time=["09:01"], close=[1, 2]), 0, "close"),
])
def test_tables_the_reader_cannot_be_given(columns, line, column):
    with pytest.raises(kelochart.InputError) as e:
        kelochart.render("intraday", columns)
    assert (e.value.line, e.value.column) == (line, column)


def test_data_errors_of_options_and_kinds_are_input_errors(day):
    df = pd.read_csv(day)
    with pytest.raises(kelochart.InputError, match="price-scale") as e:
        kelochart.render("intraday", df, category="option-FITX", price_scale=10)  # the prices have two decimals
    assert (e.value.line, e.value.column) == (0, None)
    with pytest.raises(ValueError, match="too coarse") as e:  # whatever the data: bad usage
        kelochart.render("intraday", df, price_scale=10)
    assert not isinstance(e.value, kelochart.InputError)
    with pytest.raises(kelochart.InputError, match="inner"):
        kelochart.Chart("innerouter", df.drop(columns=["inner", "outer"]))


def test_input_errors_survive_pickling(day):
    with pytest.raises(kelochart.InputError) as e:
        kelochart.render("intraday", {"time": ["09:01"], "open": ["x"], "high": [1], "low": [1], "close": [1], "volume": [1]})
    back = pickle.loads(pickle.dumps(e.value))
    assert back == e.value and (back.line, back.column, str(back)) == (1, "open", str(e.value))


def test_batch_checks_options_before_any_task(tmp_path):
    with pytest.raises(TypeError, match="colour"):
        kelochart.dask.render_batch(["x.csv"], tmp_path, colour="red")
    assert list(tmp_path.iterdir()) == []
