"""Archive listings in a transcript ("docs in docs.zip\\t(36kByte -> 2574Byte)") give the packed
size as the archiver made it, which moves with the archiver's deflate. This checks every listed
size against the archive the scenario left below the work folder's Temp folder (each archive
is made in a work folder of its own there), and prints the transcript with those sizes masked,
for comparing with the expected one.

    listed_sizes.py <work folder>
"""
import os
import re
import sys

LISTING = re.compile(r' in ([^"\\]+?)\\t\(([0-9]+[kMG]?Byte) -> ([0-9]+[kMG]?Byte)\)')
MASK = "<archive size>"


def format_size(n):
    """The plug-in's size text: Byte, then kByte, MByte, GByte past ten of the next unit."""
    unit = "Byte"
    if n // 1024 + 1 > 10:
        n, unit = n // 1024 + 1, "kByte"
        if n // 1024 + 1 > 10:
            n, unit = n // 1024, "MByte"
            if n // 1024 > 10:
                n, unit = n // 1024 + 1, "GByte"
    return "%d%s" % (n, unit)


def main(work):
    with open(os.path.join(work, "transcript.txt"), encoding="utf-8") as f:
        transcript = f.read()
    wrong = []

    archives = {}
    for folder, _, files in os.walk(os.path.join(work, "Temp")):
        for name in files:
            archives.setdefault(name, []).append(os.path.getsize(os.path.join(folder, name)))

    def mask(match):
        archive, packed = match.group(1), match.group(3)
        sizes = archives.get(archive, [])
        if not sizes:
            wrong.append("%s is listed but not in Temp" % archive)
        elif packed not in [format_size(size) for size in sizes]:
            wrong.append("%s is listed as %s but has %s bytes" %
                         (archive, packed, " or ".join(str(size) for size in sizes)))
        return " in %s\\t(%s -> %s)" % (archive, match.group(2), MASK)

    masked = LISTING.sub(mask, transcript)
    if wrong:
        for line in sorted(set(wrong)):
            print("listed size: " + line, file=sys.stderr)
        sys.exit(1)
    sys.stdout.write(masked)


if __name__ == "__main__":
    main(sys.argv[1])
