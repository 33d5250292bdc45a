"""The installation engine on a real Wine prefix, driven by the engine probe (the
run as an unattended installation makes it, without the wizard): files under every
update rule, attributes, DOS times, shortcuts, registry values in both roots, the
uninstall entry, fonts, folders, a Windows Installer package and the COM batch,
then the uninstall through the entry's own command line."""
import os
import shutil
import subprocess
import time

import pytest

from engine_media import (MEMBER_TIME, Package, Script, dos_time, file_listing, read_lnk,
                          registry_values)
from machine_state import differences, snapshot

DEST = r"C:\Lumbra Teszt"
APP = "Lumbra v2026"
SHARED = r"C:\Program Files (x86)\Common Files\Quillmarch Shared"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + APP
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"
WXS = """<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="*" Name="Ostravel Prerequisite" Language="1033" Version="1.0.0" Manufacturer="Ostravel Tests"
           UpgradeCode="3B5E4C2A-1F0D-4E7A-9C11-2A7B6D0E5F31">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="p.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="ProgramFilesFolder">
        <Directory Id="INSTALLDIR" Name="OstravelPrereq">
          <Component Id="Marker" Guid="6C0D1E2F-3A4B-4C5D-8E9F-0A1B2C3D4E5F">
            <File Id="MarkerFile" Source="marker.txt" KeyPath="yes"/>
          </Component>
        </Directory>
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1"><ComponentRef Id="Marker"/></Feature>
  </Product>
</Wix>
"""


def msi_package(tmp_path):
    (tmp_path / "marker.txt").write_text("prerequisite\n")
    (tmp_path / "p.wxs").write_text(WXS)
    subprocess.run(["wixl", "-o", str(tmp_path / "prereq.msi"), str(tmp_path / "p.wxs")], check=True, cwd=tmp_path)
    return (tmp_path / "prereq.msi").read_bytes()


def add_file(script, package, rel, data, target, rule=0, component=1, section="Files", source=None, **flags):
    stored = package.add(rel, data) if source is None else source
    fields = {".CompID": component, ".SourceFile": stored, ".TargetFile": target, ".FileUpdateRule": rule,
              ".FileTime": dos_time(MEMBER_TIME), ".FileSize": len(data)}
    fields.update({"." + k: v for k, v in flags.items()})
    script.entry(section, "File", fields)
    return stored


def base_script(installer_bytes, msi):
    s = Script()
    s.set("Configuration", "Application", "Lumbra").set("Configuration", "Version", "2026")
    s.set("Configuration", "Path", DEST).set("Configuration", "UnInstallLogFile", r"$DefaultDestination$\uninstall.log")
    s.set("Configuration", "InstallLogFile", r"$DefaultDestination$\state.ini")
    s.set("Configuration", "BuildDate", "2026.01.15")
    s.set("Variables", "$varProgramYear$", "2026")
    s.set("Install Modules", "Count", 1).set("Install Modules", "Name1", "Extra")
    s.entry("Components", "Component", {".Name": "Program", ".PackName": "base", ".Checked": 1, ".Size": 1})
    s.entry("Extra.Components", "Component", {".Name": "Extra", ".PackName": "extra", ".Checked": 1, ".Size": 1})
    return s


def product(tmp_path, installer_bytes, msi, script):
    base, extra = Package(tmp_path, "base"), Package(tmp_path, "extra")
    add_file(script, base, r"bin\KORB2026.exe", installer_bytes, r"$DefaultDestination$\bin\KORB2026.exe", ReadOnly=1)
    add_file(script, base, r"data\Könyvelés\évek\napló.txt", b"naplo\r\n",
             r"$DefaultDestination$\$varProgramYear$\Könyvelés\évek\napló.txt", rule=1, Hidden=1)
    dup = add_file(script, base, r"dup.txt", b"first\r\n", r"$DefaultDestination$\dup1.txt")
    add_file(script, base, r"dup-again.txt", b"", r"$DefaultDestination$\dup2.txt", source=dup.upper())
    base.add("unlisted.txt", b"never\r\n")
    add_file(script, base, r"setup\prereq.msi", msi, r"$DefaultDestination$\setup\prereq.msi")
    add_file(script, base, r"register_com_servers.bat",
             b'@echo registered>> "' + DEST.encode() + b'\\com-registered.txt"\r\n',
             r"$DefaultDestination$\register_com_servers.bat")
    add_file(script, base, r"fonts\OstravelTest.ttf", open(FONT, "rb").read(), r"$DefaultDestination$\fonts\OstravelTest.ttf",
             RelPath=r"fonts\OstravelTest.ttf")
    add_file(script, extra, r"extra.txt", b"extra\r\n", r"$DefaultDestination$\extra\extra.txt",
             section="Extra.Files")
    return base, extra


def add_shortcuts_registry_fonts(s):
    program = r"$DefaultDestination$\bin\KORB2026.exe"
    s.entry("Icons", "Icon", {".Placement": r"$UserPrograms$\Lumbra Teszt", ".Title": "KORB$varProgramYear$",
                              ".File": program, ".IconFile": program, ".WorkFolder": r"$DefaultDestination$\bin",
                              ".Parameters": "/year:2026", ".IconIndex": 0, ".MainIcon": 1})
    s.entry("Icons", "Icon", {".Placement": "$UserStartup$", ".Title": "Lumbra figyelő", ".File": program,
                              ".IconFile": program})
    s.entry("Icons", "Icon", {".Placement": r"$UserPrograms$\Lumbra Teszt", ".Title": "Csak alap", ".File": program,
                              ".IconFile": program, ".Exclusions": "Extra"})
    s.entry("Registry", "Reg", {".RootKey": "HKEY_CURRENT_USER", ".SubKey": r"Software\OstravelTest\Lumbra",
                                ".ValueName": "Path", ".ValueData": "$DefaultDestination$", ".CreateKey": 1})
    s.entry("Registry", "Reg", {".RootKey": "HKEY_LOCAL_MACHINE", ".SubKey": r"Software\OstravelTest",
                                ".ValueName": "Year", ".ValueData": "$varProgramYear$", ".CreateKey": 1})
    s.entry("Registry", "Reg", {".RootKey": "HKEY_LOCAL_MACHINE", ".SubKey": r"Software\OstravelTest\Missing",
                                ".ValueName": "x", ".ValueData": "never", ".CreateKey": 0})
    s.entry("Registry", "Reg", {".RootKey": "HKEY_BOGUS", ".SubKey": r"Software\OstravelTest",
                                ".ValueName": "x", ".ValueData": "never", ".CreateKey": 0})
    s.set("Folders", "Count", 1).set("Folders", "Folder0", r"$DefaultDestination$\Mentések")
    s.set("Fonts", "Count", 1).set("Fonts", "Font0.FontName", "Ostravel Test Sans")
    s.set("Fonts", "Font0.FontFile", r"$DefaultDestination$\fonts\OstravelTest.ttf")


@pytest.fixture
def medium(wine, programs, tmp_path):
    """Builds C:\\medium from a script the test finishes; returns (script, build)."""
    folder = wine.make_folder(r"C:\medium")
    installer_bytes = programs["installer"].read_bytes()
    msi = msi_package(tmp_path)
    script = base_script(installer_bytes, msi)
    packages = product(tmp_path, installer_bytes, msi, script)

    def build():
        for p in packages:
            p.pack(programs["media"], folder)
        (folder / "setup.inf").write_bytes(script.bytes())
        shutil.copy(programs["fixtures"] / "engine_probe.exe", folder / "engine_probe.exe")
    return script, build


def probe(wine, *args, exe=r"C:\medium\engine_probe.exe", report=r"C:\medium\probe-report.txt", idle=True):
    result = wine.run(exe, *args, timeout=300)
    assert not result.timed_out, result
    if idle:  # not while a fixture of the test still runs
        wine.wait_idle()
    return result.rc, wine.read_file(report).decode("utf-8").splitlines()


def test_unattended_install_and_the_uninstall_entry_leave_the_prefix_as_documented(wine, medium, programs):
    script, build = medium
    add_shortcuts_registry_fonts(script)
    build()
    wine.wait_idle()
    files_before, values_before = file_listing(wine.drive_c), registry_values(wine.path)

    rc, report = probe(wine, "/silent", "/modules=Extra", "/lumbra", "/orvel")
    assert rc == 0 and report[-2:] == ["step: Done all.", "end: success"], report
    dest = wine.host_path(DEST)
    program = dest / "bin" / "KORB2026.exe"
    assert program.read_bytes() == programs["installer"].read_bytes()
    assert dos_time(program.stat().st_mtime) == dos_time(MEMBER_TIME)
    assert (dest / "2026" / "Könyvelés" / "évek" / "napló.txt").read_bytes() == b"naplo\r\n"
    assert (dest / "dup1.txt").read_bytes() == b"first\r\n" and not (dest / "dup2.txt").exists()
    assert not (dest / "unlisted.txt").exists() and (dest / "extra" / "extra.txt").exists()
    assert not (dest / "setup" / "prereq.msi").exists()
    assert wine.host_path(r"C:\Program Files (x86)\OstravelPrereq\marker.txt").exists()
    assert (dest / "com-registered.txt").read_text().split() == ["registered"]
    assert (dest / "Mentések").is_dir()
    assert wine.host_path(r"C:\windows\Fonts\OstravelTest.ttf").exists()
    attrs = subprocess.run(wine.command("cmd", "/c", "attrib", DEST + r"\bin\KORB2026.exe"), env=wine.env,
                           capture_output=True, timeout=60).stdout.decode("cp1252", "replace")
    assert "R" in attrs.split(DEST[:2])[0], attrs

    programs_menu = wine.host_path(wine.reg_query(
        r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", "Programs"))
    link = read_lnk(programs_menu / "Lumbra Teszt" / "KORB$varProgramYear$.lnk")
    assert (link["description"], link["arguments"], link["workdir"]) == ("KORB2026", "/year:2026", DEST + r"\bin")
    assert link["target"].lower() == (DEST + r"\bin\KORB2026.exe").lower()
    assert not (programs_menu / "Lumbra Teszt" / "Csak alap.lnk").exists()  # excluded by the module
    desktop = wine.host_path(wine.reg_query(
        r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", "Desktop"))
    assert read_lnk(desktop / "Orvel 2026.lnk")["arguments"] == "VOUCHERDESK"
    uninstall_link = read_lnk(programs_menu / f"Uninstall {APP}.lnk")
    assert uninstall_link["arguments"] == f'/u /l"{DEST}\\uninstall.log"' and uninstall_link["icon_index"] == 1
    assert wine.host_path(SHARED + r"\setup.exe").exists()
    # The script as the run left it: every reader writes it back normalised.
    assert wine.host_path(SHARED + "\\" + APP + r"\setup.inf").read_bytes() == wine.read_file(r"C:\medium\setup.inf")

    assert wine.reg_query(r"HKCU\Software\OstravelTest\Lumbra", "Path") == DEST
    assert wine.reg_query(r"HKLM\Software\OstravelTest", "Year") == "2026"
    assert wine.reg_query(r"HKLM\Software\OstravelTest", "Year", view=64) is None  # the 32-bit view only
    assert wine.reg_query(r"HKLM\Software\OstravelTest\Missing", "x") is None
    assert wine.reg_query(UNINSTALL_KEY, "DisplayName") == APP
    command = wine.reg_query(UNINSTALL_KEY, "UninstallString")
    assert command == f'"{SHARED}\\setup.exe" /u /l"{DEST}\\uninstall.log"'

    record = wine.read_file(DEST + r"\uninstall.log").decode("cp1250")
    assert record.endswith("\r\n") and record.split("\r\n")[3] == "Title: " + APP
    assert f"Copy File: {DEST}\\2026\\Könyvelés\\évek\\napló.txt\r\n" in record
    assert f"Make Dir: {DEST}\\2026\\Könyvelés\\évek\r\n" in record
    state = wine.read_file(DEST + r"\state.ini").decode("cp1250")
    assert "[fonts\\ostraveltest.ttf]" in state and "LastBuild=2026.01.15" in state

    # The uninstall entry's command line: the shared copy with the record.
    exe, args = command[1:command.index('"', 1)], command[command.index('"', 1) + 2:].split(" ", 1)
    rc, report = probe(wine, args[0], args[1].replace('"', ""), exe=exe, report=SHARED + r"\probe-report.txt")
    assert report[-1] == "end: success", report
    wine.wait_idle()
    left = file_listing(wine.drive_c) - files_before
    # What the documents keep: the shared uninstaller and script copies, the fonts,
    # [Folders], the update-state file, the prerequisite the Windows Installer put
    # in, the Orvel desktop link; what the batch file wrote (not recorded), and so
    # the destination that holds them. Every folder level made is recorded and goes.
    trees = [SHARED, r"C:\windows\Fonts\OstravelTest.ttf", DEST + r"\Mentések", DEST + r"\state.ini",
             r"C:\Program Files (x86)\OstravelPrereq", DEST + r"\com-registered.txt", r"C:\medium"]
    exact = [DEST, wine.win_path(desktop / "Orvel 2026.lnk")]

    def explained(rel):
        path = wine.win_path(wine.drive_c / rel).lower()
        return any(path == t.lower() or path.startswith(t.lower() + "\\") for t in trees) or \
            path in (e.lower() for e in exact)
    unexplained = sorted(p for p in left if not explained(p))
    assert not unexplained, sorted(unexplained)
    assert not (dest / "bin").exists() and not (dest / "uninstall.log").exists()
    assert (desktop / "Orvel 2026.lnk").exists() and wine.host_path(SHARED + r"\setup.exe").exists()
    gone = {v for v in registry_values(wine.path) - values_before}
    assert not [v for v in gone if "ostraveltest" in v[1] or APP.lower() in v[1]], sorted(gone)


def test_rules_attributes_and_registry_on_an_existing_installation(wine, medium, programs):
    script, build = medium
    installer_bytes = programs["installer"].read_bytes()  # version 1.0.0.1
    rules = Package(wine.path.parent / f"rules-{wine.path.name}", "rules")
    script.entry("Components", "Component", {".Name": "Rules", ".PackName": "rules", ".Checked": 1, ".Size": 1})
    old, newer = MEMBER_TIME - 86400 * 30, MEMBER_TIME + 86400 * 30
    cases = [  # name, rule, installed content, its time, ModuleVersion, replaced
        ("r0.txt", 0, b"old", newer, "", True),
        ("r1.txt", 1, b"old", old, "", False),
        ("r2time.txt", 2, b"old", old, "", True),
        ("r2ver.exe", 2, installer_bytes, newer, "1.0.0.2", True),
        ("r2keep.exe", 2, installer_bytes, newer, "0.9.0.0", False),
        ("r3.txt", 3, b"old", old, "", False),
    ]
    dest = wine.make_folder(DEST)
    for name, rule, content, when, version, _ in cases:
        add_file(script, rules, name, b"new " + name.encode(), "$DefaultDestination$\\" + name, rule=rule,
                 component=3, ModuleVersion=version, **({"Hidden": 1, "ReadOnly": 1} if rule == 3 else {}))
        (dest / name).write_bytes(content)
        os.utime(dest / name, (when, when))
    (dest / "r0.txt").chmod(0o444)  # read-only: the lock test clears it first
    rules.pack(programs["media"], wine.host_path(r"C:\medium"))
    add_shortcuts_registry_fonts(script)
    script.entry("Registry", "Reg", {".SubKey": r"Software\OstravelTest\Old", ".ValueName": "kept",
                                     ".ValueData": "new", ".CreateKey": 1, ".OverwriteValue": 0})
    script.entry("Registry", "Reg", {".SubKey": r"Software\OstravelTest\Old", ".ValueName": "replaced",
                                     ".ValueData": "new", ".CreateKey": 0, ".OverwriteValue": 1})
    build()
    wine.reg_add(r"HKCU\Software\OstravelTest\Old", "kept", "old")
    wine.reg_add(r"HKCU\Software\OstravelTest\Old", "replaced", "old")

    rc, report = probe(wine, "/silent", "/noicon")
    assert rc == 0 and report[-1] == "end: success", report
    for name, rule, content, _, _, replaced in cases:
        assert (dest / name).read_bytes() == (b"new " + name.encode() if replaced else content), name
    attrs = subprocess.run(wine.command("cmd", "/c", "attrib", DEST + r"\r3.txt"), env=wine.env,
                           capture_output=True, timeout=60).stdout.decode("cp1252", "replace")
    assert set("RH") <= set(attrs.split(DEST[:2])[0]), attrs
    assert wine.reg_query(r"HKCU\Software\OstravelTest\Old", "kept") == "old"
    assert wine.reg_query(r"HKCU\Software\OstravelTest\Old", "replaced") == "new"
    record = wine.read_file(DEST + r"\uninstall.log").decode("cp1250")
    assert "Create Reg Key: HKEY_CURRENT_USER;Software\\OstravelTest\\Old" not in record
    assert "Software\\OstravelTest\\Old;kept" not in record and "Old;replaced\r\n" in record
    # Files that were there are recorded as replaced: the uninstall leaves them.
    assert "r1.txt" not in record and "r2keep.exe" not in record and "Replace File: " + DEST + "\\r0.txt" in record
    # "/noicon": only the startup placement gets its link; no uninstall link either.
    startup = wine.host_path(wine.reg_query(r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders",
                                            "Startup"))
    programs_menu = wine.host_path(wine.reg_query(
        r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", "Programs"))
    assert (startup / "Lumbra figyelő.lnk").exists()
    assert not (programs_menu / "Lumbra Teszt").exists() and not (programs_menu / f"Uninstall {APP}.lnk").exists()


def test_a_locked_target_gives_the_locked_files_message_and_changes_nothing(wine, medium, programs):
    script, build = medium
    build()
    dest = wine.make_folder(DEST + r"\bin")
    (dest / "KORB2026.exe").write_bytes(b"running program")
    shutil.copy(programs["fixtures"] / "hold_open.exe", wine.host_path(r"C:\medium") / "hold_open.exe")
    holder = wine.start(r"C:\medium\hold_open.exe", DEST + r"\bin\KORB2026.exe", r"C:\medium\release")
    try:
        deadline = time.time() + 60
        while not (dest / "KORB2026.exe.held").exists() and time.time() < deadline:
            time.sleep(0.2)
        assert (dest / "KORB2026.exe.held").exists()
        before = file_listing(wine.drive_c)
        rc, report = probe(wine, "/silent", idle=False)
    finally:
        wine.host_path(r"C:\medium\release").write_bytes(b"")
        holder.wait(timeout=60)
    assert rc == 1, report
    assert report[0].startswith("error: Egy vagy több frissítendő fájl zárolva van.") and report[-1] == "end: stopped"
    assert DEST + r"\bin\KORB2026.exe" in "\n".join(report)
    assert "Kérjük olvassa el tájékoztatónkat" in "\n".join(report)
    assert (dest / "KORB2026.exe").read_bytes() == b"running program"
    changed = file_listing(wine.drive_c) ^ before
    assert changed <= {"medium/probe-report.txt", "medium/release"}, sorted(changed)


def test_uninstall_switched_off_writes_no_record_entry_link_or_shared_copy(wine, medium):
    script, build = medium
    add_shortcuts_registry_fonts(script)
    script.set("Configuration", "UnInstall", 0)
    build()
    rc, report = probe(wine, "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    assert wine.host_path(DEST + r"\bin\KORB2026.exe").exists()
    assert not wine.host_path(DEST + r"\uninstall.log").exists()
    assert wine.reg_query(UNINSTALL_KEY, "UninstallString") is None
    assert not wine.host_path(SHARED).exists()
    programs_menu = wine.host_path(wine.reg_query(
        r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", "Programs"))
    assert not (programs_menu / f"Uninstall {APP}.lnk").exists()


@pytest.fixture
def small_drive(wine, tmp_path):
    """A 1 MiB drive E: (a tmpfs); the test is skipped where nothing may be mounted."""
    mount = tmp_path / "small"
    mount.mkdir()
    if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=1m", "tmpfs", str(mount)],
                      capture_output=True).returncode != 0:
        pytest.skip("no tmpfs can be mounted here")
    (wine.path / "dosdevices" / "e:").symlink_to(mount)
    try:
        yield mount
    finally:
        wine.kill()
        subprocess.run(["umount", str(mount)], check=False)


@pytest.mark.parametrize("rollback", [False, True])
def test_a_disk_that_fills_during_extraction_ends_with_a_message_and_an_exact_record(wine, programs, small_drive,
                                                                                       tmp_path, rollback):
    """Without RollbackOnFailure the record lists exactly what was written; with it the
    run takes back what it wrote, and says so."""
    folder = wine.make_folder(r"C:\medium")
    package = Package(tmp_path, "data1")
    s = Script()
    s.set("Configuration", "Application", "Lumbra").set("Configuration", "Version", "2026")
    s.set("Configuration", "Path", r"E:\App").set("Configuration", "UnInstallLogFile", r"C:\records\u.log")
    if rollback:
        s.set("Configuration", "RollbackOnFailure", 1)
    for i in range(1, 4):
        add_file(s, package, f"part{i}.bin", os.urandom(600 * 1024), rf"$DefaultDestination$\data\part{i}.bin")
    package.pack(programs["media"], folder)
    (folder / "setup.inf").write_bytes(s.bytes())
    shutil.copy(programs["fixtures"] / "engine_probe.exe", folder / "engine_probe.exe")

    rc, report = probe(wine, "/silent")
    assert rc == 1 and report[-1] == ("end: stopped" if rollback else "end: success"), report
    assert report[0] == r"error: Cannot read file", report  # the message's first line
    assert report[2].startswith(r"File: E:\App\data\part"), report
    if rollback:
        assert not (small_drive / "App").exists() and not wine.host_path(r"C:\records\u.log").exists()
        assert any("visszaállította a gépet" in line for line in report), report
        return
    written = sorted(p.name for p in (small_drive / "App" / "data").iterdir())
    record = wine.read_file(r"C:\records\u.log").decode("cp1250").split("\r\n")
    recorded = sorted(line.rsplit("\\", 1)[1] for line in record if line.startswith("Copy File: "))
    assert recorded == written and len(written) == 2, (recorded, written)
    assert r"Make Dir: E:\App\data" in record


def test_a_file_locked_after_the_first_archive_is_undone_to_the_machine_before(wine, programs, tmp_path):
    """An update with RollbackOnFailure whose second archive meets a file that a program
    opened while the first archive was written: files with their bytes, times and
    attributes, both registry views, the shortcut and the record are as before the update."""
    folder = wine.make_folder(r"C:\medium")
    shutil.copy(programs["fixtures"] / "engine_probe.exe", folder / "engine_probe.exe")

    def medium(version):
        s = Script()
        s.set("Configuration", "Application", "Lumbra").set("Configuration", "Version", "2026")
        s.set("Configuration", "Path", r"C:\App").set("Configuration", "UnInstallLogFile", r"C:\App\u.log")
        s.set("Configuration", "RollbackOnFailure", 1)
        s.entry("Components", "Component", {".Name": "Program", ".PackName": "data1", ".Checked": 1, ".Size": 1})
        s.entry("Components", "Component", {".Name": "Library", ".PackName": "data2", ".Checked": 1, ".Size": 1})
        first, second = Package(tmp_path / f"v{version}", "data1"), Package(tmp_path / f"v{version}", "data2")
        add_file(s, first, "a.txt", f"version {version}\r\n".encode(), r"$DefaultDestination$\a.txt", ReadOnly=1)
        if version == 2:
            add_file(s, first, "new.txt", b"new\r\n", r"$DefaultDestination$\docs\new.txt")
        add_file(s, second, "c.dll", f"library {version}".encode(), r"$DefaultDestination$\lib\c.dll", component=2)
        for root in ("HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"):
            s.entry("Registry", "Reg", {".RootKey": root, ".SubKey": rf"Software\OstravelTest\V{version}",
                                        ".ValueName": "Version", ".ValueData": version, ".CreateKey": 1})
        s.entry("Icons", "Icon", {".Placement": r"$UserPrograms$\Lumbra Teszt", ".Title": f"Lumbra {version}",
                                  ".File": r"$DefaultDestination$\a.txt"})
        for p in (first, second):
            p.pack(programs["media"], folder)
        (folder / "setup.inf").write_bytes(s.bytes())

    medium(1)
    rc, report = probe(wine, "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    medium(2)
    (folder / "probe-report.txt").unlink()
    since = time.time()
    wine.wait_idle()
    before = snapshot(wine, since)
    rc, report = probe(wine, "/silent", r"/holdat=C:\App\lib\c.dll|new.txt")
    assert rc == 1 and "held: C:\\App\\lib\\c.dll" in report and report[-1] == "end: stopped", report
    assert any("visszaállította a gépet" in line for line in report), report
    # The record is written anew with the same bytes: its time is the undo's.
    after = snapshot(wine, since)
    after["files"]["app/u.log"] = after["files"]["app/u.log"][:1] + before["files"]["app/u.log"][1:]
    found = [d for d in differences(before, after) if not d.startswith(("files medium/", "files users/root/temp/"))]
    assert not found, "\n".join(found[:40])


def test_the_uninstall_leaves_what_was_there_before_and_no_empty_folder(wine, programs, tmp_path):
    """Files that were there before the installation (one in the system folder,
    shared with other programs, one of another program) survive the uninstall; what
    the installation created goes, with every folder level it made."""
    folder = wine.make_folder(r"C:\medium")
    dest, other = r"C:\Melyseg\Lumbra\2026", r"C:\Közös"  # the record path travels on a command line
    s = Script()
    s.set("Configuration", "Application", "Lumbra").set("Configuration", "Version", "2026")
    s.set("Configuration", "Path", dest).set("Configuration", "UnInstallLogFile", r"$DefaultDestination$\uninstall.log")
    s.entry("Components", "Component", {".Name": "Program", ".PackName": "data1", ".Checked": 1, ".Size": 1})
    package = Package(tmp_path, "data1")
    for name, target in [("shared.dll", r"$SystemFolder$\ostravel_shared.dll"),
                         ("fresh.dll", r"$SystemFolder$\ostravel_fresh.dll"),
                         ("old.dat", other + r"\old.dat"), ("x.exe", r"$DefaultDestination$\bin\sub\x.exe")]:
        add_file(s, package, name, b"ours", target)
    program = r"$DefaultDestination$\bin\sub\x.exe"
    s.entry("Icons", "Icon", {".Placement": r"$UserPrograms$\Mély Teszt\Csoport", ".Title": "X", ".File": program,
                              ".IconFile": program})
    package.pack(programs["media"], folder)
    (folder / "setup.inf").write_bytes(s.bytes())
    shutil.copy(programs["fixtures"] / "engine_probe.exe", folder / "engine_probe.exe")
    windows = {p.name.lower(): p for p in wine.drive_c.joinpath("windows").iterdir()}
    system = windows["syswow64"]  # where a 32-bit program's system folder lies
    (system / "ostravel_shared.dll").write_bytes(b"theirs")
    wine.make_folder(other).joinpath("old.dat").write_bytes(b"theirs")
    shared_dlls = r"HKLM\Software\Microsoft\Windows\CurrentVersion\SharedDLLs"
    shared, fresh = r"C:\windows\system32\ostravel_shared.dll", r"C:\windows\system32\ostravel_fresh.dll"

    rc, report = probe(wine, "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    record = wine.read_file(dest + r"\uninstall.log").decode("cp1250").lower()
    assert f"replace file: {shared}\r\n".lower() in record and f"copy file: {fresh}\r\n".lower() in record, record
    assert "make dir: c:\\melyseg\r\n" in record and "make dir: c:\\melyseg\\lumbra\r\n" in record, record
    assert (wine.reg_query(shared_dlls, shared), wine.reg_query(shared_dlls, fresh)) == ("0x2", "0x1")

    command = wine.reg_query(UNINSTALL_KEY, "UninstallString")
    exe, args = command[1:command.index('"', 1)], command[command.index('"', 1) + 2:].split(" ", 1)
    rc, report = probe(wine, args[0], args[1].replace('"', ""), exe=exe, report=SHARED + r"\probe-report.txt")
    assert report[-1] == "end: success", report
    assert (system / "ostravel_shared.dll").read_bytes() == b"ours" and not (system / "ostravel_fresh.dll").exists()
    assert wine.host_path(other + r"\old.dat").read_bytes() == b"ours"
    assert not wine.host_path(r"C:\Melyseg").exists()
    programs_menu = wine.host_path(wine.reg_query(
        r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", "Programs"))
    assert not (programs_menu / "Mély Teszt").exists()
    assert (wine.reg_query(shared_dlls, shared), wine.reg_query(shared_dlls, fresh)) == ("0x1", None)


def test_without_a_record_path_no_uninstall_entry_or_shortcut_is_made(wine, medium):
    script, build = medium
    del script.sections["Configuration"]["UnInstallLogFile"]
    build()
    rc, report = probe(wine, "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    assert wine.host_path(DEST + r"\bin\KORB2026.exe").exists()
    assert wine.reg_query(UNINSTALL_KEY, "UninstallString") is None
    programs_menu = wine.host_path(wine.reg_query(
        r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders", "Programs"))
    assert not (programs_menu / f"Uninstall {APP}.lnk").exists()
    log = next(wine.drive_c.glob("users/*/**/Temp/belloro-installer.log")).read_bytes().decode("cp1250")
    assert "UnInstallLogFile names no installation record" in log
