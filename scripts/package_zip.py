#!/usr/bin/env python3
"""Zips a staged release folder as <out>/Velmora-<version>.zip and prints the zip's path.

The version comes from the DLL's own version resource (its FileVersion text, "1.0.0.9"), written
as the plug-in shows it: the first part, a dot, the other three run together ("1.009").
The zip is written under a temporary name and renamed, so a half-written package is never seen.
"""
import os
import re
import sys
import time
import zipfile


def stamp():
    """The entries' time: SOURCE_DATE_EPOCH (scripts/package sets the last commit's date), in UTC,
    so the same commit gives the same zip. Zip times start in 1980."""
    epoch = int(os.environ.get("SOURCE_DATE_EPOCH", "1767225600"))
    return max(time.gmtime(epoch)[:6], (1980, 1, 1, 0, 0, 0))


def file_version(dll_path):
    """The FileVersion text of the version resource's string table."""
    data = open(dll_path, "rb").read()
    key = "FileVersion\0".encode("utf-16-le")
    at = data.find(key)
    while at >= 0:
        start = at + len(key)
        start += (-start) % 4  # the value starts on a 32-bit boundary
        end = start
        while end + 1 < len(data) and data[end:end + 2] != b"\0\0":
            end += 2
        value = data[start:end].decode("utf-16-le", "replace")
        if at % 2 == 0 and re.fullmatch(r"\d+(\.\d+){3}", value):
            return value
        at = data.find(key, at + 1)
    raise SystemExit(f"{dll_path}: no FileVersion in the version resource")


def display_version(value):
    parts = value.split(".")
    if len(parts) != 4 or not all(re.fullmatch(r"\d+", p) for p in parts):
        raise SystemExit(f"unexpected FileVersion {value!r}")
    return parts[0] + "." + "".join(parts[1:])


def main():
    stage, out = sys.argv[1], sys.argv[2]
    version = display_version(file_version(os.path.join(stage, "Velmora.dll")))
    target = os.path.join(out, f"Velmora-{version}.zip")
    temporary = target + ".part"
    names = []
    for folder, _, files in os.walk(stage):
        for name in files:
            names.append(os.path.relpath(os.path.join(folder, name), stage))
    # The DLL and the guide first, as a user opening the zip looks for them.
    order = {"Velmora.dll": 0, "Velmora.txt": 1, "THIRD-PARTY-NOTICES.txt": 2}
    names.sort(key=lambda n: (order.get(n, 3), n))
    when = stamp()
    with zipfile.ZipFile(temporary, "w", zipfile.ZIP_DEFLATED) as archive:
        for name in names:
            info = zipfile.ZipInfo(name.replace(os.sep, "/"), when)
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = 0o644 << 16
            with open(os.path.join(stage, name), "rb") as source:
                archive.writestr(info, source.read())
    os.replace(temporary, target)
    print(target)


if __name__ == "__main__":
    main()
