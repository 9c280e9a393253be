#!/usr/bin/env python3
"""The local OCR service under a long mixed load: N requests from C concurrent clients, each
drawn from a fixed mix of good pictures (whose lines must come back exactly), bad pictures and
malformed requests (each with the error object or HTTP status the service answers for it), while
the service's resident memory (VmRSS) is sampled.

  service_soak.py --ocrd PATH [--engine ppocr|tesseract] [--requests N] [--clients C]
                  [--out FILE.json]

Prints the figures and writes them as JSON for scripts/soak. Exits 1 when an answer was wrong,
the service ended, memory grew past the tolerance after the warm-up or a request took longer than
the slowness limit times the median of its kind.
"""

import argparse
import base64
import http.client
import json
import os
import random
import re
import signal
import socket
import statistics
import struct
import subprocess
import sys
import tempfile
import threading
import time
import urllib.parse
import zlib

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
TOKEN_PATH = "/oauth/2.0/token?grant_type=client_credentials&client_id=soak&client_secret=soak"
OCR_PATH = "/rest/2.0/ocr/v1/general_basic"
FORM = {"Content-Type": "application/x-www-form-urlencoded"}

# Tolerances, stated here and in the table scripts/soak writes.
WARM_UP_SHARE = 0.1       # memory is compared from the end of the first tenth of the requests
MEMORY_GROWTH_LIMIT = 5.0  # per cent, resident memory at any later sample over the warm-up value
SLOWNESS_LIMIT = 10.0      # no request slower than this times the median of its kind...
SLOWNESS_FLOOR = 0.1       # ...or than this many seconds, whichever is more

TOKEN_INVALID = {"error_code": 110, "error_msg": "Access token invalid or no longer valid"}
INVALID_PARAM = {"error_code": 216100, "error_msg": "invalid param"}
EMPTY_IMAGE = {"error_code": 216200, "error_msg": "empty image"}
FORMAT_ERROR = {"error_code": 216201, "error_msg": "image format error"}
SIZE_ERROR = {"error_code": 216202, "error_msg": "image size error"}


def render(folder, name, lines, *options):
    path = os.path.join(folder, name)
    subprocess.run([os.path.join(ROOT, "scripts", "render-text-picture"), *options, path, *lines],
                   check=True)
    with open(path, "rb") as f:
        return f.read()


def convert(folder, name, *arguments):
    path = os.path.join(folder, name)
    subprocess.run(["convert", *arguments, path], check=True)
    with open(path, "rb") as f:
        return f.read()


def form(picture):
    return "image=" + urllib.parse.quote(base64.b64encode(picture).decode(), safe="")


def png_header_only(width, height):
    ihdr = struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))

    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IEND", b"")


class Kind:
    """One kind of request of the mix: how to send it and what answer is correct."""

    def __init__(self, name, group, weight, send, expect):
        self.name, self.group, self.weight, self.send, self.expect = name, group, weight, send, expect


def build_mix(folder, token):
    good = [
        (["服务长跑测试", "Soak test line"], render(folder, "good1.png", ["服务长跑测试", "Soak test line"])),
        (["识别一千次", "1000 recognitions"], render(folder, "good2.png", ["识别一千次", "1000 recognitions"],
                                                     "--pointsize", "28")),
        (["内存保持平稳"], render(folder, "good3.jpg", ["内存保持平稳"])),
    ]
    tiny = render(folder, "tiny.png", ["x"])
    small = convert(folder, "small.png", os.path.join(folder, "tiny.png"), "-crop", "10x10+0+0",
                    "+repage")
    good1 = good[0][1]
    ocr = f"{OCR_PATH}?access_token={token}"

    def post(path, body):
        return ("POST", path, body)

    def words(lines):
        return lambda status, body: status == 200 and _words(body) == lines

    def error(obj):
        return lambda status, body: status == 200 and _json(body) == obj

    def status_line(line):
        return lambda status, body: status == line

    kinds = []
    for i, (lines, picture) in enumerate(good):
        kinds.append(Kind(f"good picture {i + 1}", "good picture", 14,
                          post(ocr, form(picture)), words(lines)))
    kinds += [
        Kind("text instead of a picture", "bad picture", 5,
             post(ocr, form(b"hello, this is no picture at all")), error(FORMAT_ERROR)),
        Kind("a truncated PNG", "bad picture", 5, post(ocr, form(good1[: len(good1) // 2])),
             error(FORMAT_ERROR)),
        Kind("a picture of 10 x 10 pixels", "bad picture", 5, post(ocr, form(small)),
             error(SIZE_ERROR)),
        Kind("a PNG that claims 20000 x 20000 pixels", "bad picture", 5,
             post(ocr, form(png_header_only(20000, 20000))), error(SIZE_ERROR)),
        Kind("an empty image", "bad picture", 5, post(ocr, "image="), error(EMPTY_IMAGE)),
        Kind("a token request", "malformed request", 4, post(TOKEN_PATH, ""),
             lambda status, body: status == 200 and "access_token" in _json(body)),
        Kind("no token", "malformed request", 4, post(OCR_PATH, form(tiny)), error(TOKEN_INVALID)),
        Kind("a made-up token", "malformed request", 4,
             post(OCR_PATH + "?access_token=24.abc.2592000.1.0123456789abcdef", form(tiny)),
             error(TOKEN_INVALID)),
        Kind("no image field", "malformed request", 4, post(ocr, "url=http%3A%2F%2Fx%2Fa.png"),
             error(INVALID_PARAM)),
        Kind("a broken escape", "malformed request", 4, post(ocr, "image=QUJD%G1"),
             error(INVALID_PARAM)),
        Kind("not Base64", "malformed request", 4, post(ocr, "image=%3C%3Fxml%3E"),
             error(FORMAT_ERROR)),
        Kind("an unknown path", "malformed request", 3, post("/rest/2.0/ocr/v1/nothing", "a=b"),
             lambda status, body: _json(body).get("error_code") == 3),
        Kind("not HTTP", "malformed request", 3, ("RAW", b"GARBAGE\r\n\r\n", False),
             status_line("HTTP/1.1 400 Bad Request")),
        Kind("a broken chunk", "malformed request", 3,
             ("RAW", f"POST {ocr} HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
              "zz\r\n".encode(), False), status_line("HTTP/1.1 400 Bad Request")),
        Kind("a huge header", "malformed request", 3,
             ("RAW", (f"POST {ocr} HTTP/1.1\r\nHost: x\r\nX: " + "h" * 100000 + "\r\n\r\n").encode(),
              False), status_line("HTTP/1.1 400 Bad Request")),
        Kind("a body cut off by the client", "malformed request", 3,
             ("RAW", f"POST {ocr} HTTP/1.1\r\nHost: x\r\nContent-Length: 1000000\r\n\r\n"
              "image=QUJD".encode(), True), lambda status, body: True),
    ]
    return kinds


def _json(body):
    try:
        value = json.loads(body)
        return value if isinstance(value, dict) else {}
    except ValueError:
        return {}


def _words(body):
    value = _json(body)
    return [item.get("words") for item in value.get("words_result", [])] if value else None


class Client:
    """One client: a kept-alive connection for well-formed requests, a fresh socket for raw ones."""

    def __init__(self, host, port):
        self.host, self.port = host, port
        self.connection = None

    def send(self, request):
        if request[0] == "RAW":
            return self.raw(request[1], request[2])
        for attempt in range(2):
            try:
                if self.connection is None:
                    self.connection = http.client.HTTPConnection(self.host, self.port, timeout=300)
                self.connection.request(request[0], request[1], body=request[2], headers=FORM)
                response = self.connection.getresponse()
                body = response.read().decode("utf-8", "replace")
                if response.getheader("Connection", "").lower() == "close":
                    self.close()
                return response.status, body
            except (http.client.HTTPException, OSError):
                # A kept-alive connection the service closed between requests: one new try.
                self.close()
                if attempt == 1:
                    raise
        raise AssertionError("unreachable")

    def raw(self, data, leave_early):
        with socket.create_connection((self.host, self.port), timeout=300) as s:
            try:
                s.sendall(data)
            except OSError:
                pass  # the service may close on a huge header before reading all of it
            if leave_early:
                return "", ""
            received = b""
            try:
                while b"\r\n" not in received:
                    chunk = s.recv(4096)
                    if not chunk:
                        break
                    received += chunk
            except OSError:
                pass
            return received.split(b"\r\n", 1)[0].decode("latin-1"), ""

    def close(self):
        if self.connection is not None:
            self.connection.close()
            self.connection = None


def rss_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        return None
    return None


def main():
    # Ended from outside (scripts/soak, a terminal), the service is still stopped below.
    signal.signal(signal.SIGTERM, lambda *_: sys.exit(1))
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--ocrd", required=True)
    parser.add_argument("--engine", default="ppocr")
    parser.add_argument("--requests", type=int, default=10000)
    parser.add_argument("--clients", type=int, default=8)
    parser.add_argument("--out", default="")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()

    folder = tempfile.mkdtemp(prefix="lumenta-service-soak.")
    log = open(os.path.join(folder, "ocrd.log"), "wb")
    service = subprocess.Popen([args.ocrd, "--engine", args.engine], stdout=subprocess.PIPE,
                               stderr=log)
    try:
        line = service.stdout.readline().decode()
        match = re.match(r"ocrd listening on http://([\d.]+):(\d+)", line)
        if not match:
            print(f"service_soak: ocrd did not start: {line!r}", file=sys.stderr)
            return 1
        host, port = match.group(1), int(match.group(2))
        status, body = Client(host, port).send(("POST", TOKEN_PATH, ""))
        token = _json(body)["access_token"]
        kinds = build_mix(folder, token)
        return soak(args, service, host, port, kinds)
    finally:
        service.terminate()
        try:
            service.wait(timeout=30)
        except subprocess.TimeoutExpired:
            service.kill()
            service.wait()
        log.close()
        subprocess.run(["rm", "-rf", folder])


def soak(args, service, host, port, kinds):
    rng = random.Random(args.seed)
    plan = rng.choices(kinds, weights=[k.weight for k in kinds], k=args.requests)
    warm_up = max(1, int(args.requests * WARM_UP_SHARE))
    next_index = [0]
    lock = threading.Lock()
    results = [None] * args.requests  # (kind, seconds, correct, answer)
    samples = []  # (requests done, seconds since start, VmRSS KiB)
    done = [0]
    stop = threading.Event()
    started = time.monotonic()

    def sampler():
        while not stop.wait(0.5):
            value = rss_kib(service.pid)
            if value is not None:
                with lock:
                    samples.append((done[0], time.monotonic() - started, value))

    def worker():
        client = Client(host, port)
        while True:
            with lock:
                i = next_index[0]
                if i >= args.requests:
                    break
                next_index[0] += 1
            kind = plan[i]
            begin = time.monotonic()
            try:
                status, body = client.send(kind.send)
                correct = kind.expect(status, body)
                answer = f"{status} {body[:160]}"
            except Exception as failure:  # a dropped connection or a time-out is a wrong answer
                correct, answer = False, f"{type(failure).__name__}: {failure}"
                client.close()
            seconds = time.monotonic() - begin
            with lock:
                results[i] = (kind, seconds, correct, answer)
                done[0] += 1
                if done[0] % 1000 == 0:
                    print(f"service_soak: {done[0]} requests, VmRSS "
                          f"{rss_kib(service.pid)} KiB", flush=True)
        client.close()

    threading.Thread(target=sampler, daemon=True).start()
    threads = [threading.Thread(target=worker) for _ in range(args.clients)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    stop.set()
    elapsed = time.monotonic() - started
    final_rss = rss_kib(service.pid)
    samples.append((done[0], elapsed, final_rss or 0))
    alive = service.poll() is None

    wrong = [(i, r) for i, r in enumerate(results) if not r[2]]
    by_kind = {}
    for kind, seconds, correct, answer in results:
        by_kind.setdefault(kind.name, []).append(seconds)
    slow = []
    kind_rows = []
    for kind in kinds:
        times = by_kind.get(kind.name, [])
        if not times:
            continue
        median = statistics.median(times)
        worst = max(times)
        # Answers of a millisecond or less vary with the scheduling of eight client threads (one
        # interpreter lock among them) and of a shared two-core machine more than with the
        # service: the limit is never below FLOOR.
        limit = max(SLOWNESS_LIMIT * median, SLOWNESS_FLOOR)
        over = sum(1 for t in times if t > limit)
        if over:
            slow.append((kind.name, over, worst, median))
        kind_rows.append({"kind": kind.name, "group": kind.group, "count": len(times),
                          "median_ms": round(median * 1000, 1), "max_ms": round(worst * 1000, 1),
                          "over_limit": over})
    after = [s for s in samples if s[0] >= warm_up]
    base = after[0][2] if after else samples[0][2]
    peak = max(s[2] for s in after) if after else base
    growth = (peak - base) * 100.0 / base if base else 0.0
    end_growth = ((final_rss or 0) - base) * 100.0 / base if base else 0.0
    start_rss = samples[0][2] if samples else 0

    print(f"service_soak: {args.requests} requests from {args.clients} clients, engine "
          f"{args.engine}, in {elapsed:.0f} s ({args.requests / elapsed:.1f} per second)")
    print(f"service_soak: wrong answers {len(wrong)}, service "
          f"{'still running' if alive else 'ENDED'}")
    for i, (kind, seconds, correct, answer) in wrong[:10]:
        print(f"  request {i}: {kind.name}: {answer}")
    print(f"service_soak: VmRSS first sample {start_rss} KiB, after warm-up ({warm_up} requests) "
          f"{base} KiB, peak after {peak} KiB (+{growth:.1f} %), at the end {final_rss} KiB "
          f"({end_growth:+.1f} %); limit +{MEMORY_GROWTH_LIMIT:.0f} %")
    for row in kind_rows:
        print(f"  {row['kind']:<40} {row['count']:>6}  median {row['median_ms']:>8.1f} ms  "
              f"max {row['max_ms']:>8.1f} ms  over {SLOWNESS_LIMIT:.0f}x median: {row['over_limit']}")
    passed = not wrong and alive and growth < MEMORY_GROWTH_LIMIT and not slow
    print(f"service_soak: {'PASSED' if passed else 'FAILED'}")
    if args.out:
        os.makedirs(os.path.dirname(os.path.abspath(args.out)), exist_ok=True)
        with open(args.out, "w") as f:
            json.dump({
                "requests": args.requests, "clients": args.clients, "engine": args.engine,
                "seconds": round(elapsed, 1), "wrong": len(wrong),
                "wrong_examples": [f"{r[0].name}: {r[3]}" for _, r in wrong[:5]],
                "alive": alive, "warm_up_requests": warm_up, "rss_start_kib": start_rss,
                "rss_after_warm_up_kib": base, "rss_peak_kib": peak, "rss_end_kib": final_rss,
                "growth_percent": round(growth, 2), "end_growth_percent": round(end_growth, 2),
                "memory_limit_percent": MEMORY_GROWTH_LIMIT, "slowness_limit": SLOWNESS_LIMIT,
                "slowness_floor_ms": SLOWNESS_FLOOR * 1000,
                "slow": [{"kind": k, "count": n, "max_ms": round(w * 1000, 1),
                          "median_ms": round(m * 1000, 1)} for k, n, w, m in slow],
                "kinds": kind_rows,
                "samples": [{"done": d, "seconds": round(t, 1), "rss_kib": r}
                            for d, t, r in samples[:: max(1, len(samples) // 40)]],
                "passed": passed,
            }, f, indent=1, ensure_ascii=False)
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main())
