"""Reads a ZIP archive's records with struct alone, independent of any ZIP library.

parse(data) -> Archive with the local headers in file order, the central records in
directory order and the end record, or raises ValueError for a layout it cannot follow.
"""

import struct
from dataclasses import dataclass, field

LOCAL = struct.Struct("<IHHHHHIIIHH")
CENTRAL = struct.Struct("<IHHHHHHIIIHHHHHII")
END = struct.Struct("<IHHHHIIH")


@dataclass
class Local:
    offset: int
    version_needed: int
    flags: int
    method: int
    time: int
    date: int
    crc: int
    packed_size: int
    size: int
    name: bytes
    extra: bytes
    data_end: int


@dataclass
class Central:
    version_made_by: int
    version_needed: int
    flags: int
    method: int
    time: int
    date: int
    crc: int
    packed_size: int
    size: int
    disk: int
    internal: int
    external: int
    offset: int
    name: bytes
    extra: bytes
    comment: bytes


@dataclass
class Archive:
    locals: list = field(default_factory=list)
    centrals: list = field(default_factory=list)
    entries: int = 0
    directory_offset: int = 0
    directory_size: int = 0
    comment: bytes = b""
    trailing: int = 0  # bytes after the end record


def parse(data):
    archive = Archive()
    end = data.rfind(b"PK\x05\x06")
    if end < 0 or end + END.size > len(data):
        raise ValueError("no end-of-central-directory record")
    sig, disk, cd_disk, here, total, cd_size, cd_offset, comment_length = END.unpack_from(data, end)
    archive.entries = total
    archive.directory_offset = cd_offset
    archive.directory_size = cd_size
    archive.comment = data[end + END.size:end + END.size + comment_length]
    archive.trailing = len(data) - (end + END.size + comment_length)
    if here != total or disk or cd_disk:
        raise ValueError("multi-disk archive")
    offset = cd_offset
    for _ in range(total):
        fields = CENTRAL.unpack_from(data, offset)
        if fields[0] != 0x02014B50:
            raise ValueError(f"no central record at {offset}")
        name_length, extra_length, comment_length = fields[10], fields[11], fields[12]
        start = offset + CENTRAL.size
        archive.centrals.append(Central(
            version_made_by=fields[1], version_needed=fields[2], flags=fields[3], method=fields[4],
            time=fields[5], date=fields[6], crc=fields[7], packed_size=fields[8], size=fields[9],
            disk=fields[13], internal=fields[14], external=fields[15], offset=fields[16],
            name=data[start:start + name_length],
            extra=data[start + name_length:start + name_length + extra_length],
            comment=data[start + name_length + extra_length:
                         start + name_length + extra_length + comment_length]))
        offset = start + name_length + extra_length + comment_length
    if offset != cd_offset + cd_size:
        raise ValueError("central directory size does not match its records")
    # Local headers, walked from offset 0 one after the other.
    offset = 0
    while offset < cd_offset:
        fields = LOCAL.unpack_from(data, offset)
        if fields[0] != 0x04034B50:
            raise ValueError(f"no local header at {offset}")
        name_length, extra_length = fields[9], fields[10]
        start = offset + LOCAL.size
        data_end = start + name_length + extra_length + fields[7]
        archive.locals.append(Local(
            offset=offset, version_needed=fields[1], flags=fields[2], method=fields[3],
            time=fields[4], date=fields[5], crc=fields[6], packed_size=fields[7], size=fields[8],
            name=data[start:start + name_length],
            extra=data[start + name_length:start + name_length + extra_length], data_end=data_end))
        offset = data_end
    if offset != cd_offset:
        raise ValueError("local entries do not end where the central directory starts")
    return archive


def extra_fields(extra):
    """[(id, data)] of an extra-field block."""
    fields = []
    i = 0
    while i + 4 <= len(extra):
        tag, size = struct.unpack_from("<HH", extra, i)
        fields.append((tag, extra[i + 4:i + 4 + size]))
        i += 4 + size
    if i != len(extra):
        raise ValueError("extra field block ends inside a field")
    return fields


def dos_time(date, time):
    """(year, month, day, hour, minute, second) of a DOS date and time."""
    return ((date >> 9) + 1980, (date >> 5) & 15, date & 31, time >> 11, (time >> 5) & 63, (time & 31) * 2)
