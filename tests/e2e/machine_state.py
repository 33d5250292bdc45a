"""What an installation leaves in a Wine prefix, in a form two runs can be compared
by: files with their bytes, times and attributes, shortcut fields, both registry
views and the services, with what Wine itself keeps changing left out."""
import hashlib
import os
import re
import stat
from pathlib import Path

from engine_media import read_lnk

UNINSTALL = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"

# The installer's own bytes: its copies on the medium, in the working folder and the
# shared uninstaller differ between builds by design.
OWN_PROGRAMS = {"installer.exe", "setup.exe", "_setup1.ex_"}
# Wine's own bookkeeping, rewritten by any program that runs.
QUIET_FILES = ("windows/temp/", "windows/logs/", "windows/inf/", "users/public/")
QUIET_KEYS = ("software\\wine", "\\mui", "\\explorer", "\\cryptography", "\\enum", "\\network", "userassist",
              "session manager", "\\perflib", "software\\classes", "\\security", "hardware\\", "\\control\\",
              "\\sessioninfo", "volatile environment", "\\winlogon", "\\installer\\")
# Times in logs and records: "yyyy.mm.dd hh:nn:ss" and the record's "[45123.5]" header.
STAMPS = re.compile(rb"\d{4}\.\d\d\.\d\d\.?\s+\d{1,2}:\d\d(:\d\d)?|^\[\d+(\.\d+)?\]", re.M)
# The records' digests: a record holds the times of its run.
RECORD_DIGESTS = "ostravel\\installrecords"
DIGEST = re.compile(r'"[0-9A-F]{64}"')


def _attributes(path, st):
    try:
        dos = int(os.getxattr(path, "user.DOSATTRIB").split(b"\0")[0], 0)
    except (OSError, ValueError):
        dos = 0
    read_only = 0 if st.st_mode & stat.S_IWUSR else 1
    return (dos & 0x26) | read_only  # hidden, system, archive; read-only from the mode


def _content(path):
    data = path.read_bytes()
    if path.suffix.lower() == ".lnk":
        fields = read_lnk(path)
        return tuple(sorted((k, str(v).lower()) for k, v in fields.items()))
    if b"\0" not in data[:4096]:
        data = STAMPS.sub(b"<time>", data)
    return hashlib.sha256(data).hexdigest()


def files(drive_c, since):
    """path -> (content, time or "new", attributes) below C:\\, names lower-cased."""
    out = {}
    root = Path(drive_c)
    for p in root.rglob("*"):
        rel = p.relative_to(root).as_posix().lower()
        if p.name.lower() in OWN_PROGRAMS or rel.startswith(QUIET_FILES) or "/temp/" in rel and rel.endswith(".tmp"):
            continue
        st = p.lstat()
        if p.is_dir():
            out[rel + "/"] = ("folder", None, _attributes(p, st))
            continue
        # A time the run set on purpose (stored or copied times) counts; a time of writing does not.
        when = "new" if st.st_mtime >= since - 1 else int(st.st_mtime)
        out[rel] = (_content(p), when, _attributes(p, st))
    return out


def registry(prefix):
    """(file, key) -> {value name: data} of both registry views, timestamps left out."""
    out = {}
    for name in ("system.reg", "user.reg"):
        key, lines = None, (Path(prefix) / name).read_text(encoding="utf-8", errors="replace").splitlines()
        pending = ""
        for line in lines:
            if pending:
                line, pending = pending + line.strip(), ""
            if line.endswith("\\") and not line.startswith("["):
                pending = line[:-1]
                continue
            if line.startswith("["):
                key = line[1:line.rindex("]")].lower().replace("\\\\", "\\")
                if any(q in key for q in QUIET_KEYS):
                    key = None
                else:
                    out.setdefault((name, key), {})
            elif key and (line.startswith('"') or line.startswith("@=")):
                value, _, data = line.partition("=") if line.startswith("@") else line[1:].partition('"=')
                if key.endswith(RECORD_DIGESTS) and DIGEST.fullmatch(data):
                    data = "<a record's digest>"
                out[(name, key)][value.lower()] = data
    return out


def snapshot(wine, since):
    return {"files": files(wine.drive_c, since), "registry": registry(wine.path)}


def differences(a, b):
    """Readable lines for every place where two snapshots differ."""
    lines = []
    for part in ("files", "registry"):
        x, y = a[part], b[part]
        for k in sorted(set(x) | set(y), key=str):
            if x.get(k) != y.get(k):
                lines.append(f"{part} {k}: {x.get(k)!r} != {y.get(k)!r}")
    return lines


def uninstall_command(wine, title):
    """The uninstall entry whose key names `title`, and its UninstallString."""
    out = wine.output("reg", "query", UNINSTALL, "/s", "/reg:32")
    key, command = None, None
    for line in out.splitlines():
        if line.startswith("HKEY_"):
            if key and command:
                break
            key = line.strip() if title in line else None
        elif key and "UninstallString" in line and command is None:
            command = line.split("REG_SZ", 1)[1].strip()
    return key, command


def split_command_line(line):
    """As the installer splits its own: quotes toggle and are dropped, blanks separate."""
    tokens, token, quoted, started = [], "", False, False
    for c in line + " ":
        if c == '"':
            quoted, started = not quoted, True
        elif c.isspace() and not quoted:
            if started:
                tokens.append(token)
            token, started = "", False
        else:
            token, started = token + c, True
    return tokens
