"""Rollback and Repair on a real Wine prefix, driven by the engine probe: version 1
installed, version 2 installed over it with KeepBackups, rolled back through the
uninstall entry's command line; then installed files deleted and changed, and
repaired from version 1's package."""
import hashlib
import os
import shutil

from engine_media import MEMBER_TIME, Package, Script, dos_time, read_lnk

DEST = r"C:\Lumbra Kinds"
APP = "Lumbra v2026"
SHARED = r"C:\Program Files (x86)\Common Files\Quillmarch Shared"
UNINSTALL_KEY = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + APP
KEY = r"HKCU\Software\OstravelKinds"
SHELL_FOLDERS = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders"
V2_TIME = MEMBER_TIME + 86400 * 40


def contents(v):
    files = {r"bin\a.exe": f"program {v}", r"lib\shared.dll": f"shared {v}", r"data\data.txt": f"data {v}",
             "cfg.ini": f"settings {v}"}
    if v == 2:
        files[r"lib\new.dll"] = "new in 2"
    return {rel: text.encode() for rel, text in files.items()}


def build_version(wine, programs, tmp_path, v, keep_backups):
    """C:\\medium with version v of the product and the probe beside it."""
    s = Script()
    s.set("Configuration", "Application", "Lumbra").set("Configuration", "Version", "2026")
    s.set("Configuration", "Path", DEST).set("Configuration", "UnInstallLogFile", r"$DefaultDestination$\uninstall.log")
    if keep_backups:
        s.set("Configuration", "KeepBackups", 1)
    s.entry("Components", "Component", {".Name": "Program", ".PackName": "base", ".Checked": 1, ".Size": 1})
    package = Package(tmp_path / f"v{v}", "base")
    when = MEMBER_TIME if v == 1 else V2_TIME
    for rel, data in contents(v).items():
        stored = package.add(rel, data)
        os.utime(package.src.joinpath(*rel.split("\\")), (when, when))
        s.entry("Files", "File", {".CompID": 1, ".SourceFile": stored, ".TargetFile": "$DefaultDestination$\\" + rel,
                                  ".FileUpdateRule": 1 if rel == "cfg.ini" else 0, ".FileSize": len(data),
                                  ".FileTime": dos_time(when), ".MD5HashInfo": hashlib.md5(data).hexdigest().upper()})
    s.entry("Registry", "Reg", {".SubKey": r"Software\OstravelKinds", ".ValueName": "Version", ".ValueData": v,
                                ".CreateKey": 1, ".OverwriteValue": 1})
    program = r"$DefaultDestination$\bin\a.exe"
    s.entry("Icons", "Icon", {".Placement": r"$UserPrograms$\Lumbra Kinds", ".Title": "Lumbra", ".File": program,
                              ".IconFile": program, ".Parameters": f"/v{v}"})
    if v == 2:
        s.entry("Registry", "Reg", {".SubKey": r"Software\OstravelKinds\Extra", ".ValueName": "Added",
                                    ".ValueData": "2", ".CreateKey": 1})
        s.entry("Icons", "Icon", {".Placement": r"$UserPrograms$\Lumbra Kinds", ".Title": "Újdonság",
                                  ".File": program, ".IconFile": program})
    medium = wine.make_folder(r"C:\medium")
    package.pack(programs["media"], medium)
    (medium / "setup.inf").write_bytes(s.bytes())
    shutil.copy(programs["fixtures"] / "engine_probe.exe", medium / "engine_probe.exe")
    return medium


def run_probe(wine, exe, *args):
    result = wine.run(exe, *args, timeout=300)
    assert not result.timed_out, result
    wine.wait_idle()
    report = wine.read_file(exe.rsplit("\\", 1)[0] + r"\probe-report.txt").decode("utf-8").splitlines()
    return result.rc, report


def uninstaller(wine, kind):
    """The uninstall entry's command line, with the kind chosen, unattended."""
    command = wine.reg_query(UNINSTALL_KEY, "UninstallString")
    exe, args = command[1:command.index('"', 1)], command[command.index('"', 1) + 2:].split(" ", 1)
    return run_probe(wine, exe, args[0], args[1].replace('"', ""), kind, "/silent")


def test_rollback_brings_version_1_back_and_repair_puts_back_what_was_lost(wine, programs, tmp_path):
    dest = wine.host_path(DEST)
    medium = build_version(wine, programs, tmp_path, 1, keep_backups=False)
    rc, report = run_probe(wine, r"C:\medium\engine_probe.exe", "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    (dest / "cfg.ini").write_bytes(b"the customer's settings")
    version1_package = (medium / "base.dat").read_bytes()
    record_v1 = wine.read_file(DEST + r"\uninstall.log")
    script_copy = wine.host_path(SHARED + "\\" + APP + r"\setup.inf")
    script_v1 = script_copy.read_bytes()
    menu = wine.host_path(wine.reg_query(SHELL_FOLDERS, "Programs")) / "Lumbra Kinds"

    build_version(wine, programs, tmp_path, 2, keep_backups=True)
    rc, report = run_probe(wine, r"C:\medium\engine_probe.exe", "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    assert (dest / "bin" / "a.exe").read_bytes() == b"program 2" and (dest / "lib" / "new.dll").exists()
    assert wine.reg_query(KEY, "Version") == "2" and read_lnk(menu / "Lumbra.lnk")["arguments"] == "/v2"
    record = wine.read_file(DEST + r"\uninstall.log").decode("cp1250")
    assert f"Backup File: {DEST}\\bin\\a.exe|{DEST}\\uninstall.log.backups\\" in record, record

    rc, report = uninstaller(wine, "/rollback")
    assert rc == 0 and report[-1] == "end: success", report
    for rel, data in contents(1).items():
        if rel != "cfg.ini":
            assert (dest.joinpath(*rel.split("\\"))).read_bytes() == data, rel
    assert (dest / "cfg.ini").read_bytes() == b"the customer's settings"
    assert dos_time((dest / "bin" / "a.exe").stat().st_mtime) == dos_time(MEMBER_TIME)
    assert not (dest / "lib" / "new.dll").exists()
    assert wine.reg_query(KEY, "Version") == "1"
    assert wine.reg_query(KEY + r"\Extra", "Added") is None
    assert read_lnk(menu / "Lumbra.lnk")["arguments"] == "/v1" and not (menu / "Újdonság.lnk").exists()
    assert wine.read_file(DEST + r"\uninstall.log") == record_v1
    assert script_copy.read_bytes() == script_v1
    assert wine.reg_query(UNINSTALL_KEY, "DisplayName") == APP and wine.host_path(SHARED + r"\setup.exe").exists()
    assert not wine.host_path(DEST + r"\uninstall.log.backups").exists()

    # Two files deleted, a third changed; the customer's settings stay theirs.
    (dest / "bin" / "a.exe").unlink()
    shutil.rmtree(dest / "lib")
    (dest / "data" / "data.txt").write_bytes(b"damaged")
    wine.host_path(SHARED + r"\base.dat").write_bytes(version1_package)  # the packages beside the uninstaller
    rc, report = uninstaller(wine, "/repair")
    assert rc == 0 and report[-1] == "end: success", report
    for rel, data in contents(1).items():
        if rel != "cfg.ini":
            assert (dest.joinpath(*rel.split("\\"))).read_bytes() == data, rel
    assert (dest / "cfg.ini").read_bytes() == b"the customer's settings"
    assert wine.read_file(DEST + r"\uninstall.log") == record_v1  # its folders were recorded already
    assert wine.reg_query(KEY, "Version") == "1"


def test_an_unattended_uninstall_with_a_kind_not_offered_removes_nothing(wine, programs, tmp_path):
    """Without the packages beside it the page offers Full Uninstall and Rollback
    only: "DefaultSelected=2" names nothing, and the real uninstaller, started
    unattended through the uninstall entry, ends with exit code 1 having removed
    nothing."""
    medium = build_version(wine, programs, tmp_path, 1, keep_backups=False)
    with open(medium / "setup.inf", "ab") as script:
        script.write(b"[unInstall Type Page]\r\nRollbackEnabled=1\r\nDefaultSelected=2\r\n")
    rc, report = run_probe(wine, r"C:\medium\engine_probe.exe", "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    record = wine.read_file(DEST + r"\uninstall.log")
    assert real_uninstall_fails(wine, programs) == record
    assert wine.reg_query(UNINSTALL_KEY, "DisplayName") == APP
    assert "DefaultSelected=2 is not offered" in installer_log(wine)


def real_uninstall_fails(wine, programs):
    """The uninstall entry's command line, unattended, with the real installer as the
    shared uninstaller: exit code 1 and the product still there; the record as left."""
    shutil.copy(programs["installer"], wine.host_path(SHARED + r"\setup.exe"))
    command = wine.reg_query(UNINSTALL_KEY, "UninstallString")
    exe, args = command[1:command.index('"', 1)], command[command.index('"', 1) + 2:].split(" ", 1)
    result = wine.run(exe, args[0], args[1].replace('"', ""), "/silent", timeout=120)
    assert result.rc == 1, result
    wine.wait_idle()
    assert wine.host_path(DEST + r"\bin\a.exe").read_bytes() == b"program 1"
    return wine.read_file(DEST + r"\uninstall.log")


def installer_log(wine):
    return next(wine.drive_c.glob("users/*/**/Temp/belloro-installer.log")).read_bytes().decode("cp1250")


def test_the_uninstaller_refuses_a_record_changed_since_its_save(wine, programs, tmp_path):
    """The record may lie where a standard user can write: a line added to it must not
    make the elevated uninstaller delete someone else's file."""
    build_version(wine, programs, tmp_path, 1, keep_backups=False)
    rc, report = run_probe(wine, r"C:\medium\engine_probe.exe", "/silent")
    assert rc == 0 and report[-1] == "end: success", report
    theirs = wine.make_folder(r"C:\theirs") / "keep.dat"
    theirs.write_bytes(b"theirs")
    record = wine.read_file(DEST + r"\uninstall.log") + b"Copy File: C:\\theirs\\keep.dat\r\n"
    wine.host_path(DEST + r"\uninstall.log").write_bytes(record)
    assert real_uninstall_fails(wine, programs) == record
    assert theirs.read_bytes() == b"theirs"
    assert "changed since its last save, nothing removed" in installer_log(wine)
