"""TProxySettingsForm under Wine: its fields, the registry values it keeps, and the
HTTP client it updates."""
import subprocess

import pytest

from uidriver import UiDriver

FORM = "TProxySettingsForm"
KEY = r"HKCU\Software\Belloro\Installer"


@pytest.fixture
def dialog(wine, programs):
    folder = wine.make_folder(r"C:\probe")
    (folder / "proxy_dialog.exe").write_bytes((programs["fixtures"] / "proxy_dialog.exe").read_bytes())
    ui = UiDriver(wine, programs)
    procs = []

    def open_dialog():
        proc = wine.start(r"C:\probe\proxy_dialog.exe")
        procs.append(proc)
        ui.wait_window(FORM)
        return proc
    yield ui, open_dialog
    ui.close_driver()
    for p in procs:
        if p.poll() is None:
            p.kill()


def reg_add(wine, value, data, kind):
    # Output to nowhere: a first Wine command's helpers inherit pipes and hold them.
    subprocess.run(wine.command("reg", "add", KEY, "/v", value, "/t", kind, "/d", data, "/f", "/reg:32"),
                   env=wine.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60, check=True)


def finish(proc):
    # Wait for the exit, then read the one line: the first Wine program of a fresh
    # prefix leaves helpers holding its pipe open, so its end of file may never come.
    proc.wait(timeout=60)
    return proc.stdout.readline().decode("utf-8").strip()


def test_first_use_ok_stores_and_applies_the_values(wine, dialog):
    ui, open_dialog = dialog
    proc = open_dialog()
    controls = ui.controls(FORM)
    assert ui.title(FORM) == "Proxy-kiszolgáló beállításai"
    assert [controls[n]["text"] for n in ("ProxyServer", "ProxyPort", "ProxyUsername", "ProxyPassword")] == \
        ["", "0", "", ""]
    assert [controls[n]["text"] for n in ("OKButton", "CancelButton")] == ["OK", "Mégsem"]
    left, top, right, bottom = ui.value("rect", FORM)
    assert right - left >= 415 and bottom - top >= 167
    ui.set_text("ProxyServer", "proxy.belloro.hu", FORM)
    ui.set_text("ProxyPort", "3128", FORM)
    ui.set_text("ProxyUsername", "kovács", FORM)
    ui.set_text("ProxyPassword", "titok", FORM)
    ui.screenshot("proxy-settings-dialog", FORM)
    ui.click("OKButton", FORM)
    assert finish(proc) == "ok host=proxy.belloro.hu port=3128 user=kovács password-length=5"
    assert wine.reg_query(KEY, "ProxyServer") == "proxy.belloro.hu"
    assert wine.reg_query(KEY, "Proxyport") == "0xc38"
    assert wine.reg_query(KEY, "ProxyPassword") == "titok"  # kept as stored, for other programs


def test_cancel_changes_nothing_and_stored_values_come_back(wine, dialog):
    ui, open_dialog = dialog
    reg_add(wine, "ProxyServer", "old.proxy", "REG_SZ")
    reg_add(wine, "Proxyport", "8080", "REG_DWORD")
    proc = open_dialog()
    assert ui.text("ProxyServer", FORM) == "old.proxy"
    assert ui.text("ProxyPort", FORM) == "8080"
    ui.set_text("ProxyServer", "new.proxy", FORM)
    ui.click("CancelButton", FORM)
    assert finish(proc).startswith("cancel host= port=0")
    assert wine.reg_query(KEY, "ProxyServer") == "old.proxy"
