"""Checks of stored messages after the received-mail rewrites, with an independent MIME parser.

    received_mail_check.py winmail <work folder> <id> [peer]
    received_mail_check.py unchanged <work folder> <id>
    received_mail_check.py added <work folder> <id> <original .eml> <added file>...
"""
import email
import glob
import email.policy
import hashlib
import os
import subprocess
import sys
import tempfile

BOUNDARY_PREFIX = b"--"


def fail(text):
    print("check failed: " + text)
    sys.exit(1)


def lines(data):
    return data.replace(b"\r\n", b"\n").replace(b"\r", b"\n").split(b"\n")


def parse(path):
    with open(path, "rb") as f:
        data = f.read()
    message = email.message_from_bytes(data, policy=email.policy.compat32)
    if message.defects:
        fail("%s: parser reports %s" % (path, message.defects))
    for part in message.walk():
        if part.defects:
            fail("%s: part %s has defects %s" % (path, part.get_content_type(), part.defects))
    return data, message


def keeps_lines(before, after, may_go):
    """Every line of before is in after, in order, but those may_go lets go."""
    j = 0
    after_lines = lines(after)
    for line in lines(before):
        try:
            j = after_lines.index(line, j) + 1
        except ValueError:
            if not may_go(line):
                fail("line lost: %r" % line)


HERE = os.path.dirname(os.path.abspath(__file__))
TESTDATA = os.environ.get("VELMORA_TESTDATA") or os.path.join(HERE, "..", "..", "..", "..",
                                                               "shared", "testdata")


def published_digests():
    """Every file digest that other decoders' suites publish for the real samples."""
    digests = set()
    for path in glob.glob(os.path.join(TESTDATA, "tnef-expected", "*", "EXPECTED*.sha256")):
        for line in open(path, encoding="utf-8", errors="replace"):
            fields = line.split()
            if fields and len(fields[0]) == 64:
                digests.add(fields[0])
    return digests


def text_bytes(part):
    body = part.get_payload(decode=True) or b""
    return body.replace(b"\r\n", b"\n") if part.get_content_maintype() == "text" else body


def former_parts_unchanged(original, message):
    """The parts of the message as received come first, each decoding as it did (a text part's
    line breaks are the store's)."""
    before = [p for p in email.message_from_bytes(original, policy=email.policy.compat32).walk()
              if not p.is_multipart()]
    after = [p for p in message.walk() if not p.is_multipart()]
    if len(after) < len(before):
        fail("%d parts where the message as received had %d" % (len(after), len(before)))
    for old, new in zip(before, after):
        if old.get_content_type() != new.get_content_type() or text_bytes(old) != text_bytes(new):
            fail("former part %s decodes differently" % old.get_content_type())
    return after[len(before):]


def no_work_files(work):
    left = [os.path.join(d, n) for d, _, names in os.walk(os.path.join(work, "Temp")) for n in names]
    if left:
        fail("files left in the temporary folder: %s" % left)


def winmail(work, mail, peer_check):
    path = os.path.join(work, "Store", mail + ".eml")
    data, message = parse(path)
    with open(path + ".original", "rb") as f:
        original = f.read()
    closing = [l for l in lines(original) if l.startswith(b"--") and l.endswith(b"--")]
    keeps_lines(original, data, lambda l: l in closing)
    data_lines = lines(data)
    if data_lines.count(closing[-1]) != 1 or data_lines[-2] != closing[-1]:
        fail("closing delimiter not once at the end")
    new_parts = former_parts_unchanged(original, message)
    tnef = [p for p in message.walk() if p.get_content_type() == "application/ms-tnef"]
    if len(tnef) != 1:
        fail("winmail.dat part missing")
    # What the tnef program extracts from the same winmail.dat; it follows embedded messages,
    # which the decoder does not, so a part of ours must be among its files or among those the
    # other decoders' suites publish; with "peer" the two sets must be equal.
    with tempfile.TemporaryDirectory() as peer:
        winmail_dat = os.path.join(peer, "winmail.dat")
        with open(winmail_dat, "wb") as f:
            f.write(tnef[0].get_payload(decode=True))
        out = os.path.join(peer, "out")
        os.mkdir(out)
        subprocess.run(["tnef", "--number-backups", "-C", out, "-f", winmail_dat], check=True)
        peer_files = sorted(hashlib.sha256(open(os.path.join(out, n), "rb").read()).hexdigest()
                            for n in os.listdir(out))
    ours = []
    published = published_digests()
    for part in new_parts:
        body = part.get_payload(decode=True)
        digest = hashlib.sha256(body).hexdigest()
        if digest not in peer_files and digest not in published:
            fail("part %s is none of the files tnef extracts or others publish" % part.get_filename())
        ours.append(digest)
        print("part %s %s %d bytes" % (part.get_filename(), part.get_content_type(), len(body)))
    if peer_check and sorted(ours) != peer_files:
        fail("parts differ from what tnef extracts: %d against %d files" % (len(ours), len(peer_files)))
    no_work_files(work)
    print("winmail check: %d new parts, former parts as received, each new one a known file%s,"
          " no work file left" % (len(ours), " and all of them" if peer_check else ""))


def unchanged(work, mail):
    path = os.path.join(work, "Store", mail + ".eml")
    with open(path, "rb") as f, open(path + ".original", "rb") as g:
        if f.read() != g.read():
            fail("%s changed" % mail)
    parse(path)
    print("unchanged check: %s is as it came and parses" % mail)


def added(work, mail, original_path, files):
    path = os.path.join(work, "Store", mail + ".eml")
    data, message = parse(path)
    if message.get_content_type() != "multipart/mixed":
        fail("not multipart/mixed: " + message.get_content_type())
    with open(original_path, "rb") as f:
        original = f.read()
    parts = [p for p in message.walk() if not p.is_multipart()]
    # The old body is intact: the parts of the original come first, with the same payloads.
    before = [p for p in email.message_from_bytes(original, policy=email.policy.compat32).walk()
              if not p.is_multipart()]
    if len(parts) != len(before) + len(files):
        fail("%d parts: %d old ones and %d added files expected" % (len(parts), len(before), len(files)))
    for old, new in zip(before, parts):
        if old.get_payload() != new.get_payload():
            fail("old body changed: %r became %r" % (old.get_payload(), new.get_payload()))
        # A part without a charset is us-ascii (RFC 2045); a conversion may say so.
        if old.get_content_type() != new.get_content_type() or \
                (old.get_content_charset() or "us-ascii") != (new.get_content_charset() or "us-ascii"):
            fail("old body's type changed")
    for part, name in zip(parts[len(before):], files):
        if not part.get_filename():
            fail("added part %s has no file name" % part.get_content_type())
        with open(os.path.join(work, name.replace("\\", os.sep)), "rb") as f:
            if part.get_payload(decode=True) != f.read():
                fail("part %s differs from %s" % (part.get_filename(), name))
        print("part %s %s %d bytes" % (part.get_filename(), part.get_content_type(),
                                       len(part.get_payload(decode=True))))
    print("add check: %s parses, first part charset %s, %d files attached as added" %
          (mail, parts[0].get_content_charset(), len(files)))


if __name__ == "__main__":
    if sys.argv[1] == "winmail":
        winmail(sys.argv[2], sys.argv[3], sys.argv[4:] == ["peer"])
    elif sys.argv[1] == "unchanged":
        unchanged(sys.argv[2], sys.argv[3])
    else:
        added(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5:])
