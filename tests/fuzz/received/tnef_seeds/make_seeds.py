"""Writes structured seeds for the winmail.dat fuzz target (run by hand; the files are committed
beside this script): a forwarded message inside a forwarded message, each with a body and a file,
and attachments whose data is only in their property blocks, one an OLE object.

    python3 make_seeds.py
"""
import os
import struct


def record(level, ident, value):
    return (struct.pack("<BII", level, ident, len(value)) + value +
            struct.pack("<H", sum(value) & 0xFFFF))


def padded(data):
    return data + b"\0" * (-len(data) % 4)


def variable(ident, ptype, data):
    return struct.pack("<III", ident << 16 | ptype, 1, len(data)) + padded(data)


def long_value(ident, value):
    return struct.pack("<II", ident << 16 | 0x0003, value)


def block(*properties):
    return struct.pack("<I", len(properties)) + b"".join(properties)


IID_IMESSAGE = bytes.fromhex("0703020000000000c000000000000046")
IID_ISTORAGE = bytes.fromhex("0b00000000000000c000000000000046")
RENDERING = struct.pack("<HIHHI", 1, 0xFFFFFFFF, 0, 0, 0)


def stream(subject, records):
    out = struct.pack("<IH", 0x223E9F78, 1)
    out += record(1, 0x00089006, struct.pack("<I", 0x00010000))
    out += record(1, 0x00069007, struct.pack("<II", 932, 0))
    out += record(1, 0x00069003, block(variable(0x0037, 0x001E, subject + b"\0"),
                                       variable(0x1000, 0x001E, b"body of " + subject + b"\0")))
    return out + b"".join(records)


def forwarded(inner):
    return (record(2, 0x00069002, RENDERING) +
            record(2, 0x0006800F, b"placeholder") +
            record(2, 0x00069005, block(long_value(0x3705, 5),
                                        variable(0x3701, 0x000D, IID_IMESSAGE + inner))))


def file(name, data):
    return (record(2, 0x00069002, RENDERING) + record(2, 0x00018010, name + b"\0") +
            record(2, 0x0006800F, data))


here = os.path.dirname(os.path.abspath(__file__))
inner = stream(b"inner", [file(b"inner.txt", b"inner file")])
middle = stream(b"middle", [file(b"middle.txt", b"middle file"), forwarded(inner)])
with open(os.path.join(here, "forwarded.tnef"), "wb") as f:
    f.write(stream(b"outer", [forwarded(middle), file(b"outer.txt", b"outer file")]))
with open(os.path.join(here, "property-blocks.tnef"), "wb") as f:
    f.write(stream(b"blocks", [
        record(2, 0x00069002, RENDERING) +
        record(2, 0x00069005, block(variable(0x3707, 0x001E, b"doc.doc\0"),
                                    variable(0x3701, 0x0102, b"DOC data"))),
        record(2, 0x00069002, RENDERING) +
        record(2, 0x00069005, block(long_value(0x3705, 6),
                                    variable(0x3701, 0x000D, IID_ISTORAGE + b"OLE data"))),
    ]))
