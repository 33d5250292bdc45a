#!/usr/bin/env python3
"""The Wine half of `make demo`: an unattended installation of the demo medium through
its setup.exe, a report of what landed, the uninstall entry's command line run
unattended and a report of what is left; then a walk through the wizard whose
pictures go to build/screens/demo-*.png. With DEMO_INTERACTIVE=1 on a display the
wizard opens there instead and the demo ends when you close it."""
import os
import shutil
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests/e2e"))
import winehost  # noqa: E402
from conftest import SCREENS, WinePrefix, _env, make_base_prefix, programs_of  # noqa: E402
from machine_state import split_command_line, uninstall_command  # noqa: E402
from uidriver import DIALOG, UiDriver  # noqa: E402

OUT = ROOT / "build/demo"
REG_KEY = r"HKCU\Software\Belloro\Lumbra Demo\2026"
CHANGE = "TDestinationChangeForm"


def say(text=""):
    print(f"demo: {text}" if text else "", flush=True)


def private_display():
    for number in range(77, 140):
        if not Path(f"/tmp/.X{number}-lock").exists():
            break
    proc = subprocess.Popen(["Xvfb", f":{number}", "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    deadline = time.time() + 10
    while time.time() < deadline and not Path(f"/tmp/.X11-unix/X{number}").exists():
        time.sleep(0.1)
    return proc, f":{number}"


def base_prefix(display):
    # One per architecture: a prefix kept from a run of the other build does not serve.
    base = OUT / f"prefix-base-{winehost.host().arch}"
    if not (base / "system.reg").exists():
        say("creating the Wine prefix (once, about half a minute)")
        make_base_prefix(base, display)
    return base


def fresh_prefix(base, name, display):
    path = OUT / name
    if path.exists():
        subprocess.run(["wineserver", "-k"], env=_env(path, display), check=False)
        shutil.rmtree(path)
    prefix = WinePrefix(base, path, display)
    folder = prefix.make_folder(r"C:\medium")
    for f in (OUT / "medium").iterdir():
        shutil.copy(f, folder / f.name)
    return prefix


def install_folder(wine):
    for pf in sorted(wine.drive_c.glob("Program Files*")):
        found = [p for p in pf.glob("*/*") if p.parent.name.lower() == "belloro" and p.name.lower() == "lumbra demo"]
        if found:
            return found[0]
    return None


def shortcuts(wine):
    return sorted(p for p in wine.drive_c.glob("users/*/**/*.lnk") if "Lumbra" in str(p) or "Orvel" in str(p))


def report(wine, title):
    say(title)
    folder = install_folder(wine)
    files = sorted(p for p in folder.rglob("*") if p.is_file()) if folder else []
    say(f"  files in {wine.win_path(folder)}: {len(files)}" if folder else "  the installation folder is gone")
    if folder and not files:
        say("    empty folders left: " + (", ".join(str(p.relative_to(folder)) for p in folder.rglob("*")) or "none"))
    for p in files:
        say(f"    {p.relative_to(folder)}  ({p.stat().st_size} bytes)")
    links = shortcuts(wine)
    say(f"  shortcuts: {len(links)}")
    for p in links:
        say(f"    {p.relative_to(wine.drive_c)}")
    values = [(v, wine.reg_query(REG_KEY, v, view=64)) for v in ("Path", "Version", "DataFolder")]
    values = [(v, d) for v, d in values if d is not None]
    say(f"  registry values under {REG_KEY}: {len(values)}")
    for name, data in values:
        say(f"    {name} = {data}")
    key, command = uninstall_command(wine, "Lumbra")
    say(f"  uninstall entry: {key or 'none'}")
    if command:
        say(f"    UninstallString = {command}")
    record = folder / "install.log" if folder else None
    if record and record.exists():
        lines = record.read_bytes().decode("cp1250").splitlines()
        say(f"  installation record {wine.win_path(record)}: {len(lines)} lines, first ones:")
        for line in lines[:6]:
            say(f"    {line}")
    return {"files": files, "links": links, "values": values, "entry": key, "command": command}


def unattended(base, display):
    wine = fresh_prefix(base, "prefix-unattended", display)
    say("unattended installation: setup.exe /silent from C:\\medium")
    result = wine.run(r"C:\medium\setup.exe", "/silent", timeout=300)
    wine.wait_idle(timeout=300)
    say(f"  setup.exe ended with exit code {result.rc}")
    installed = report(wine, "what landed:")
    if not installed["files"] or not installed["command"]:
        raise SystemExit("demo: the unattended installation did not install the product")

    command = installed["command"]
    say(f"unattended removal: {command} /silent")
    exe, *args = split_command_line(command)
    result = wine.run(exe, *args, "/silent", timeout=300)
    wine.wait_idle(timeout=300)
    say(f"  the uninstaller ended with exit code {result.rc}")
    left = report(wine, "what is left:")
    gone = not left["files"] and not left["links"] and not left["values"] and not left["entry"]
    if not gone:
        raise SystemExit("demo: the removal left parts of the installation behind")
    say("everything the record lists is gone; the folders of [Folders] stay, as documented")
    wine.kill()


def walk(base, display):
    """Through the pages as a person would, with a picture of each."""
    wine = fresh_prefix(base, "prefix-walk", display)
    # The installer as setup.exe leaves it, so the driver finds the wizard at once.
    programs = programs_of(winehost.host().build)
    shutil.copy(programs["installer"], wine.drive_c / "medium/installer.exe")
    process = wine.start(r"C:\medium\installer.exe")
    ui = UiDriver(wine, programs)
    try:
        ui.wait_window()
        for page in ("Welcome", "License", "InstallKind"):
            ui.wait_page(page)
            ui.screenshot(f"demo-{page}")
            ui.click("NextButton")
        ui.wait_page("Destination")
        ui.screenshot("demo-Destination")
        ui.click("ChangeButton")
        ui.wait_window(CHANGE)
        ui.screenshot("demo-DestinationChange", CHANGE)
        ui.close(CHANGE)
        ui.wait_gone(CHANGE)
        ui.click("NextButton")
        ui.wait_for(lambda: ui.exists(DIALOG) or ui.page() != "Destination", "the next page")
        if ui.exists(DIALOG):  # the folder is missing: create it
            ui.screenshot("demo-CreateFolderQuestion", DIALOG)
            ui.click("Yes", DIALOG)
        # The rest as the script orders it, up to the finish page.
        page = "Destination"
        for _ in range(10):
            ui.wait_for(lambda: ui.page() != page, "the next page", timeout=300)
            page = ui.page()
            if page != "CopyFiles":  # over before a picture could show it
                ui.screenshot(f"demo-{page}")
            if page in ("Finished", "ErrorFinish"):
                break
            ui.click("NextButton")
        assert page == "Finished", f"the walk ended on {page}"
        ui.click("CancelButton")
        ui.wait_gone()
        process.wait(timeout=60)
        # The error page: the program's package is broken when the next run starts.
        package = wine.drive_c / "medium/data1.dat"
        package.write_bytes(package.read_bytes()[:200])
        process = wine.start(r"C:\medium\installer.exe")
        ui.wait_window()
        ui.wait_page("Welcome")
        for _ in range(12):
            if ui.page() in ("ErrorFinish", "Finished"):
                break
            if ui.exists(DIALOG):
                ui.click("Yes", DIALOG)
            ui.click("NextButton")
            time.sleep(1)
        ui.wait_page("ErrorFinish", timeout=120)
        ui.screenshot("demo-ErrorFinish")
        ui.click("CancelButton")
        ui.wait_gone()
    finally:
        ui.close_driver()
        if process.poll() is None:
            process.kill()
        wine.kill()
    say(f"pictures of the walk in {SCREENS.relative_to(ROOT)}/demo-*.png")


def interactive(base, display):
    wine = fresh_prefix(base, "prefix-interactive", display)
    say(f"the wizard opens on {display}; close it to end the demo")
    wine.start(r"C:\medium\setup.exe").wait()
    wine.wait_idle(timeout=None)


def main():
    say(winehost.host().describe())
    xvfb = None
    display = os.environ.get("DISPLAY")
    if os.environ.get("DEMO_INTERACTIVE") == "1" and display:
        interactive(base_prefix(display), display)
        return
    xvfb, display = private_display()
    try:
        base = base_prefix(display)
        unattended(base, display)
        walk(base, display)
        say(f"done with the {winehost.host().build.name} build; {winehost.host().describe()}")
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)


if __name__ == "__main__":
    main()
