# Starting `kelochart serve` for the end-to-end and browser tests: the binary comes from
# KELOCHART (default build-test/apps/kelochart), listens on a free loopback port (--port 0,
# the port read from its first log line) and serves a folder of instruments made for the test.
import os
import re
import shutil
import signal
import subprocess
import time
from pathlib import Path

import pytest

ROOT = Path(__file__).resolve().parents[2]
BINARY = os.environ.get("KELOCHART", str(ROOT / "build-test" / "apps" / "kelochart"))
CLI_DATA = ROOT / "tests" / "data" / "cli"


def make_data(folder):
    """Instruments as a feed leaves them: a few generated days, one night session, a symbol with a dot."""
    folder.mkdir(exist_ok=True)
    for seed, symbol in [(1, "2330"), (2, "2317"), (3, "2454"), (4, "2330.TW")]:
        day = subprocess.run([BINARY, "sample", "--seed", str(seed)], check=True, capture_output=True, text=True).stdout
        # The morning so far: 09:01 to 11:00, so that the feed can append the next minutes.
        (folder / f"{symbol}.csv").write_text("".join(day.splitlines(keepends=True)[:121]))
    shutil.copy(CLI_DATA / "good_night.csv", folder / "TXFL6.csv")
    return folder


def append_next_minute(path):
    """Appends the next minute's bar as a feed does: the last close, one more lot traded."""
    last = path.read_text().splitlines()[-1].split(",")
    hour, minute = map(int, last[0].split(":"))
    hour, minute = (hour + 1, 0) if minute == 59 else (hour, minute + 1)
    close = last[4]
    row = [f"{hour:02d}:{minute:02d}", close, close, close, close, "1000"] + (["500", "500"] if len(last) > 6 else [])
    with open(path, "a") as f:
        f.write(",".join(row) + "\n")


class Service:
    def __init__(self, folder, *args):
        self.folder = folder
        self.proc = subprocess.Popen([BINARY, "serve", "--data", str(folder), "--port", "0", *args],
                                     stderr=subprocess.PIPE, text=True)
        line = self.proc.stderr.readline()
        match = re.search(r"http://127\.0\.0\.1:(\d+)/", line)
        assert match, f"no listening line: {line!r}"
        self.port = int(match.group(1))
        self.base = f"http://127.0.0.1:{self.port}"

    def stop(self, timeout=5.0):
        if self.proc.poll() is None:
            self.proc.send_signal(signal.SIGTERM)
        start = time.monotonic()
        code = self.proc.wait(timeout=timeout)
        return code, time.monotonic() - start

    def log(self):
        return self.proc.stderr.read()


@pytest.fixture(scope="module")
def data(tmp_path_factory):
    return make_data(tmp_path_factory.mktemp("instruments"))


@pytest.fixture(scope="module")
def service(data):
    s = Service(data, "--threads", "8", "--max-body-mb", "1")
    yield s
    code, _ = s.stop()
    assert code == 0
