#!/usr/bin/env python3
"""Checks an unpacked release: its name carries the DLL's version, the guide is Shift_JIS with
CR LF line ends and names every caption the settings dialog shows, the notices and the guide's
pictures are there.
    check_package.py <repository root> <zip> <unpacked folder>
"""
import os
import re
import sys

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def dialog_captions(rc_path):
    """Every non-empty text of the settings dialog's resource, as the dialog shows it."""
    texts = []
    for line in open(rc_path, encoding="utf-8"):
        line = line.strip()
        if not re.match(r"(GROUPBOX|LTEXT|CONTROL|PUSHBUTTON|CAPTION)\b", line):
            continue
        match = re.search(r'"((?:[^"]|"")*)"', line)
        if match and match.group(1):
            texts.append(match.group(1).replace('""', '"'))
    return texts


def main():
    root, zip_path, unpacked = sys.argv[1:4]
    dll = os.path.join(unpacked, "Velmora.dll")
    data = open(dll, "rb").read()
    check(data[:2] == b"MZ", "Velmora.dll is not a Windows module")
    check(re.search(r"Velmora-\d+\.\d{3,}\.zip$", zip_path), f"zip name {zip_path}")

    raw = open(os.path.join(unpacked, "Velmora.txt"), "rb").read()
    try:
        guide = raw.decode("cp932")
    except UnicodeDecodeError as error:
        failures.append(f"Velmora.txt is not Shift_JIS: {error}")
        guide = raw.decode("cp932", "replace")
    check(raw.endswith(b"\r\n"), "Velmora.txt does not end with CR LF")
    check(raw.count(b"\n") == raw.count(b"\r\n") and raw.count(b"\r") == raw.count(b"\r\n"),
          "Velmora.txt has a line end other than CR LF")
    check(not raw.startswith(b"\xef\xbb\xbf"), "Velmora.txt starts with a UTF-8 byte order mark")

    captions = dialog_captions(os.path.join(root, "resources", "settings_dialog.rc"))
    check(len(captions) >= 30, f"only {len(captions)} captions read from the dialog resource")
    for caption in captions:
        if caption == "Ver.1.000":
            continue  # replaced by the version at start-up
        check(caption in guide, f"Velmora.txt does not name the setting caption {caption!r}")
    for key in ("LongFileName", "CrashReport", "WarningComposeThread", "OpenPath"):
        check(key in guide, f"Velmora.txt does not name the INI key {key}")

    notices = os.path.join(unpacked, "THIRD-PARTY-NOTICES.txt")
    check(os.path.isfile(notices), "THIRD-PARTY-NOTICES.txt is missing")
    if os.path.isfile(notices):
        text = open(notices, "rb").read().decode("ascii")
        for library in ("zlib", "libjpeg-turbo", "libdeflate", "Independent JPEG Group"):
            check(library in text, f"the notices do not name {library}")
        original = open(os.path.join(root, "THIRD-PARTY-NOTICES.txt"), "rb").read()
        check(text.replace("\r\n", "\n").encode() == original,
              "THIRD-PARTY-NOTICES.txt differs from the repository's")

    for picture in sorted(set(re.findall(r"images/[\w-]+\.png", guide))):
        check(os.path.isfile(os.path.join(unpacked, picture)), f"{picture} named but not packed")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("package checked:", os.path.basename(zip_path))


if __name__ == "__main__":
    main()
