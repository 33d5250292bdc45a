"""Program entry under Wine: the launch decision and silent exits."""


def make_medium(wine, programs, script, packages=()):
    folder = wine.make_folder(r"C:\medium")
    (folder / "installer.exe").write_bytes(programs["installer"].read_bytes())
    (folder / "setup.inf").write_bytes(script.encode("cp1250"))
    for name in packages:
        (folder / name).write_bytes(b"\0" * 16)
    return folder


def test_silent_without_packages_exits_1_without_a_window(wine, programs):
    folder = make_medium(wine, programs, "[Configuration]\r\nLanguage=11\r\n")
    # A message box would block until the timeout: finishing at all shows none opened.
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=60)
    assert not result.timed_out
    assert result.rc == 1
    # The script was read through the writing reader and is normalised now.
    assert (folder / "setup.inf").read_bytes() == b"[Configuration]\r\nLanguage=11\r\n\r\n"


def test_silent_switch_letters_ignore_case(wine, programs):
    make_medium(wine, programs, "")
    result = wine.run(r"C:\medium\installer.exe", "-SILENT", timeout=60)
    assert not result.timed_out and result.rc == 1
