"""Loopback servers the web-update tests start and stop themselves: an HTTP site
(a folder, plus scripted misbehaviour per path) and tinyproxy with Basic
authentication. Everything listens on 127.0.0.1 only."""
import http.server
import shutil
import socket
import subprocess
import threading
import time
from pathlib import Path


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for_port(port, timeout=10):
    deadline = time.time() + timeout
    while time.time() < deadline:
        try:
            with socket.create_connection(("127.0.0.1", port), timeout=0.5):
                return True
        except OSError:
            time.sleep(0.05)
    return False


class _Handler(http.server.BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *args):
        pass

    def do_HEAD(self):
        self._serve(head=True)

    def do_GET(self):
        self._serve(head=False)

    def _serve(self, head):
        site = self.server.site
        site.requests.append((self.command, self.path, dict(self.headers.items())))
        route = site.routes.get(self.path.split("?")[0])
        if route:
            route(self, head)
            return
        target = site.root / self.path.lstrip("/").split("?")[0] if site.root else None
        if not target or not target.is_file():
            self.reply(404, b"<html><body>Not Found</body></html>", head, reason="Not Found")
            return
        self.send_file(target, head)

    # ---- helpers for routes ----
    def reply(self, status, body=b"", head=False, length=None, headers=(), reason=None):
        self.send_response(status, reason)
        if length is not False:
            self.send_header("Content-Length", str(len(body) if length is None else length))
        for k, v in headers:
            self.send_header(k, v)
        self.send_header("Connection", "close")
        self.end_headers()
        if not head and body:
            try:
                self.wfile.write(body)
            except OSError:
                pass
        self.close_connection = True

    def send_file(self, path, head):
        size = path.stat().st_size
        start = 0
        rng = self.headers.get("Range", "")
        if self.server.site.ranges and rng.startswith("bytes=") and rng.endswith("-"):
            start = int(rng[6:-1])
        self.send_response(206 if start else 200)
        self.send_header("Content-Length", str(size - start))
        if start:
            self.send_header("Content-Range", f"bytes {start}-{size - 1}/{size}")
        self.send_header("Connection", "close")
        self.end_headers()
        if not head:
            with open(path, "rb") as f:
                f.seek(start)
                try:
                    shutil.copyfileobj(f, self.wfile, 1 << 20)
                except OSError:
                    pass
        self.close_connection = True


class Site:
    """A threaded HTTP server on `host` (127.0.0.1) for the folder `root`; `routes` maps a
    path to a callable (handler, head) that answers instead."""

    def __init__(self, root=None, routes=None, ranges=True, host="127.0.0.1"):
        self.root = Path(root) if root else None
        self.routes = dict(routes or {})
        self.ranges = ranges
        self.requests = []
        self.release = threading.Event()  # ends answers that hang
        self.server = http.server.ThreadingHTTPServer((host, 0), _Handler)
        self.server.daemon_threads = True
        self.server.site = self
        self.port = self.server.server_address[1]
        self.url = f"http://{host}:{self.port}/"
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)

    def __enter__(self):
        self.thread.start()
        return self

    def __exit__(self, *exc):
        self.release.set()
        self.server.shutdown()
        self.server.server_close()

    def paths(self, method=None):
        return [p for m, p, _ in self.requests if method is None or m == method]


# ---- misbehaviour, as routes ----
def cut_short(body, sent):
    """Announces the whole body and closes after `sent` bytes."""
    def route(h, head):
        h.reply(200, body if head else body[:sent], head, length=len(body))
    return route


def slow(body, pieces=16, pause=0.25):
    """The whole body, a piece at a time with a pause between: a slow line."""
    def route(h, head):
        h.send_response(200)
        h.send_header("Content-Length", str(len(body)))
        h.end_headers()
        if head:
            return
        step = max(1, -(-len(body) // pieces))
        for at in range(0, len(body), step):
            h.wfile.write(body[at:at + step])
            h.wfile.flush()
            time.sleep(pause)
    return route


def with_length(body, length):
    """A body with any Content-Length text (False: none at all)."""
    def route(h, head):
        h.reply(200, body, head, length=length)
    return route


def status(code, reason=None, body=b"<html><body>error</body></html>"):
    def route(h, head):
        h.reply(code, body, head, reason=reason)
    return route


def redirect(location):
    def route(h, head):
        h.reply(302, b"", head, headers=[("Location", location)])
    return route


def never_answers(h, head):
    h.server.site.release.wait(120)
    h.close_connection = True


def fail_first(times, then):
    """Answers 503 `times` times, then as `then` does."""
    count = [0]
    def route(h, head):
        count[0] += 1
        if count[0] <= times:
            h.reply(503, b"busy", head, reason="Service Unavailable")
        else:
            then(h, head)
    return route


class TinyProxy:
    """tinyproxy on 127.0.0.1 with Basic authentication."""

    def __init__(self, folder, user, password):
        self.port = free_port()
        self.folder = Path(folder)
        self.folder.mkdir(parents=True, exist_ok=True)
        self.log = self.folder / "tinyproxy.log"
        conf = self.folder / "tinyproxy.conf"
        conf.write_text(
            f"Port {self.port}\nListen 127.0.0.1\nTimeout 30\nMaxClients 20\nAllow 127.0.0.1\n"
            f"BasicAuth {user} {password}\nLogLevel Info\nPidFile \"{self.folder / 'tinyproxy.pid'}\"\n")
        self.conf = conf
        self.proc = None

    def __enter__(self):
        self.proc = subprocess.Popen(["tinyproxy", "-d", "-c", str(self.conf)],
                                     stdout=open(self.log, "wb"), stderr=subprocess.STDOUT)
        assert wait_for_port(self.port), "tinyproxy did not start"
        return self

    def __exit__(self, *exc):
        self.proc.terminate()
        try:
            self.proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
