"""The background window behind the wizard: its gradient's first and last lines
match the computed colours, the one-colour fill, and the wizard on top of it."""
import subprocess

from test_wizard import session  # noqa: F401  (fixture)


def background_script(config):
    return ("[Configuration]\r\nTopBanner=Lumbra 2026\r\nCopyrightText=(c) Belloro Kft.\r\n"
            "Copyright Alignment=2\r\nBannerFont=16777215;;Tahoma;20;1;0;0;0\r\n" + config +
            "[Install Type Page]\r\nWebUpdateEnabled=1\r\n[Welcome Page]\r\nVisible=1\r\nTitle=Üdvözlés\r\n")


def pixel(png, x, y):
    out = subprocess.run(["convert", str(png), "-format", f"%[fx:int(255*p{{{x},{y}}}.r)],"
                          f"%[fx:int(255*p{{{x},{y}}}.g)],%[fx:int(255*p{{{x},{y}}}.b)]", "info:-"],
                         capture_output=True, text=True, timeout=30, check=True).stdout
    return tuple(int(v) for v in out.split(","))


def test_gradient_runs_from_black_at_the_top_to_blue_at_the_bottom(session):  # noqa: F811
    process, ui = session(background_script("Background=1\r\nGrad Start=0\r\nGrad End=16711680\r\n"), "/devel")
    ui.wait_page("Welcome")
    shot = ui.wine.screenshot("background-gradient")
    assert pixel(shot, 0, 0) == (0, 0, 0)
    assert pixel(shot, 0, 767) == (0, 0, 255)
    # Line 384 of 767 steps: truncate(255 * 384 / 767) = 127.
    assert pixel(shot, 2, 384) == (0, 0, 127)
    assert ui.title() == "Lumbra 2026 - Ostravel"


def test_one_colour_when_the_gradient_is_off(session):  # noqa: F811
    process, ui = session(background_script("Background=0\r\nOne Color=32768\r\n"), "/devel")
    ui.wait_page("Welcome")
    shot = ui.wine.screenshot("background-one-colour")
    assert pixel(shot, 0, 0) == (0, 128, 0)
    assert pixel(shot, 1023, 767) == (0, 128, 0)
