"""The Win32 machine layer against a real Wine prefix."""
import pytest


@pytest.fixture
def probe(wine, programs):
    folder = wine.make_folder(r"C:\probe")
    for name in ("platform_probe.exe", "exit_code.exe"):
        (folder / name).write_bytes((programs["fixtures"] / name).read_bytes())

    def run(*args):
        result = wine.run(r"C:\probe\platform_probe.exe", *args, timeout=120)
        assert result.rc == 0, result
        lines = result.stdout.decode("utf-8").splitlines()
        return lines[-1].rstrip("\r") if lines else ""
    return run


def test_run_and_wait_returns_the_exit_code(probe):
    assert probe("run", r"C:\probe\exit_code.exe", "7") == "7"
    assert probe("run", r"C:\probe\exit_code.exe", "32767") == "32767"
    assert probe("run", r"C:\probe\missing.exe") == "-1"


def test_path_variables_read_the_prefix_registry(wine, probe):
    programs = wine.reg_query(r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\Shell Folders",
                              "Programs")
    assert programs, "the prefix has no shell folders"
    assert probe("expand", r"$UserPrograms$\Lumbra") == programs + r"\Lumbra"
    assert probe("expand", r"$WinDrive$:\x") == r"C:\x"
    # A 32-bit program sees the 32-bit program folder.
    assert probe("expand", "$ProgramFilesFolder$") == r"C:\Program Files (x86)"
    # Read as stored; a prefix without the value (32-bit Windows, Wine) gives "".
    w6432 = wine.reg_query(r"HKLM\Software\Microsoft\Windows\CurrentVersion", "ProgramW6432Dir")
    assert probe("expand", "$ProgramFilesFolder64$") == (w6432 or "")
    assert probe("expand", "$CommonFilesFolder$") == r"C:\Program Files (x86)\Common Files"
    assert probe("expand", r"$TempFolder$\a").endswith(r"\Temp\a")
    wine.reg_add(r"HKLM\Software\Microsoft\Windows\CurrentVersion", "CommonFilesDir", "1", kind="REG_DWORD")
    assert probe("expand", "$CommonFilesFolder$") == r"C:\Program Files\Common Files"


def test_versions_times_and_ini_write_back(wine, programs, probe):
    installer = wine.make_folder(r"C:\probe") / "installer.exe"
    installer.write_bytes(programs["installer"].read_bytes())
    assert probe("version", r"C:\probe\installer.exe").startswith("1.00 1.0.0.")
    assert probe("version", r"C:\probe\exit_code.exe") == "none"
    assert int(probe("filetime", r"C:\probe\installer.exe")) > 0
    assert probe("filetime", r"C:\probe\none.txt") == "0"
    ini = wine.make_folder(r"C:\probe") / "a.ini"
    ini.write_bytes("; c\r\n[Ár]\r\n kulcs = érték \r\n".encode("cp1250"))
    assert probe("ini", r"C:\probe\a.ini", "ár", "KULCS") == "érték"
    assert ini.read_bytes() == "[Ár]\r\nkulcs=érték\r\n\r\n".encode("cp1250")
    free, total = map(int, probe("disk", "C").split())
    assert 0 < free <= total


def test_md5_through_the_system_matches(wine, probe):
    import hashlib
    data = bytes(range(256)) * 4099
    (wine.make_folder(r"C:\probe") / "blob.bin").write_bytes(data)
    assert probe("md5", r"C:\probe\blob.bin") == hashlib.md5(data).hexdigest().upper()


def test_shared_win32_helpers(wine, programs):
    folder = wine.make_folder(r"C:\probe")
    (folder / "win32_helpers_check.exe").write_bytes((programs["fixtures"] / "win32_helpers_check.exe").read_bytes())
    result = wine.run(r"C:\probe\win32_helpers_check.exe", timeout=60)
    assert result.stdout.decode("utf-8").split() == ["ok"] and result.rc == 0, result.stdout


PARENT = r"HKLM\Software\OstravelTest"


def test_key_deletions_keep_to_the_requested_view(wine, probe):
    wine.reg_import([PARENT + k for k in (r"\Probe\Leaf", r"\Probe\A\Deep\Deeper", r"\Probe\B", r"\Probe2")])

    def keys(view):
        return {k[len(PARENT):] for k in wine.reg_keys(PARENT, view=view)}

    everything = {r"\Probe", r"\Probe\Leaf", r"\Probe\A", r"\Probe\A\Deep", r"\Probe\A\Deep\Deeper",
                  r"\Probe\B", r"\Probe2"}
    assert keys(32) == keys(64) == everything
    # The first registry call of the probe: advapi32 is not loaded yet.
    assert probe("regdelete", "64", r"Software\OstravelTest\Probe\Leaf") == "1"
    assert keys(32) == everything and keys(64) == everything - {r"\Probe\Leaf"}
    assert probe("regdelete", "64", r"Software\OstravelTest\Probe\Leaf") == "0"
    # The system deletes only leaves; the tree goes through the interface's own walk.
    assert probe("regdelete", "32", r"Software\OstravelTest\Probe\A") == "0"
    assert probe("regtree", "32", r"Software\OstravelTest\Probe") == "1"
    # A sibling whose name merely starts the same is another key.
    assert keys(32) == {r"\Probe2"}
    assert keys(64) == everything - {r"\Probe\Leaf"}
    assert probe("regtree", "64", r"Software\OstravelTest\Probe") == "1"
    assert keys(64) == {r"\Probe2"}
    assert probe("regtree", "32", r"Software\OstravelTest\Probe") == "0"
    assert probe("regtree", "32", "\\") == "0"


def test_both_builds_see_the_machine_as_a_32_bit_program_does(wine, probe):
    """On 64-bit Windows the i686 build runs under the emulation layer and the x86_64
    build stands in for it: the same bitness answer, the same system folder text, and
    the same place for the files put there (the 32-bit system folder)."""
    assert probe("wow64") == "1"
    assert probe("expand", "$SystemFolder$").lower() == r"c:\windows\system32" + "\\"
    (wine.make_folder(r"C:\probe") / "client.dll").write_bytes(b"32-bit client library")
    assert probe("copy", r"C:\probe\client.dll", r"C:\windows\system32\ostravel_client.dll") == "1"
    windows = {p.name.lower(): p for p in wine.drive_c.joinpath("windows").iterdir()}
    assert (windows["syswow64"] / "ostravel_client.dll").read_bytes() == b"32-bit client library"
    assert not (windows["system32"] / "ostravel_client.dll").exists()
    assert probe("exists", r"C:\windows\system32\ostravel_client.dll") == "1"
