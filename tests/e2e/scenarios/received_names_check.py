"""Checks the winmail_long_names scenario: every expanded message parses with Python's email
package and keeps its former lines; each new part carries the expected long name (in the code
page's best-fit form where code page 932 lacks a character) and the content other decoders publish
for it; nothing stays in the work folder.

    received_names_check.py <work folder>
"""
import glob
import hashlib
import os
import re
import sys
import unicodedata

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from received_mail_check import fail, keeps_lines, leaves, lines, parse  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))
TESTDATA = os.environ.get("VELMORA_TESTDATA") or os.path.join(HERE, "..", "..", "..", "..",
                                                               "shared", "testdata")

EXPECTED = {
    "s1": ["zappa_av1.jpg", "bookmark.htm"],
    "s2": ["zappa_av1.jpg", "bookmark.htm"],
    "s3": ["kitten-playing-with-a-christmas-tree.jpg", "Build a train table.eml",
           "Christmas Celebration!.eml"],
    "s4": ["allproductsmar2000.dat"],
    "s5": ["208225__5_seconds__Voice_Mail.mp3"],
    "s6": ["208225 (5 seconds) Voice Mail.mp3"],
    "s7": ["quick.doc", "quick.html", "quick.pdf", "quick.txt", "quick.xml"],
    "s8": ["d\u00f6cument.pdf"],
    "s9": ["TBZ PARIV GmbH.jpg", "image003.jpg", "UmlautAnhang-\u00e4\u00fc\u00f6.txt"],
    "g1": ["D\u00f6kument.pdf", "\u5831\u544a\u66f8_2024\u5e74\u5ea6.xlsx", "\u00e4.txt",
           "\u00c4 (2).txt", "attachment5"],
    "g2": ["2017.03.26 \u041e\u0442\u0447\u0451\u0442-2.docx"],
}
# What the generator wrote (make_tnef.py), and the types the parts must carry.
GENERATED = {
    ("g1", 0): b"%PDF-1.4 Dokument\n",
    ("g1", 1): b"PK\x03\x04 sheet",
    ("g1", 2): b"lower-case a umlaut\n",
    ("g1", 3): b"upper-case A umlaut\n",
    ("g1", 4): b"\x00\x01\x02 binary without a name",
    ("g2", 0): b"\xd0\xcf\x11\xe0 report",
}
TYPES = {("g1", 4): "application/octet-stream", ("s1", 0): "image/jpeg"}
# Names whose content the published lists give under another spelling; names they give for files
# of several samples ("Untitled Attachment") are not looked up by name.
ALIASES = {"208225 (5 seconds) Voice Mail.mp3": "208225_(5_seconds)_Voice_Mail.mp3"}
NOT_BY_NAME = {"Untitled Attachment", "Untitled Attachment (2)", "KITTEN~1.JPG"}


def published():
    """Digests by file name from every published list."""
    digests = {}
    for path in glob.glob(os.path.join(TESTDATA, "tnef-expected", "*", "EXPECTED*.sha256")):
        for line in open(path, encoding="utf-8", errors="replace"):
            fields = line.split(None, 2)
            if len(fields) < 3 or len(fields[0]) != 64:
                continue
            name = os.path.basename(fields[2].strip())
            if name.endswith(".baseline"):
                name = name[: -len(".baseline")]
            digests.setdefault(name, set()).add(fields[0])
    return digests


def fitted(name):
    """The forms a name may take in code page 932: each character it lacks in its best-fit form
    (the letter without its accent) or as '_'."""
    forms = [""]
    for c in name:
        try:
            c.encode("cp932")
            options = [c]
        except UnicodeEncodeError:
            base = "".join(b for b in unicodedata.normalize("NFKD", c) if not unicodedata.combining(b))
            options = sorted({base, "_"}) if base else ["_"]
        forms = [f + o for f in forms for o in options]
    return forms


def main(work):
    digests = published()
    leftovers = [p for p in glob.glob(os.path.join(work, "Temp", "**"), recursive=True)
                 if os.path.isfile(p)]
    if leftovers:
        fail("files left in the temporary folder: %s" % leftovers)
    for mail, names in EXPECTED.items():
        path = os.path.join(work, "Store", mail + ".eml")
        data, message = parse(path)
        with open(path + ".original", "rb") as f:
            original = f.read()
        closing = [l for l in lines(original) if l.startswith(b"--") and l.endswith(b"--")]
        keeps_lines(original, data, lambda l: l in closing)
        parts = leaves(message)
        tnef = [i for i, p in enumerate(parts) if p.get_content_type() == "application/ms-tnef"]
        new = parts[tnef[0] + 1:]
        # The names as the stored bytes spell them in code page 932 (the parser would replace
        # what it cannot read as ASCII): the filename parameters of the new parts, in order.
        raw_names = re.findall(rb'\tfilename="([^"]*)"', data)[-len(new):] if new else []
        # The message body (message.rtf, .html, .txt) is no attachment of the sender's.
        named = [(part, raw.decode("cp932")) for part, raw in zip(new, raw_names)
                 if not raw.startswith(b"message.")]
        got = []
        for i, (part, name) in enumerate(named):
            body = part.get_payload(decode=True)
            got.append(name)
            if i >= len(names) or name not in fitted(names[i]):
                fail("%s part %d is named %r, expected %r" % (mail, i, name, names[i:i + 1]))
            if (mail, i) in GENERATED and body != GENERATED[(mail, i)]:
                fail("%s part %d differs from the generated file" % (mail, i))
            lookup = ALIASES.get(names[i], names[i])
            if lookup in digests and names[i] not in NOT_BY_NAME and \
                    hashlib.sha256(body).hexdigest() not in digests[lookup]:
                fail("%s part %s is none of the published files of that name" % (mail, name))
            if (mail, i) in TYPES and part.get_content_type() != TYPES[(mail, i)]:
                fail("%s part %s has type %s" % (mail, name, part.get_content_type()))
        if len(got) != len(names):
            fail("%s has %d new parts, expected %d" % (mail, len(got), len(names)))
        print("%s: %s" % (mail, " | ".join(got)))
    print("names check: %d messages, every new part named and filled as published" % len(EXPECTED))


if __name__ == "__main__":
    main(sys.argv[1])
