"""Shared fixtures: the tool built next to the package (KELOCHART_BIN, or the first
build*/apps/kelochart of the repository) and the sample day it writes."""
import glob
import os
import subprocess

import pytest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


@pytest.fixture(scope="session")
def tool():
    path = os.environ.get("KELOCHART_BIN") or next(iter(sorted(glob.glob(os.path.join(ROOT, "build*", "apps", "kelochart")))), None)
    if not path or not os.access(path, os.X_OK):
        pytest.fail("the kelochart tool is not built: set KELOCHART_BIN")  # never skip: bytes are compared to it
    return lambda *args, **kw: subprocess.run([path, *args], capture_output=True, **kw)


@pytest.fixture(scope="session")
def day(tool, tmp_path_factory):
    """day.csv: the 270-bar sample day (time, open, high, low, close, volume, inner, outer)."""
    path = tmp_path_factory.mktemp("data") / "day.csv"
    assert tool("sample", "-o", str(path)).returncode == 0
    return path
