#!/usr/bin/env python3
"""Checks an unpacked release: its name carries the DLL's version, the guide is Shift_JIS with
CR LF line ends, has a heading for every entry of its table of contents, the sections a plug-in's
readme carries and the licence, and names every caption the settings dialog shows; the licence,
the notices and the guide's pictures are there.
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


# Sections a user looks for in a plug-in's readme, by the titles the guide gives them.
REQUIRED_SECTIONS = ("動作環境", "インストール", "アンインストール", "エラーが出たとき", "制限事項",
                     "免責", "更新履歴", "著作権とライセンス")
RULE = "━"


def contents_and_headings(guide):
    """The numbered entries of the table of contents, and the numbered headings of the sections
    (the line after a rule line), each as (number, title)."""
    lines = guide.splitlines()
    entry = re.compile(r"\s*(\d+)\. (\S.*?)\s*$")
    contents = []
    if "■ 目次" in lines:
        for line in lines[lines.index("■ 目次") + 1:]:
            if line.strip() and not entry.match(line):
                break
            if entry.match(line):
                contents.append(entry.match(line).groups())
    headings = [entry.match(following).groups()
                for line, following in zip(lines, lines[1:])
                if line.startswith(RULE) and entry.match(following)]
    return contents, headings


def check_text_file(unpacked, root, packed_name, source_name):
    """A text file of the repository packed with CR LF line ends; its text, or None."""
    path = os.path.join(unpacked, packed_name)
    check(os.path.isfile(path), f"{packed_name} is missing")
    if not os.path.isfile(path):
        return None
    text = open(path, "rb").read().decode("ascii")
    original = open(os.path.join(root, source_name), "rb").read()
    check(text.replace("\r\n", "\n").encode() == original,
          f"{packed_name} differs from the repository's {source_name}")
    check("\n" not in text.replace("\r\n", ""), f"{packed_name} has a line end other than CR LF")
    return text


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
    for key in ("LongFileName", "TnefBody", "CrashReport", "WarningComposeThread", "OpenPath"):
        check(key in guide, f"Velmora.txt does not name the INI key {key}")

    contents, headings = contents_and_headings(guide)
    check(contents and contents == headings,
          f"Velmora.txt: table of contents {contents} and section headings {headings} differ")
    titles = [title for _, title in headings]
    for section in REQUIRED_SECTIONS:
        check(section in titles, f"Velmora.txt has no section {section}")
    for mention in ("Copyright (c) 2026 Velmora developers", "MIT ライセンスで配布", "LICENSE.txt"):
        check(mention in guide, f"Velmora.txt does not carry the licence mention {mention!r}")

    licence = check_text_file(unpacked, root, "LICENSE.txt", "LICENSE")
    if licence is not None:
        for mention in ("MIT License", "Copyright (c) 2026 Velmora developers"):
            check(mention in licence, f"LICENSE.txt does not say {mention!r}")

    notices = check_text_file(unpacked, root, "THIRD-PARTY-NOTICES.txt", "THIRD-PARTY-NOTICES.txt")
    if notices is not None:
        for library in ("zlib", "libjpeg-turbo", "libdeflate", "Independent JPEG Group"):
            check(library in notices, f"the notices do not name {library}")

    for picture in sorted(set(re.findall(r"images/[\w-]+\.png", guide))):
        check(os.path.isfile(os.path.join(unpacked, picture)), f"{picture} named but not packed")

    for failure in failures:
        print("FAIL:", failure)
    if failures:
        sys.exit(1)
    print("package checked:", os.path.basename(zip_path))


if __name__ == "__main__":
    main()
