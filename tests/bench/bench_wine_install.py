#!/usr/bin/env python3
"""The real run under Wine: `setup.exe /silent` of a medium of the sample product with a
generated tree added (the install benchmark's generator: FILES files in nested folders),
then the uninstall entry's command line with /silent, each in a fresh copy of one base
prefix, every installed file checked by SHA-256 and gone after the uninstall. With a
baseline installer (an earlier build's installer.exe) the two run alternately, A B A B,
on the same medium but for the installer inside it, and the medians of the per-round
ratios are printed. A Windows Installer package of the same tree (built once per size
with wixl, tests/bench/msi_contender.py) takes its turn in every round too: Wine's msiexec
installs it silently into an empty folder of a fresh prefix copy and removes it again,
checked the same way. The phases come from the installed files' change times: from the
start to the first file, from the first to the last, and from the last to the end.
The display has no window manager, and Wine's X11 driver waits up to 2 s for one to
withdraw each managed window that is hidden (the launcher's, the wizard's): a wait neither
Windows nor a desktop has. The base prefix makes windows unmanaged, so it is not timed.

usage: bench_wine_install.py WORK_DIR BUILD_DIR [BASELINE_INSTALLER] [FILES ...]
env:   WINE_RUNS (rounds, default 3), BENCH_MSI=0 (no Windows Installer package)
"""
import hashlib
import os
import shutil
import statistics
import subprocess
import sys
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
sys.path.insert(0, str(ROOT / "tests/e2e"))
sys.path.insert(0, str(ROOT / "tools/ci"))
import msi_contender  # noqa: E402
import winehost  # noqa: E402
from demo import private_display  # noqa: E402
from conftest import WinePrefix, _env, make_base_prefix  # noqa: E402
from machine_state import split_command_line, uninstall_command  # noqa: E402

MEDIA = ROOT / "build/host/tools/media/ostravel-media"
GEN = ROOT / "build/host/tests/bench/bench_install"
TREE = "bench"  # below the destination
WATCHER = "Z:" + str(ROOT / "build" / winehost.host().build.name / "tests/fixtures/window_answer.exe").replace("/", "\\")


def run(*args):
    subprocess.run([str(a) for a in args], check=True, stdout=subprocess.DEVNULL, timeout=1800)


def medium(work, build, files, msi):
    """The medium with `files` generated files in the program component, the SHA-256 of
    each below the tree, and with msi the package of the same tree (else None)."""
    gen, product = work / f"gen-{files}", work / f"product-{files}"
    run(GEN, "gen", gen, files, max(1, files // 50))
    run("bash", ROOT / "examples/sample-product/assemble.sh", product, build)
    shutil.move(gen / "src", product / "Lumbra" / TREE)
    shutil.rmtree(gen)
    template = (ROOT / "examples/sample-product/setup.tmpl.utf8").read_text(encoding="utf-8")
    fonts = "Target5=$DefaultDestination$\\Fonts\n"
    assert fonts in template
    template = template.replace(fonts, fonts + f"Source6=Lumbra\\{TREE}\nTarget6=$DefaultDestination$\\{TREE}\n", 1)
    (work / "setup.tmpl").write_bytes(template.encode("cp1250"))
    out = work / f"medium-{files}"
    run(MEDIA, "medium", product, work / "setup.tmpl", out, "--launcher", build / "startup/startup.exe",
        "--installer", build / "installer/installer.exe")
    root = product / "Lumbra" / TREE
    digests = {p.relative_to(root).as_posix().lower(): hashlib.sha256(p.read_bytes()).hexdigest()
               for p in root.rglob("*") if p.is_file()}
    package = None
    if msi:
        package, seconds, folders, count = msi_contender.build(root, work / f"msi-{files}")
        print(f"msi package of {count} files in {folders} folders: {package.stat().st_size / 1048576:.1f} MiB, "
              f"wixl {seconds:.1f} s (not timed below)", flush=True)
    shutil.rmtree(product)
    return out, digests, package


def installed_tree(wine):
    for pf in sorted(wine.drive_c.glob("Program Files*")):
        for p in pf.glob("*/*"):
            if p.parent.name.lower() == "belloro" and p.name.lower() == "lumbra demo":
                return p / TREE
    return None


def check_tree(name, tree, digests):
    """The phases' times: the change times of the installed files, once their digests match."""
    found, times = {}, []
    for p in tree.rglob("*"):
        if p.is_file():
            found[p.relative_to(tree).as_posix().lower()] = hashlib.sha256(p.read_bytes()).hexdigest()
            times.append(p.stat().st_ctime)
    assert found == digests, f"{name}: the installed files differ from the generated ones"
    return min(times), max(times)


def msi_round(base, work, package, digests, display):
    """As one_round for the Windows Installer package, through the same prefix helper."""
    wine = WinePrefix(base, work / "prefix-msi", display)
    try:
        start = time.time()
        result = msi_contender.install(wine, package)
        wine.wait_idle(timeout=1800)
        end = time.time()
        assert result.rc == 0, ("msi", result, result.stderr[-300:])
        tree = msi_contender.tree(wine)
        first, last = check_tree("msi", tree, digests)
        phases = (first - start, last - first, end - last)
        start = time.time()
        result = msi_contender.uninstall(wine, package)
        wine.wait_idle(timeout=1800)
        removed = time.time() - start
        assert result.rc == 0 and not tree.exists(), ("msi", result, result.stderr[-300:])
        return phases, removed, None
    finally:
        wine.kill()
        shutil.rmtree(wine.path, ignore_errors=True)


def one_round(base, work, medium_dir, digests, name, display):
    """Install and uninstall in a fresh prefix: the install's phases, the uninstall's seconds."""
    if name == "msi":
        return msi_round(base, work, medium_dir, digests, display)
    wine = WinePrefix(base, work / f"prefix-{name}", display)
    try:
        watcher = wine.start(WATCHER, "TInstallerMainForm", "120")
        start = time.time()
        result = wine.run("Z:" + str(medium_dir / "setup.exe").replace("/", "\\"), "/silent", timeout=1800)
        wine.wait_idle(timeout=1800)
        end = time.time()
        assert result.rc == 0, (name, result)
        answers = dict(f.split("=") for f in watcher.communicate(timeout=60)[0].decode().split())
        tree = installed_tree(wine)
        assert tree, f"{name}: nothing installed"
        first, last = check_tree(name, tree, digests)
        phases = (first - start, last - first, end - last)
        _, command = uninstall_command(wine, "Lumbra")
        exe, *args = split_command_line(command)
        start = time.time()
        result = wine.run(exe, *args, "/silent", timeout=1800)
        if result.rc != 0 and result.seconds < 2:
            # Seen once at 10,000 files: the loader gave up at once, as if the prefix's
            # server were still going down after the install. Once more, then it counts.
            print(f"  ({name}: the uninstaller ended at once with {result.rc}: "
                  f"{result.stderr[-300:].decode(errors='replace').strip()}; started again)", flush=True)
            wine.wait_idle(timeout=600)
            start = time.time()
            result = wine.run(exe, *args, "/silent", timeout=1800)
        wine.wait_idle(timeout=1800)
        removed = time.time() - start
        assert result.rc == 0 and not tree.exists(), (name, result)
        return phases, removed, answers
    finally:
        wine.kill()
        shutil.rmtree(wine.path, ignore_errors=True)


def main():
    work, build = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    baseline = Path(sys.argv[3]).resolve() if len(sys.argv) > 3 and not sys.argv[3].isdigit() else None
    sizes = [int(a) for a in sys.argv[3 + (baseline is not None):]] or [1000, 10000]
    runs = int(os.environ.get("WINE_RUNS", "3"))
    msi = os.environ.get("BENCH_MSI", "1") != "0"
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    print(winehost.host().describe(), flush=True)
    xvfb, display = private_display()
    try:
        measure(work, build, baseline, sizes, runs, display, msi)
    finally:
        xvfb.terminate()
        xvfb.wait(timeout=10)
        shutil.rmtree(work, ignore_errors=True)


def measure(work, build, baseline, sizes, runs, display, msi):
    base = work / "prefix-base"
    make_base_prefix(base, display)
    env = _env(base, display)
    subprocess.run(WinePrefix.command(r"C:\windows\system32\reg.exe", "add", r"HKCU\Software\Wine\X11 Driver", "/v",
                                      "Managed", "/d", "N", "/f"), env=env, check=True, stdout=subprocess.DEVNULL, timeout=300)
    subprocess.run(["wineserver", "-w"], env=env, check=True, timeout=300)
    per_file = {}
    for files in sizes:
        ours, digests, package = medium(work, build, files, msi)
        contenders = {"ours": ours}
        if baseline:
            contenders["baseline"] = work / f"medium-{files}-baseline"
            shutil.copytree(ours, contenders["baseline"])
            run(MEDIA, "szdd", baseline, contenders["baseline"] / "_setup1.ex_")
        if package:
            contenders["msi"] = package
        samples = {name: [] for name in contenders}
        for _ in range(runs):
            for name, medium_dir in contenders.items():
                phases, removed, answers = one_round(base, work, medium_dir, digests, name, display)
                samples[name].append((sum(phases), phases, removed, answers))  # the phases add up to the install
        turns = f" (in turn: {', '.join(contenders)})" if len(contenders) > 1 else ""
        print(f"\n{files} files, {runs} rounds{turns}:")
        for name, rows in samples.items():
            install = statistics.median(r[0] for r in rows)
            first, extract, after = (statistics.median(r[1][i] for r in rows) for i in range(3))
            print(f"  {name:8} install {install:7.1f} s (to the first file {first:.1f}, files {extract:.1f}, "
                  f"after the last {after:.1f})   uninstall {statistics.median(r[2] for r in rows):7.1f} s")
            if name == "msi":  # no window of ours to ask
                continue
            print(f"  {'':8} the window's answer during the install: slowest {max(float(r[3]['max_ms']) for r in rows):.0f} ms, "
                  f"over 100 ms {sum(int(r[3]['over_100ms']) for r in rows)} of {sum(int(r[3]['samples']) for r in rows)} "
                  "(target: none)")
            slow = [r[3]["slow_at"] for r in rows if "slow_at" in r[3]]
            if slow:  # at:took in ms since the window came, for finding the step in a /log run
                print(f"  {'':8} slow answers (at:took ms), first round with any: {slow[0][:200]}")
        for other in (c for c in contenders if c != "ours"):
            for i, what in ((0, "install"), (2, "uninstall")):
                ratio = statistics.median(a[i] / b[i] for a, b in zip(samples["ours"], samples[other]))
                print(f"  {what} ours / {other}, median of round ratios: {ratio:.3f}")
        per_file[files] = statistics.median(r[0] for r in samples["ours"]) / files
        shutil.rmtree(ours, ignore_errors=True)
        shutil.rmtree(work / f"medium-{files}-baseline", ignore_errors=True)
        shutil.rmtree(work / f"msi-{files}", ignore_errors=True)
    if len(per_file) > 1:
        small, big = min(per_file), max(per_file)
        print(f"\ninstall time per file, {big} vs {small} files: {per_file[big] / per_file[small]:.2f} "
              "(target <= 1.2)")


if __name__ == "__main__":
    main()
