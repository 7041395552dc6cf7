"""Charts of many files on a Dask cluster: ``kelochart.dask.render_batch``.

One task per input file on a ``dask.distributed`` client; each task reads its file, draws the
chart the tool's way and writes it atomically (a temporary file renamed over the output, as
``kelochart render --batch`` does), so the output folder holds the bytes ``--batch`` writes.
Worker processes import ``kelochart``: install the package where they run (or put it on
their PYTHONPATH).
"""
from __future__ import annotations

import os
from typing import Any, Iterable, List, Optional, Union

from . import InputError, _native, _request_options, _write

__all__ = ["render_batch"]


def _render_file(path: str, output: str, kind: str, options: list) -> Union[str, InputError]:
    """One task: the chart of one file written to output, or the file's InputError."""
    try:
        data = _native.render(kind, _native.from_file(path), options)
    except InputError as error:
        return error
    _write(output, data)
    return output


def render_batch(inputs: Iterable[Union[str, "os.PathLike[str]"]], out_dir: Union[str, "os.PathLike[str]"], *,
                 client: Optional[Any] = None, kind: str = "intraday", format: str = "png",
                 size=(800, 600), **options: Any) -> List[Union[str, InputError]]:
    """Renders one chart per CSV file into out_dir, as ``kelochart render KIND --batch``.

    inputs   CSV paths; the chart of ``x/2330.csv`` is written as ``out_dir/2330.png``
    client   a dask.distributed Client; when None a LocalCluster of 2 worker processes (one
             thread each) is started for the call and closed after it
    kind, format, size, options   as ``kelochart.render``

    Returns, in input order, the output path (a str) of each input or the InputError that
    stopped it; one bad file does not stop the others. Bad options raise before any task.
    """
    from dask.distributed import Client, LocalCluster

    if format not in ("png", "svg", "pdf"):
        raise ValueError(f"format must be png, svg or pdf, not {format!r}")
    pairs = _request_options(format, size, options)
    _native.check_request(kind, pairs)  # a bad kind or option fails here, not in every task
    out_dir = os.fspath(out_dir)
    os.makedirs(out_dir, exist_ok=True)
    paths = [os.fspath(p) for p in inputs]
    outputs = [os.path.join(out_dir, os.path.splitext(os.path.basename(p))[0] + "." + format) for p in paths]
    if not paths:
        return []

    def run(c) -> list:
        futures = c.map(_render_file, paths, outputs, kind=kind, options=pairs, pure=False)
        return c.gather(futures)

    if client is not None:
        return run(client)
    with LocalCluster(n_workers=2, threads_per_worker=1, processes=True, dashboard_address=None) as cluster, \
            Client(cluster) as own:
        return run(own)
