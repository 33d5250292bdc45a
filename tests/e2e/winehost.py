"""Which Windows build this host runs under Wine, decided once per run.

Where a 32-bit Windows program runs, the i686 build in a WoW64 prefix made by
Debian's `wine`. Hosts whose kernel runs 64-bit programs only cannot start the
32-bit loader at all ("Exec format error"): there the x86_64 build runs in a 64-bit
prefix started with the 64-bit loader, and the prefix is given what the 32-bit half
of `wineboot` would have written. OSTRAVEL_WINE_ARCH=32 or 64 forces one.

Nothing here changes the host: prefixes live in the build folder.
"""
import os
import subprocess
from pathlib import Path

REPO = Path(__file__).resolve().parents[2]
BUILD = REPO / "build"
LOADER32 = "/usr/lib/wine/wine"
LOADER64 = "/usr/lib/wine/wine64"
FORCE = "OSTRAVEL_WINE_ARCH"

# What a WoW64 prefix holds in the 32-bit registry view and a 64-bit one lacks.
# ProgramW6432Dir is missing from a WoW64 prefix too, so it is not written.
CURRENT_VERSION = r"HKLM\Software\Microsoft\Windows\CurrentVersion"
WOW64_VALUES = {
    "ProgramFilesDir": r"C:\Program Files (x86)",
    "CommonFilesDir": r"C:\Program Files (x86)\Common Files",
    "ProgramFilesDir (x86)": r"C:\Program Files (x86)",
    "CommonFilesDir (x86)": r"C:\Program Files (x86)\Common Files",
}
# Machine-wide shell folders: the 32-bit half registers them in its own view.
SHELL_FOLDER_KEYS = (CURRENT_VERSION + r"\Explorer\Shell Folders",
                     CURRENT_VERSION + r"\Explorer\User Shell Folders")


class WineHost:
    def __init__(self, arch, reason):
        self.arch, self.reason = arch, reason

    @property
    def build(self):
        return BUILD / ("win32" if self.arch == 32 else "win64")

    @property
    def loader(self):
        """The command that starts a Windows program."""
        return ["wine"] if self.arch == 32 else [LOADER64]

    def env(self):
        if self.arch == 32:
            return {}
        # Programs started by Windows programs use the same loader.
        return {"WINEARCH": "win64", "WINELOADER": LOADER64}

    def describe(self):
        name = "i686 build in a WoW64 prefix" if self.arch == 32 else "x86_64 build in a 64-bit prefix"
        return f"Wine: the {name} ({self.build.relative_to(REPO)}): {self.reason}"


def _loader32_starts():
    try:
        return subprocess.run([LOADER32, "--version"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                              timeout=60).returncode == 0
    except OSError:
        return False


_chosen = None


def host():
    """The choice of this run; made on first use."""
    global _chosen
    if _chosen is None:
        forced = os.environ.get(FORCE, "")
        if forced in ("32", "64"):
            _chosen = WineHost(int(forced), f"forced by {FORCE}={forced}")
        elif forced:
            raise SystemExit(f"{FORCE} must be 32 or 64, not {forced!r}")
        elif _loader32_starts():
            _chosen = WineHost(32, "the host runs 32-bit programs")
        else:
            _chosen = WineHost(64, "the host runs 64-bit programs only (the 32-bit loader does not start)")
    return _chosen


def forced():
    return os.environ.get(FORCE, "") in ("32", "64")


def fall_back_to_64(reason):
    global _chosen
    _chosen = WineHost(64, reason)
    return _chosen


def _run(cmd, env, timeout=600):
    # Output to nowhere: the first command in a prefix leaves processes that hold pipes.
    return subprocess.run(cmd, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=timeout,
                          check=False).returncode


def _query_values(key, view, env, scratch):
    """name -> (type, data) of one key as the 64-bit `reg` prints it."""
    with open(scratch, "wb") as f:
        subprocess.run([LOADER64, "reg", "query", key, f"/reg:{view}"], env=env, stdout=f,
                       stderr=subprocess.DEVNULL, timeout=120, check=False)
    values = {}
    for line in scratch.read_bytes().decode("utf-8", "replace").splitlines():
        parts = line.strip().split("    ")
        if len(parts) >= 2 and parts[1].startswith("REG_"):
            values[parts[0]] = (parts[1], parts[2] if len(parts) > 2 else "")
    return values


def _add_value(key, name, kind, data, env):
    rc = _run([LOADER64, "reg", "add", key, "/v", name, "/t", kind, "/d", data, "/f", "/reg:32"], env, timeout=120)
    assert rc == 0, f"could not write {key}\\{name} in the 32-bit view"


def complete_64bit_prefix(prefix, env):
    """Writes the 32-bit view's values that a WoW64 prefix holds, with the 64-bit `reg`."""
    for name, data in WOW64_VALUES.items():
        _add_value(CURRENT_VERSION, name, "REG_SZ", data, env)
    scratch = Path(prefix) / "reg-query.txt"
    for key in SHELL_FOLDER_KEYS:
        for name, (kind, data) in _query_values(key, 64, env, scratch).items():
            if name.startswith("Common"):
                _add_value(key, name, kind, data, env)
    scratch.unlink(missing_ok=True)


def make_prefix(prefix, env, arch):
    """A fresh prefix for the architecture; True when a tiny program of its build runs in it."""
    if arch == 32:
        _run(["wineboot", "-i"], env)
    else:
        _run([LOADER64, "wineboot.exe", "-i"], env)
    _run(["wineserver", "-w"], env)
    if not (Path(prefix) / "system.reg").exists():
        return False
    if arch == 64:
        complete_64bit_prefix(prefix, env)
    loader = ["wine"] if arch == 32 else [LOADER64]
    probe = BUILD / ("win32" if arch == 32 else "win64") / "tests" / "fixtures" / "exit_code.exe"
    if not probe.exists():
        return False
    win = "Z:" + str(probe).replace("/", "\\")
    runs = _run([*loader, win, "7"], env, timeout=300) == 7
    # The registry reaches system.reg when the wineserver ends: copies are taken after.
    _run(["wineserver", "-w"], env)
    return runs
