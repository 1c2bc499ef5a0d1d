"""Checks of stored messages after the received-mail rewrites, with an independent MIME parser.

    received_mail_check.py winmail <work folder> <id> [peer]
    received_mail_check.py added <work folder> <id> <original .eml> <added file>...
"""
import email
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
    parts = [p for p in message.walk() if not p.is_multipart()]
    tnef = [p for p in parts if p.get_content_type() == "application/ms-tnef"]
    if len(tnef) != 1:
        fail("winmail.dat part missing")
    new_parts = parts[parts.index(tnef[0]) + 1:]
    decoder = os.path.join(work, "Temp", "Velmra")
    written = os.listdir(decoder)
    if len(new_parts) != len(written):
        fail("%d new parts for the decoder's %d files" % (len(new_parts), len(written)))
    # tnef follows embedded messages, which the decoder does not: compare only where asked.
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
    for part in new_parts:
        name = part.get_filename()
        body = part.get_payload(decode=True)
        with open(os.path.join(decoder, name), "rb") as f:
            if f.read() != body:
                fail("part %s differs from the decoder's file" % name)
        ours.append(hashlib.sha256(body).hexdigest())
        print("part %s %s %d bytes" % (name, part.get_content_type(), len(body)))
    if peer_check and sorted(ours) != peer_files:
        fail("parts differ from what tnef extracts: %d against %d files" % (len(ours), len(peer_files)))
    print("winmail check: %d new parts, each equal to the decoder's file%s" %
          (len(ours), " and to tnef's" if peer_check else ""))


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
        if old.get_content_type() != new.get_content_type() or \
                old.get_content_charset() != new.get_content_charset():
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
    else:
        added(sys.argv[2], sys.argv[3], sys.argv[4], sys.argv[5:])
