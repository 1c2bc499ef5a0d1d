"""Writes the generated winmail.dat files of the received-mail scenarios (run by hand when they
change; the files are committed beside this script).

    python3 make_tnef.py
"""
import os
import struct


def record(level, ident, value):
    return (struct.pack("<BII", level, ident, len(value)) + value +
            struct.pack("<H", sum(value) & 0xFFFF))


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def text_property(ident, ptype, data):
    return struct.pack("<III", ident << 16 | ptype, 1, len(data)) + padded(data)


def long_name_unicode(name):
    return text_property(0x3707, 0x001F, name.encode("utf-16-le") + b"\0\0")


def long_name_8bit(name, codec):
    return text_property(0x3707, 0x001E, name.encode(codec) + b"\0")


def block(*properties):
    return struct.pack("<I", len(properties)) + b"".join(properties)


def tnef(code_page, attachments):
    out = struct.pack("<IH", 0x223E9F78, 1)
    out += record(1, 0x00089006, struct.pack("<I", 0x00010000))
    out += record(1, 0x00069007, struct.pack("<II", code_page, 0))
    rendering = struct.pack("<HIHHI", 1, 0xFFFFFFFF, 0, 0, 0)
    for title, data, properties in attachments:
        out += record(2, 0x00069002, rendering)
        if title is not None:
            out += record(2, 0x00018010, title + b"\0")
        out += record(2, 0x0006800F, data)
        if properties is not None:
            out += record(2, 0x00069005, properties)
    return out


here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, "long-names.tnef"), "wb") as f:
    f.write(tnef(1252, [
        (b"DKUMEN~1.PDF", b"%PDF-1.4 Dokument\n", block(long_name_unicode("D\u00f6kument.pdf"))),
        (b"2024~1.XLS", b"PK\x03\x04 sheet", block(long_name_unicode("\u5831\u544a\u66f8_2024\u5e74\u5ea6.xlsx"))),
        (b"A~1.TXT", b"lower-case a umlaut\n", block(long_name_unicode("\u00e4.txt"))),
        (b"A~2.TXT", b"upper-case A umlaut\n", block(long_name_unicode("\u00c4.txt"))),
        (None, b"\x00\x01\x02 binary without a name", None),
    ]))
with open(os.path.join(here, "cyrillic-1251.tnef"), "wb") as f:
    f.write(tnef(1251, [
        (b"201703~1.doc", b"\xd0\xcf\x11\xe0 report",
         block(long_name_8bit("2017.03.26 \u041e\u0442\u0447\u0451\u0442-2.docx", "cp1251"))),
    ]))
# Names that differ but meet in code page 932 (best-fit forms, characters it lacks), and a name
# whose best-fit form is a device.
with open(os.path.join(here, "code-page-names.tnef"), "wb") as f:
    f.write(tnef(1252, [
        (b"RESUME~1.PDF", b"%PDF-1.4 accented\n", block(long_name_unicode("R\u00e9sum\u00e9.pdf"))),
        (b"RESUME~2.PDF", b"%PDF-1.4 plain\n", block(long_name_unicode("Resume.pdf"))),
        (b"THAI1.TXT", b"first Thai name\n", block(long_name_unicode("\u0e01\u0e02.txt"))),
        (b"THAI2.TXT", b"second Thai name\n", block(long_name_unicode("\u0e04\u0e07.txt"))),
        (b"COM1~1.TXT", b"not a port\n", block(long_name_unicode("COM\u00b9.txt"))),
    ]))
# Data records inside data records' values, each claiming the rest of the file: 15 KB that
# would give megabytes of attachments.
with open(os.path.join(here, "amplified.tnef"), "wb") as f:
    inner = b"x" * 8192
    for _ in range(600):
        inner = struct.pack("<BII", 2, 0x0006800F, len(inner)) + inner
    f.write(struct.pack("<IH", 0x223E9F78, 1) + inner)
# More attachments than anyone sends.
with open(os.path.join(here, "many-attachments.tnef"), "wb") as f:
    f.write(tnef(1252, [(b"A.TXT", b"", None)] * 1001))

