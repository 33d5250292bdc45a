"""The wizard window under Wine, driven by the ui driver: every visible page, the
exit confirmation, the error page, the message dialog and the tagged welcome text,
and the wizard's ends around the run. Screenshots land in build/screens/."""
import time

import pytest

from engine_media import Package
from uidriver import DIALOG, UiDriver

CANCELLED = ("A Telepítést annak teljes befejezése előtt a felhasználó megszakította. "
             "A telepítés befejezéséhez később újra kell futtatnia a Telepítőt")

WELCOME_LINES = [
    "<b>Üdvözöljük</b> a <cnavy>$ApplicationName$</c> telepítőjében!",
    "<i>Dőlt</i>, <u>aláhúzott</u>, <s>áthúzott</s> és <c#0000FF>piros</c> <cgreen>zöld</c> szöveg.",
    "<li>Első pont<li>Második pont<br><checked> kész <unchecked> hátravan",
    "Oszlop<tab>tabulátor után; árvíztűrő tükörfúrógép ŐŰőű.",
]


def script(language=11, extra=""):
    """Every page section visible; each section written once (the first one counts)."""
    sections = {
        "Configuration": ["TopBanner=Lumbra 2020", "Application=Lumbra", "Version=2020",
                          r"Path=C:\BELLORO.WIN", f"Language={language}"],
    }
    for section, title in [
            ("Welcome Page", "Üdvözlés"), ("License Page", "Licenc"), ("Setup Notes Page", "Megjegyzések"),
            ("Install Type Page", "Telepítés típusa"), ("Destination Page", "Célmappa"),
            ("Icon Folder Page", "Parancsikonok"), ("Setup Summary Page", "Összegzés"),
            ("Copy Files Page", "Másolás"), ("ReadMe Notes Page", "Olvass el"), ("Finish Page", "Kész")]:
        sections[section] = ["Visible=1", f"Title={title}", f"Description={title} leírása"]
    sections["Welcome Page"] += [f"Count={len(WELCOME_LINES)}"] + [
        f"Line{i}={line}" for i, line in enumerate(WELCOME_LINES)]
    # One component on the medium: the kinds of a local installation are offered.
    sections["Install Type Page"] += ["Typical=Szokásos telepítés", "TypicalInfo=A szokásos összetevők."]
    sections["Components"] = ["Count=1", "Component1.Name=Program", "Component1.Size=1000",
                              "Component1.PackName=data1"]
    sections["Variables"] = ["$varProgramYear$=2020"]
    sections["Finish Page"].append("Info=A telepítés sikeresen befejeződött.")
    sections["Error Finish Page"] = ["Title=Hiba", "Info=A telepítés nem fejeződött be."]
    return "".join(f"[{name}]\r\n" + "".join(f"{line}\r\n" for line in lines)
                   for name, lines in sections.items()) + extra


def start(wine, programs, text, *args):
    folder = wine.make_folder(r"C:\medium")
    (folder / "installer.exe").write_bytes(programs["installer"].read_bytes())
    (folder / "setup.inf").write_bytes(text.encode("cp1250"))
    (folder / "data1.dat").write_bytes(b"package")
    process = wine.start(r"C:\medium\installer.exe", *args)
    ui = UiDriver(wine, programs)
    ui.wait_window()
    return process, ui


@pytest.fixture
def session(wine, programs):
    opened = []

    def open_wizard(text, *args):
        process, ui = start(wine, programs, text, *args)
        opened.append((process, ui))
        return process, ui

    yield open_wizard
    for process, ui in opened:
        ui.close_driver()
        if process.poll() is None:
            process.kill()


def test_walks_every_visible_page_and_finishes(session):
    process, ui = session(script())
    assert ui.title() == "Lumbra 2020 - Ostravel"
    walk = [("Welcome", "Üdvözlés"), ("License", "Licenc"), ("Notes", "Megjegyzések"),
            ("InstallKind", "Telepítés típusa"), ("Destination", "Célmappa"), ("CreateIcon", "Parancsikonok"),
            ("Question1", "Parancsikonok"), ("Summary", "Összegzés")]
    for page, title in walk:
        ui.wait_page(page)
        ui.wait_for(lambda: ui.text("InstallTitleLabel") == title, f"header of {page}")
        controls = ui.controls()
        assert controls["BackButton"]["enabled"] == (page != "Welcome"), page
        assert controls["NextButton"]["enabled"], page
        ui.screenshot(f"page-{page}")
        ui.click("NextButton")
        if page == "Destination":  # the destination folder is made on Yes
            ui.wait_window(DIALOG)
            ui.click("Yes", DIALOG)
    # The progress page carries on by itself.
    ui.wait_page("Readme")
    assert ui.text("CancelButton") == "Close"
    ui.screenshot("page-Readme")
    ui.click("NextButton")
    ui.wait_page("Finished")
    controls = ui.controls()
    assert controls["FinishedLabel"]["text"] == "A telepítés sikeresen befejeződött."
    assert controls["CancelButton"]["text"] == "Finish"
    assert not controls["BackButton"]["enabled"] and not controls["NextButton"]["enabled"]
    ui.screenshot("page-Finished")
    ui.click("CancelButton")
    ui.wait_gone()
    assert process.wait(timeout=60) == 0


def test_welcome_shows_every_tag_as_plain_window_text(session):
    _, ui = session(script())
    ui.wait_page("Welcome")
    text = ui.text("slWelcome")
    assert text.startswith("Üdvözöljük a Lumbra v2020 telepítőjében!\r\n")
    assert "<" not in text and "árvíztűrő tükörfúrógép ŐŰőű" in text
    assert "Frissítve: " in ui.text("BuildInfoLabel")
    assert not ui.controls()["InformationButton"]["visible"]
    ui.screenshot("welcome-all-tags")


def test_exit_confirmation_no_then_yes_ends_on_the_error_page(session):
    process, ui = session(script(language=11, extra="[DlgMessages]\r\nConfirmExit=Biztosan kilép?\r\n"))
    ui.wait_page("Welcome")
    ui.click("NextButton")
    ui.wait_page("License")
    ui.click("CancelButton")
    ui.wait_window(DIALOG)
    assert ui.title(DIALOG) == "Jóváhagyás"
    dialog = ui.controls(DIALOG)
    assert dialog["Message"]["text"] == "Biztosan kilép?"
    assert (dialog["Yes"]["text"], dialog["No"]["text"]) == ("&Igen", "&Nem")
    assert "Image" in dialog and "OK" not in dialog
    ui.screenshot("dialog-language-11", DIALOG)
    ui.click("No", DIALOG)
    ui.wait_gone(DIALOG)
    assert ui.page() == "License"
    assert ui.text("ErrorFinishMemo") == ""

    ui.close()  # the title-bar close asks the same question
    ui.wait_window(DIALOG)
    ui.click("Yes", DIALOG)
    ui.wait_page("ErrorFinish")
    controls = ui.controls()
    assert controls["ErrorFinishMemo"]["text"] == CANCELLED
    assert controls["ErrorFinishInfoLabel"]["text"] == "A telepítés nem fejeződött be."
    assert controls["InstallTitleLabel"]["text"] == "Hiba"
    assert controls["CancelButton"]["text"] == "Finish" and controls["CancelButton"]["enabled"]
    assert not controls["WebBrowserButton"]["visible"]
    ui.screenshot("page-ErrorFinish")
    # Finished now: closing does not ask again.
    ui.click("CancelButton")
    ui.wait_gone()
    assert not ui.exists(DIALOG)
    assert process.wait(timeout=60) == 0


def test_language_zero_dialog_is_english(session):
    _, ui = session(script(language=0))
    ui.wait_page("Welcome")
    ui.click("CancelButton")
    ui.wait_window(DIALOG)
    assert ui.title(DIALOG) == "Confirm"
    dialog = ui.controls(DIALOG)
    assert dialog["Message"]["text"] == "Do you want to exit?"
    assert (dialog["Yes"]["text"], dialog["No"]["text"]) == ("Yes", "No")
    ui.screenshot("dialog-language-0", DIALOG)
    ui.close(DIALOG)  # title-bar close answers Cancel: nothing happens
    ui.wait_gone(DIALOG)
    assert ui.page() == "Welcome"


def test_bad_script_still_opens_the_window(session):
    long_line = "Nagyon hosszú szöveg " * 400
    bad = ("[Configuration]\r\nTopBanner=" + "X" * 3000 + "\r\n"
           "[Install Type Page]\r\nWebUpdateEnabled=1\r\n"
           "[Welcome Page]\r\nVisible=1\r\nTitle=" + "T" * 2000 + "\r\nCount=2000000000\r\n"
           "Line0=<cnosuch>ismeretlen szín</c> <c#zz00>rossz szín</c> <c#12345678>túl hosszú\r\n"
           "Line1=<b unclosed tag " + long_line + "\r\n")
    _, ui = session(bad)
    ui.wait_page("Welcome")
    assert "rossz szín" in ui.text("slWelcome")
    ui.screenshot("welcome-bad-input")
    ui.click("NextButton")
    ui.wait_page("Question1")  # the only other page: the install-kind page is not visible


def test_script_without_visible_pages_opens_on_question1(session):
    _, ui = session("[Install Type Page]\r\nWebUpdateEnabled=1\r\n")
    ui.wait_page("Question1")
    controls = ui.controls()
    assert not controls["BackButton"]["enabled"] and not controls["NextButton"]["enabled"]
    assert controls["NeedLUMBRAIcon"]["checked"] and not controls["NeedORVELIcon"]["checked"]
    assert controls["Label3"]["text"] == "A teljes programrendszer (könyvelés, bérszámfejtés, számlázás stb.)"
    ui.screenshot("page-Question1-alone")


def test_uninstall_without_record_opens_on_the_error_page(session):
    _, ui = session("", "/u", r"/lC:\nowhere\install.log")
    ui.wait_page("ErrorFinish")
    assert ui.text("ErrorFinishMemo") == \
        "Az eltávolításhoz szükséges leírófájl nem létezik. Az eltávolítás nem lehetséges!"


def medium_with_files(wine, programs, tmp_path, text, files):
    """C:\\medium: the installer, the script `text` with a [Files] list of
    (name, bytes, target, rule) in data1.dat, and the hold_open fixture."""
    folder = wine.make_folder(r"C:\medium")
    (folder / "installer.exe").write_bytes(programs["installer"].read_bytes())
    package = Package(tmp_path, "data1")
    lines = [f"[Files]\r\nCount={len(files)}\r\n"]
    for i, (name, data, target, rule) in enumerate(files, 1):
        lines.append(f"File{i}.CompID=1\r\nFile{i}.SourceFile={package.add(name, data)}\r\n"
                     f"File{i}.TargetFile={target}\r\nFile{i}.FileUpdateRule={rule}\r\n")
    package.pack(programs["media"], folder)
    (folder / "setup.inf").write_bytes((text + "".join(lines)).encode("cp1250"))
    (folder / "hold_open.exe").write_bytes((programs["fixtures"] / "hold_open.exe").read_bytes())
    return folder


def test_a_close_while_the_run_works_is_refused_and_back_never_leads_into_it(wine, programs, tmp_path):
    # The run's last file step waits in a batch file until the test lets it go.
    bat = b'@"C:\\medium\\hold_open.exe" "C:\\medium\\held.txt" "C:\\medium\\release"\r\n'
    text = script().replace("Component1.PackName=data1\r\n", "Component1.PackName=data1\r\nComponent1.Checked=1\r\n")
    folder = medium_with_files(wine, programs, tmp_path, text,
                               [("register_com_servers.bat", bat, r"$DefaultDestination$\register_com_servers.bat", 0)])
    (folder / "held.txt").write_bytes(b"")
    process = wine.start(r"C:\medium\installer.exe")
    ui = UiDriver(wine, programs)
    try:
        ui.wait_window()
        while ui.page() != "Summary":
            page = ui.page()
            ui.click("NextButton")
            if page == "Destination":
                ui.wait_window(DIALOG)
                ui.click("Yes", DIALOG)
            ui.wait_for(lambda: ui.page() != page, f"the page after {page}")
        ui.click("NextButton")
        ui.wait_for(lambda: (folder / "held.txt.held").exists(), "the run in its last step", timeout=120)
        ui.close()  # the title bar's close, Alt+F4 and the system menu all send it
        time.sleep(2)
        assert not ui.exists(DIALOG) and ui.page() == "CopyFiles"
        assert not ui.controls()["CancelButton"]["enabled"]
        ui.raise_window()  # above the batch file's console
        ui.screenshot("run-close-refused")
        (folder / "release").write_bytes(b"")
        ui.wait_page("Readme", timeout=120)
        assert not ui.controls()["BackButton"]["enabled"]  # never back into the run
        ui.screenshot("run-Readme-after-the-run")
        assert ui.text("ErrorFinishMemo") == ""
        ui.click("NextButton")
        ui.wait_page("Finished")
        ui.click("CancelButton")
        ui.wait_gone()
        assert process.wait(timeout=60) == 0
    finally:
        (folder / "release").write_bytes(b"")
        ui.close_driver()
        if process.poll() is None:
            process.kill()


def test_install_exe_starts_only_after_a_run_that_finished(wine, programs, tmp_path):
    """The old installation's install.exe must not start when the run stops on a
    locked file; after a run that reached Finished it does."""
    text = "[Configuration]\r\nPath=C:\\App\r\n[Copy Files Page]\r\nVisible=1\r\n[Finish Page]\r\nVisible=1\r\n" \
           "[Components]\r\nCount=1\r\nComponent1.Name=P\r\nComponent1.Size=1\r\nComponent1.PackName=data1\r\n" \
           "Component1.Checked=1\r\n"
    fake = (programs["fixtures"] / "fake_installer.exe").read_bytes()
    folder = medium_with_files(wine, programs, tmp_path, text, [("install.exe", fake, r"$DefaultDestination$\install.exe", 1),
                                                                ("busy.dll", b"new", r"$DefaultDestination$\busy.dll", 0)])
    app = wine.make_folder(r"C:\App")
    (app / "install.exe").write_bytes(fake)  # the old installation's
    (app / "busy.dll").write_bytes(b"old")
    started = folder / "started.log"
    env = {"OSTRAVEL_FAKE_LOG": r"C:\medium\started.log"}
    holder = wine.start(r"C:\medium\hold_open.exe", r"C:\App\busy.dll", r"C:\medium\release")
    try:
        deadline = time.time() + 60
        while not (app / "busy.dll.held").exists() and time.time() < deadline:
            time.sleep(0.2)
        result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=120, env=env)
    finally:
        (folder / "release").write_bytes(b"")
        holder.wait(timeout=60)
    assert result.rc == 1, result
    wine.wait_idle()
    assert not started.exists()
    assert (app / "busy.dll").read_bytes() == b"old"
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=120, env=env)
    assert result.rc == 0, result
    wine.wait_idle()
    assert started.exists() and (app / "busy.dll").read_bytes() == b"new"


def test_a_run_killed_before_is_named_once_with_the_kind_that_repairs_it(wine, programs, tmp_path):
    """Without RollbackOnFailure a block left unfinished by a killed run is reported in
    one box when the next run starts, naming the kind that repairs it; the run then
    goes on, and the mark is gone from the record."""
    text = script(extra="[unInstall Type Page]\r\nRepair=Utolsó telepítés javítása\r\nRepairEnabled=1\r\n")
    text = text.replace(r"Path=C:\BELLORO.WIN", "Path=C:\\BELLORO.WIN\r\nUnInstallLogFile=$DefaultDestination$\\u.log")
    text = text.replace("Component1.PackName=data1\r\n", "Component1.PackName=data1\r\nComponent1.Checked=1\r\n")
    medium_with_files(wine, programs, tmp_path, text, [("a.txt", b"a\r\n", r"$DefaultDestination$\a.txt", 0)])
    wine.make_folder(r"C:\BELLORO.WIN")
    record = wine.host_path(r"C:\BELLORO.WIN\u.log")
    record.write_bytes(b"[46000.5]\r\nInstallation Started: 2025.12.08 10:00:00\r\nSource: C:\\medium\r\n"
                       b"Title: Lumbra v2020\r\nUnfinished Run: Report\r\nCopy File: C:\\BELLORO.WIN\\old.txt\r\n")
    process = wine.start(r"C:\medium\installer.exe")
    ui = UiDriver(wine, programs)
    try:
        ui.wait_window()
        while ui.page() != "CopyFiles" and not ui.exists(DIALOG):
            page = ui.page()
            ui.click("NextButton")
            ui.wait_for(lambda: ui.page() != page or ui.exists(DIALOG), f"the page after {page}")
        ui.wait_window(DIALOG, timeout=120)
        message = ui.controls(DIALOG)["Message"]["text"]
        assert message.startswith("A legutóbbi telepítés nem fejeződött be") and \
            '"Utolsó telepítés javítása"' in message, message
        ui.screenshot("unfinished-run-found", DIALOG)
        ui.click("OK", DIALOG)
        ui.wait_page("Readme", timeout=120)
        saved = record.read_bytes().decode("cp1250")
        assert "Unfinished Run" not in saved and "Copy File: C:\\BELLORO.WIN\\old.txt" in saved, saved
        assert "Copy File: C:\\BELLORO.WIN\\a.txt" in saved, saved
        assert not ui.exists(DIALOG)
    finally:
        ui.close_driver()
        if process.poll() is None:
            process.kill()
