"""startup.exe under Wine: a medium built with ostravel-media, a fake installer
that records how it was started, and a watcher that reads and closes message boxes."""
import os
import shutil
import subprocess
import time
from pathlib import Path

import pytest

ALREADY_RUNNING = ("A Telepítő egy példánya már fut. Mielőtt újabb telepítést indít, "
                   "lépjen ki a már elindított telepítő programból!")
MEDIUM = "C:\\medium\\"
# An even number of seconds: the copies keep times in the 2-second DOS form.
MEDIUM_TIME = time.mktime((2021, 3, 14, 10, 20, 30, 0, 0, -1))

KEY = b"Quorvantel Milbrasko Tendry Vaskh Ploristane"


def scramble_line(line: bytes) -> bytes:
    """The documented rule, written again independently of the C++ code."""
    total = sum(KEY)
    out = bytearray()
    for i, c in enumerate(line):
        n = (KEY[i % len(KEY)] + total) % 8
        if i % 2 == 0:  # odd position: rotate right
            out.append(((c >> n) | (c << (8 - n))) & 0xFF)
        else:
            out.append(((c << n) | (c >> (8 - n))) & 0xFF)
    return bytes(out)


def descramble_line(line: bytes) -> bytes:
    total = sum(KEY)
    out = bytearray()
    for i, c in enumerate(line):
        n = (KEY[i % len(KEY)] + total) % 8
        if i % 2 == 0:
            out.append(((c << n) | (c >> (8 - n))) & 0xFF)
        else:
            out.append(((c >> n) | (c << (8 - n))) & 0xFF)
    return bytes(out)


def script(startup_lines=(), plain=True):
    lines = ["[Configuration]", "Language=11", "[StartUp]",
             "Title=Lumbra 2024 telepítő", "Text=A telepítő előkészítése folyamatban..."]
    lines += list(startup_lines)
    lines += ["[Welcome Page]", "Visible=1"]
    return ("\r\n".join(lines) + "\r\n").encode("cp1250")


class Launcher:
    """One Wine prefix with a medium in C:\\medium and the programs to drive it."""

    def __init__(self, wine, programs, tmp_path):
        self.wine = wine
        self.programs = programs
        self.medium = wine.make_folder(MEDIUM)
        self.fixtures = programs["fixtures"]
        self.log = tmp_path / "installer.log"
        self.tmp = tmp_path
        wine.env["OSTRAVEL_FAKE_LOG"] = wine.win_path(self.log)
        users = [p for p in (wine.drive_c / "users").iterdir() if p.name.lower() != "public"]
        self.temp = next(p / "Temp" for p in users if (p / "Temp").is_dir())
        self.temp_win = wine.win_path(self.temp) + "\\"

    def media(self, *args):
        proc = subprocess.run([str(self.programs["media"]), *map(str, args)], capture_output=True, timeout=120)
        return proc

    def build(self, setup_inf=None, scrambled=False, extra=None, compressed=True):
        shutil.copy(self.programs["startup"], self.medium / "startup.exe")
        if compressed:
            proc = self.media("szdd", self.fixtures / "fake_installer.exe", self.medium / "_setup1.ex_")
            assert proc.returncode == 0, proc.stderr
        files = {"readme.txt": b"Olvass el!\r\n", "Lumbra.dat": os.urandom(300_000)}
        files.update(extra or {})
        for name, data in files.items():
            (self.medium / name).write_bytes(data)
        if setup_inf is not None:
            plain = self.tmp / "plain.inf"
            plain.write_bytes(setup_inf)
            if scrambled:
                proc = self.media("scramble", plain, self.medium / "setup.inf")
                assert proc.returncode == 0, proc.stderr
            else:
                shutil.copy(plain, self.medium / "setup.inf")
        (self.medium / "Docs").mkdir()
        (self.medium / "Docs" / "inside.txt").write_bytes(b"not copied")
        for f in self.medium.iterdir():
            os.utime(f, (MEDIUM_TIME, MEDIUM_TIME))

    def run(self, *args, timeout=90):
        return self.wine.run(self.medium / "startup.exe", *args, timeout=timeout)

    def started(self, count=1, timeout=30):
        """Command lines the fake installer recorded; waits for `count` of them."""
        deadline = time.time() + timeout
        while time.time() < deadline:
            if self.log.exists():
                lines = self.log.read_text(encoding="utf-8").splitlines()
                if len(lines) >= count:
                    return lines
            time.sleep(0.2)
        return self.log.read_text(encoding="utf-8").splitlines() if self.log.exists() else []

    def watch(self, cls, caption, name, close=True, timeout_ms=60000):
        """Starts the window watcher; returns (process, text file, close file)."""
        out, close_file = self.tmp / f"{name}.txt", self.tmp / f"{name}.close"
        proc = self.wine.start(self.fixtures / "box_watcher.exe", cls, caption, self.wine.win_path(out),
                               self.wine.win_path(close_file) if close else "-", str(timeout_ms))
        return proc, out, close_file

    def work_folder(self, n=0):
        return self.temp / f"Ostravel{n}"


def wait_for(path, timeout=60):
    deadline = time.time() + timeout
    while time.time() < deadline and not Path(path).exists():
        time.sleep(0.1)
    return Path(path).exists()


@pytest.fixture
def launcher(wine, programs, tmp_path):
    return Launcher(wine, programs, tmp_path)


def test_plain_medium_is_copied_expanded_marked_and_started(launcher, wine):
    launcher.build(script())
    assert launcher.run("/x", "two words").rc == 0
    lines = launcher.started()
    work = launcher.work_folder(0)
    work_win = launcher.temp_win + "Ostravel0\\"
    assert lines == [f'{work_win}installer.exe /l"{MEDIUM}" /x two words']

    # Every file but the launcher; folders stay behind; the archive is expanded away.
    assert sorted(p.name for p in work.iterdir()) == ["Lumbra.dat", "installer.exe", "readme.txt", "setup.inf"]
    fake = (launcher.fixtures / "fake_installer.exe").read_bytes()
    assert (work / "installer.exe").read_bytes() == fake
    for name in ("Lumbra.dat", "readme.txt", "setup.inf"):
        assert (work / name).read_bytes() == (launcher.medium / name).read_bytes(), name
        assert int((work / name).stat().st_mtime) == int(MEDIUM_TIME), name
    assert (launcher.temp / "setup.inf").read_bytes() == script()

    layers = r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers"
    assert wine.reg_query(layers, work_win + "installer.exe") == "RUNASADMIN"

    # The previous working folder is still there: the next run takes the next number.
    assert launcher.run().rc == 0
    lines = launcher.started(count=2)
    assert lines[1] == f'{launcher.temp_win}Ostravel1\\installer.exe /l"{MEDIUM}"'
    assert (launcher.work_folder(1) / "installer.exe").read_bytes() == fake


def test_scrambled_medium_gives_the_wizard_a_plain_script(launcher):
    plain = script(["CopyEnabled=1", "CopyTarget=$WinDrive$:\\Lumbra\\Setup"])
    launcher.build(plain, scrambled=True)
    scrambled = (launcher.medium / "setup.inf").read_bytes()
    assert b"[Configuration]" not in scrambled
    # "[Welcome Page]" scrambles into bytes holding a lone LF: it must not split the line.
    assert scramble_line(b"[Welcome Page]") in scrambled and b"\n" in scramble_line(b"[Welcome Page]")

    assert launcher.run("/S").rc == 0
    assert launcher.started() == [f'C:\\Lumbra\\Setup\\installer.exe /l"{MEDIUM}" /S']
    work = launcher.wine.drive_c / "Lumbra" / "Setup"
    assert (launcher.temp / "setup.inf").read_bytes() == plain
    assert (launcher.temp / "setup.dat").read_bytes() == scrambled
    assert (work / "setup.inf").read_bytes() == plain
    assert not launcher.work_folder(0).exists()


def test_copy_target_on_a_missing_drive_falls_back_to_a_fresh_folder(launcher):
    launcher.build(script(["CopyEnabled=1", "CopyTarget=Q:\\Lumbra"]))
    launcher.work_folder(0).mkdir()
    assert launcher.run().rc == 0
    assert launcher.started() == [f'{launcher.temp_win}Ostravel1\\installer.exe /l"{MEDIUM}"']


def test_deep_copy_target_still_expands_the_installer(launcher):
    # Beyond the 128 characters that LZOpenFile can hold.
    deep = "C:\\Lumbra\\" + "\\".join(["telepítő-munkamappa-" + c * 30 for c in "abc"])
    assert len(deep) > 128
    launcher.build(script(["CopyEnabled=1", f"CopyTarget={deep}"]))
    assert launcher.run().rc == 0
    assert launcher.started() == [f'{deep}\\installer.exe /l"{MEDIUM}"']
    work = launcher.wine.host_path(deep)
    assert (work / "installer.exe").read_bytes() == (launcher.fixtures / "fake_installer.exe").read_bytes()


def test_medium_without_a_script_uses_defaults(launcher):
    launcher.build(None)
    assert launcher.run().rc == 0
    assert launcher.started() == [f'{launcher.temp_win}Ostravel0\\installer.exe /l"{MEDIUM}"']
    assert not (launcher.temp / "setup.inf").exists()


def test_second_launch_is_refused_while_a_wizard_is_open_unless_forced(launcher, wine):
    launcher.build(script())
    ready = launcher.tmp / "wizard.ready"
    wizard = wine.start(launcher.fixtures / "fake_installer.exe", "--window", "120000", wine.win_path(ready))
    assert wait_for(ready), "the fake wizard window did not open"

    watcher, text, close = launcher.watch("#32770", "Ostravel", "already-running")
    run = wine.start(launcher.medium / "startup.exe")
    assert wait_for(text), "no message box"
    wine.screenshot("startup-already-running")
    close.touch()
    assert run.wait(timeout=60) == 0
    assert watcher.wait(timeout=60) == 0
    assert text.read_text(encoding="utf-8") == ALREADY_RUNNING
    assert not launcher.log.exists(), "the installer was started beside the open wizard"
    # The working folder is chosen before the checks; nothing was copied into it.
    assert not any(launcher.work_folder(0).iterdir())

    assert launcher.run("/s").rc == 0
    assert launcher.started() == [f'{launcher.temp_win}Ostravel1\\installer.exe /l"{MEDIUM}" /s']
    wizard.kill()


def test_restart_waits_for_the_old_wizard_to_close(launcher, wine):
    launcher.build(script())
    ready = launcher.tmp / "wizard.ready"
    wine.start(launcher.fixtures / "fake_installer.exe", "--window", "4000", wine.win_path(ready))
    assert wait_for(ready)
    assert launcher.run("/restart").rc == 0
    # The launcher ended after the window had closed, and only then started the installer.
    assert ready.read_text().split() == ["ready", "closed"]
    assert launcher.started() == [f'{launcher.temp_win}Ostravel0\\installer.exe /l"{MEDIUM}" /restart']


@pytest.mark.parametrize("space_min, refused", [("99999999", True), ("-5", False)])
def test_free_space_check(launcher, wine, space_min, refused):
    launcher.build(script(["SpaceCheckEnabled=1", f"SpaceMinMB={space_min}",
                           "SpaceError=Nincs elég szabad hely a lemezen!"]))
    if not refused:
        assert launcher.run().rc == 0
        assert len(launcher.started()) == 1
        return
    watcher, text, close = launcher.watch("#32770", "Ostravel", "space-error")
    run = wine.start(launcher.medium / "startup.exe")
    assert wait_for(text), "no message box"
    wine.screenshot("startup-space-error")
    close.touch()
    assert run.wait(timeout=60) == 0 and watcher.wait(timeout=60) == 0
    assert text.read_text(encoding="utf-8") == "Nincs elég szabad hely a lemezen!"
    assert not launcher.log.exists()
    assert not any(launcher.work_folder(0).iterdir())


def test_missing_compressed_installer_is_reported(launcher, wine):
    launcher.build(script(), compressed=False)
    watcher, text, close = launcher.watch("#32770", "Ostravel", "missing-installer")
    run = wine.start(launcher.medium / "startup.exe")
    assert wait_for(text), "the user was left without a message"
    wine.screenshot("startup-missing-installer")
    close.touch()
    assert run.wait(timeout=60) == 0 and watcher.wait(timeout=60) == 0
    message = text.read_text(encoding="utf-8")
    assert "nem található" in message and MEDIUM + "_setup1.ex_" in message
    assert not (launcher.work_folder(0) / "installer.exe").exists()


def test_progress_window_shows_the_scripts_title_and_text(launcher, wine):
    # Big enough that the copy takes a while under Wine.
    launcher.build(script(["SmoothProgress=1"]), extra={"big.dat": bytes(120_000_000)})
    watcher, text, _ = launcher.watch("CN", "Lumbra 2024 telepítő", "progress", close=False)
    run = wine.start(launcher.medium / "startup.exe")
    assert watcher.wait(timeout=90) == 0, "no progress window"
    wine.screenshot("startup-progress")
    assert text.read_text(encoding="utf-8") == "A telepítő előkészítése folyamatban..."
    assert run.wait(timeout=120) == 0
    assert len(launcher.started()) == 1
    assert (launcher.work_folder(0) / "big.dat").stat().st_size == 120_000_000


def test_szdd_output_expands_with_msexpand(programs, tmp_path):
    msexpand = shutil.which("msexpand")
    if not msexpand:
        pytest.skip("msexpand (package mscompress) is not installed")
    samples = {
        "installer.exe": (programs["fixtures"] / "fake_installer.exe").read_bytes(),
        "random.bin": os.urandom(100_000),
        "blanks.txt": b" " * 5000 + b"x" + b" " * 70_000,
        "empty.txt": b"",
    }
    for name, data in samples.items():
        (tmp_path / name).write_bytes(data)
        packed = tmp_path / (name[:-1] + "_")
        proc = subprocess.run([str(programs["media"]), "szdd", str(tmp_path / name), str(packed)],
                              capture_output=True)
        assert proc.returncode == 0, proc.stderr
        assert packed.read_bytes()[9:10] == name[-1:].encode()
        with open(packed, "rb") as src:
            out = subprocess.run([msexpand], stdin=src, capture_output=True).stdout
        assert out == data, name


def test_scramble_matches_the_rule_and_refuses_lines_that_would_break(programs, tmp_path):
    media = str(programs["media"])
    plain = tmp_path / "plain.inf"
    plain.write_bytes(script())
    proc = subprocess.run([media, "scramble", str(plain), str(tmp_path / "s.inf")], capture_output=True)
    assert proc.returncode == 0, proc.stderr
    expected = b"".join(scramble_line(line) + b"\r\n" for line in script().split(b"\r\n")[:-1])
    assert (tmp_path / "s.inf").read_bytes() == expected
    proc = subprocess.run([media, "unscramble", str(tmp_path / "s.inf"), str(tmp_path / "u.inf")])
    assert proc.returncode == 0 and (tmp_path / "u.inf").read_bytes() == script()

    breaker = b"Title=" + descramble_line(b"xxxxxx\r\n")[6:]
    assert b"\r" not in breaker and b"\n" not in breaker
    plain.write_bytes(b"[StartUp]\r\n" + breaker + b"\r\n")
    proc = subprocess.run([media, "scramble", str(plain), str(tmp_path / "bad.inf")], capture_output=True)
    assert proc.returncode == 1
    assert b"line 2" in proc.stderr
    assert not (tmp_path / "bad.inf").exists()
