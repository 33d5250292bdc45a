"""The i686 and the x86_64 installer leave 64-bit Windows in the same state: one
unattended installation and removal of the same medium with each build, compared
file by file and value by value. Runs where the host runs both builds."""
import os
import shutil
import subprocess
import time

import pytest

import winehost
from conftest import BUILD, WORK, WinePrefix, programs_of
from engine_media import MEMBER_TIME
from machine_state import differences, snapshot, split_command_line, uninstall_command

SAMPLE = winehost.REPO / "examples" / "sample-product"
TITLE = "Lumbra Demo"


def fixed_times(folder):
    """Every file of a tree last written at one moment in the past, so times copied
    from it compare equal between runs."""
    for p in folder.rglob("*"):
        if p.is_file():
            os.utime(p, (MEMBER_TIME, MEMBER_TIME))


def twin_template():
    """The sample product's template, plus a client library for the system folder and
    a machine-wide value: the places where the two builds could part."""
    text = (SAMPLE / "setup.tmpl.utf8").read_text(encoding="utf-8")
    text = text.replace("[Registry]\nCount=3", "[Registry]\nCount=4")
    text = text.replace("[Folders]", "Reg4.RootKey=HKEY_LOCAL_MACHINE\nReg4.SubKey=Software\\Belloro\\Lumbra Demo\n"
                        "Reg4.ValueName=Path\nReg4.ValueData=$DefaultDestination$\nReg4.CreateKey=1\n"
                        "Reg4.OverwriteValue=1\n\n[Folders]")
    text += ("\n[Medium Component client]\nName=Kliens könyvtár\nPackName=data3\nChecked=1\nEnabled=0\n"
             "Source1=System\\ostravel_twin.dll\nTarget1=$SystemFolder$\nRule1=2\n")
    return text.encode("cp1250")


def build_media(tmp_path, builds):
    product = tmp_path / "product"
    subprocess.run(["bash", str(SAMPLE / "assemble.sh"), str(product), str(BUILD / "win32")], check=True,
                   stdout=subprocess.DEVNULL)
    (product / "System").mkdir()
    shutil.copy(product / "Lumbra" / "lumbra_core.dll", product / "System" / "ostravel_twin.dll")
    fixed_times(product)
    template = tmp_path / "setup.tmpl"
    template.write_bytes(twin_template())
    media = {}
    for build in builds:
        programs = programs_of(build)
        media[build.name] = tmp_path / f"medium-{build.name}"
        subprocess.run([str(programs["media"]), "medium", str(product), str(template), str(media[build.name]),
                        "--launcher", str(programs["startup"]), "--installer", str(programs["installer"])],
                       check=True, stdout=subprocess.DEVNULL)
        fixed_times(media[build.name])
    return media


def install_and_remove(base_prefix, display, medium, name):
    """Snapshots after the unattended installation and after the removal."""
    wine = WinePrefix(base_prefix, WORK / f"prefix-{os.getpid()}-twin-{name}", display)
    try:
        shutil.copytree(medium, wine.make_folder(r"C:\medium"), dirs_exist_ok=True)
        since = time.time()
        result = wine.run(r"C:\medium\setup.exe", "/silent", timeout=300)
        wine.wait_idle(timeout=300)
        assert result.rc == 0, (name, result)
        installed = snapshot(wine, since)
        _, command = uninstall_command(wine, TITLE)
        assert command, f"{name}: no uninstall entry"
        exe, *args = split_command_line(command)
        result = wine.run(exe, *args, "/silent", timeout=300)
        wine.wait_idle(timeout=300)
        assert result.rc == 0, (name, result)
        return installed, snapshot(wine, since)
    finally:
        wine.kill()
        shutil.rmtree(wine.path, ignore_errors=True)


def test_both_builds_leave_the_machine_alike(base_prefix, display, tmp_path):
    host = winehost.host()
    if host.arch != 32:
        pytest.skip(f"the twin check needs both builds to run; this run uses the 64-bit prefix: {host.reason}")
    builds = [BUILD / "win32", BUILD / "win64"]
    media = build_media(tmp_path, builds)
    i686 = install_and_remove(base_prefix, display, media["win32"], "win32")
    x86_64 = install_and_remove(base_prefix, display, media["win64"], "win64")
    library = "windows/syswow64/ostravel_twin.dll"
    assert library in i686[0]["files"], "the client library did not reach the 32-bit system folder"
    for stage, a, b in (("installed", i686[0], x86_64[0]), ("removed", i686[1], x86_64[1])):
        found = differences(a, b)
        assert not found, f"after the unattended run ({stage}) the builds differ:\n" + "\n".join(found[:40])
