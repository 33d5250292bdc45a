"""Drives Ostravel's windows under Wine through tests/fixtures/uidriver.exe.

The driver runs as one long-lived Wine process; each call sends one tab-separated
command line and reads one JSON answer. Clicks are posted, so a click that opens a
modal dialog returns at once; wait_* helpers poll for the state that should follow.
Every answer is awaited for a bounded time: a driver stuck on a hung window fails
the test instead of blocking it.
"""
import json
import os
import select
import subprocess
import time

from conftest import SCREENS

WIZARD = "TInstallerMainForm"
DIALOG = "TMessageForm"


class UiDriverError(RuntimeError):
    pass


class UiDriverHung(AssertionError):
    """No answer in time; not retried by the wait_* helpers."""


class UiDriver:
    # The first command also waits for Wine to start the driver.
    ANSWER_SECONDS = 30

    def __init__(self, wine, programs):
        self.wine = wine
        exe = wine.win_path(programs["fixtures"] / "uidriver.exe")
        self.proc = subprocess.Popen(wine.command(exe), env=wine.env, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self._pending = b""

    def close_driver(self):
        if self.proc.poll() is None:
            self.proc.stdin.close()
            try:
                self.proc.wait(timeout=20)
            except subprocess.TimeoutExpired:
                self.proc.kill()

    def call(self, *fields):
        line = "\t".join(str(f) for f in fields) + "\n"
        self.proc.stdin.write(line.encode("utf-8"))
        self.proc.stdin.flush()
        answer = self._read_line(fields)
        if not answer:
            raise UiDriverError("the ui driver ended")
        return json.loads(answer.decode("utf-8"))

    def _read_line(self, fields):
        deadline = time.time() + self.ANSWER_SECONDS
        fd = self.proc.stdout.fileno()
        while b"\n" not in self._pending:
            left = deadline - time.time()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                self.proc.kill()
                raise UiDriverHung(f"no answer to {fields} within {self.ANSWER_SECONDS} s")
            chunk = os.read(fd, 65536)
            if not chunk:
                return b""
            self._pending += chunk
        line, self._pending = self._pending.split(b"\n", 1)
        return line + b"\n"

    def value(self, *fields):
        answer = self.call(*fields)
        if not answer["ok"]:
            raise UiDriverError(f"{fields}: {answer.get('error')}")
        return answer.get("value")

    # ---- the windows ----
    def exists(self, cls=WIZARD):
        return self.call("title", cls)["ok"]

    def title(self, cls=WIZARD):
        return self.value("title", cls)

    def controls(self, cls=WIZARD):
        return {c["name"]: c for c in self.value("controls", cls)}

    def text(self, name, cls=WIZARD):
        return self.value("get", cls, name)

    def set_text(self, name, text, cls=WIZARD):
        self.value("set", cls, name, text)

    def click(self, name, cls=WIZARD):
        self.value("click", cls, name)

    def check(self, name, checked, cls=WIZARD):
        self.value("check", cls, name, 1 if checked else 0)

    def select(self, name, index, cls=WIZARD):
        self.value("select", cls, name, index)

    def close(self, cls=WIZARD):
        self.value("close", cls)

    def raise_window(self, cls=WIZARD):
        self.value("raise", cls)

    def page(self):
        return self.value("page", WIZARD)

    # ---- waiting ----
    def wait_for(self, predicate, what, timeout=60):
        deadline = time.time() + timeout
        while time.time() < deadline:
            try:
                if predicate():
                    return
            except UiDriverError:
                pass
            time.sleep(0.2)
        raise AssertionError(f"timed out waiting for {what}")

    def wait_window(self, cls=WIZARD, timeout=60):
        self.wait_for(lambda: self.exists(cls), f"window {cls}", timeout)

    def wait_gone(self, cls=WIZARD, timeout=60):
        self.wait_for(lambda: not self.exists(cls), f"{cls} to close", timeout)

    def wait_page(self, name, timeout=60):
        self.wait_for(lambda: self.page() == name, f"page {name}", timeout)

    # ---- pictures ----
    def screenshot(self, name, cls=WIZARD):
        """Saves the window (not the whole screen) as build/screens/<name>.png."""
        time.sleep(0.3)  # let the last paint land
        left, top, right, bottom = self.value("rect", cls)
        SCREENS.mkdir(parents=True, exist_ok=True)
        target = SCREENS / f"{name}.png"
        subprocess.run(["import", "-display", self.wine.display, "-window", "root", "-crop",
                        f"{right - left}x{bottom - top}+{left}+{top}", "+repage", str(target)],
                       check=False, timeout=30)
        return target
