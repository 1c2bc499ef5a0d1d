#!/usr/bin/env python3
"""Writes the archives the send-check tests read into the folder given: ZIP files through
zipfile and Info-ZIP's `zip -e` (encrypted), LZH files with headers of level 0, 1 and 2 written
here field by field (the members stored, method -lh0-)."""
import io
import os
import struct
import subprocess
import sys
import zipfile


def zip_of(members):
    out = io.BytesIO()
    with zipfile.ZipFile(out, "w") as archive:
        for name, data in members:
            archive.writestr(name, data)
    return out.getvalue()


def encrypted_zip(folder, name, members):
    """`zip -e` over files written in a folder of their own."""
    work = os.path.join(folder, name + ".d")
    os.makedirs(work)
    for member, data in members:
        with open(os.path.join(work, member), "wb") as f:
            f.write(data)
    subprocess.run(["zip", "-q", "-e", "-P", "secret", "../" + name] + [m for m, _ in members],
                   cwd=work, check=True)


def lzh_header(level, name, data):
    name = name.encode("cp932")
    common = b"-lh0-" + struct.pack("<IIIBB", len(data), len(data), 0, 0x20, level)
    if level == 0:
        body = common + bytes([len(name)]) + name + struct.pack("<H", 0)
        return bytes([len(body), sum(body) & 0xFF]) + body + data
    if level == 1:
        # The name in the base header; one extension header (a comment-free "last" one) follows.
        extended = bytes([0x40]) + struct.pack("<H", 0x20) + struct.pack("<H", 0)
        packed = len(data) + len(extended)
        common = b"-lh0-" + struct.pack("<IIIBB", packed, len(data), 0, 0x20, 1)
        body = common + bytes([len(name)]) + name + struct.pack("<HB", 0, ord("U"))
        body += struct.pack("<H", len(extended))
        return bytes([len(body), sum(body) & 0xFF]) + body + extended + data
    # Level 2: the name in an extension header of type 1.
    name_header = bytes([0x01]) + name
    name_header += struct.pack("<H", 0)
    fixed = b"-lh0-" + struct.pack("<IIIBBHB", len(data), len(data), 0, 0x20, 2, 0, ord("U"))
    size = 2 + len(fixed) + 2 + len(name_header)
    return struct.pack("<H", size) + fixed + struct.pack("<H", len(name_header)) + name_header + data


def lzh_of(level, members):
    return b"".join(lzh_header(level, n, d) for n, d in members) + b"\0"


def main(folder):
    files = {
        "clean.zip": zip_of([("photos/a.jpg", b"jpeg"), ("notes.txt", b"text")]),
        "macro.zip": zip_of([("docs/readme.txt", b"x"), ("docs/macro.js", b"alert(1)")]),
        "upper.zip": zip_of([("SETUP.EXE", b"MZ")]),
        "utf8.zip": zip_of([("資料/起動.MSI", b"x")]),
        "inner.zip": zip_of([("inner.zip", zip_of([("a.txt", b"x")]))]),
        "empty.zip": zip_of([]),
        "big.zip": zip_of([("big.bin", os.urandom(25 * 1024 * 1024)), ("run.bat", b"x")]),
        "clean.lzh": lzh_of(2, [("a.txt", b"abc"), ("b.doc", b"")]),
    }
    for level in (0, 1, 2):
        files[f"level{level}.lzh"] = lzh_of(level, [("readme.txt", b"abc"), ("tool.exe", b"MZ")])
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    encrypted_zip(folder, "locked_inner.zip", [("inner.zip", zip_of([("a.txt", b"x")]))])
    encrypted_zip(folder, "locked_clean.zip", [("a.txt", b"secret text")])


if __name__ == "__main__":
    main(sys.argv[1])
