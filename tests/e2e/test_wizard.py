"""The wizard window under Wine, driven by the ui driver: every visible page, the
exit confirmation, the error page, the message dialog and the tagged welcome text.
Screenshots land in build/screens/."""
import pytest

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
