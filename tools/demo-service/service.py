#!/usr/bin/env python3
"""The local sample-data service for the demo and the tests.

Listens on 127.0.0.1 only. Besides the data endpoints it misbehaves on request, so that the HTTP
layer can be tested against real faults. A fault is chosen by path (/test/<fault>) or by the query
parameter "fault" on any path:

  404, 500          that status with a short text body
  slow              the status line only after ?delay= milliseconds (default 3000)
  reset             announces ?size= bytes (default 65536), sends half, then resets the connection
  endless           a body without length that never ends
  gzip              a gzip-encoded body (Content-Encoding: gzip) whether asked for or not
  trailing          the holiday file followed by an error page, as a cut or padded transfer leaves it
  redirect          302 to ?to= (default /test/ok), ?hops= times (default 1)
  redirect-loop     302 to the address asked for, for ever
  huge              a body of 100 MB, announced
  deep-json         100 000 "[" in a row
  tampered          the hardware-tool setup with one byte inverted inside what its signature covers, after
                    ?delay= milliseconds (default 0); 404 unless the setup is a signed program

Sample data (sampledata.py, files in data/), every service host being this one:
  /pc/other/holiday.db                         the calendar's holiday file
  /sed_api_area_query.php?grade=province|city|town&code=C    one level of the area directory
  /sed_api_weather_info.php[?code=TOWN]        weather of a town, or of the located caller without a code
  /super/news.php, /super/pic/NAME, /super/page/NAME         headlines, their pictures and pages
  /brako/brakosetup.exe                        the hardware-tool setup (--tool-setup; by default the build's
                                               bin/brakosetup.exe), 404 while absent

Test helpers: /test/ok?size=N (N bytes of known length), /test/drip?size=N&chunk=K&delay=ms (a
known length sent slowly), /test/headers (the request headers as JSON).
Control: /control/quit ends the service. /control/answer?path=PATH&variant=NAME chooses how PATH answers from
then on; with &count=N only the next N answers, after which it answers normally again. The variants of every
path are the faults 404 and 500 (a short text body), slow (the normal answer after ?delay= milliseconds,
default 3000, before even the status line), reset (half an announced body, then a reset), garbage (200 with a
body that is not JSON), endless, huge, redirect-loop and deep-json (as above), gzip (the normal answer
gzip-encoded) and bad-utf8 (the normal answer with every lead byte of a three-byte UTF-8 sequence made 0xFF);
the data paths add their own (sampledata.News and sampledata.Weather list them), "normal" being the ordinary
answer. Without a variant it only reports. Either way the answer is {"path", "variant", "requests": requests
of that path so far}; an unknown variant is a 404.
Statistics: /bizhi?... records each event, /bizhi/list gives them all as JSON.
Area and weather requests, faults included, are logged ({"host", "path"} with the query, in arrival order); /control/weather-log
hands the log over as JSON and starts a new one.
"""

import argparse
import datetime
import gzip
import json
import os
import socket
import struct
import sys
import threading
import time
import urllib.parse
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

import sampledata


class Service(ThreadingHTTPServer):
    daemon_threads = True
    request_queue_size = 128
    allow_reuse_address = True

    def __init__(self, address, tool_setup, today=None):
        super().__init__(address, Handler)
        self.tool_setup = tool_setup
        # Days between the real date and the day the weather is reported for (the demo's fixed day).
        self.day_shift = today - datetime.date.today() if today else datetime.timedelta()
        self.areas = sampledata.Areas()
        self.weather = sampledata.Weather(self.areas)
        self.news = sampledata.News()
        self.answers = Answers({"/super/news.php": sampledata.News.VARIANTS,
                                "/sed_api_weather_info.php": sampledata.Weather.VARIANTS})
        self.events = []
        self.events_lock = threading.Lock()
        self.weather_log = []
        self.last_request = time.monotonic()
        self.quitting = threading.Event()

    def quit(self):
        self.quitting.set()
        threading.Thread(target=self.shutdown, daemon=True).start()


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"
    # Headers and body leave in separate writes; with Nagle's delay each kept-open request waited ~40 ms.
    disable_nagle_algorithm = True
    server_version = "deskling-demo-service"

    def log_message(self, format, *args):
        if os.environ.get("DEMO_SERVICE_VERBOSE"):
            super().log_message(format, *args)

    # --- plumbing -------------------------------------------------------------------------------

    def send_body(self, status, body, content_type="text/plain; charset=utf-8", extra=()):
        if isinstance(body, str):
            body = body.encode("utf-8")
        if self.rewrite == "gzip":
            body = gzip.compress(body)
            extra = tuple(extra) + (("Content-Encoding", "gzip"),)
        elif self.rewrite == "bad-utf8":
            body = bytes(0xFF if 0xE0 <= byte <= 0xEF else byte for byte in body)
        self.send_response(status)
        self.send_header("Content-Type", content_type)
        self.send_header("Content-Length", str(len(body)))
        for name, value in extra:
            self.send_header(name, value)
        self.end_headers()
        self.wfile.write(body)

    def int_param(self, query, name, default):
        try:
            return int(query.get(name, [default])[0])
        except ValueError:
            return default

    def do_GET(self):
        self.server.last_request = time.monotonic()
        url = urllib.parse.urlsplit(self.path)
        query = urllib.parse.parse_qs(url.query, keep_blank_values=True)
        fault = query.get("fault", [None])[0]
        if url.path in ("/sed_api_area_query.php", "/sed_api_weather_info.php"):
            self.log_weather_request()
        if fault is None and url.path.startswith("/test/"):
            fault = url.path[len("/test/"):]
        variant, delay = "normal", 0
        self.rewrite = None
        if fault is None:
            variant, delay = self.server.answers.take(url.path)
            if variant in Answers.REWRITES:
                self.rewrite = variant
            elif variant in Answers.FAULTS and variant != "slow":
                fault = variant
        try:
            if fault is not None:
                self.test_route(fault, query)
            else:
                time.sleep(delay / 1000.0)
                self.data_route(url.path, url.query, query, variant)
        except (BrokenPipeError, ConnectionResetError):
            self.close_connection = True

    # --- misbehaviour and test helpers ----------------------------------------------------------

    def test_route(self, fault, query):
        if fault in ("404", "500"):
            self.send_body(int(fault), "fault %s\n" % fault)
        elif fault == "ok":
            size = self.int_param(query, "size", 16)
            self.send_body(200, pattern(size))
        elif fault == "slow":
            time.sleep(self.int_param(query, "delay", 3000) / 1000.0)
            self.send_body(200, "late\n")
        elif fault == "drip":
            self.drip(query)
        elif fault == "reset":
            self.reset(query)
        elif fault == "endless":
            self.endless()
        elif fault == "gzip":
            text = query.get("text", ["compressed body\n"])[0]
            self.send_body(200, gzip.compress(text.encode("utf-8")), extra=[("Content-Encoding", "gzip")])
        elif fault == "trailing":
            self.send_body(200, sampledata.holiday_db() + b"\n<html>502 Bad Gateway</html>\n", JSON)
        elif fault == "redirect":
            hops = self.int_param(query, "hops", 1)
            target = query.get("to", ["/test/ok"])[0]
            if hops > 1:
                rest = dict(query, hops=[str(hops - 1)])
                rest.pop("fault", None)
                target = "/test/redirect?" + urllib.parse.urlencode(rest, doseq=True)
            self.send_response(302)
            self.send_header("Location", target)
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif fault == "redirect-loop":
            here = self.path if "fault=redirect-loop" in self.path else \
                self.path + ("&" if "?" in self.path else "?") + "fault=redirect-loop"
            self.send_response(302)
            self.send_header("Location", here)
            self.send_header("Content-Length", "0")
            self.end_headers()
        elif fault == "huge":
            self.huge(100 << 20)
        elif fault == "deep-json":
            self.send_body(200, "[" * 100000, JSON)
        elif fault == "garbage":
            self.send_body(200, "{\"area\": [[\"", JSON)
        elif fault == "tampered":
            time.sleep(self.int_param(query, "delay", 0) / 1000.0)
            self.send_found(tampered(read_if_present(self.server.tool_setup)), "application/octet-stream")
        elif fault == "headers":
            headers = {name: value for name, value in self.headers.items()}
            self.send_body(200, json.dumps(headers), "application/json")
        else:
            self.send_body(404, "no such test\n")

    def drip(self, query):
        size = self.int_param(query, "size", 10000)
        chunk = max(1, self.int_param(query, "chunk", 1000))
        delay = self.int_param(query, "delay", 20) / 1000.0
        body = pattern(size)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        for start in range(0, size, chunk):
            self.wfile.write(body[start:start + chunk])
            self.wfile.flush()
            time.sleep(delay)

    def reset(self, query):
        size = self.int_param(query, "size", 65536)
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        self.wfile.write(pattern(size // 2))
        self.wfile.flush()
        time.sleep(0.05)
        # Linger 0: close sends a reset instead of an orderly end.
        self.connection.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
        self.connection.close()
        self.close_connection = True

    def huge(self, size):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Content-Length", str(size))
        self.end_headers()
        block = pattern(1 << 20)
        for start in range(0, size, len(block)):
            self.wfile.write(block[:size - start])

    def endless(self):
        self.send_response(200)
        self.send_header("Content-Type", "application/octet-stream")
        self.send_header("Connection", "close")
        self.end_headers()
        self.close_connection = True
        block = pattern(4096)
        while not self.server.quitting.is_set():
            self.wfile.write(block)
            self.wfile.flush()
            time.sleep(0.01)

    # --- data endpoints -------------------------------------------------------------------------

    def data_route(self, path, raw_query, query, variant):
        if path == "/control/quit":
            self.send_body(200, "bye\n", extra=[("Connection", "close")])
            self.close_connection = True
            self.server.quit()
        elif path == "/control/answer":
            self.control_answer(query)
        elif path == "/bizhi":
            self.record_event(raw_query, query)
        elif path == "/bizhi/list":
            with self.server.events_lock:
                events = list(self.server.events)
            self.send_body(200, json.dumps(events, ensure_ascii=False), JSON)
        elif path == "/pc/other/holiday.db":
            self.send_body(200, sampledata.holiday_db(), "application/octet-stream")
        elif path == "/control/weather-log":
            with self.server.events_lock:
                log, self.server.weather_log = self.server.weather_log, []
            self.send_body(200, json.dumps(log), JSON)
        elif path == "/sed_api_area_query.php":
            level = self.server.areas.query(query.get("grade", [""])[0], query.get("code", [""])[0])
            self.send_json(level, "unknown grade")
        elif path == "/sed_api_weather_info.php":
            code = query.get("code", [None])[0]
            answer = self.server.weather.report(code, datetime.datetime.now() + self.server.day_shift, variant)
            if answer is None:
                self.send_body(404, json.dumps({"error": "unknown town"}), JSON)
            else:
                self.send_body(answer[0], answer[1], JSON)
        elif path == "/super/news.php":
            status, answer = self.server.news.listing("http://" + self.headers.get("Host", "127.0.0.1"), variant)
            body = answer if isinstance(answer, str) else sampledata.to_json(answer)
            self.send_body(status, body, JSON)
        elif path.startswith("/super/pic/"):
            self.send_found(self.server.news.picture(path[len("/super/pic/"):]), "image/png")
        elif path.startswith("/super/page/"):
            self.send_found(self.server.news.page(path[len("/super/page/"):]), "text/html; charset=utf-8")
        elif path == "/brako/brakosetup.exe":
            self.send_found(read_if_present(self.server.tool_setup), "application/octet-stream")
        else:
            self.send_body(404, "not found\n")

    def control_answer(self, query):
        path = query.get("path", [""])[0]
        variant = query.get("variant", [None])[0]
        answers = self.server.answers
        if variant is not None and not answers.choose(path, variant, self.int_param(query, "count", 0),
                                                      self.int_param(query, "delay", 3000)):
            self.send_body(404, json.dumps({"error": "unknown variant", "variants": answers.variants(path)}), JSON)
            return
        self.send_body(200, json.dumps(answers.report(path)), JSON)

    def send_json(self, value, missing):
        if value is None:
            self.send_body(404, json.dumps({"error": missing}), JSON)
        else:
            self.send_body(200, sampledata.to_json(value), JSON)

    def send_found(self, body, content_type):
        if body is None:
            self.send_body(404, "not found\n")
        else:
            self.send_body(200, body, content_type)

    def log_weather_request(self):
        with self.server.events_lock:
            self.server.weather_log.append({"host": self.headers.get("Host", ""), "path": self.path})

    def record_event(self, raw_query, query):
        event = {
            "time": time.time(),
            "query": raw_query,
            "params": {name: values[0] for name, values in query.items()},
            "connection": self.headers.get("Connection", ""),
        }
        with self.server.events_lock:
            self.server.events.append(event)
        self.send_body(200, "ok\n")


JSON = "application/json; charset=utf-8"


class Answers:
    """How each path answers: its chosen variant, for good or for a number of answers, and its request count.
    Requests arrive on the server's threads."""

    FAULTS = ("404", "500", "slow", "reset", "garbage", "endless", "huge", "redirect-loop", "deep-json", "gzip",
              "bad-utf8")
    # The faults that change the normal answer rather than replace it.
    REWRITES = ("gzip", "bad-utf8")

    def __init__(self, variants_by_path):
        self.own = variants_by_path
        self.lock = threading.Lock()
        self.chosen = {}  # path -> [variant, answers left (0: until changed), delay in ms]
        self.requests = {}

    def variants(self, path):
        return ("normal",) + tuple(self.own.get(path, ())) + self.FAULTS

    def choose(self, path, variant, count, delay):
        if variant not in self.variants(path):
            return False
        with self.lock:
            self.chosen[path] = [variant, count, delay]
        return True

    def take(self, path):
        """(variant, delay in ms) of the next answer of path, counting the request."""
        with self.lock:
            self.requests[path] = self.requests.get(path, 0) + 1
            chosen = self.chosen.get(path)
            if chosen is None:
                return "normal", 0
            variant, left, delay = chosen
            if left == 1:
                del self.chosen[path]
            elif left > 1:
                chosen[1] -= 1
            return variant, delay if variant == "slow" else 0

    def report(self, path):
        with self.lock:
            chosen = self.chosen.get(path)
            return {"path": path, "variant": chosen[0] if chosen else "normal", "requests": self.requests.get(path, 0)}


def read_if_present(path):
    try:
        with open(path, "rb") as source:
            return source.read()
    except OSError:
        return None


def tampered(program):
    """A signed PE program with one byte inverted halfway to its certificate table, inside the part the signature's
    hash covers; None for anything else."""
    try:
        header = struct.unpack_from("<I", program, 0x3C)[0]
        optional = header + 24
        # The data directories follow 96 bytes of a 32-bit optional header, 112 of a 64-bit one; the fifth names
        # the certificate table by file offset and size.
        directories = optional + (96 if struct.unpack_from("<H", program, optional)[0] == 0x10B else 112)
        offset, size = struct.unpack_from("<II", program, directories + 4 * 8)
    except (struct.error, TypeError):
        return None
    if program[:2] != b"MZ" or size == 0 or offset + size > len(program):
        return None
    changed = bytearray(program)
    changed[offset // 2] ^= 0xFF
    return bytes(changed)


def built_tool_setup():
    """The setup the build made: <build root>/<flavour>/bin/brakosetup.exe, the build root found as tools/lib.sh
    finds it (DESKLING_BUILD_ROOT, else build/ in the source tree); the 64-bit flavour, which runs here, first."""
    source = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    root = os.environ.get("DESKLING_BUILD_ROOT") or os.path.join(source, "build")
    candidates = [os.path.join(root, flavour, "bin", "brakosetup.exe") for flavour in ("x86_64", "i686")]
    return next((path for path in candidates if os.path.isfile(path)), candidates[0])


def pattern(size):
    """size bytes of printable text that reveals truncation or reordering."""
    line = b"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ\n"
    return (line * (size // len(line) + 1))[:size]


def watch_idle(service, idle_seconds):
    while not service.quitting.wait(1.0):
        if time.monotonic() - service.last_request > idle_seconds:
            service.quit()


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("port", nargs="?", type=int, default=18080, help="TCP port; 0 picks a free one")
    parser.add_argument("--port-file", help="write the port here once listening")
    parser.add_argument("--idle-exit", type=float, default=0, help="end after this many seconds without a request")
    parser.add_argument("--tool-setup", default=built_tool_setup(),
                        help="the file served as the hardware-tool setup (404 while it does not exist)")
    parser.add_argument("--today", type=datetime.date.fromisoformat,
                        help="report the weather for this day (YYYY-MM-DD) at the present time of day")
    args = parser.parse_args()

    service = Service(("127.0.0.1", args.port), args.tool_setup, args.today)
    port = service.server_address[1]
    if args.port_file:
        temporary = args.port_file + ".tmp"
        with open(temporary, "w") as out:
            out.write("%d\n" % port)
        os.replace(temporary, args.port_file)
    if args.idle_exit > 0:
        threading.Thread(target=watch_idle, args=(service, args.idle_exit), daemon=True).start()
    print("demo service on http://127.0.0.1:%d" % port, file=sys.stderr, flush=True)
    try:
        service.serve_forever(poll_interval=0.2)
    except KeyboardInterrupt:
        pass
    service.server_close()


if __name__ == "__main__":
    main()
