"""Program entry under Wine: the launch decision and silent exits."""

from conftest import NO_HOST_MENUS


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


PACKAGED = ("[Configuration]\r\nLanguage=11\r\n[Components]\r\nCount=1\r\n"
            "Component1.PackName=data1\r\nComponent1.Size=1000\r\n"
            "[Welcome Page]\r\nVisible=1\r\n[Finish Page]\r\nVisible=1\r\n")


def test_silent_with_a_package_opens_the_wizard_instead(wine, programs):
    make_medium(wine, programs, PACKAGED, packages=["data1.dat"])
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=120)
    assert not result.timed_out
    # The unattended chain walks Welcome to Finished, which closes the window.
    assert result.rc == 0


def test_no_packages_message_in_the_script_language(wine, programs):
    from uidriver import DIALOG, UiDriver
    make_medium(wine, programs, "[Configuration]\r\nLanguage=11\r\n"
                "[ErrorMessages]\r\nNoPackagesFound=Nem található telepítőcsomag!\r\n")
    process = wine.start(r"C:\medium\installer.exe")
    ui = UiDriver(wine, programs)
    try:
        ui.wait_window(DIALOG)
        assert ui.title(DIALOG) == "Figyelmeztetés"
        dialog = ui.controls(DIALOG)
        assert dialog["Message"]["text"] == "Nem található telepítőcsomag!"
        ui.screenshot("no-packages-found", DIALOG)
        ui.click("OK", DIALOG)
        assert process.wait(timeout=60) == 0
    finally:
        ui.close_driver()


def test_a_planted_version_dll_is_never_loaded(wine, programs):
    folder = make_medium(wine, programs, PACKAGED, packages=["data1.dat"])
    fixtures = programs["fixtures"]
    (folder / "version.dll").write_bytes((fixtures / "version.dll").read_bytes())
    marker = folder / "planted-version-loaded.txt"
    # Wine prefers its own DLLs; make it search like Windows, where a DLL found
    # first on the search path is taken.
    like_windows = {"WINEDLLOVERRIDES": NO_HOST_MENUS + ";version=n,b"}
    # The wizard reads the installer's own version resource at creation.
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=120, env=like_windows)
    assert not result.timed_out and result.rc == 0
    assert not marker.exists()
    # The same DLL is taken by a program that does not guard its search order.
    (folder / "naive_loader.exe").write_bytes((fixtures / "naive_loader.exe").read_bytes())
    assert wine.run(r"C:\medium\naive_loader.exe", timeout=60, env=like_windows).rc == 0
    assert marker.exists()


def test_programs_import_only_kernel32_and_msvcrt_at_load_time():
    import subprocess
    from conftest import BUILD
    # Both builds: this needs no Wine.
    programs = [(BUILD / build / name, objdump)
                for build, objdump in (("win32", "i686-w64-mingw32-objdump"), ("win64", "x86_64-w64-mingw32-objdump"))
                for name in ("installer/installer.exe", "startup/startup.exe", "tools/media/ostravel-media.exe")]
    for exe, objdump in programs:
        dump = subprocess.run([objdump, "-p", str(exe)], capture_output=True, text=True, check=True).stdout
        names = {line.split(":", 1)[1].strip().lower() for line in dump.splitlines()
                 if "DLL Name:" in line}
        # Everything else (and no zlib1.dll) comes from the system folder on first use.
        assert names == {"kernel32.dll", "msvcrt.dll"}, (exe, names)


def test_silent_with_a_package_but_no_page_ends_with_1(wine, programs):
    make_medium(wine, programs, "[Components]\r\nCount=1\r\nComponent1.PackName=data1\r\n"
                "Component1.Size=1000\r\n", packages=["data1.dat"])
    result = wine.run(r"C:\medium\installer.exe", "/silent", timeout=120)
    assert not result.timed_out
    assert result.rc == 1
