"""KeloChart for Python: the charts of the ``kelochart`` tool from pandas, NumPy or CSV files.

>>> import kelochart, pandas as pd
>>> df = pd.read_csv("day.csv")
>>> png = kelochart.render("intraday", df, name="day")       # the bytes `kelochart render` writes
>>> kelochart.Chart("intraday", df, theme="light")            # shown inline in Jupyter

Every chart goes the tool's own way: a table is laid out as the CSV text of a vendor's file
(prices with the fewest decimals, at most four, that give each number exactly; times as
HH:MM:SS) and read by the tool's reader, so a DataFrame is taken exactly when the same rows in
a file are, and draws the same bytes. Drawing releases the GIL: charts render in parallel on a
thread pool. ``kelochart.dask.render_batch`` spreads files over a Dask cluster.
"""
from __future__ import annotations

import datetime as _datetime
import os as _os
from typing import Any, Mapping, Optional, Tuple, Union

from . import _native

__all__ = ["render", "Chart", "InputError", "kinds", "options"]
__version__ = "0.1.0"


class InputError(ValueError):
    """Data the tool's reader refuses, with where it lies.

    For a file, ``line`` and ``column`` are the line and character column the tool prints
    (``line`` 0: the whole file). For a DataFrame or mapping, ``line`` is the 1-based row (0:
    the header or the whole table) and ``column`` the column's name (None when no column).
    ``message`` is the tool's message, ``file`` the path or the table's ``name``.
    """

    def __init__(self, message: str, file: str = "", line: int = 0,
                 column: Union[int, str, None] = None, text: Optional[str] = None):
        super().__init__(text if text is not None else message)
        self.message, self.file, self.line, self.column = message, file, line, column

    def __reduce__(self):  # survives pickling (Dask returns it from worker processes)
        return (InputError, (self.message, self.file, self.line, self.column, str(self)))

    def __eq__(self, other):
        return isinstance(other, InputError) and (self.message, self.file, self.line, self.column, str(self)) == (
            other.message, other.file, other.line, other.column, str(other))

    __hash__ = ValueError.__hash__


_native.set_input_error(InputError)

Data = Union["pandas.DataFrame", Mapping[str, Any], str, "os.PathLike[str]"]  # noqa: F821
_FORMATS = ("png", "svg", "pdf")


def kinds() -> list:
    """The chart kinds, as ``(name, summary)`` pairs (the tool's ``kelochart render KIND``)."""
    return _native.kinds()


def options() -> list:
    """The options of ``render`` and ``Chart`` as ``(name, help)``, with underscores."""
    return [(name.replace("-", "_"), text) for name, text in _native.options() if name not in ("format", "size")]


def _option_text(name: str, value: Any) -> str:
    if isinstance(value, bool):
        return "true" if value else "false"
    if name == "size" and isinstance(value, (tuple, list)):
        if len(value) != 2 or not all(isinstance(v, int) and not isinstance(v, bool) for v in value):
            raise TypeError(f"size must be (width, height) in whole pixels, not {value!r}")
        return f"{value[0]}x{value[1]}"
    if isinstance(value, (int, float, str)):
        return str(value)
    if hasattr(value, "__float__") or hasattr(value, "__index__"):  # NumPy scalars, Decimal
        return str(value)
    raise TypeError(f"option {name}: {type(value).__name__} is not taken (a string or a number)")


def _request_options(fmt: str, size: Any, options: Mapping[str, Any]) -> list:
    pairs = [("format", _option_text("format", fmt)), ("size", _option_text("size", size))]
    for name, value in options.items():
        if name in ("format", "size"):
            raise TypeError(f"{name} is given twice")
        if value is not None:
            pairs.append((name, _option_text(name, value)))
    return pairs


def _column(name: Any, values: Any) -> tuple:
    """(name, tag, 1-d array) as the native module takes a column."""
    import numpy as np
    series_like = hasattr(values, "dtype") and hasattr(values, "to_numpy")
    if series_like and getattr(getattr(values, "dt", None), "tz", None) is not None:
        values = values.dt.tz_localize(None)  # the exchange's wall clock, as a file writes it
    if series_like and getattr(values, "tz", None) is not None:  # an aware DatetimeIndex
        values = values.tz_localize(None)
    if series_like:
        kind = values.dtype.kind if isinstance(values.dtype, np.dtype) else "O"
        array = values.to_numpy() if kind != "O" else values.to_numpy(dtype=object)
    else:
        array = values if isinstance(values, np.ndarray) else np.asarray(values if not isinstance(values, (str, bytes)) else [values])
    if array.ndim != 1:
        raise ValueError(f"column {name!r} is not one-dimensional")
    kind = array.dtype.kind
    if kind == "f" and array.dtype.itemsize in (4, 8):
        tag = "float"
    elif kind == "f":
        array, tag = array.astype(np.float64), "float"
    elif kind == "i":
        array, tag = array.astype(np.int64), "int"
    elif kind == "u":
        array, tag = array.astype(np.uint64), "uint"
    elif kind == "M":
        array, tag = array.astype("datetime64[ns]").view(np.int64), "datetime"
    elif kind == "m":
        array, tag = array.astype("timedelta64[ns]").view(np.int64), "timedelta"
    else:
        array, tag = array.astype(object), "object"
    return (str(name), tag, np.ascontiguousarray(array))


def _missing() -> list:
    missing = [None]
    try:
        import pandas as pd
        missing += [pd.NaT, pd.NA]
    except ImportError:
        pass
    return missing


def _input(data: Data, name: Optional[str]):
    """The native input: a file read whole, or a table laid out as CSV text."""
    if isinstance(data, (str, _os.PathLike)):
        if name is not None:
            raise TypeError("name= is for tables: a file's chart takes its name from the file")
        return _native.from_file(_os.fspath(data))
    if isinstance(data, (bytes, bytearray)):
        raise TypeError("data must be a DataFrame, a mapping of columns or a path, not bytes")
    name = "chart" if name is None else str(name)
    columns = []
    if hasattr(data, "columns") and hasattr(data, "index"):  # a pandas DataFrame
        index = data.index
        index_name = index.name if index.name is not None else ("time" if index.dtype.kind == "M" else None)
        if index_name is not None and str(index_name) not in {str(c) for c in data.columns}:
            columns.append(_column(index_name, index))
        columns += [_column(c, data[c]) for c in data.columns]
    elif isinstance(data, Mapping):
        columns = [_column(c, v) for c, v in data.items()]
    else:
        raise TypeError(f"data must be a DataFrame, a mapping of columns or a path, not {type(data).__name__}")
    return _native.from_table(name, columns, _missing())


def render(kind: str, data: Data, *, format: str = "png", size: Tuple[int, int] = (800, 600),
           name: Optional[str] = None, **options: Any) -> bytes:
    """The chart as encoded bytes, identical to what ``kelochart render`` writes.

    kind     a chart kind of the tool: "intraday", "ratio", ... (``kelochart.kinds()``)
    data     a pandas DataFrame, a mapping of column name to array, or a path to a CSV file.
             Columns by the reader's names (time, open, high, low, close, volume[, inner,
             outer], or their Chinese names); a DatetimeIndex (or a named index) is the time
             column. Times: strings, datetime.time, Timestamps, datetime64; prices: floats or
             integers (decimals as the tool infers them from text, unless price_scale).
    format   "png", "svg" or "pdf"
    size     (width, height), sides 16 to 8192
    name     the instrument's name in the caption, for tables (default "chart"); a file's
             chart takes the file name's stem, as the tool does
    options  the tool's long options with underscores: category, reference, price_scale,
             session, theme, font, font_size, png_level, record (``kelochart.options()``)

    Raises InputError (a ValueError) for data the tool refuses, ValueError for a bad option
    value or kind, TypeError for an unknown option.
    """
    if format not in _FORMATS:
        raise ValueError(f"format must be png, svg or pdf, not {format!r}")
    pairs = _request_options(format, size, options)
    return _native.render(kind, _input(data, name), pairs)


class Chart:
    """One chart of data, drawn on demand; a Jupyter notebook shows it inline.

    ``Chart(kind, data, name=None, **options)`` takes what ``render`` takes (data is read and
    checked at once: bad data raises InputError here). ``png(size=...)``, ``svg()`` (text),
    ``pdf()`` and ``save(path)`` (format by the extension, written atomically).
    """

    def __init__(self, kind: str, data: Data, *, name: Optional[str] = None, size: Tuple[int, int] = (800, 600),
                 **options: Any):
        self.kind, self.size, self.options = kind, size, dict(options)
        self._input = _input(data, name)
        _native.check(kind, self._input, _request_options("png", size, self.options))

    def _render(self, fmt: str, size: Optional[Tuple[int, int]]) -> bytes:
        return _native.render(self.kind, self._input, _request_options(fmt, size or self.size, self.options))

    def png(self, size: Optional[Tuple[int, int]] = None) -> bytes:
        """PNG bytes (the size given when made, unless size)."""
        return self._render("png", size)

    def svg(self, size: Optional[Tuple[int, int]] = None) -> str:
        """SVG text."""
        return self._render("svg", size).decode("utf-8")

    def pdf(self, size: Optional[Tuple[int, int]] = None) -> bytes:
        """PDF bytes."""
        return self._render("pdf", size)

    def save(self, path: Union[str, "os.PathLike[str]"], size: Optional[Tuple[int, int]] = None) -> str:  # noqa: F821
        """Writes the chart to path (.png, .svg or .pdf) through a temporary file renamed over it."""
        path = _os.fspath(path)
        fmt = _os.path.splitext(path)[1].lower().lstrip(".")
        if fmt not in _FORMATS:
            raise ValueError(f"unknown output format of {path} (use .png, .svg or .pdf)")
        _write(path, self._render(fmt, size))
        return path

    def _repr_png_(self) -> bytes:
        return self.png()

    def _repr_svg_(self) -> str:
        return self.svg()

    def __repr__(self) -> str:
        return f"<kelochart.Chart {self.kind} of {self._input.name!r}>"


def _write(path: str, data: bytes) -> None:
    try:
        _native.write_output(path, data)
    except ValueError as e:
        raise OSError(str(e)) from None
