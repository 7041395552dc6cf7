# `kelochart serve` end to end: the started binary on a loopback port, spoken to over raw
# sockets (so targets reach it exactly as written, traversal attempts included).
import json
import os
import re
import signal
import socket
import subprocess
import time

import pytest

from conftest import BINARY, Service, append_next_minute


def request(service, method, target, body=b"", headers=None, raw=None):
    """One request on a fresh connection; returns (status, headers, body)."""
    with socket.create_connection(("127.0.0.1", service.port), timeout=10) as s:
        if raw is None:
            head = f"{method} {target} HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
            for k, v in (headers or {}).items():
                head += f"{k}: {v}\r\n"
            if body or method in ("POST", "PUT", "PATCH"):
                head += f"Content-Length: {len(body)}\r\n"
            raw = head.encode() + b"\r\n" + body
        s.sendall(raw)
        data = b""
        while chunk := s.recv(65536):
            data += chunk
    head, _, payload = data.partition(b"\r\n\r\n")
    lines = head.decode("latin-1").split("\r\n")
    status = int(lines[0].split()[1])
    fields = {k.lower(): v.strip() for k, v in (l.split(":", 1) for l in lines[1:] if ":" in l)}
    return status, fields, payload


def tool(kind, path, fmt, options, tmp_path):
    out = tmp_path / f"out.{fmt}"
    subprocess.run([BINARY, "render", kind, str(path), "-o", str(out), *options], check=True, capture_output=True)
    return out.read_bytes()


def undated(picture):
    """A PDF carries the second it was made (same length always); everything else must match."""
    return re.sub(rb"/CreationDate \(D:\d{14}Z\)", b"/CreationDate (D:0)", picture)


# (kind, symbol, format, query, the tool's options)
SAME_BYTES = [
    ("intraday", "2330", "png", "size=400x300", ["--size", "400x300"]),
    ("intraday", "2330.TW", "png", "size=800x600&theme=light&cb=17", ["--theme", "light"]),
    ("innerouter", "2317", "svg", "size=640x480&font_size=14", ["--size", "640x480", "--font-size", "14"]),
    ("xy", "2454", "pdf", "price-scale=100&reference=30.00", ["--price-scale", "100", "--reference", "30.00"]),
    ("figure", "TXFL6", "png", "category=FITX&session=15:00-05:00", ["--category", "FITX", "--session", "15:00-05:00"]),
    ("updown", "TXFL6", "svg", "category=FITX&session=15%3A00-05%3A00&theme=light",
     ["--category", "FITX", "--session", "15:00-05:00", "--theme", "light"]),
    ("multibar", "2317", "png", "record=true&size=400x300", ["--record", "--size", "400x300"]),
    ("intraday", "2330", "png", "png_level=0", ["--png-level", "0"]),
]


@pytest.mark.parametrize("kind,symbol,fmt,query,options", SAME_BYTES)
def test_get_is_the_tools_bytes(service, data, tmp_path, kind, symbol, fmt, query, options):
    status, fields, body = request(service, "GET", f"/chart/{kind}/{symbol}.{fmt}?{query}")
    assert status == 200, body
    assert fields["content-type"] == {"png": "image/png", "svg": "image/svg+xml", "pdf": "application/pdf"}[fmt]
    assert undated(body) == undated(tool(kind, data / f"{symbol}.csv", fmt, options, tmp_path))


def test_post_with_a_name_is_the_tools_bytes_for_that_file(service, data, tmp_path):
    text = (data / "2454.csv").read_bytes()
    (tmp_path / "day.csv").write_bytes(text)
    status, _, body = request(service, "POST", "/render/intraday.png?name=day&size=400x300", text)
    assert status == 200
    assert body == tool("intraday", tmp_path / "day.csv", "png", ["--size", "400x300"], tmp_path)
    (tmp_path / "chart.csv").write_bytes(text)
    status, _, body = request(service, "POST", "/render/intraday.png?size=400x300", text)
    assert body == tool("intraday", tmp_path / "chart.csv", "png", ["--size", "400x300"], tmp_path)


def test_etag_gives_304_and_changes_with_the_file(service, data):
    target = "/chart/intraday/2317.png?size=400x300"
    status, fields, _ = request(service, "GET", target)
    etag = fields["etag"]
    assert status == 200 and etag.startswith('"') and fields["cache-control"] == "no-cache"
    assert request(service, "GET", target, headers={"If-None-Match": etag})[0] == 304
    assert request(service, "GET", target, headers={"If-None-Match": f'"x", W/{etag}'})[0] == 304
    assert request(service, "GET", target + "&theme=light", headers={"If-None-Match": etag})[0] == 200
    append_next_minute(data / "2317.csv")
    status, fields, _ = request(service, "GET", target, headers={"If-None-Match": etag})
    assert status == 200 and fields["etag"] != etag


def metric(service, name):
    _, _, body = request(service, "GET", "/metrics")
    for line in body.decode().splitlines():
        if line.startswith(name + " "):
            return float(line.split()[1])
    raise AssertionError(f"{name} missing")


def test_repeated_get_comes_from_the_cache(service):
    target = "/chart/curvegroup/2454.png?size=320x240"
    first = request(service, "GET", target)[2]
    hits = metric(service, "kelochart_cache_hits_total")
    assert request(service, "GET", target)[2] == first
    assert metric(service, "kelochart_cache_hits_total") == hits + 1


def test_health_and_metrics(service):
    assert request(service, "GET", "/healthz")[::2] == (200, b"ok")
    status, fields, body = request(service, "GET", "/metrics")
    text = body.decode()
    assert status == 200 and fields["content-type"].startswith("text/plain")
    for name in ["kelochart_requests_total{route=\"chart\",status=\"200\"}", "kelochart_request_seconds_bucket{le=\"+Inf\"}",
                 "kelochart_cache_misses_total", "kelochart_renders_in_flight", "kelochart_bytes_out_total"]:
        assert name in text


# (method, target, status): every refusal, as JSON with an "error".
ERRORS = [
    ("GET", "/chart/intraday/2330.png?size=100000x10", 400),
    ("GET", "/chart/intraday/2330.png?size=4000x4000", 400),
    ("GET", "/chart/intraday/2330.png?theme=pink", 400),
    ("GET", "/chart/intraday/2330.png?category=bonds", 400),
    ("GET", "/chart/intraday/2330.png?price_scale=7", 400),
    ("GET", "/chart/intraday/2330.png?size=%zz", 400),
    ("GET", "/chart/candles/2330.png", 404),
    ("GET", "/chart/intraday/9999.png", 404),
    ("GET", "/chart/intraday/2330.gif", 404),
    ("GET", "/nothing", 404),
    ("DELETE", "/chart/intraday/2330.png", 405),
    ("POST", "/chart/intraday/2330.png", 405),
    ("GET", "/render/intraday.png", 405),
    ("PUT", "/", 405),
    # traversal: plain, encoded, absolute, doubled slashes, hidden names
    ("GET", "/chart/intraday/../../etc/passwd.png", 404),
    ("GET", "/chart/intraday/%2e%2e%2f%2e%2e%2fetc%2fpasswd.png", 400),
    ("GET", "/chart/intraday/..%2fsecret.png", 400),
    ("GET", "/chart/intraday/%2Fetc%2Fpasswd.png", 400),
    ("GET", "/chart/intraday//etc/passwd.png", 404),
    ("GET", "//etc/passwd", 404),
    ("GET", "/chart/intraday/..png", 400),
    ("GET", "/chart/intraday/.hidden.png", 400),
    ("GET", "/chart/intraday/a..b.png", 400),
    ("GET", "/chart/intraday/" + "A" * 65 + ".png", 400),
    ("GET", "/chart/intraday/x\\..\\y.png", 400),
    ("GET", "http://evil/chart/intraday/2330.png", 400),
    ("GET", "/chart/intraday/outside.png", 404),
    ("GET", "/chart/intraday/passwd.png", 404),
]


@pytest.mark.parametrize("method,target,expected", ERRORS)
def test_refusals_are_json(service, data, tmp_path_factory, method, target, expected):
    outside = tmp_path_factory.mktemp("outside") / "secret.csv"
    outside.write_text((data / "2330.csv").read_text())
    for name, to in [("outside.csv", outside), ("passwd.csv", "/etc/passwd")]:
        if not os.path.lexists(data / name):
            os.symlink(to, data / name)
    status, fields, body = request(service, method, target)
    assert status == expected, body
    assert fields["content-type"] == "application/json" and "error" in json.loads(body)
    if expected == 405:
        assert "allow" in fields


def test_bad_data_names_line_and_column(service):
    text = b"time,open,high,low,close,volume\n09:01,30,31,29,30,100\n09:02,30,31,29,x,100\n"
    status, _, body = request(service, "POST", "/render/intraday.png?name=2330", text)
    error = json.loads(body)
    assert status == 400 and (error["line"], error["column"]) == (3, 16)
    assert error["error"].startswith("2330.csv:3:16: ")


def test_body_over_the_limit_is_413(service):
    big = b"time,open,high,low,close,volume\n" + b"09:01,30,31,29,30,100\n" * 60000  # 1.3 MB, limit 1 MiB
    assert request(service, "POST", "/render/intraday.png", big)[0] == 413
    chunked = (b"POST /render/intraday.png HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\nConnection: close\r\n\r\n"
               + b"".join(b"%x\r\n%s\r\n" % (len(c), c) for c in [b"a" * 65536] * 20) + b"0\r\n\r\n")
    assert request(service, None, None, raw=chunked)[0] == 413


def test_oversized_target_and_headers(service):
    assert request(service, "GET", "/chart/intraday/2330.png?cb=" + "a" * 9000)[0] == 414
    assert request(service, "GET", "/healthz", headers={"X-Big": "a" * 9000})[0] == 431
    assert request(service, "GET", "/healthz", headers={f"X-{i}": "1" for i in range(80)})[0] == 431


def test_head_and_access_log(data):
    s = Service(data)
    status, fields, body = request(s, "HEAD", "/chart/intraday/2330.png")
    assert status == 200 and body == b"" and fields["content-type"] == "image/png"
    request(s, "GET", "/chart/intraday/2330.png?x=%0a\x01")
    code, _ = s.stop()
    log = s.log()
    assert code == 0
    assert '127.0.0.1 "HEAD /chart/intraday/2330.png" 200' in log
    assert "\\x1" in log and "\x01" not in log  # control bytes never reach the log raw


def test_sigterm_finishes_the_request_in_flight_and_exits_0(data):
    s = Service(data)
    text = (data / "2330.csv").read_bytes()
    with socket.create_connection(("127.0.0.1", s.port), timeout=10) as c:
        c.sendall(b"POST /render/intraday.png?name=2330 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
                  b"Content-Length: %d\r\n\r\n" % len(text) + text[:100])
        time.sleep(0.3)
        s.proc.send_signal(signal.SIGTERM)
        time.sleep(0.5)
        c.sendall(text[100:])  # the rest of the body after the signal
        data_back = b""
        while chunk := c.recv(65536):
            data_back += chunk
    assert data_back.startswith(b"HTTP/1.1 200")
    code, waited = s.stop()
    assert code == 0 and waited < 5
    with pytest.raises(OSError):
        socket.create_connection(("127.0.0.1", s.port), timeout=1).close()
