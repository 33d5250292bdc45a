"""The installer killed by process id in the middle of a real unattended run with
RollbackOnFailure, then started again unattended: the prefix ends exactly as after
a run that was never cut, whatever the kill cut short."""
import os
import shutil
import signal
import subprocess
import time

import pytest

import winehost
from conftest import WORK, WinePrefix
from engine_media import MEMBER_TIME
from machine_state import differences, snapshot

SAMPLE = winehost.REPO / "examples" / "sample-product"
BULK = 400  # files enough for the extraction to last a while under Wine


def build_medium(tmp_path, programs):
    product = tmp_path / "product"
    subprocess.run(["bash", str(SAMPLE / "assemble.sh"), str(product), str(programs["build"])], check=True,
                   stdout=subprocess.DEVNULL)
    bulk = product / "Lumbra" / "bulk"
    for i in range(BULK):
        folder = bulk / f"d{i % 20:02d}"
        folder.mkdir(parents=True, exist_ok=True)
        (folder / f"f{i:04d}.bin").write_bytes(os.urandom(24 * 1024))
    for p in product.rglob("*"):
        if p.is_file():
            os.utime(p, (MEMBER_TIME, MEMBER_TIME))
    text = (SAMPLE / "setup.tmpl.utf8").read_text(encoding="utf-8")
    text = text.replace("[Configuration]\n", "[Configuration]\nRollbackOnFailure=1\n", 1)
    fonts = "Target5=$DefaultDestination$\\Fonts\n"
    text = text.replace(fonts, fonts + "Source6=Lumbra\\bulk\nTarget6=$DefaultDestination$\\bulk\n", 1)
    (tmp_path / "setup.tmpl").write_bytes(text.encode("cp1250"))
    medium = tmp_path / "medium"
    subprocess.run([str(programs["media"]), "medium", str(product), str(tmp_path / "setup.tmpl"), str(medium),
                    "--launcher", str(programs["startup"]), "--installer", str(programs["installer"])],
                   check=True, stdout=subprocess.DEVNULL)
    # Started directly, the installer is the process the test kills.
    shutil.copy(programs["installer"], medium / "installer.exe")
    for p in medium.iterdir():  # copied times then compare equal between prefixes
        os.utime(p, (MEMBER_TIME, MEMBER_TIME))
    return medium


def destination(wine):
    # The destination is written as the script's path upper-cased; Linux tells case.
    for folder in wine.drive_c.glob("Program Files*/*/*"):
        if folder.name.lower() == "lumbra demo" and folder.parent.name.lower() == "belloro":
            return folder
    return None


def bulk_files(wine):
    folder = destination(wine)
    bulk = [p for p in folder.iterdir() if p.name.lower() == "bulk"] if folder else []
    return sum(1 for _ in bulk[0].rglob("*.bin")) if bulk else 0


def record_text(wine):
    folder = destination(wine)
    try:
        return (folder / "install.log").read_bytes().decode("cp1250") if folder else ""
    except OSError:
        return ""


# When to kill: the record's first save, a third of the extraction, and its end.
KILL_POINTS = {
    "first save": lambda wine: "Unfinished Run" in record_text(wine),
    "extraction": lambda wine: bulk_files(wine) >= BULK // 3,
    "after extraction": lambda wine: bulk_files(wine) >= BULK,
}


def unattended(wine):
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=300)
    wine.wait_idle(timeout=120)
    return result


def test_a_killed_run_ends_installed_as_if_never_cut(base_prefix, display, programs, tmp_path):
    medium = build_medium(tmp_path, programs)
    prefixes = []

    def prefix(name):
        wine = WinePrefix(base_prefix, WORK / f"prefix-{os.getpid()}-killed-{name}", display)
        prefixes.append(wine)
        shutil.copytree(medium, wine.make_folder(r"C:\medium"), dirs_exist_ok=True)
        return wine

    try:
        reference = prefix("reference")
        since = time.time()
        assert unattended(reference).rc == 0
        installed = snapshot(reference, since)
        for point, reached in KILL_POINTS.items():
            wine = prefix(point.replace(" ", "-"))
            since = time.time()
            # Nobody reads its output: a full pipe must not hold the run up.
            process = subprocess.Popen(wine.command(r"C:\medium\installer.exe", "/silent"), env=wine.env,
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            deadline = time.time() + 240
            while process.poll() is None and not reached(wine) and time.time() < deadline:
                time.sleep(0.01)
            # The last point may come after the run on a loaded machine: the state must
            # hold all the same.
            assert process.poll() is None or point == "after extraction", f"{point}: the run ended before the kill"
            if process.poll() is None:
                os.kill(process.pid, signal.SIGKILL)
            process.wait(timeout=60)
            wine.wait_idle(timeout=120)
            cut = record_text(wine)
            if point != "after extraction":
                assert "Unfinished Run: Undo" in cut, f"{point}: the kill did not cut the run:\n{cut[:400]}"
            result = unattended(wine)
            assert result.rc == 0, (point, result)
            # The diagnostic log of the second run says what it undid; a run that never
            # logged anything of note leaves none.
            logs = list(wine.drive_c.glob("users/*/Temp/belloro-installer.log"))
            said = "".join(p.read_bytes().decode("cp1250") for p in logs)
            if "Unfinished Run: Undo" in cut:
                assert "The last installation did not finish: undoing it" in said, said[-2000:]
            for p in logs:
                p.unlink()
            found = differences(installed, snapshot(wine, since))
            assert not found, f"killed at {point}, then run again:\n" + "\n".join(found[:40])
            wine.kill()
    finally:
        for wine in prefixes:
            wine.kill()
            shutil.rmtree(wine.path, ignore_errors=True)
