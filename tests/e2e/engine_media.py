"""Media for the installation engine's Wine tests, written by the tests themselves:
product trees packed by `ostravel-media pack`, a setup script built key by key, and
independent readers of what the run leaves behind (.lnk fields, DOS times,
snapshots of files and registry values)."""
import os
import struct
import subprocess
import time
from pathlib import Path

# Stored with every member and given to the script: 2024.05.06 07:08:10, local time.
MEMBER_TIME = time.mktime((2024, 5, 6, 7, 8, 10, 0, 0, -1))


def dos_time(seconds):
    t = time.localtime(seconds)
    return ((t.tm_year - 1980) << 25 | t.tm_mon << 21 | t.tm_mday << 16 |
            t.tm_hour << 11 | t.tm_min << 5 | t.tm_sec // 2)


class Script:
    """A setup script: sections in the order first used, CP1250, CR LF."""

    def __init__(self):
        self.sections = {}

    def set(self, section, key, value):
        self.sections.setdefault(section, {})[key] = str(value)
        return self

    def entry(self, section, prefix, fields):
        """The next numbered entry (from 1) of a list section."""
        s = self.sections.setdefault(section, {})
        n = int(s.get("Count", "0")) + 1
        s["Count"] = str(n)
        for suffix, value in fields.items():
            s[f"{prefix}{n}{suffix}"] = str(value)
        return n

    def bytes(self):
        out = []
        for name, keys in self.sections.items():
            out.append(f"[{name}]")
            out += [f"{k}={v}" for k, v in keys.items()]
        return ("\r\n".join(out) + "\r\n").encode("cp1250")


class Package:
    """One component's product tree; members are stored as PREFIX\\relative path."""

    def __init__(self, root, name):
        self.name, self.src = name, Path(root) / "src" / name
        self.prefix = "C:\\Build\\" + name

    def add(self, rel, data):
        path = self.src.joinpath(*rel.split("\\"))
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_bytes(data)
        os.utime(path, (MEMBER_TIME, MEMBER_TIME))
        return self.prefix + "\\" + rel

    def pack(self, media_tool, medium):
        subprocess.run([str(media_tool), "pack", str(Path(medium) / f"{self.name}.dat"), str(self.src),
                        "--prefix", self.prefix], check=True, stdout=subprocess.DEVNULL)


def read_lnk(path):
    """The string fields of a shell link (MS-SHLLINK): description, relative path,
    working folder, arguments, icon location; plus the icon index and the local
    base path of its link info."""
    data = Path(path).read_bytes()
    flags = struct.unpack_from("<I", data, 20)[0]
    icon_index = struct.unpack_from("<i", data, 56)[0]
    unicode = bool(flags & 0x80)
    at = 76
    if flags & 0x01:  # HasLinkTargetIDList
        at += 2 + struct.unpack_from("<H", data, at)[0]
    base = None
    if flags & 0x02:  # HasLinkInfo
        size, header = struct.unpack_from("<II", data, at)
        info_flags = struct.unpack_from("<I", data, at + 8)[0]
        if info_flags & 1:
            offset = struct.unpack_from("<I", data, at + 16)[0]
            raw = data[at + offset:data.index(b"\0", at + offset)]
            base = raw.decode("mbcs" if os.name == "nt" else "latin-1")
            if header >= 0x24:
                uoffset = struct.unpack_from("<I", data, at + 28)[0]
                end = at + uoffset
                while data[end:end + 2] != b"\0\0":
                    end += 2
                base = data[at + uoffset:end].decode("utf-16-le")
        at += size
    fields = {}
    for name, bit in (("description", 0x04), ("relative", 0x08), ("workdir", 0x10), ("arguments", 0x20),
                      ("icon", 0x40)):
        if flags & bit:
            count = struct.unpack_from("<H", data, at)[0]
            at += 2
            width = 2 if unicode else 1
            raw = data[at:at + count * width]
            # Wine counts the terminating zero as well.
            fields[name] = raw.decode("utf-16-le" if unicode else "cp1250").rstrip("\0")
            at += count * width
    fields["icon_index"] = icon_index
    fields["target"] = base
    return fields


# Wine keeps these up to date by itself; they say nothing about the installation.
VOLATILE_FILES = ("windows/", "users/", "programdata/microsoft/")
VOLATILE_KEYS = ("\\mui", "software\\wine", "\\explorer", "windows nt\\currentversion\\fonts",
                 "currentcontrolset", "\\enum", "\\cryptography", "\\installer", "\\network", "userassist")


def file_listing(drive_c):
    """Every file and folder below C:\\ outside Wine's own folders, as paths."""
    root = Path(drive_c)
    out = set()
    for p in root.rglob("*"):
        rel = p.relative_to(root).as_posix()
        if not rel.lower().startswith(VOLATILE_FILES) or "start menu" in rel.lower() or "desktop" in rel.lower():
            out.add(rel + ("/" if p.is_dir() else ""))
    return out


def registry_values(prefix):
    """(key, value name) of every value in the prefix's registry files."""
    out = set()
    for name in ("system.reg", "user.reg"):
        key = None
        for line in (Path(prefix) / name).read_text(encoding="utf-8", errors="replace").splitlines():
            if line.startswith("["):
                key = line[1:line.rindex("]")].lower()
            elif key and line.startswith('"') and not any(v in key for v in VOLATILE_KEYS):
                out.add((name, key, line.split('"=', 1)[0][1:].lower()))
            elif key and line.startswith("@=") and not any(v in key for v in VOLATILE_KEYS):
                out.add((name, key, "@"))
    return out
