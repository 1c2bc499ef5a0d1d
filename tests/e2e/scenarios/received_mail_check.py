"""Checks of stored messages after the received-mail rewrites, with an independent MIME parser.

    received_mail_check.py winmail <work folder> <id> [peer]
    received_mail_check.py unchanged <work folder> <id>
    received_mail_check.py added <work folder> <id> <original .eml> <added file>...
"""
import email
import email.header
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


def leaves(message):
    """The parts that hold a body, a forwarded message counted as one."""
    if message.get_content_type() == "message/rfc822" or not message.is_multipart():
        return [message]
    return [leaf for part in message.get_payload() for leaf in leaves(part)]


def former_parts_unchanged(original, message):
    """The parts of the message as received come first, each decoding as it did (a text part's
    line breaks are the store's)."""
    before = leaves(email.message_from_bytes(original, policy=email.policy.compat32))
    after = leaves(message)
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
    while data_lines and data_lines[-1] == b"":  # the empty lines after the delimiter, if any
        data_lines.pop()
    if data_lines.count(closing[-1]) != 1 or data_lines[-1] != closing[-1]:
        fail("closing delimiter not once at the end")
    new_parts = former_parts_unchanged(original, message)
    tnef = [p for p in message.walk() if p.get_content_type() == "application/ms-tnef"]
    if len(tnef) != 1:
        fail("winmail.dat part missing")
    # What the tnef program extracts from the same winmail.dat, its body too. It pulls files up
    # out of forwarded messages, which the decoder keeps inside them: a file part of ours must be
    # among tnef's files or among those the other decoders' suites publish; with "peer" the two
    # sets of files must be equal. A forwarded message must parse as one, every file in it a known
    # one; a body is tnef's or, where we unwrap it from its RTF, must decode in its charset.
    with tempfile.TemporaryDirectory() as peer:
        winmail_dat = os.path.join(peer, "winmail.dat")
        with open(winmail_dat, "wb") as f:
            f.write(tnef[0].get_payload(decode=True))
        out = os.path.join(peer, "out")
        os.mkdir(out)
        subprocess.run(["tnef", "--number-backups", "--save-body", "-C", out, "-f", winmail_dat],
                       check=True)
        peer_files, peer_bodies = [], []
        for n in os.listdir(out):
            digest = hashlib.sha256(open(os.path.join(out, n), "rb").read()).hexdigest()
            (peer_bodies if n.startswith("message.") else peer_files).append(digest)
        peer_files.sort()
    published = published_digests()
    known = set(peer_files) | set(peer_bodies) | published
    ours = []
    for part in new_parts:
        name = part.get_filename() or ""
        if any(b"MAPI 1.0 embedded message" in (sub.get_payload(decode=True) or b"")
               for sub in part.walk() if not sub.is_multipart()):
            fail("part %s carries Outlook's placeholder for a forwarded message" % name)
        if part.get_content_type() == "message/rfc822":
            forwarded(part, known)
            continue
        body = part.get_payload(decode=True)
        digest = hashlib.sha256(body).hexdigest()
        if name.startswith("message.") and digest not in known:
            body.decode(part.get_content_charset() or "us-ascii")
            print("part %s %s %d bytes, unwrapped here" % (name, part.get_content_type(), len(body)))
            continue
        if digest not in known:
            fail("part %s is none of the files tnef extracts or others publish" % name)
        if not name.startswith("message."):
            ours.append(digest)
        print("part %s %s %d bytes" % (name, part.get_content_type(), len(body)))
    if peer_check and sorted(ours) != peer_files:
        fail("parts differ from what tnef extracts: %d against %d files" % (len(ours), len(peer_files)))
    no_work_files(work)
    print("winmail check: %d new parts, former parts as received, each new one a known file%s,"
          " no work file left" % (len(ours), " and all of them" if peer_check else ""))


def forwarded(part, known):
    """A forwarded message: it parses as a message with a subject, and every file in it is known."""
    inner = part.get_payload()
    if not isinstance(inner, list) or len(inner) != 1:
        fail("forwarded part %s holds no message" % part.get_filename())
    message = inner[0]
    if message.defects or message["Subject"] is None:
        fail("forwarded message %s: defects %s" % (part.get_filename(), message.defects))
    files = 0
    for sub in message.walk():
        if sub.is_multipart() or sub.get_content_type() == "message/rfc822":
            continue
        body = sub.get_payload(decode=True)
        if sub.get_filename() and not sub.get_filename().startswith("message."):
            if hashlib.sha256(body).hexdigest() not in known:
                fail("file %s in %s is unknown" % (sub.get_filename(), part.get_filename()))
            files += 1
        else:
            body.decode(sub.get_content_charset() or "us-ascii")
    print("part %s message/rfc822: %s, %d files inside" %
          (part.get_filename(), str(email.header.make_header(email.header.decode_header(
              message["Subject"]))), files))


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
