#!/usr/bin/env python3
"""Writes the seed corpus of fuzz_archive: small valid archives in the fuzzer's input
form (a flags byte, then volumes separated by b"VOL!")."""
import os
import struct
import sys
import zlib

out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "corpus", "fuzz_archive")
os.makedirs(out, exist_ok=True)
T = 0x2B2C4B21  # a valid packed DOS date-time


def i32(v):
    return struct.pack("<i", v)


def name(s):
    return i32(len(s)) + s


def header(total, title=b"seed"):
    return name(title) + i32(total) + i32(0)


def member(n, data, stored=False, time=T):
    b = name(n) + i32(time) + b"EC2\0"
    for at in range(0, len(data), 16384):
        part = data[at:at + 16384]
        if stored:
            b += i32(-len(part)) + part
        else:
            z = zlib.compress(part, 6)
            b += i32(len(z)) + z
    return b + i32(0)


text = b"lorem ipsum dolor sit amet " * 40
seeds = {
    "empty": b"\x00" + header(0) + i32(0),
    "two_members": b"\x08" + header(len(text) + 5) + member(b"C:\\dir\\a.txt", text) + member(b"C:\\b", b"stored", True) + i32(0),
    "file_list": b"\x00" + header(3) + member(b"FILE:LIST", b"C:\\x\r\n") + i32(-4) + member(b"C:\\x", b"xyz") + i32(0),
    "newer_mode": b"\x02" + header(3) + member(b"C:\\existing", b"new", time=0x3A000000) + i32(0),
    "volumes": b"\x18" + header(len(text) + 2) + name(b"C:\\s") + i32(T) + b"EC2\0"
    + i32(len(zlib.compress(text))) + zlib.compress(text) + i32(0) + name(b"NEXT:DISK002")
    + b"VOL!" + b"EC2\0" + i32(-2) + b"zz" + i32(0) + member(b"C:\\t", b"t") + name(b"NEXT:DISK003")
    + b"VOL!" + b"EC2\0" + i32(0) + i32(0),
    "stream": b"\x20" + header(1) + member(b"C:\\q", b"q") + i32(0),
}
for key, value in seeds.items():
    with open(os.path.join(out, key), "wb") as f:
        f.write(value)
