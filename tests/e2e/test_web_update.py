"""The unattended web update under Wine: a site built by `ostravel-media site` from a
medium, served on loopback, installed by `installer.exe /silent /y2026`."""
import re
import shutil
import subprocess
import time
from pathlib import Path

import pytest

from conftest import REPO
from loopback import Site, TinyProxy, cut_short, slow, status
from uidriver import DIALOG, UiDriver

YEAR = "2020"  # the year list is fixed: 2020 down to 2003
COPY_TARGET = r"C:\Belloro\Csomagok"
KEY = r"HKCU\Software\Belloro\Installer"


def media(programs, *args):
    proc = subprocess.run([str(programs["media"]), *map(str, args)], capture_output=True, timeout=300)
    assert proc.returncode == 0, proc.stderr.decode("utf-8", "replace")
    return proc.stdout.decode("utf-8", "replace")


def web_template(text):
    """The sample product's template as a web-update product."""
    text = text.replace("[Install Type Page]\n", "[Install Type Page]\nWebUpdateEnabled=1\n"
                        "WebUpdate=Frissítés az Internetről\nWebUpdateInfo=A legújabb változat letöltése.\n", 1)
    text = text.replace("[StartUp]\n", f"[StartUp]\nCopyTarget={COPY_TARGET}\n", 1)
    return text.replace("[Configuration]\n", "[Configuration]\nInternetUpdateSite=http://127.0.0.1:1/\n", 1)


@pytest.fixture(scope="session")
def web_site(programs, tmp_path_factory):
    """A medium of the sample product, with a server package, and its update site."""
    work = tmp_path_factory.mktemp("web")
    win = programs["installer"].parents[1]
    subprocess.run(["bash", str(REPO / "examples/sample-product/assemble.sh"), str(work / "product"), str(win)],
                   check=True, capture_output=True, timeout=120)
    template = (REPO / "examples/sample-product/setup.tmpl.utf8").read_text(encoding="utf-8")
    (work / "setup.tmpl").write_bytes(web_template(template).encode("cp1250"))
    media(programs, "medium", work / "product", work / "setup.tmpl", work / "medium",
          "--launcher", win / "startup/startup.exe", "--installer", programs["installer"])
    (work / "server").mkdir()
    (work / "server/readme.txt").write_text("server package")
    media(programs, "pack", work / "medium/firebird.dat", work / "server")
    media(programs, "site", work / "medium", work / "site", "--year", YEAR)
    return work


class WebUpdate:
    def __init__(self, wine, programs, site_dir, tmp_path):
        self.wine, self.site_dir = wine, Path(site_dir)
        self.served = tmp_path / "served"
        shutil.copytree(self.site_dir / "site", self.served)
        self.folder = wine.make_folder(r"C:\websetup")
        shutil.copy(programs["installer"], self.folder / "installer.exe")
        self.script = (self.site_dir / "medium/setup.inf").read_bytes()

    @property
    def year_dir(self):
        return self.served / YEAR

    def run(self, site, *extra, env=None):
        script = re.sub(rb"InternetUpdateSite=[^\r\n]*", f"InternetUpdateSite={site.url}".encode(), self.script)
        (self.folder / "setup.inf").write_bytes(script)
        return self.wine.run(r"C:\websetup\installer.exe", "/silent", f"/y{YEAR}", *extra, timeout=240, env=env)

    def copy_target(self, name):
        return self.wine.host_path(COPY_TARGET + "\\" + name)

    def installed(self):
        """Every file the update put on the disk whose bytes are a product file's."""
        product = {p.read_bytes() for p in (self.site_dir / "product").rglob("*") if p.is_file()}
        # The web update installs into the destination its kind gives (C:\BELLORO.WIN).
        roots = [p for p in self.wine.drive_c.iterdir() if p.name.lower() == "belloro.win"]
        return sorted(p.name for root in roots for p in root.rglob("*")
                      if p.is_file() and p.read_bytes() in product)

    def log(self):
        logs = list(self.wine.drive_c.glob("users/*/**/Temp/belloro-installer.log"))
        return logs[0].read_bytes().decode("cp1250") if logs else ""

    def temp_folder(self):
        found = [p.parent for p in self.wine.drive_c.glob("users/*/**/Temp/download.inf")]
        return found[0] if found else None


@pytest.fixture
def update(wine, programs, web_site, tmp_path):
    return WebUpdate(wine, programs, web_site, tmp_path)


def gets(site):
    return [p.rsplit("/", 1)[-1] for p in site.paths("GET")]


def test_installs_from_the_site_and_a_second_run_downloads_nothing(update):
    with Site(update.served) as site:
        first = update.run(site)
        assert first.rc == 0, (first, update.log())
        assert "data1.dat" in gets(site) and "download.inf" in gets(site)
        assert update.copy_target("data1.dat").read_bytes() == (update.year_dir / "data1.dat").read_bytes()
        assert "lumbra.exe" in update.installed(), update.log()
        # Whoever prepares the two folders puts the descriptions in place.
        temp = update.temp_folder()
        for name in ("data1.dat.inf", "data2.dat.inf"):
            shutil.copy(update.year_dir / name, temp / name)
            shutil.copy(update.year_dir / name, update.copy_target(name))
        site.requests.clear()
        second = update.run(site)
    assert second.rc == 0, second
    assert gets(site) == ["download.inf"]
    # Components the update test leaves unchecked take no part; the program's package does.
    assert "data1.dat" in {p.rsplit("/", 1)[-1] for p in site.paths("HEAD")}


@pytest.mark.parametrize("fault", ["size", "status", "cut"])
def test_a_broken_download_installs_nothing(update, fault):
    archive = (update.year_dir / "data1.dat").read_bytes()
    routes = {}
    if fault == "size":
        inf = update.year_dir / "download.inf"
        inf.write_bytes(re.sub(rb"Component1\.PackSize=\d+", b"Component1.PackSize=12", inf.read_bytes(), 1))
    else:
        routes[f"/{YEAR}/data1.dat"] = status(500, "Internal Server Error") if fault == "status" \
            else cut_short(archive, 4096)
    with Site(update.served, routes=routes) as site:
        result = update.run(site)
    assert result.rc == 1, result
    assert not update.copy_target("data1.dat").exists()
    assert update.installed() == []


@pytest.fixture(scope="session")
def signed_site(programs, web_site, tmp_path_factory):
    """The same medium's site signed with a key made for the run, and the key's public half."""
    work = tmp_path_factory.mktemp("signed")
    media(programs, "keygen", work / "update.key", work / "update.pub")
    media(programs, "site", web_site / "medium", work / "site", "--year", YEAR, "--sign", work / "update.key")
    return work / "site", (work / "update.pub").read_text().strip()


@pytest.mark.parametrize("forgery", [None, "script", "archive"])
def test_a_signed_site_installs_and_a_forged_one_installs_nothing(update, signed_site, forgery):
    site_dir, key = signed_site
    shutil.rmtree(update.served)
    shutil.copytree(site_dir, update.served)
    update.script = update.script.replace(b"[Configuration]\r\n", f"[Configuration]\r\nUpdateSigningKey={key}\r\n".encode(), 1)
    if forgery == "script":  # one line more than was signed
        inf = update.year_dir / "download.inf"
        inf.write_bytes(inf.read_bytes() + b"\r\n")
    elif forgery == "archive":
        archive = bytearray((update.year_dir / "data1.dat").read_bytes())
        archive[len(archive) // 2] ^= 1
        (update.year_dir / "data1.dat").write_bytes(bytes(archive))
    with Site(update.served) as site:
        result = update.run(site)
    if forgery is None:
        assert result.rc == 0, (result, update.log())
        assert "lumbra.exe" in update.installed()
        return
    assert result.rc == 1, result
    assert update.installed() == []
    assert not update.copy_target("data1.dat").exists()
    says = "A letöltött frissítés hitelessége" if forgery == "script" else "Checksum failed"
    assert says in update.log()


@pytest.mark.parametrize("password,rc", [("s3cret", 0), ("wrong", 1)])
def test_through_a_proxy_with_basic_authentication(update, tmp_path, password, rc):
    with Site(update.served) as site, TinyProxy(tmp_path / "proxy", "alice", "s3cret") as proxy:
        for value, data, kind in (("ProxyServer", "localhost", "REG_SZ"), ("Proxyport", str(proxy.port), "REG_DWORD"),
                                  ("ProxyUsername", "alice", "REG_SZ"), ("ProxyPassword", password, "REG_SZ")):
            subprocess.run(update.wine.command("reg", "add", KEY, "/v", value, "/t", kind, "/d", data, "/f", "/reg:32"),
                           env=update.wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60)
        result = update.run(site)
    assert result.rc == rc, (result, update.log())
    if rc == 0:
        assert all("tinyproxy" in h.get("Via", "") for _, _, h in site.requests)
    else:
        assert not site.requests
    log = next(update.wine.drive_c.glob("users/*/**/Temp/belloro-installer.log"), None)
    assert log is None or password.encode() not in log.read_bytes()


def add_self_update(medium, programs, work):
    """The medium's script demands a newer installer and carries the "websetup"
    package with a launcher that records how it was started."""
    (work / "websetup").mkdir()
    shutil.copy(programs["fixtures"] / "fake_installer.exe", work / "websetup/setup.exe")
    media(programs, "pack", medium / "websetup.dat", work / "websetup", "--prefix", "C:\\W\\")
    script = (medium / "setup.inf").read_bytes().decode("cp1250")
    script = script.replace("[Configuration]\r\n", "[Configuration]\r\nRqInstallerVersion=99.0.0.0\r\n", 1)
    count = int(re.search(r"\[Components\]\r\nCount=(\d+)", script).group(1)) + 1
    script = script.replace(f"[Components]\r\nCount={count - 1}\r\n",
                            f"[Components]\r\nCount={count}\r\nComponent{count}.Name=Új telepítő\r\n"
                            f"Component{count}.PackName=websetup\r\nComponent{count}.Size=1000\r\n"
                            f"Component{count}.TargetDir=C:\\Belloro\\UjTelepito\r\n", 1)
    files = int(re.search(r"\[Files\]\r\nCount=(\d+)", script).group(1)) + 1
    script = script.replace(f"[Files]\r\nCount={files - 1}\r\n",
                            f"[Files]\r\nCount={files}\r\nFile{files}.CompID={count}\r\n"
                            f"File{files}.SourceFile=C:\\W\\setup.exe\r\n"
                            f"File{files}.TargetFile=C:\\Belloro\\UjTelepito\\setup.exe\r\n"
                            f"File{files}.FileUpdateRule=0\r\n", 1)
    (medium / "setup.inf").write_bytes(script.encode("cp1250"))


def test_a_newer_installer_is_installed_alone_and_restarts(wine, programs, web_site, tmp_path):
    """Only the installer's own package, also where the update test finds an older
    product that makes the program component mandatory; the new launcher goes on
    unattended with the run's switches."""
    medium = tmp_path / "medium"
    shutil.copytree(web_site / "medium", medium)
    add_self_update(medium, programs, tmp_path)
    script = (medium / "setup.inf").read_bytes()
    assert b"Component1.Enabled=0" in script  # the programs, checked by the update test once enabled
    (medium / "setup.inf").write_bytes(script.replace(b"Component1.Enabled=0", b"Component1.Enabled=1"))
    media(programs, "site", medium, tmp_path / "selfsite", "--year", YEAR)
    # An older program in place: its product version sorts before the update's.
    old_program = wine.make_folder(r"C:\belloro.win") / "lumbra.exe"
    old_program.write_bytes(programs["installer"].read_bytes())
    update = WebUpdate(wine, programs, web_site, tmp_path)
    update.served = tmp_path / "selfsite"
    log = tmp_path / "restart.log"
    with Site(update.served) as site:
        result = update.run(site, env={"OSTRAVEL_FAKE_LOG": wine.win_path(log)})
    assert result.rc == 0, result
    assert [g for g in gets(site) if g.endswith(".dat")] == ["websetup.dat"]
    assert old_program.read_bytes() == programs["installer"].read_bytes()
    assert update.installed() == []
    assert wine.host_path(r"C:\Belloro\UjTelepito\setup.exe").exists()
    wine.wait_idle()
    assert f"/restart /silent /y{YEAR}" in log.read_text(encoding="utf-8", errors="replace")


def test_a_person_sees_the_proxy_dialog_and_the_download_statistics(wine, programs, update):
    """The web update walked by hand on a slow line, with pictures of what it shows."""
    year = update.year_dir
    routes = {f"/{YEAR}/download.inf": slow((year / "download.inf").read_bytes(), pieces=8, pause=0.5),
              f"/{YEAR}/data1.dat": slow((year / "data1.dat").read_bytes(), pieces=24, pause=0.25)}
    with Site(update.served, routes) as site:
        script = re.sub(rb"InternetUpdateSite=[^\r\n]*", f"InternetUpdateSite={site.url}".encode(), update.script)
        (update.folder / "setup.inf").write_bytes(script)
        process = wine.start(r"C:\websetup\installer.exe")
        ui = UiDriver(wine, programs)
        try:
            ui.wait_window()
            while ui.page() != "InstallKind":
                ui.click("NextButton")
                time.sleep(0.5)
            kinds = [text.split(";")[0] for text, _ in ui.value("items", "TInstallerMainForm", "cxInstallKind")]
            ui.select("cxInstallKind", kinds.index("Frissítés az Internetről"))
            ui.wait_for(lambda: ui.controls()["cxProgramYear"]["visible"], "the year of the web update")
            ui.select("cxProgramYear", 0)  # 2020
            ui.screenshot("web-page-InstallKind")
            ui.click("ProxySettingsButton")
            ui.wait_window("TProxySettingsForm")
            ui.screenshot("web-dialog-ProxySettings", "TProxySettingsForm")
            ui.close("TProxySettingsForm")
            ui.wait_gone("TProxySettingsForm")

            ui.click("NextButton")
            ui.wait_page("Destination")
            assert ui.text("eDestination") == r"C:\BELLORO.WIN"  # the web update's own destination
            ui.click("NextButton")
            ui.wait_window(DIALOG)  # the folder is missing: create it
            ui.click("Yes", DIALOG)
            # The update script comes down the slow line behind the processing panel.
            ui.wait_page("Customize", timeout=60)
            ui.wait_for(lambda: not ui.controls()["ProcessingPanel"]["visible"], "the component list")
            ui.screenshot("web-page-Customize")
            while ui.page() != "Summary":
                ui.click("NextButton")
                time.sleep(0.5)
            ui.click("NextButton")
            # The window keeps answering while the first archive comes in (6 s).
            ui.wait_for(lambda: ui.text("DownloadPackagePathLabel").endswith("/data1.dat"), "the archive's address")
            ui.wait_for(lambda: ui.text("DownloadPackageDoneKBLabel") not in ("", "0.00 KB"), "bytes received")
            ui.wait_for(lambda: "KB/s" in ui.text("DownloadPackageSpeedKBLabel"), "the speed after a second")
            ui.screenshot("web-download-statistics")
            ui.wait_page("Finished", timeout=120)
            assert not ui.controls()["gbDownloadStatistics"]["visible"]
            ui.click("CancelButton")
            ui.wait_gone()
            assert process.wait(timeout=60) == 0
        finally:
            ui.close_driver()
            if process.poll() is None:
                process.kill()
    assert "lumbra.exe" in update.installed(), update.log()
