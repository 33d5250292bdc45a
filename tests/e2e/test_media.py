"""Archives made by the host tool are read by the Windows build, volumes included."""
import os
import subprocess


def test_windows_tool_extracts_a_host_made_multi_volume_archive(wine, programs, tmp_path):
    src = tmp_path / "src"
    (src / "Könyvelés").mkdir(parents=True)
    (src / "a.txt").write_bytes(b"hello\r\n")
    big = os.urandom(70000)
    (src / "Könyvelés" / "b.bin").write_bytes(big)
    medium = wine.make_folder(r"C:\medium")
    subprocess.run([str(programs["media"]), "pack", str(medium / "data1.dat"), str(src),
                    "--volume-size", "30000"], check=True)
    assert (medium / "data1.002").exists() and (medium / "data1.003").exists()
    tool = medium / "ostravel-media.exe"
    tool.write_bytes((programs["installer"].parents[1] / "tools" / "media" / "ostravel-media.exe").read_bytes())
    result = wine.run(r"C:\medium\ostravel-media.exe", "extract", r"C:\medium\data1.dat", r"C:\out",
                      "--full-path", timeout=120)
    assert result.rc == 0, result.stderr
    out = wine.host_path(r"C:\out")
    assert (out / "a.txt").read_bytes() == b"hello\r\n"
    assert (out / "Könyvelés" / "b.bin").read_bytes() == big
