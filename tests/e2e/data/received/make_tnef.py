"""Writes the generated winmail.dat files of the received-mail scenarios (run by hand when they
change; the files are committed beside this script).

    python3 make_tnef.py
"""
import base64
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


# A body only Outlook's RTF carries: HTML wrapped in RTF from a Japanese Outlook (code page 932,
# a font of charset 128, two \'xx that form one character, \uN with its fallback skipped), kept
# uncompressed ("MELA"); and one attachment. only-winmail.eml is a message that is nothing but
# that winmail.dat, without X-MS-TNEF-Correlator.
rtf = (rb"{\rtf1\ansi\ansicpg932\fromhtml1 \deff0{\fonttbl{\f0\fswiss\fcharset128 MS PGothic;}}"
       rb"{\*\htmltag19 <html>}{\*\htmltag50 <body>}{\*\htmltag64 <p>}"
       rb"\htmlrtf {\f0 \htmlrtf0 \'93\'fa\'96\'7b\'8c\'ea\uc1\u12354?\htmlrtf }\htmlrtf0 "
       rb"{\*\htmltag72 </p>}{\*\htmltag58 </body>}{\*\htmltag27 </html>}}")
compressed = struct.pack("<IIII", len(rtf) + 12, len(rtf), 0x414C454D, 0) + rtf
message_properties = block(struct.pack("<III", 0x10090102, 1, len(compressed)) + padded(compressed))
japanese = tnef(932, [(b"REPORT.TXT", "報告書です。\r\n".encode("cp932"),
                       block(long_name_unicode("報告書.txt")))])
japanese += record(1, 0x00069003, message_properties)
with open(os.path.join(here, "japanese-body.tnef"), "wb") as f:
    f.write(japanese)
encoded = base64.encodebytes(japanese).replace(b"\n", b"\r\n")
with open(os.path.join(here, "only-winmail.eml"), "wb") as f:
    f.write(b"From: sender@example.com\r\nTo: user@example.jp\r\nSubject: only winmail\r\n"
            b"MIME-Version: 1.0\r\nContent-Type: application/ms-tnef; name=\"winmail.dat\"\r\n"
            b"Content-Transfer-Encoding: base64\r\n"
            b"Content-Disposition: attachment; filename=\"winmail.dat\"\r\n\r\n" + encoded)
