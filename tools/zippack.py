#!/usr/bin/env python3
"""Packs a folder tree into one ZIP archive in the installer's payload form.

    zippack.py SOURCE_FOLDER OUTPUT.zip [--manifest FILE]
    zippack.py SOURCE_FOLDER --write-manifest FILE

The archive holds every folder (as its own entry, before anything inside it) and every file
below SOURCE_FOLDER, named relative to it with "/" separators. Layout: local header and data
of each entry from offset 0, in central-directory order, then the central directory, then
the end record with an empty comment. Flags 0 everywhere (no data descriptors, no
encryption, no UTF-8 flag), no ZIP64. Non-empty files are deflated (method 8, level 9),
folders and empty files stored. Each central record carries one NTFS time extra field
(0x000a) with the write, access and creation times; local headers carry no extra field.

Order and times: without a manifest, entries are ordered folder by folder, each folder's
children sorted by their upper-cased names (as Windows lists a folder), and all three times
of an entry are its modification time (access times change when files are read and Linux
keeps no creation time, so neither would give reproducible output). With --manifest, the
manifest fixes the order and the three times of every entry; it must list exactly the
entries of the tree. A manifest is a UTF-8 text file, one entry a line:

    WRITE<TAB>ACCESS<TAB>CREATION<TAB>NAME

with times as "YYYY-MM-DD HH:MM:SS" (UTC) and folder names ending in "/". Blank lines and
lines starting with "#" are ignored. --write-manifest writes one from the tree as it is.

All times are taken as UTC, for the DOS time stamps as well, so that the same tree and
times give the same bytes on every machine. Any fault (missing or empty folder, unreadable
file, non-ASCII or over-long name, manifest mismatch) is reported on stderr with exit code 1,
and no output file is written or replaced. Every archive is put through the build's payload
check (tools/payload_check.py) before it is written, as if it were to be unpacked into the
longest-named game sub-folder, so what the packer writes the build accepts.
"""

import argparse
import datetime
import os
import stat
import struct
import sys
import tempfile
import zlib

import payload_check

MAX_NAME_BYTES = 255
MAX_ENTRIES = 0xFFFF
MAX_SIZE = 0xFFFFFFFF

VERSION_MADE_BY = 31  # host 0 (MS-DOS / FAT attributes), ZIP format version 3.1
VERSION_STORED = 10
VERSION_DEFLATED = 20
ATTR_DIRECTORY = 0x10
ATTR_ARCHIVE = 0x20
NTFS_EXTRA_ID = 0x000A
FILETIME_UNIX_EPOCH = 116444736000000000  # 100-ns ticks from 1601-01-01 to 1970-01-01

# Characters that a Windows file name cannot hold, besides control characters.
WINDOWS_FORBIDDEN = set('\\:*?"<>|')
# Names that Windows opens as devices, with any extension ("NUL.dat" is the NUL device).
WINDOWS_DEVICES = {"CON", "PRN", "AUX", "NUL"} | {f"{p}{i}" for p in ("COM", "LPT") for i in range(1, 10)}

TIME_FORMAT = "%Y-%m-%d %H:%M:%S"


class PackError(Exception):
    """A fault in the input: reported to the user, no archive is written."""


class Entry:
    """One archive entry: its name, whether it is a folder, its source path and times.

    Times are (write, access, creation), each in nanoseconds since 1970-01-01 UTC.
    """

    def __init__(self, name, is_dir, path, times):
        self.name = name
        self.is_dir = is_dir
        self.path = path
        self.times = times


def check_name(name):
    """Refuses names that the installer could not write safely on Windows."""
    try:
        encoded = name.encode("ascii")
    except UnicodeEncodeError:
        raise PackError(f"non-ASCII name: {name!r} (entry names must be ASCII)")
    if len(encoded) > MAX_NAME_BYTES:
        raise PackError(f"name of {len(encoded)} bytes is over {MAX_NAME_BYTES}: {name}")
    parts = name.rstrip("/").split("/")
    for part in parts:
        if part in ("", ".", ".."):
            raise PackError(f"bad path component {part!r} in {name!r}")
        bad = [c for c in part if ord(c) < 0x20 or ord(c) == 0x7F or c in WINDOWS_FORBIDDEN]
        if bad:
            raise PackError(f"character {bad[0]!r} is not allowed in a Windows name: {name!r}")
        if part.endswith((" ", ".")):
            raise PackError(f"Windows drops a trailing space or dot: {name!r}")
        if part.split(".")[0].rstrip(" ").upper() in WINDOWS_DEVICES:
            raise PackError(f"{part!r} names a device on Windows: {name!r}")


def windows_order(names):
    """Children of one folder in the order Windows lists them: by upper-cased name."""
    return sorted(names, key=lambda n: (n.upper(), n))


def scan_tree(root):
    """All entries below root, each folder before its contents, with times from mtime."""
    if not os.path.isdir(root):
        raise PackError(f"source folder does not exist or is not a folder: {root}")
    entries = []

    def walk(folder, prefix):
        try:
            children = os.listdir(folder)
        except OSError as e:
            raise PackError(f"cannot list folder {folder}: {e.strerror}")
        for child in windows_order(children):
            path = os.path.join(folder, child)
            try:
                st = os.stat(path)
            except OSError as e:
                raise PackError(f"cannot read {path}: {e.strerror}")
            if os.path.islink(path) and stat.S_ISDIR(st.st_mode):
                raise PackError(f"symbolic link to a folder is not packed: {path}")
            times = (st.st_mtime_ns,) * 3
            if stat.S_ISDIR(st.st_mode):
                name = prefix + child + "/"
                check_name(name)
                entries.append(Entry(name, True, path, times))
                walk(path, name)
            elif stat.S_ISREG(st.st_mode):
                name = prefix + child
                check_name(name)
                entries.append(Entry(name, False, path, times))
            else:
                raise PackError(f"not a regular file or folder: {path}")

    walk(root, "")
    seen = {}
    for entry in entries:
        key = entry.name.upper()
        if key in seen:
            raise PackError(f"names differ only in case (one would overwrite the other on "
                            f"Windows): {seen[key]!r} and {entry.name!r}")
        seen[key] = entry.name
    if len(entries) > MAX_ENTRIES:
        raise PackError(f"{len(entries)} entries are more than a ZIP without ZIP64 holds")
    return entries


def parse_time(text, where):
    try:
        moment = datetime.datetime.strptime(text, TIME_FORMAT)
    except ValueError:
        raise PackError(f"{where}: bad time {text!r} (want YYYY-MM-DD HH:MM:SS)")
    delta = moment - datetime.datetime(1970, 1, 1)
    return (delta.days * 86400 + delta.seconds) * 10**9


def format_time(ns):
    moment = datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=ns // 10**9)
    return moment.strftime(TIME_FORMAT)


def read_manifest(path):
    """[(name, (write, access, creation))] in the manifest's order."""
    try:
        with open(path, encoding="utf-8") as f:
            lines = f.read().splitlines()
    except (OSError, UnicodeDecodeError) as e:
        raise PackError(f"cannot read manifest {path}: {e}")
    rows = []
    for number, line in enumerate(lines, 1):
        if not line.strip() or line.startswith("#"):
            continue
        where = f"{path}:{number}"
        fields = line.split("\t")
        if len(fields) != 4:
            raise PackError(f"{where}: want 4 tab-separated fields, found {len(fields)}")
        times = tuple(parse_time(t, where) for t in fields[:3])
        rows.append((fields[3], times))
    return rows


def apply_manifest(entries, rows, manifest):
    """The tree's entries in the manifest's order with its times; both must list the same."""
    by_name = {e.name: e for e in entries}
    listed = set()
    ordered = []
    for name, times in rows:
        if name in listed:
            raise PackError(f"{manifest}: {name!r} is listed twice")
        if name not in by_name:
            raise PackError(f"{manifest}: {name!r} is not in the source folder")
        parent = name.rstrip("/").rpartition("/")[0]
        if parent and parent + "/" not in listed:
            raise PackError(f"{manifest}: {name!r} comes before its folder {parent + '/'!r}")
        listed.add(name)
        entry = by_name[name]
        ordered.append(Entry(entry.name, entry.is_dir, entry.path, times))
    missing = [e.name for e in entries if e.name not in listed]
    if missing:
        more = f" and {len(missing) - 3} more" if len(missing) > 3 else ""
        raise PackError(f"{manifest}: does not list {', '.join(map(repr, missing[:3]))}{more}")
    return ordered


def dos_date_time(ns):
    moment = datetime.datetime(1970, 1, 1) + datetime.timedelta(seconds=ns // 10**9)
    if not 1980 <= moment.year <= 2107:
        raise PackError(f"time {moment} cannot be held as a DOS time stamp (1980 to 2107)")
    date = ((moment.year - 1980) << 9) | (moment.month << 5) | moment.day
    time = (moment.hour << 11) | (moment.minute << 5) | (moment.second // 2)
    return date, time


def filetime(ns):
    ticks = FILETIME_UNIX_EPOCH + ns // 100
    if not 0 <= ticks < 2**63:
        raise PackError("time before 1601 cannot be held as an NTFS time")
    return ticks


def ntfs_extra(times):
    write, access, creation = (filetime(t) for t in times)
    body = struct.pack("<IHHQQQ", 0, 0x0001, 24, write, access, creation)
    return struct.pack("<HH", NTFS_EXTRA_ID, len(body)) + body


def deflate(data):
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush()


def read_file(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        raise PackError(f"cannot read {path}: {e.strerror}")


def archive_bytes(entries):
    """The whole archive for entries whose data is read from their paths (folders: none).

    An entry may instead carry its bytes in a `data` attribute (used by builders of
    packages that are not folder trees).
    """
    out = bytearray()
    central = bytearray()
    for entry in entries:
        name = entry.name.encode("ascii")
        if entry.is_dir:
            data = b""
        elif hasattr(entry, "data"):
            data = entry.data
        else:
            data = read_file(entry.path)
        if len(data) > MAX_SIZE:
            raise PackError(f"{entry.name} is over 4 GiB, which needs ZIP64")
        if data:
            method, version, packed = 8, VERSION_DEFLATED, deflate(data)
        else:
            method, version, packed = 0, VERSION_STORED, b""
        crc = zlib.crc32(data) & 0xFFFFFFFF
        date, time = dos_date_time(entry.times[0])
        offset = len(out)
        if offset > MAX_SIZE:
            raise PackError("archive grows over 4 GiB, which needs ZIP64")
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, version, 0, method, time, date,
                           crc, len(packed), len(data), len(name), 0)
        out += name + packed
        extra = ntfs_extra(entry.times)
        attributes = ATTR_DIRECTORY if entry.is_dir else ATTR_ARCHIVE
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, VERSION_MADE_BY, version, 0,
                               method, time, date, crc, len(packed), len(data), len(name),
                               len(extra), 0, 0, 0, attributes, offset)
        central += name + extra
    if len(out) + len(central) > MAX_SIZE:
        raise PackError("archive grows over 4 GiB, which needs ZIP64")
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries),
                      len(central), len(out), 0)
    return bytes(out + central + end)


def write_atomically(path, data):
    """Writes data to path through a temporary file, so a failure leaves no partial file."""
    folder = os.path.dirname(os.path.abspath(path))
    if not os.path.isdir(folder):
        raise PackError(f"output folder does not exist: {folder}")
    handle, temporary = tempfile.mkstemp(prefix=".zippack-", dir=folder)
    try:
        with os.fdopen(handle, "wb") as f:
            f.write(data)
        os.chmod(temporary, 0o644)
        os.replace(temporary, path)
    except BaseException:
        os.unlink(temporary)
        raise


# The game sub-folder with the longest name: a tree may be packed for any of them.
CHECK_TARGET = max((target for _, target in payload_check.ARCHIVES), key=len)


def pack(source, output, manifest=None):
    """Packs source into output; returns the entry list. Raises PackError on bad input."""
    entries = scan_tree(source)
    if not entries:
        raise PackError(f"nothing to pack: {source} holds no files or folders")
    if manifest is not None:
        entries = apply_manifest(entries, read_manifest(manifest), manifest)
    data = archive_bytes(entries)
    try:
        payload_check.check_archive(output, data, CHECK_TARGET)
    except payload_check.Fault as fault:
        raise PackError(fault.line())
    write_atomically(output, data)
    return entries


def write_manifest(source, manifest):
    entries = scan_tree(source)
    lines = ["# write\taccess\tcreation\tname (UTC)"]
    for e in entries:
        lines.append("\t".join([format_time(t) for t in e.times] + [e.name]))
    write_atomically(manifest, ("\n".join(lines) + "\n").encode("utf-8"))
    return entries


def summary(path, entries):
    """One line: the archive's entry counts and size."""
    folders = sum(1 for e in entries if e.is_dir)
    return (f"{path}: {len(entries)} entries ({folders} folders + {len(entries) - folders} files), "
            f"{os.path.getsize(path)} bytes")


def main(argv=None):
    parser = argparse.ArgumentParser(description="Pack a folder tree into a payload ZIP archive.")
    parser.add_argument("source", help="folder whose contents become the archive's entries")
    parser.add_argument("output", nargs="?", help="archive to write")
    parser.add_argument("--manifest", help="order and times of every entry")
    parser.add_argument("--write-manifest", metavar="FILE",
                        help="write a manifest of the tree as it is instead of packing")
    args = parser.parse_args(argv)
    try:
        if args.write_manifest:
            entries = write_manifest(args.source, args.write_manifest)
            print(f"{args.write_manifest}: {len(entries)} entries")
            return 0
        if not args.output:
            parser.error("an output archive is needed")
        entries = pack(args.source, args.output, args.manifest)
    except PackError as e:
        print(f"zippack: error: {e}", file=sys.stderr)
        return 1
    print(summary(args.output, entries))
    return 0


if __name__ == "__main__":
    sys.exit(main())
