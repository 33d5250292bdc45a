"""The selection pages under Wine: a walk through the sample product choosing Custom,
the components, the destination dialog (a CD-ROM drive refused), the missing folder
created on Yes and a shortcut group; and unattended runs with /y, /d and /noicon.
Screenshots of every page and of the dialog land in build/screens/."""
import subprocess

import pytest

from conftest import REPO
from loopback import Site
from uidriver import DIALOG, UiDriver

CHANGE = "TDestinationChangeForm"
BOX = "#32770"  # the plain system message box
VK_ESCAPE = 0x1B


def media(programs, *args):
    proc = subprocess.run([str(programs["media"]), *map(str, args)], capture_output=True, timeout=300)
    assert proc.returncode == 0, proc.stderr.decode("utf-8", "replace")


@pytest.fixture(scope="session")
def medium(programs, tmp_path_factory):
    """The sample product's medium, with a Compact kind so the combo has no blank entry."""
    work = tmp_path_factory.mktemp("pages")
    win = programs["installer"].parents[1]
    subprocess.run(["bash", str(REPO / "examples/sample-product/assemble.sh"), str(work / "product"), str(win)],
                   check=True, capture_output=True, timeout=120)
    template = (REPO / "examples/sample-product/setup.tmpl.utf8").read_text(encoding="utf-8")
    template = template.replace("[Install Type Page]\n", "[Install Type Page]\nCompact=Minimális telepítés\n"
                                "CompactInfo=Csak a program.\n", 1)
    template = template.replace("[Destination Page]\n", "[Destination Page]\nListInfo=Meghajtók:\nDrive=Meghajtó\n"
                                "Capacity=Kapacitás\nAvailable=Szabad hely\nRequired=Szükséges\n", 1)
    template = template.replace("[Icon Folder Page]\n", "[Icon Folder Page]\nInfo=A parancsikonok ebbe a mappába "
                                "kerülnek:\nDisableText=Ne készüljenek parancsikonok\n", 1)
    template += ("\n[Summary]\nApplicationInstall=Telepítendő alkalmazás:\nSelectedFolder=Célmappa:\n"
                 "InstallType=Telepítés típusa:\nComponents=Összetevők:\nIconsFolder=Parancsikonok mappája:\n")
    (work / "setup.tmpl").write_bytes(template.encode("cp1250"))
    media(programs, "medium", work / "product", work / "setup.tmpl", work / "medium",
          "--launcher", win / "startup/startup.exe", "--installer", programs["installer"])
    return work / "medium"


def copy_medium(wine, programs, medium, script_edit=None):
    folder = wine.make_folder(r"C:\medium")
    for f in medium.iterdir():
        if f.is_file():
            (folder / f.name).write_bytes(f.read_bytes())
    (folder / "installer.exe").write_bytes(programs["installer"].read_bytes())
    if script_edit:
        text = (folder / "setup.inf").read_bytes().decode("cp1250")
        (folder / "setup.inf").write_bytes(script_edit(text).encode("cp1250"))
    return folder


def add_cdrom(wine, letter="e"):
    """A drive the prefix reports as a CD-ROM; it takes effect when the wineserver restarts."""
    target = wine.make_folder(r"C:\cdrom")
    link = wine.path / "dosdevices" / f"{letter}:"
    if link.exists() or link.is_symlink():
        link.unlink()
    link.symlink_to(target)
    subprocess.run(wine.command("reg", "add", r"HKLM\Software\Wine\Drives", "/v", f"{letter}:", "/d", "cdrom", "/f",
                    "/reg:64"), env=wine.env, capture_output=True, timeout=60, check=True)
    wine.kill()


def folder_exists(wine, win_path):
    """Wine finds names without regard to case; so does this."""
    here = wine.drive_c
    for part in win_path.split("\\")[1:]:
        match = [p for p in here.iterdir() if p.name.lower() == part.lower()] if here.is_dir() else []
        if not match:
            return False
        here = match[0]
    return here.is_dir()


def diagnostic_log(wine):
    logs = list(wine.drive_c.glob("users/*/**/Temp/belloro-installer.log"))
    return logs[0].read_bytes().decode("cp1250") if logs else ""


@pytest.fixture
def wizard(wine, programs):
    opened = []

    def open_wizard(*args):
        process = wine.start(r"C:\medium\installer.exe", *args)
        ui = UiDriver(wine, programs)
        opened.append((process, ui))
        ui.wait_window()
        return process, ui
    yield open_wizard
    for process, ui in opened:
        ui.close_driver()
        if process.poll() is None:
            process.kill()


def items(ui, name, cls="TInstallerMainForm"):
    return ui.value("items", cls, name)


def test_interactive_walk_through_every_selection_page(wine, programs, medium, wizard):
    add_cdrom(wine)
    copy_medium(wine, programs, medium)
    process, ui = wizard()
    ui.wait_page("Welcome")
    ui.click("NextButton")
    ui.wait_page("License")
    ui.click("NextButton")

    ui.wait_page("InstallKind")
    kinds = [text.split(";")[0] for text, _ in items(ui, "cxInstallKind")]
    assert kinds == ["Minimális telepítés", "Teljes telepítés", "Szokásos telepítés", "Egyéni telepítés"]
    ui.select("cxInstallKind", 3)
    ui.wait_for(lambda: ui.text("slInstallKind") == "Ön választja ki az összetevőket.", "the Custom description")
    ui.screenshot("sample-page-InstallKind-custom")
    ui.click("NextButton")

    ui.wait_page("Destination")
    configured = ui.text("eDestination")  # the program files folder, as this Windows names it
    assert configured.startswith("C:\\PROGRAM FILES") and configured.endswith(r"\BELLORO\LUMBRA DEMO")
    rows = items(ui, "lvDestinations")
    assert rows and rows[0][0].startswith("C: (") and all(cell.endswith(" MB") for cell in rows[0][1:]), rows
    assert not any(row[0].startswith("E:") for row in rows), "a CD-ROM drive is no destination"
    ui.screenshot("sample-page-Destination")

    # The dialog refuses the CD-ROM drive, then takes a folder of drive C.
    ui.click("ChangeButton")
    ui.wait_window(CHANGE)
    assert ui.title(CHANGE) == "Select Destination"
    drives = [text for text, _ in items(ui, "DriveList", CHANGE)]
    assert any(d.startswith("C:") for d in drives) and any(d.startswith("E:") for d in drives), drives
    ui.screenshot("sample-dialog-DestinationChange", CHANGE)
    ui.select("DriveList", next(i for i, d in enumerate(drives) if d.startswith("E:")), CHANGE)
    ui.click("OKButton", CHANGE)
    ui.wait_window(BOX)
    assert "Cannot install to CD-ROM / Nem telepíthet CD lemezre" in ui.value("texts", BOX)
    ui.screenshot("sample-dialog-DestinationChange-cdrom", BOX)
    ui.close(BOX)
    ui.wait_gone(BOX)
    assert ui.exists(CHANGE)
    ui.select("DriveList", next(i for i, d in enumerate(drives) if d.startswith("C:")), CHANGE)
    folders = [text for text, _ in items(ui, "FolderList", CHANGE)]
    ui.select("FolderList", folders.index("users"), CHANGE)
    ui.wait_for(lambda: ui.text("eFolder", CHANGE) == r"C:\users", "the folder chosen in the tree")
    ui.click("OKButton", CHANGE)
    ui.wait_gone(CHANGE)
    ui.wait_for(lambda: ui.text("eDestination") == r"C:\USERS", "the destination from the dialog")

    # Escape cancels the dialog and changes nothing.
    ui.click("ChangeButton")
    ui.wait_window(CHANGE)
    ui.value("key", CHANGE, "FolderList", VK_ESCAPE)
    ui.wait_gone(CHANGE)
    assert ui.text("eDestination") == r"C:\USERS"

    # The drive row gives the configured folder on that drive; it is missing, Yes creates it.
    ui.select("lvDestinations", 0)
    ui.wait_for(lambda: ui.text("eDestination") == configured, "the configured folder on drive C")
    ui.click("NextButton")
    ui.wait_window(DIALOG)
    assert ui.controls(DIALOG)["Message"]["text"] == "Destination folder doesn't exists. Do you want to create it now?"
    ui.click("Yes", DIALOG)

    ui.wait_page("Customize")
    assert folder_exists(wine, configured)
    # The page may show before its entry has filled the list: wait for the rows.
    ui.wait_for(lambda: len(items(ui, "clbComponents")) >= 2, "the components listed")
    components = items(ui, "clbComponents")
    assert len(components) >= 2 and all(data & 1 for _, data in components[:2]), components
    required = ui.text("RqSpaceLabel")
    ui.screenshot("sample-page-Customize")
    ui.value("checkitem", "TInstallerMainForm", "clbComponents", 0)
    ui.wait_for(lambda: ui.text("RqSpaceLabel") != required, "the required size to change")
    assert not items(ui, "clbComponents")[0][1] & 1
    ui.screenshot("sample-page-Customize-unchecked")
    ui.value("checkitem", "TInstallerMainForm", "clbComponents", 0)
    ui.wait_for(lambda: ui.text("RqSpaceLabel") == required, "the required size back")
    ui.click("NextButton")

    ui.wait_page("CreateIcon")
    groups = [text for text, _ in items(ui, "IconsList")]
    assert "Lumbra Demo" in groups and ui.text("eIcon") == "Lumbra Demo"
    ui.set_text("eIcon", "Belloro Programok")
    ui.screenshot("sample-page-CreateIcon")
    ui.click("NextButton")
    ui.wait_page("Question1")
    ui.screenshot("sample-page-Question1")
    ui.click("NextButton")

    ui.wait_page("Summary")
    memo = ui.text("SummaryMemo")
    assert "\tTelepítés típusa:\r\n\t\tEgyéni telepítés\r\n" in memo
    assert "\tParancsikonok mappája:\r\n\t\tBelloro Programok" in memo
    assert f"\t\t{configured}\r\n" in memo
    ui.screenshot("sample-page-Summary")
    ui.click("NextButton")
    ui.wait_page("Finished", timeout=120)
    ui.click("CancelButton")
    ui.wait_gone()
    assert process.wait(timeout=60) == 0


def web_script(site_url):
    def edit(text):
        text = text.replace("[Install Type Page]\r\n", "[Install Type Page]\r\nWebUpdateEnabled=1\r\n"
                            "WebUpdate=Frissítés az Internetről\r\n", 1)
        return text.replace("[Configuration]\r\n", f"[Configuration]\r\nInternetUpdateSite={site_url}\r\n", 1)
    return edit


def test_unattended_year_asks_the_sites_year_and_an_unknown_year_ends_the_run(wine, programs, medium, tmp_path):
    site_root = tmp_path / "site"
    (site_root / "2015").mkdir(parents=True)
    # The site's script offers nothing newer: the run ends on the finish page.
    (site_root / "2015" / "download.inf").write_bytes(b"[Configuration]\r\nTopBanner=Lumbra\r\n")
    (site_root / "2015" / "firebird.dat").write_bytes(b"server package")  # a site without it fails the check
    with Site(site_root) as site:
        copy_medium(wine, programs, medium, web_script(site.url))
        result = wine.run(r"C:\medium\installer.exe", "/silent", "/y2015", timeout=120)
        assert not result.timed_out and result.rc == 0, result
        assert ("HEAD", "/2015/firebird.dat") in [(m, p) for m, p, _ in site.requests]
        assert "/2015/download.inf" in site.paths("GET")

        result = wine.run(r"C:\medium\installer.exe", "/silent", "/y1999", timeout=120)
        assert not result.timed_out and result.rc == 1, result
        assert 'Unattended run stopped on page InstallKind: the program year "1999" is not offered' in \
            diagnostic_log(wine)


@pytest.mark.parametrize("drive,code", [("c", 0), ("e", 1)])
def test_unattended_drive_and_noicon(wine, programs, medium, drive, code):
    add_cdrom(wine)
    copy_medium(wine, programs, medium)
    result = wine.run(r"C:\medium\installer.exe", "/silent", f"/d{drive}", "/noicon", timeout=120)
    assert not result.timed_out and result.rc == code, result
    log = diagnostic_log(wine)
    if code:
        assert "Unattended run: the destination E:\\PROGRAM FILES" in log and "is not on a fixed drive" in log, log
    else:
        assert any(folder_exists(wine, rf"C:\{p}\Belloro\Lumbra Demo") for p in ("Program Files", "Program Files (x86)"))
