"""Wine harness: one fresh prefix per test session, a cheap copy per test.

The base prefix is made once with wineboot, for the build this host runs
(winehost.py: the i686 build in a WoW64 prefix, or the x86_64 build in a 64-bit
one); each test gets a hard-linked copy whose registry and ini files are real
copies, so tests never see each other's changes. Windows run on a private Xvfb
display.
"""
import os
import shutil
import subprocess
import tempfile
import time
from pathlib import Path, PureWindowsPath

import pytest

import winehost

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
WORK = BUILD / "e2e"
SCREENS = BUILD / "screens"

# Files Wine rewrites in place: never share them between copies.
PRIVATE_SUFFIXES = (".reg", ".ini")
NO_HOST_MENUS = "mscoree,mshtml=;winemenubuilder.exe=d"

# Hard limit of one test, its fixtures included: a hung program fails its test
# (and the prefix is torn down) instead of hanging the run.
TEST_TIME_LIMIT = 300


def pytest_configure(config):
    if not config.pluginmanager.hasplugin("timeout"):
        raise pytest.UsageError("the Wine tests need pytest-timeout (python3-pytest-timeout): run make deps")


def pytest_sessionstart(session):
    # Also under -q, so the CI log shows which build ran.
    reporter = session.config.pluginmanager.get_plugin("terminalreporter")
    if reporter is not None:
        reporter.write_line(winehost.host().describe())


def pytest_terminal_summary(terminalreporter):
    terminalreporter.write_line(winehost.host().describe())


def pytest_collection_modifyitems(items):
    for item in items:
        if item.get_closest_marker("timeout") is None:
            item.add_marker(pytest.mark.timeout(TEST_TIME_LIMIT))


def _env(prefix, display):
    env = dict(os.environ)
    env.update(
        WINEPREFIX=str(prefix),
        WINEDEBUG="-all",
        # No menu helper: it would copy every shortcut into the host's own menus and icons.
        WINEDLLOVERRIDES=NO_HOST_MENUS,
        DISPLAY=display,
        LC_ALL="C.UTF-8",
    )
    env.update(winehost.host().env())
    return env


@pytest.fixture(scope="session")
def display():
    """A private Xvfb display for the whole session (of each worker: parallel
    workers look for a free number in ranges of their own)."""
    worker = os.environ.get("PYTEST_XDIST_WORKER", "gw0")
    first = 90 + 20 * int(worker.removeprefix("gw") or 0)
    for number in range(first, first + 20):
        if not Path(f"/tmp/.X{number}-lock").exists():
            break
    proc = subprocess.Popen(
        ["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while time.time() < deadline and not Path(f"/tmp/.X11-unix/X{number}").exists():
        time.sleep(0.1)
    yield f":{number}"
    proc.terminate()
    proc.wait(timeout=10)


def make_base_prefix(prefix, display):
    """A fresh prefix for the build this host runs; falls back to the 64-bit one
    when a 32-bit program does not run after all (unless the choice was forced)."""
    def fresh(arch):
        subprocess.run(["wineserver", "-k"], env=_env(prefix, display), check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        shutil.rmtree(prefix, ignore_errors=True)
        return winehost.make_prefix(prefix, _env(prefix, display), arch)

    if not fresh(winehost.host().arch) and winehost.host().arch == 32 and not winehost.forced():
        winehost.fall_back_to_64("a 32-bit program did not run in a WoW64 prefix")
        fresh(64)
    assert (prefix / "system.reg").exists(), f"wineboot did not create a prefix; {winehost.host().describe()}"
    return prefix


@pytest.fixture(scope="session")
def base_prefix(display, tmp_path_factory):
    WORK.mkdir(parents=True, exist_ok=True)
    prefix = make_base_prefix(WORK / f"prefix-base-{os.getpid()}", display)
    env = _env(prefix, display)
    yield prefix
    subprocess.run(["wineserver", "-k"], env=env, check=False)
    shutil.rmtree(prefix, ignore_errors=True)


class Result:
    def __init__(self, rc, stdout, stderr, timed_out, seconds):
        self.rc, self.stdout, self.stderr = rc, stdout, stderr
        self.timed_out, self.seconds = timed_out, seconds

    def __repr__(self):
        return f"Result(rc={self.rc}, timed_out={self.timed_out}, seconds={self.seconds:.1f})"


class WinePrefix:
    """A private copy of the base prefix for one test."""

    def __init__(self, base, path, display):
        self.path = path
        self.display = display
        cmd = ["cp", "-al", str(base), str(path)]
        subprocess.run(cmd, check=True)
        for f in path.rglob("*"):
            if f.is_file() and f.suffix.lower() in PRIVATE_SUFFIXES:
                data = f.read_bytes()
                f.unlink()
                f.write_bytes(data)
        self.env = _env(path, display)

    # ---- paths ----
    @property
    def drive_c(self):
        return self.path / "drive_c"

    def host_path(self, win_path):
        p = PureWindowsPath(win_path)
        drive = p.drive.upper()
        if drive == "C:":
            return self.drive_c.joinpath(*p.parts[1:])
        if drive == "Z:":
            return Path("/").joinpath(*p.parts[1:])
        raise ValueError(f"no host path for {win_path}")

    def win_path(self, host_path):
        host_path = Path(host_path).resolve()
        try:
            rel = host_path.relative_to(self.drive_c.resolve())
            return "C:\\" + "\\".join(rel.parts)
        except ValueError:
            return "Z:" + str(host_path).replace("/", "\\")

    def make_folder(self, win_path):
        p = self.host_path(win_path)
        p.mkdir(parents=True, exist_ok=True)
        return p

    # ---- processes ----
    @staticmethod
    def command(*args):
        """A Windows command line for subprocess: the loader of this run first."""
        return [*winehost.host().loader, *args]

    def _command(self, exe, args):
        exe = str(exe)
        if not exe.lower().startswith(("c:", "z:")):
            exe = self.win_path(exe)
        return self.command(exe, *args)

    def run(self, exe, *args, timeout=60, cwd=None, env=None):
        """Runs a Windows program to its end; the exit code, or timed_out."""
        start = time.time()
        # Files, not pipes: a program the run started (a server window it put back, say)
        # keeps the handles it inherited long after the run has ended.
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            proc = subprocess.Popen(self._command(exe, args), env={**self.env, **(env or {})}, cwd=cwd,
                                    stdout=out, stderr=err)
            try:
                proc.wait(timeout=timeout)
                timed_out = False
            except subprocess.TimeoutExpired:
                proc.kill()
                self.kill()
                proc.wait(timeout=30)
                timed_out = True
            out.seek(0)
            err.seek(0)
            return Result(None if timed_out else proc.returncode, out.read(), err.read(), timed_out,
                          time.time() - start)

    def start(self, exe, *args, cwd=None):
        """Starts a Windows program and returns its Popen."""
        return subprocess.Popen(self._command(exe, args), env=self.env, cwd=cwd,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def output(self, *args, timeout=60):
        """What a Windows command prints, as text."""
        proc = subprocess.run(self.command(*args), env=self.env, capture_output=True, timeout=timeout)
        return proc.stdout.decode("utf-8", "replace")

    def wait_idle(self, timeout=60):
        subprocess.run(["wineserver", "-w"], env=self.env, timeout=timeout, check=False)

    def kill(self):
        subprocess.run(["wineserver", "-k"], env=self.env, check=False,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    # ---- inspection ----
    def read_file(self, win_path, mode="rb"):
        return self.host_path(win_path).read_bytes() if mode == "rb" else \
            self.host_path(win_path).read_text(encoding="cp1250")

    def reg_query(self, key, value=None, view=32):
        """The data of a registry value as `reg query` prints it, or None."""
        args = ["reg", "query", key, f"/reg:{view}"]
        args += ["/v", value] if value is not None else ["/ve"]
        proc = subprocess.run(self.command(*args), env=self.env, capture_output=True, timeout=60)
        if proc.returncode != 0:
            return None
        for line in proc.stdout.decode("utf-8", "replace").splitlines():
            parts = line.strip().split(None, 2)
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                name = parts[0]
                if value is None or name.lower() == value.lower():
                    return parts[2] if len(parts) > 2 else ""
        return None

    def reg_add(self, key, value, data, kind="REG_SZ", view=32):
        proc = subprocess.run(self.command("reg", "add", key, "/v", value, "/t", kind, "/d", data,
                               "/f", f"/reg:{view}"), env=self.env, capture_output=True, timeout=60)
        assert proc.returncode == 0, proc.stderr

    def reg_import(self, keys, views=(32, 64)):
        """Creates each key (HKLM\\... or HKCU\\...) with a value "v", in every view given."""
        roots = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}
        text = "REGEDIT4\r\n\r\n"
        for key in keys:
            root, rest = key.split("\\", 1)
            text += f'[{roots[root]}\\{rest}]\r\n"v"="x"\r\n\r\n'
        file = self.make_folder(r"C:\regimport") / "keys.reg"
        file.write_bytes(text.encode("ascii"))
        for view in views:
            proc = subprocess.run(self.command("reg", "import", r"C:\regimport\keys.reg", f"/reg:{view}"),
                                  env=self.env, capture_output=True, timeout=60)
            assert proc.returncode == 0, proc.stderr

    def reg_keys(self, key, view=32):
        """The key and every key below it (as HKLM\\...), empty when it is missing."""
        proc = subprocess.run(self.command("reg", "query", key, "/s", f"/reg:{view}"), env=self.env,
                              capture_output=True, timeout=60)
        if proc.returncode != 0:
            return set()
        root = key.split("\\", 1)[0]
        full = {"HKLM": "HKEY_LOCAL_MACHINE", "HKCU": "HKEY_CURRENT_USER"}[root] + "\\"
        found = set()
        for line in proc.stdout.decode("utf-8", "replace").splitlines():
            line = line.strip()
            if line.upper().startswith(full):
                found.add(root + "\\" + line[len(full):])
        return found

    def screenshot(self, name):
        """Saves the whole Xvfb screen as build/screens/<name>.png."""
        SCREENS.mkdir(parents=True, exist_ok=True)
        target = SCREENS / f"{name}.png"
        subprocess.run(["import", "-display", self.display, "-window", "root", str(target)],
                       check=False, timeout=30)
        return target


@pytest.fixture
def wine(base_prefix, display, request):
    path = WORK / f"prefix-{os.getpid()}-{request.node.name}"[:120]
    shutil.rmtree(path, ignore_errors=True)
    prefix = WinePrefix(base_prefix, path, display)
    yield prefix
    prefix.kill()
    shutil.rmtree(path, ignore_errors=True)


@pytest.fixture(scope="session")
def programs():
    """Paths of the built Windows programs of the build this host runs."""
    return programs_of(winehost.host().build)


def programs_of(build):
    found = {
        "build": build,
        "installer": build / "installer" / "installer.exe",
        "startup": build / "startup" / "startup.exe",
        "media": BUILD / "host" / "tools" / "media" / "ostravel-media",
        "fixtures": build / "tests" / "fixtures",
    }
    assert found["installer"].exists(), f"build the {build.name} preset first (make build-{build.name})"
    return found
