"""The media tool's version-resource reader against python3-pefile, an independent
reader, on every program and DLL the builds make and on some of Wine's system DLLs.
Runs on the host only; no Wine prefix is needed."""
import subprocess
from pathlib import Path

import pefile

from conftest import BUILD

WINE_DLLS = [Path("/usr/lib/i386-linux-gnu/wine/i386-windows") / n for n in ("kernel32.dll", "comctl32.dll", "shell32.dll")] + \
            [Path("/usr/lib/x86_64-linux-gnu/wine/x86_64-windows") / n for n in ("user32.dll", "ole32.dll")]


def _pefile_version(path):
    pe = pefile.PE(str(path), fast_load=True)
    pe.parse_data_directories(directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
    if not getattr(pe, "VS_FIXEDFILEINFO", None):
        return "none"
    v = pe.VS_FIXEDFILEINFO[0]
    parts = [v.FileVersionMS >> 16, v.FileVersionMS & 0xFFFF, v.FileVersionLS >> 16, v.FileVersionLS & 0xFFFF,
             v.ProductVersionMS >> 16, v.ProductVersionMS & 0xFFFF, v.ProductVersionLS >> 16, v.ProductVersionLS & 0xFFFF]
    return "%d.%d.%d.%d\t%d.%d.%d.%d" % tuple(parts)


def test_version_reader_agrees_with_pefile(programs):
    files = sorted(p for build in ("win32", "win64") for p in (BUILD / build).rglob("*")
                   if p.suffix in (".exe", ".dll") and "CMakeFiles" not in p.parts)
    files += [p for p in WINE_DLLS if p.exists()]
    assert len(files) >= 10, files
    out = subprocess.run([str(programs["media"]), "version", *map(str, files)], check=True,
                         capture_output=True, text=True, timeout=60).stdout.splitlines()
    ours = dict(line.split("\t", 1) for line in out)
    with_version = 0
    for path in files:
        expected = _pefile_version(path)
        assert ours[str(path)] == expected, path
        with_version += expected != "none"
    # Our own programs carry version resources; a reader that always says "none"
    # must not pass.
    assert with_version >= 6
