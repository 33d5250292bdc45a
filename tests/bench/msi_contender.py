"""A Windows Installer package of a tree, built with wixl and installed with Wine's own
msiexec: the contender the Wine install benchmark runs against ours on the same files.

One Directory element per folder, one Component per file (its own key path) and one per
folder that holds folders only, every GUID a uuid5 of the relative path, so the same tree
always gives the same package.
"""
import subprocess
import time
import uuid
from xml.sax.saxutils import quoteattr

NAMESPACE = uuid.UUID("5d0f2c61-8f4e-4a3b-9d27-6b1e0c7a4f18")
FOLDER = r"C:\msibench\bench"  # empty in a fresh prefix


def guid(key):
    return str(uuid.uuid5(NAMESPACE, key)).upper()


def wxs(root):
    """The package source for every file below root, installed under INSTALLDIR."""
    dirs, comps, files = [0], [], [0]

    def walk(folder, depth):
        pad = "  " * depth
        out = []
        for p in sorted(folder.iterdir()):
            rel = p.relative_to(root).as_posix()
            if p.is_dir():
                dirs[0] += 1
                out.append(f'{pad}<Directory Id="d{dirs[0]}" Name={quoteattr(p.name)}>')
                out += walk(p, depth + 1)
                if not any(c.is_file() for c in p.iterdir()):
                    out += holder(rel, pad + "  ")
                out.append(f"{pad}</Directory>")
            elif p.is_file():
                n = len(comps) + 1
                comps.append(f"c{n}")
                files[0] += 1
                out.append(f'{pad}<Component Id="c{n}" Guid="{guid(rel.lower())}">'
                           f'<File Id="f{n}" Name={quoteattr(p.name)} Source={quoteattr(rel)} KeyPath="yes"/>'
                           "</Component>")
        return out

    def holder(rel, pad):
        # A folder of folders only: without a component of its own the uninstall leaves it.
        n = len(comps) + 1
        comps.append(f"c{n}")
        return [f'{pad}<Component Id="c{n}" Guid="{guid(rel.lower() + "/")}"><CreateFolder/>'
                f'<RemoveFolder Id="r{n}" On="uninstall"/></Component>']

    body = walk(root, 4) + holder("", "        ")
    product_code = "{" + guid(f"product of {files[0]} files") + "}"
    refs = "\n".join(f'      <ComponentRef Id="{c}"/>' for c in comps)
    text = f"""<?xml version="1.0" encoding="utf-8"?>
<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">
  <Product Id="{product_code}" Name="Ostravel Bench" Language="1033" Version="1.0.0" Manufacturer="Ostravel Bench"
           UpgradeCode="{guid('upgrade')}">
    <Package InstallerVersion="200" Compressed="yes" InstallScope="perMachine"/>
    <Media Id="1" Cabinet="bench.cab" EmbedCab="yes"/>
    <Directory Id="TARGETDIR" Name="SourceDir">
      <Directory Id="INSTALLDIR" Name="bench">
{chr(10).join(body)}
      </Directory>
    </Directory>
    <Feature Id="Main" Level="1">
{refs}
    </Feature>
  </Product>
</Wix>
"""
    return text, dirs[0], files[0]


def build(root, out_dir):
    """Writes out_dir/bench.wxs and builds out_dir/bench.msi; (path, seconds of wixl, folders, files)."""
    out_dir.mkdir(parents=True, exist_ok=True)
    text, folders, files = wxs(root)
    (out_dir / "bench.wxs").write_text(text, encoding="utf-8")
    start = time.time()
    # Sources relative to the tree: wixl takes no absolute ones.
    subprocess.run(["wixl", "-o", str(out_dir / "bench.msi"), str(out_dir / "bench.wxs")], cwd=root, check=True,
                   timeout=7200, stdout=subprocess.DEVNULL)
    return out_dir / "bench.msi", time.time() - start, folders, files


def msiexec(wine, *args, timeout=1800):
    # By its Windows path: WinePrefix.run takes a bare name for a host path.
    return wine.run(r"C:\windows\system32\msiexec.exe", *args, timeout=timeout)


def install(wine, msi):
    return msiexec(wine, "/i", wine.win_path(msi), "/qn", f"INSTALLDIR={FOLDER}")


def uninstall(wine, msi):
    # The folder again: Wine's msi does not keep a folder set on the command line.
    return msiexec(wine, "/x", wine.win_path(msi), "/qn", f"INSTALLDIR={FOLDER}")


def tree(wine):
    return wine.host_path(FOLDER)
