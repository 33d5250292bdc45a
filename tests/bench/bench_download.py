#!/usr/bin/env python3
"""Download throughput of the installer's HTTP client under Wine against a plain
WinHTTP loop under Wine (winhttp_loop.exe beside the probe: the ceiling of the HTTP
stack a Windows program gets there) and against curl on the host, from one loopback
server, alternating the three (A B C A B C ...); the medians of the per-round ratios. Also the client's peak working set, and the digest of the
downloaded archive against md5sum.

usage: bench_download.py WORK_DIR HTTP_PROBE_EXE [MIB] [RUNS]
"""
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "e2e"))
import winehost  # noqa: E402
from conftest import NO_HOST_MENUS  # noqa: E402
from loopback import Site  # noqa: E402


def probe(env, exe, *args):
    out = subprocess.run([*winehost.host().loader, exe, *args], env=env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                         timeout=900).stdout.decode("utf-8", "replace").strip().splitlines()
    return out[-1] if out else ""


def fields(line):
    return dict(p.split("=", 1) for p in line.split(" error=")[0].split())


def main():
    work, exe = Path(sys.argv[1]).resolve(), sys.argv[2]
    mib = int(sys.argv[3]) if len(sys.argv) > 3 else 256
    runs = int(sys.argv[4]) if len(sys.argv) > 4 else 5
    served, out = work / "site", work / "out"
    served.mkdir(parents=True, exist_ok=True)
    out.mkdir(parents=True, exist_ok=True)
    archive = served / "data1.dat"
    with open(archive, "wb") as f:
        block = os.urandom(1 << 20)
        for i in range(mib):
            f.write(block[i:] + block[:i])
    expected = hashlib.md5(archive.read_bytes()).hexdigest().upper()
    env = dict(os.environ, WINEPREFIX=str(work / "prefix"), WINEDEBUG="-all", WINEDLLOVERRIDES=NO_HOST_MENUS,
               **winehost.host().env())
    env.pop("DISPLAY", None)
    print(winehost.host().describe())
    winehost.make_prefix(work / "prefix", env, winehost.host().arch)
    shutil.copy(exe, work / "http_probe.exe")
    shutil.copy(Path(exe).with_name("winhttp_loop.exe"), work / "winhttp_loop.exe")
    wexe = "Z:" + str(work / "http_probe.exe").replace("/", "\\")
    wloop = "Z:" + str(work / "winhttp_loop.exe").replace("/", "\\")
    wout = "Z:" + str(out / "client.dat").replace("/", "\\")
    size = archive.stat().st_size

    client, loop, curl, peaks = [], [], [], []
    with Site(served) as site:
        url = site.url + "data1.dat"
        probe(env, wexe, "head", url)  # warm the prefix and the page cache
        for _ in range(runs):
            r = fields(probe(env, wexe, "get", url, wout))
            assert r.get("ok") == "1" and int(r["received"]) == size, r
            client.append(float(r["seconds"]))
            peaks.append(int(r["peak"]))
            r = fields(probe(env, wloop, url, "Z:" + str(out / "loop.dat").replace("/", "\\")))
            assert r.get("ok") == "1" and int(r["received"]) == size, r
            loop.append(float(r["seconds"]))
            t = subprocess.run(["curl", "-s", "-o", str(out / "curl.dat"), "-w", "%{time_total}", url],
                               capture_output=True, timeout=900, check=True).stdout.decode()
            curl.append(float(t))
    ratios = [c / a for a, c in zip(client, curl)]
    loop_ratios = [b / a for a, b in zip(client, loop)]

    got = probe(env, wexe, "md5", wout).split()
    assert got[0] == expected, got
    ours, md5sum = [], []
    for _ in range(runs):
        ours.append(float(probe(env, wexe, "md5", wout).split()[1]))
        start = time.perf_counter()
        subprocess.run(["md5sum", str(out / "client.dat")], stdout=subprocess.DEVNULL, check=True)
        md5sum.append(time.perf_counter() - start)
    digest = [m / o for o, m in zip(ours, md5sum)]
    subprocess.run(["wineserver", "-k"], env=env, check=False)

    mb = size / 1e6
    print(f"\ndownload of {mib} MiB from a loopback server, {runs} rounds (client A, WinHTTP loop B, curl C):")
    print(f"  client median {mb / statistics.median(client):8.1f} MB/s   WinHTTP loop median "
          f"{mb / statistics.median(loop):8.1f} MB/s   curl median {mb / statistics.median(curl):8.1f} MB/s")
    print(f"  client vs the plain WinHTTP loop, median of round ratios: {statistics.median(loop_ratios):.3f} "
          "(target >= 0.8)")
    print(f"  client vs curl throughput, median of round ratios: {statistics.median(ratios):.3f} "
          "(for reference: curl does not pass through Wine)")
    print(f"  client peak working set {max(peaks) / 1048576:.1f} MiB (target < 32)")
    print(f"  digest of the archive vs md5sum, median of pair ratios: {statistics.median(digest):.3f} (target >= 0.8)")


if __name__ == "__main__":
    main()
