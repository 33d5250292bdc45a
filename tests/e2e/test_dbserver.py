"""The database-server code with the real Win32 machine under Wine, driven by
server_probe.exe as the pages and the installation run will drive it. The server is
our own double: service programs with version resources, a server window, and a
setup program carried in a "firebird.dat" made by ostravel-media."""
import re
import shutil
import subprocess
import time

import pefile
import pytest

from uidriver import DIALOG, UiDriver

PF = r"C:\Program Files"
PF86 = r"C:\Program Files (x86)"
OLD = PF86 + r"\FireBird\Firebird_2_5"
NEW = PF86 + r"\Firebird\Firebird_2_5"
INSTANCES = r"HKLM\SOFTWARE\Firebird Project\Firebird Server\Instances"
RUN = r"HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run"
LAYERS = r"HKCU\Software\Microsoft\Windows NT\CurrentVersion\AppCompatFlags\Layers"
SERVICES = r"HKLM\System\CurrentControlSet\Services"
GUARDIAN, SERVER = "FirebirdGuardianDefaultInstance", "FirebirdServerDefaultInstance"
AUTOMATIC, ON_DEMAND, DISABLED = "0x2", "0x3", "0x4"
SETUP32, SETUP64 = "Firebird-2.5.4.26856_0_Win32.exe", "Firebird-2.5.4.26856_0_x64.exe"
PARAMETERS = ('/SP- /VERYSILENT /SUPPRESSMSGBOXES /LOG="C:\\BELLORO.WIN\\fbsetup.log%" /NOCANCEL /NORESTART '
              '/RESTARTEXITCODE=32767 /FORCE /TASKS="UseGuardianTask,UseApplicationTask,InstallCPLAppletTask,'
              'MenuGroupTask,CopyFbClientAsGds32Task,CopyFbClientToSysTask" /COMPONENTS="ServerComponent\\'
              '{}ServerComponent,ServerComponent,DevAdminComponent,ClientComponent"')
CANNOT_STOP_ON_LEAVE = "A Telepítő nem tudta leállítani a futó InterBase/FireBird alkalmazást!"
CANNOT_STOP_IN_RUN = "A telepítő nem tudta leállítani a futó Firebird kiszolgáló-alkalmazást!"
SETUP_FAILED = ("Sikertelen volt a FireBird 2.5.4.26856 kiszolgálóalkalmazás telepítése! "
                "Kérem sürgösen értesítse a Belloro Kft.-t!")


def line(folder, program):
    return f'"{folder}\\bin\\{program}" -s DefaultInstance'


class Machine:
    """A Wine prefix with server doubles in place and a probe to drive the code."""

    def __init__(self, wine, programs, tmp_path):
        self.wine, self.fixtures, self.media, self.tmp = wine, programs["fixtures"], programs["media"], tmp_path
        self.probe_dir = wine.make_folder(r"C:\probe")
        shutil.copy(self.fixtures / "server_probe.exe", self.probe_dir)

    def double(self, version):
        return self.fixtures / f"fb_service_{version.replace('.', '_')}.exe"

    def install(self, folder, version, programs=("fbserver.exe", "fbguard.exe"), register=True):
        bin_dir = self.wine.make_folder(folder + r"\bin")
        for name in programs:
            shutil.copy(self.double(version), bin_dir / name)
        if register:
            self.wine.reg_add(INSTANCES, "DefaultInstance", folder + "\\")
        return bin_dir

    def command(self, *args):
        # Output to a file: a pipe can be held by the processes a service start leaves.
        out = self.tmp / "command.txt"
        with open(out, "wb") as f:
            rc = subprocess.run(self.wine.command(*args), env=self.wine.env, stdout=f, stderr=subprocess.STDOUT,
                                timeout=120).returncode
        assert rc == 0, (args, out.read_bytes())

    def service(self, name, folder, program, start="auto"):
        self.command("sc", "create", name, "binPath=", line(folder, program), "start=", start)
        self.command("sc", "start", name)

    def medium(self, code=0, version="2.5.4.26856", layout=("fbserver.exe", "fbguard.exe"), folder=NEW,
               setup=SETUP32, into=None, startable=True):
        """firebird.dat beside the probe (or in `into`): the setup double and the
        programs it lays out; with `startable` false the setup is no program at all."""
        src = self.tmp / "firebird"
        shutil.rmtree(src, ignore_errors=True)
        src.mkdir()
        if startable:
            shutil.copy(self.fixtures / "fb_setup.exe", src / setup)
        else:
            (src / setup).write_bytes(b"not a program " * 100)
        shutil.copy(self.double(version), src / "server.exe")
        files = "|".join(f"server.exe>bin\\{name}" for name in layout)
        (src / "fbsetup.ini").write_bytes(
            (f"[Setup]\r\nRecord=C:\\probe\\setup.txt\r\nFolder={folder}\r\nFiles={files}\r\n"
             f"ExitCode={code}\r\n").encode("utf-8"))
        archive = (into or self.probe_dir) / "firebird.dat"
        subprocess.run([str(self.media), "pack", str(archive), str(src)], check=True, timeout=60)
        return archive

    def probe(self, *args):
        """The probe's answers: name -> list of values in the order printed."""
        result = self.wine.run(r"C:\probe\server_probe.exe", *args, timeout=180)
        assert result.rc == 0 and not result.timed_out, result
        answers = {}
        for text in result.stdout.decode("utf-8").splitlines():
            name, _, value = text.rstrip("\r").partition("=")
            answers.setdefault(name, []).append(value)
        return answers

    def start_window(self, *args):
        """Starts the server window double and waits until its window exists."""
        shutil.copy(self.fixtures / "server_window.exe", self.probe_dir)
        ready = self.probe_dir / "server_window.exe.ready"
        ready.unlink(missing_ok=True)
        process = self.wine.start(r"C:\probe\server_window.exe", *args)
        deadline = time.time() + 30
        while not ready.exists() and time.time() < deadline:
            time.sleep(0.2)
        assert ready.exists(), "the server window did not appear"
        return process

    def values(self, key):
        """Every value of a key (32-bit view): name -> data; names may hold blanks."""
        out = self.tmp / "reg.txt"
        with open(out, "wb") as f:
            subprocess.run(self.wine.command("reg", "query", key, "/reg:32"), env=self.wine.env, stdout=f,
                           stderr=subprocess.DEVNULL, timeout=120)
        values = {}
        for text in out.read_bytes().decode("utf-8", "replace").splitlines():
            parts = re.split(r" {4}", text.strip())
            if len(parts) >= 2 and parts[1].startswith("REG_"):
                values[parts[0]] = parts[2] if len(parts) > 2 else ""
        return values

    def path(self, win_path):
        """The host path of a Windows path, its names matched without regard to case."""
        path = self.wine.drive_c
        for name in win_path.split("\\")[1:]:
            if path.is_dir():
                name = next((p.name for p in path.iterdir() if p.name.lower() == name.lower()), name)
            path = path / name
        return path

    def text(self, win_path):
        return self.path(win_path).read_bytes().decode("cp1250")

    def config(self, name):
        key = SERVICES + "\\" + name
        return self.wine.reg_query(key, "ImagePath"), self.wine.reg_query(key, "Start")

    def log(self):
        path = self.wine.host_path(r"C:\server-doubles.log")
        return path.read_text(encoding="utf-8").splitlines() if path.exists() else []

    def diagnostic_log(self):
        logs = list(self.wine.drive_c.glob("users/*/**/Temp/belloro-installer.log"))
        return logs[0].read_bytes().decode("cp1250") if logs else ""

    def states(self, *names):
        """name -> (start type, state) as the service control manager reports them;
        state 4 is running, 1 stopped."""
        out = self.probe("state", *names)
        return {name: tuple(int(f.split("=")[1]) for f in rest.split()) for name, _, rest in
                (line.partition(" ") for line in out["service"])}

    def setup_command_line(self):
        path = self.wine.host_path(r"C:\probe\setup.txt")
        return path.read_text(encoding="utf-8") if path.exists() else None


@pytest.fixture
def machine(wine, programs, tmp_path):
    return Machine(wine, programs, tmp_path)


def test_upgrade_of_a_server_running_as_services(wine, machine):
    old_bin = machine.install(OLD, "2.5.2.26540")
    (old_bin / "gds32.dll").write_bytes(b"old")
    kept = {"security2.fdb": b"users", "aliases.conf": b"books = C:\\books.fdb", r"data\BOOKS.FDB": b"books"}
    (old_bin.parent / "data").mkdir()
    for name, data in kept.items():
        (old_bin.parent / name.replace("\\", "/")).write_bytes(data)
    machine.service(GUARDIAN, OLD, "fbguard.exe")
    machine.service(SERVER, OLD, "fbserver.exe")
    # Each stop takes three seconds: the folder waits for them.
    wine.host_path(r"C:\server-doubles.stopdelay").write_bytes(b"3")
    wine.reg_add(LAYERS, OLD + r"\bin\fbserver.exe", "WINXPSP3")
    wine.reg_add(LAYERS, r"C:\Other\keep.exe", "WINXPSP3")
    machine.medium(code=0)

    out = machine.probe("flow")
    assert out.get("error") is None and out["done"] == ["1"], out
    assert out["upgrade"][0] == "1" and out["install"][0] == "1" and out["classic"][0] == "0"
    assert out["folder"][-1] == OLD + "\\"
    log = machine.log()
    assert f"stop {OLD}\\bin\\fbserver.exe" in log and f"stop {OLD}\\bin\\fbguard.exe" in log
    assert f"stopped {OLD}\\bin\\fbserver.exe" in log and f"stopped {OLD}\\bin\\fbguard.exe" in log, log
    assert not (old_bin / "gds32.dll").exists()
    # The databases and configuration of the old server, beside the search's base folder.
    backup, = machine.path(PF86).glob("FireBird-backup-*")
    found = {str(p.relative_to(backup)).replace("/", "\\"): p.read_bytes() for p in backup.rglob("*") if p.is_file()}
    assert found == kept
    assert all(f"Kept from the older server: {wine.win_path(backup)}\\{name}" in machine.diagnostic_log() for name in kept)
    assert machine.setup_command_line().endswith(SETUP32 + '" ' + PARAMETERS.format("Super"))
    conf = machine.text(NEW + r"\firebird.conf")
    assert "\r\nCpuAffinityMask = 255\r\n" in conf and "\r\nGCPolicy = background\r\n" in conf
    assert "#CpuAffinityMask" not in conf and "#RemoteServicePort = 3050" in conf
    assert wine.reg_query(RUN, "Firebird") is None
    assert wine.reg_query(INSTANCES, "DefaultInstance") == OLD + "\\"
    layers = machine.values(LAYERS)
    assert layers == {OLD + "\\bin\\" + name: "RUNASADMIN" for name in
                      ("fbguard.exe", "fbserver.exe", "instsvc.exe", "instreg.exe")} | {r"C:\Other\keep.exe": "WINXPSP3"}
    assert machine.config(GUARDIAN) == (line(NEW, "fbguard.exe"), AUTOMATIC)
    assert machine.config(SERVER) == (line(NEW, "fbserver.exe"), ON_DEMAND)
    assert "start " + line(NEW, "fbguard.exe") in log and "start " + line(NEW, "fbserver.exe") in log


def test_classic_server_parameters_and_service(wine, machine):
    machine.install(OLD, "2.5.2.26540", programs=("fb_inet_server.exe",))
    machine.medium(layout=("fb_inet_server.exe",))
    out = machine.probe("flow", "--silent")
    assert out["classic"][0] == "1" and out["done"] == ["1"], out
    assert machine.setup_command_line().endswith(PARAMETERS.format("Classic"))
    assert machine.config(SERVER) == (line(NEW, "fb_inet_server.exe"), AUTOMATIC)
    assert machine.config(GUARDIAN) == (None, None)
    assert "start " + line(NEW, "fb_inet_server.exe") in machine.log()


def test_target_version_installed_runs_only_the_every_time_steps(wine, machine):
    machine.install(NEW, "2.5.4.26856")
    (machine.path(NEW) / "firebird.conf").write_bytes(b"#GCPolicy = combined\r\n")
    machine.service(SERVER, NEW, "fbserver.exe", start="demand")
    machine.medium()
    out = machine.probe("flow")
    assert out["upgrade"][0] == "0" and out["install"][0] == "0" and out["done"] == ["1"], out
    assert machine.setup_command_line() is None
    assert not any(entry.startswith("stop") for entry in machine.log())
    assert machine.text(NEW + r"\firebird.conf") == "GCPolicy = background\r\n"
    assert wine.reg_query(INSTANCES, "DefaultInstance") == OLD + "\\"  # the folder search's spelling
    assert machine.values(LAYERS)[NEW + r"\bin\fbguard.exe"] == "RUNASADMIN"
    # The missing guardian is created; the existing server gets its line and start type.
    assert machine.config(GUARDIAN) == (line(NEW, "fbguard.exe"), AUTOMATIC)
    assert machine.config(SERVER) == (line(NEW, "fbserver.exe"), ON_DEMAND)


@pytest.mark.parametrize("silent", [False, True])
def test_fresh_machine(wine, machine, silent):
    # A 64-bit Windows names its 64-bit program folder in both registry views; the
    # prefix has it in the 64-bit one only.
    wine.reg_add(r"HKLM\Software\Microsoft\Windows\CurrentVersion", "ProgramW6432Dir", PF)
    target = PF + r"\Firebird\Firebird_2_5"
    machine.medium(folder=target, setup=SETUP64)
    # Unattended, only the "PETTYBOX" module brings the server in.
    out = machine.probe("flow", "--silent", "--pettybox") if silent else machine.probe("flow")
    assert out["install"][0] == "1" and out["firebird_module"] == ["1"] and out["done"] == ["1"], out
    assert out["fresh"][0] == ("0" if silent else "1")
    assert SETUP64 in machine.setup_command_line()
    assert wine.reg_query(INSTANCES, "DefaultInstance") == PF + r"\FireBird\Firebird_2_5" + "\\"
    assert wine.reg_query(RUN, "Firebird") is None
    assert out["service_folder"] == [target]
    assert machine.config(GUARDIAN) == (line(target, "fbguard.exe"), AUTOMATIC)
    assert machine.config(SERVER) == (line(target, "fbserver.exe"), ON_DEMAND)
    start_ini = machine.path(r"C:\BELLORO.WIN\2020\startinf.ini")
    assert start_ini.exists() != silent
    if not silent:
        assert machine.text(r"C:\BELLORO.WIN\2020\korb2020.ini") == (
            "[Local InterBase]\r\nUse=1\r\nPath=C:\\BELLORO.WIN\\2020\r\nUserName=Tq8KMzpe\r\n"
            "PassWord=RWHaFkmuQnLx\r\n\r\n")


@pytest.mark.parametrize("code, silent, box, exitcode", [
    (32767, False, None, "0"),
    (0, False, None, "0"),
    (5, False, "Hiba történt a FireBird 2.5.4.26856 kiszolgálóalkalmazás telepítése közben! Hibakód: 5", "0"),
    (5, True, None, "1"),
], ids=["restart", "success", "error", "error-silent"])
def test_setup_exit_codes(wine, machine, code, silent, box, exitcode):
    machine.install(OLD, "2.5.2.26540")
    machine.medium(code=code)
    out = machine.probe("flow", *(["--silent"] if silent else []))
    assert out.get("box") == ([box] if box else None), out
    assert out["exitcode"][-1] == exitcode
    assert out["done"] == ["1"] and out.get("error") is None


def test_setup_that_leaves_another_version_ends_the_run(wine, machine):
    machine.install(OLD, "2.5.2.26540")
    machine.medium(version="2.5.10.0")
    out = machine.probe("flow")
    assert out["error"] == [SETUP_FAILED] and out["box"] == [SETUP_FAILED], out
    assert "service_folder" not in out and "done" not in out
    assert machine.probe("version", OLD + r"\bin\fbserver.exe")["version"] == ["2.5.2.26540"]  # the old one back
    assert machine.config(GUARDIAN) == (None, None)


def test_server_window_that_refuses_to_close(wine, machine):
    machine.install(OLD, "2.5.2.26540")
    machine.service(SERVER, OLD, "fbserver.exe")
    machine.medium()
    machine.start_window("FB_Server", "refuse")
    # Leaving the page: the error; on the error page the service is back as it was.
    out = machine.probe("flow")
    assert out["error"] == [CANNOT_STOP_ON_LEAVE], out
    assert machine.config(SERVER)[1] == AUTOMATIC
    assert machine.states(SERVER) == {SERVER: (2, 4)}
    assert machine.log().count("start " + line(OLD, "fbserver.exe")) == 2
    # The run's own stop: the folder of a server still running is kept.
    out = machine.probe("prepare", "--install")
    assert out["error"] == [CANNOT_STOP_IN_RUN], out
    assert (wine.host_path(OLD) / "bin" / "fbserver.exe").exists()
    assert machine.setup_command_line() is None
    # An InterBase window is asked first; one that closes is gone when the stop returns.
    closing = machine.start_window("IB_Server")
    assert machine.probe("stopservers") == {"stopped": ["1"]}
    assert closing.wait(timeout=60) == 0


def _damage(path, how):
    pe = pefile.PE(str(path), fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    version = next(e for e in pe.DIRECTORY_ENTRY_RESOURCE.entries if e.id == pefile.RESOURCE_TYPE["RT_VERSION"])
    entry = version.directory.entries[0].directory.entries[0].data.struct
    data = bytearray(path.read_bytes())
    start = pe.get_offset_from_rva(entry.OffsetToData)
    if how == "truncated":
        data[entry.get_file_offset() + 4:entry.get_file_offset() + 8] = (40).to_bytes(4, "little")
    elif how == "absurd size":
        data[entry.get_file_offset() + 4:entry.get_file_offset() + 8] = (0x7FFFFFF0).to_bytes(4, "little")
    elif how == "short fixed block":
        data[start + 2:start + 4] = (8).to_bytes(2, "little")
    elif how == "absurd length":
        data[start:start + 2] = (0xFFFF).to_bytes(2, "little")
    path.write_bytes(bytes(data))


def test_bad_version_resources_and_unrelated_entries(wine, machine):
    base = wine.make_folder(PF86 + r"\FireBird")
    (base / "readme.txt").write_bytes(b"not a folder")
    wine.make_folder(PF86 + r"\FireBird\empty")
    junk = wine.make_folder(PF86 + r"\FireBird\junk\bin")
    (junk / "fbserver.exe").write_bytes(b"not a program")
    for how in ("none", "truncated", "absurd size", "short fixed block", "absurd length"):
        target = machine.probe_dir / f"{how.replace(' ', '_')}.exe"
        shutil.copy(machine.fixtures / ("exit_code.exe" if how == "none" else "fb_service_2_5_4_26856.exe"), target)
        if how != "none":
            _damage(target, how)
        assert machine.probe("version", wine.win_path(target))["version"] == ["none"], how
    assert machine.probe("version", r"C:\probe\server_probe.exe")["version"] == ["none"]
    # A default instance of 2,000 characters, or one naming a file, is no server.
    for instance in ("x" * 2000, r"C:\probe\server_probe.exe"):
        wine.reg_add(INSTANCES, "DefaultInstance", instance)
        assert machine.probe("detect")["installed"] == ["0"], instance[:20]
    machine.install(PF86 + r"\FireBird\Firebird_2_5", "2.5.2.26540")
    out = machine.probe("detect")
    assert out["search25"] == [PF86 + r"\FireBird\Firebird_2_5" + "\\"], out
    assert out["installed"] == ["1"] and out["use64"] == ["0"]
    # The deletion stays inside its folder.
    wine.make_folder(PF86 + r"\FireBird\Firebird_2_5_data")
    assert machine.probe("deltree", PF86 + r"\FireBird\Firebird_2_5") == {"deleted": ["1"]}
    assert sorted(p.name for p in base.iterdir()) == ["Firebird_2_5_data", "empty", "junk", "readme.txt"]
    assert machine.probe("deltree", "C:\\") == {"deleted": ["0"]}


def installer_medium(wine, programs, machine, **setup):
    """C:\\medium: the installer, a script (kind, destination, summary, progress and
    finish pages), one package and firebird.dat (Machine.medium); returns the archive."""
    folder = wine.make_folder(r"C:\medium")
    shutil.copy(programs["installer"], folder / "installer.exe")
    (folder / "setup.inf").write_bytes((
        "[Configuration]\r\nPath=C:\\BELLORO.WIN\r\n[Variables]\r\n$varProgramYear$=2020\r\n[Components]\r\nCount=1\r\n"
        "Component1.Size=1\r\nComponent1.PackName=data1\r\n[Install Type Page]\r\nVisible=1\r\nTypical=Szokásos\r\n" +
        "".join(f"[{page} Page]\r\nVisible=1\r\n" for page in ("Destination", "Setup Summary", "Copy Files", "Finish"))
    ).encode("cp1250"))
    (folder / "data1.dat").write_bytes(b"package")
    wine.make_folder(r"C:\BELLORO.WIN")
    return machine.medium(into=folder, **setup)


def old_server_with_services(machine):
    """A 2.5.2 server with a security database; its guardian (automatic) and its
    server (on demand) running. Returns their (start type, state)."""
    machine.install(OLD, "2.5.2.26540")
    (machine.path(OLD) / "security2.fdb").write_bytes(b"users")
    machine.service(GUARDIAN, OLD, "fbguard.exe")
    machine.service(SERVER, OLD, "fbserver.exe", start="demand")
    return {GUARDIAN: (2, 4), SERVER: (3, 4)}


def test_cancel_on_the_summary_puts_the_stopped_server_back(wine, programs, machine):
    before = old_server_with_services(machine)
    installer_medium(wine, programs, machine)
    process, ui = wine.start(r"C:\medium\installer.exe"), UiDriver(wine, programs)
    try:
        for page in ("InstallKind", "Destination", "Question1"):
            ui.wait_page(page)
            ui.click("NextButton")
        ui.wait_page("Summary")
        assert machine.states(GUARDIAN, SERVER) == {GUARDIAN: (4, 1), SERVER: (4, 1)}  # stopped and disabled
        ui.click("CancelButton")
        ui.wait_window(DIALOG)
        ui.click("Yes", DIALOG)
        ui.wait_page("ErrorFinish")
        # The page shows before its entry has put the server back.
        ui.wait_for(lambda: machine.states(GUARDIAN, SERVER) == before, "the services back")
        ui.click("CancelButton")
        assert process.wait(timeout=60) == 0
    finally:
        ui.close_driver()
        process.kill()
    assert "Server service put back: FirebirdGuardianDefaultInstance: start type 2, started" in machine.diagnostic_log()
    assert machine.config(SERVER) == (line(OLD, "fbserver.exe"), ON_DEMAND) and machine.setup_command_line() is None


@pytest.mark.parametrize("fault, reason", [
    ("setup fails", "no FireBird 2.5 folder after the setup"),
    ("setup cannot start", SETUP32 + " could not be started"),
    ("archive cut short", r"C:\medium\firebird.dat could not be extracted"),
], ids=["fails", "cannot-start", "cut-short"])
def test_a_server_that_does_not_install_leaves_the_old_one_running(wine, programs, machine, fault, reason):
    before = old_server_with_services(machine)
    old = machine.path(OLD)
    old_program = (old / "bin" / "fbserver.exe").read_bytes()
    # The failing setup lays out half a server: a client library and a configuration.
    archive = installer_medium(wine, programs, machine, code=5 if fault == "setup fails" else 0,
                               layout=("fbclient.dll",), startable=fault != "setup cannot start")
    if fault == "archive cut short":
        archive.write_bytes(archive.read_bytes()[:archive.stat().st_size // 2])
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=240)
    assert result.rc == 1 and not result.timed_out, result
    log = machine.diagnostic_log()
    assert f"Unattended run failed: {SETUP_FAILED}" in log and reason in log, log
    assert (old / "bin" / "fbserver.exe").read_bytes() == old_program and (old / "security2.fdb").exists()
    assert not (old / "bin" / "fbclient.dll").exists() and not (old / "firebird.conf").exists()
    assert not list(machine.path(PF86).glob("FireBird-backup-*"))
    assert wine.reg_query(INSTANCES, "DefaultInstance") == OLD + "\\"
    assert machine.states(GUARDIAN, SERVER) == before
    assert machine.config(GUARDIAN) == (line(OLD, "fbguard.exe"), AUTOMATIC)


def test_default_instance_is_kept_when_no_25_server_is_found(wine, machine):
    # An older server kept because there is no firebird.dat: nothing blanks its registration.
    machine.install(PF86 + r"\FireBird\Firebird_2_1", "2.1.7.18553")
    out = machine.probe("prepare")
    assert out["done"] == ["1"] and out["folder"] == [""], out
    assert wine.reg_query(INSTANCES, "DefaultInstance") == PF86 + r"\FireBird\Firebird_2_1" + "\\"


def test_a_server_window_closed_by_the_stop_is_started_again(wine, machine):
    machine.start_window("FB_Server")
    ready = machine.probe_dir / "server_window.exe.ready"
    ready.unlink()
    out = machine.probe("stop-restore")
    assert out["stopped"] == ["1"] and out["window"] == [r"FB_Server C:\probe\server_window.exe"], out
    for _ in range(150):
        if not ready.exists():
            time.sleep(0.2)
    assert ready.exists() and r"Server put back: C:\probe\server_window.exe started" in machine.diagnostic_log()
