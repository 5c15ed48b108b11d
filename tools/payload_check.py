#!/usr/bin/env python3
"""Refuses a payload that the installer cannot unpack, before it is built in.

    payload_check.py PAYLOAD_DIR

Each of the five archives is put through the rules of the installer's own extraction, entry
by entry in central-directory order, as the extraction walks it; the help document must be
a Word package. The first fault found is printed as one line on stderr, and the exit code
is 1:

    payload check: PATH: entry "NAME": RULE
    payload check: PATH: RULE              (a fault of the file as a whole)

Entry names are decoded as the installer decodes them (UTF-8 when the entry has the
language-encoding flag, general-purpose bit 11; code page 936 otherwise), and the name rules
hold for the decoded name; they are shown decoded. The build runs this on
PAYLOAD_DIR (payload/CMakeLists.txt), and tools/zippack.py runs check_archive on every
archive it writes.

Each rule below names the C++ function of unzip/ (or of minizip, which the extraction uses)
that it mirrors: a change to one of those functions needs the same change here, and the
table of bad payloads in tools/tests/test_payload_check.py shows each rule at work.
"""

import os
import posixpath
import struct
import sys
import zlib
import xml.etree.ElementTree as ET

# The catalogue's rows (payload/catalogue.cpp): archive file and the game sub-folder it is
# unpacked into.
ARCHIVES = [
    ("Translations.zip", "Translations"),
    ("Extras.zip", "Extras"),
    ("Localization.zip", "Localization"),
    ("Maps.zip", "Maps"),
    ("Bundles.zip", "Bundles"),
]
HELP_DOCUMENT = "获取游戏目录.docx"

# runtime/path.h: the limits of the W functions, in UTF-16 units.
MAX_PATH = 260                     # runtime::kFilePathLimit
ENTRY_NAME_SIZE = 260              # unzip::kEntryNameSize: the stored name, in bytes
FOLDER_PATH_LIMIT = MAX_PATH - 12  # runtime::kFolderPathLimit: CreateDirectoryW's limit
UTF8_NAME_FLAG = 0x0800            # unzip::kUtf8NameFlag (general-purpose bit 11)
# The shortest game folder there is: the game in a drive root, so that "C:" is its folder
# (installer: gameExePath minus "\Unturned.exe"). A name too long below it is too long for
# every user; below a deeper folder even shorter names fail, which no build can know.
SHORTEST_GAME_FOLDER = "C:"

LOCAL = struct.Struct("<IHHHHHIIIHH")
CENTRAL = struct.Struct("<IHHHHHHIIIHHHHHII")
END = struct.Struct("<IHHHHIIH")
LOCAL_SIGNATURE = 0x04034B50
CENTRAL_SIGNATURE = 0x02014B50
END_SIGNATURE = b"PK\x05\x06"
ZIP64_LOCATOR_SIGNATURE = b"PK\x06\x07"

MAIN_DOCUMENT_TYPE = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"
OFFICE_DOCUMENT = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"
PACKAGE_RELATIONSHIPS = "{http://schemas.openxmlformats.org/package/2006/relationships}"
CONTENT_TYPES = "{http://schemas.openxmlformats.org/package/2006/content-types}"


class Fault(Exception):
    """A rule the payload breaks: the file, the entry (None: the file as a whole), the rule."""

    def __init__(self, path, entry, rule):
        super().__init__(rule)
        self.path = path
        self.entry = entry
        self.rule = rule

    def line(self):
        where = "" if self.entry is None else f'entry "{shown(self.entry)}": '
        return f"payload check: {self.path}: {where}{self.rule}"


def shown(name):
    """A decoded name as it is; stored bytes that decode to nothing, as code page 936 would
    show them."""
    return name if isinstance(name, str) else name.decode("gbk", errors="backslashreplace")


class Entry:
    """One central-directory record and what the extraction derives from it."""

    def __init__(self, fields, name, offset):
        (_, _, _, self.flags, self.method, _, _, self.crc, self.packed_size, self.size,
         _, _, _, _, _, self.external, self.local_offset) = fields
        self.name = name
        self.record_offset = offset

    @property
    def is_folder(self):
        # unzip::mapAttributes (unzip/entry_times.cpp): the Unix directory bit in the upper
        # half or the MS-DOS directory flag.
        return bool(self.external & (1 << 30) or self.external & 0x10)


# --- Names -------------------------------------------------------------------------------

def decoded_name(entry):
    """unzip::decodeEntryName: the name as text, UTF-8 with the flag and code page 936
    without; None when its bytes are not well formed in that encoding. Python's GBK codec
    knows a subset of the system's code page 936 (not its private-use codes, nor the single
    byte 0x80): the check stays on the safe side of it."""
    try:
        return entry.name.decode("utf-8" if entry.flags & UTF8_NAME_FLAG else "gbk")
    except UnicodeDecodeError:
        return None


def components(name):
    """The decoded name cut at "/" and "\\"."""
    return name.replace("\\", "/").split("/")


def units(text):
    """UTF-16 units, as Windows counts a path's length (runtime::pathUnits)."""
    return len(text.encode("utf-16-le")) // 2


DEVICES = {"con", "prn", "aux", "nul"} | {p + d for p in ("com", "lpt") for d in "123456789\u00b9\u00b2\u00b3"}
FORBIDDEN = set('<>"|?*') | {chr(c) for c in range(1, 0x20)}


def ascii_lower(text):
    return "".join(c.lower() if c.isascii() else c for c in text)


def hostile_component(part):
    """unzip::isHostileComponent (unzip/entry_names.cpp), its folder rule aside."""
    if part in ("", "."):
        return False
    if part.strip(". ") == "":
        return True
    stem = part.split(".", 1)[0].rstrip(" ")
    return ascii_lower(stem) in DEVICES


def name_fault(name):
    """unzip::isUsableEntryName on the decoded name (None: not well formed): why the name
    would leave the target folder or cannot be made under that name, or None."""
    if name is None:
        return ("is not well formed in its encoding (UTF-8 with the language-encoding flag, code page 936 "
                "without): Windows would read other characters")
    if name[:1] in ("/", "\\"):
        return "names a rooted path (a leading \"/\" or \"\\\")"
    if ":" in name:
        return "holds \":\" (a drive letter or a data stream)"
    for character in name:
        if character in FORBIDDEN:
            return f"holds {shown_character(character)}, which no Windows name may hold"
    parts = components(name)
    for number, part in enumerate(parts):
        if hostile_component(part):
            return f"component \"{part}\" is a parent folder, a trimmed name or a device"
        if number + 1 < len(parts) and part not in ("", ".") and part[-1:] in (".", " "):
            return (f"folder \"{part}\" ends in a dot or a space (Windows makes it without them, "
                    f"and the paths below it lead nowhere)")
    return None


def shown_character(character):
    return f"byte 0x{ord(character):02X}" if ord(character) < 0x20 else f"\"{character}\""


def folder_key(parts):
    """Where Windows puts a folder: "" and "." components fall away, trailing dots and spaces
    are trimmed, and letters compare without case."""
    key = []
    for part in parts:
        part = part.rstrip(". ")
        if part in ("", "."):
            continue
        key.append("".join(c.upper() if len(c.upper()) == 1 else c for c in part))
    return tuple(key)


# --- The archive as minizip reads it -----------------------------------------------------

def read_entries(path, data):
    """The central-directory records, as minizip's unzOpen2 and unzGoToNextFile read them."""
    # unz64local_SearchCentralDir: the last end record in the final 64 KiB; one found at
    # offset 0 counts as none.
    window = min(0xFFFF, len(data))
    end = data.rfind(END_SIGNATURE, len(data) - window, len(data))
    if end <= 0 or end + END.size > len(data):
        raise Fault(path, None, "no end-of-central-directory record (not a ZIP archive)")
    if end >= 20 and data[end - 20:end - 16] == ZIP64_LOCATOR_SIGNATURE:
        raise Fault(path, None, "ZIP64 records (the payload form has none: pack it again without ZIP64)")
    _, disk, directory_disk, here, total, size, offset, _ = END.unpack_from(data, end)
    # unzOpenInternal: one disk only, and the directory lies before the end record.
    if here != total or disk or directory_disk:
        raise Fault(path, None, "a split (multi-disk) archive")
    if end < offset + size:
        raise Fault(path, None, "the central directory does not lie before the end record")
    shift = end - (offset + size)  # minizip's byte_before_the_zipfile
    entries = []
    position = offset + shift
    for index in range(total):
        # unz64local_GetCurrentFileInfoInternal
        if position + CENTRAL.size > len(data) or struct.unpack_from("<I", data, position)[0] != CENTRAL_SIGNATURE:
            raise Fault(path, None, f"central-directory record {index} is damaged")
        fields = CENTRAL.unpack_from(data, position)
        name_length, extra_length, comment_length = fields[10], fields[11], fields[12]
        name = data[position + CENTRAL.size:position + CENTRAL.size + name_length]
        if len(name) != name_length:
            raise Fault(path, None, f"central-directory record {index} is damaged")
        entry = Entry(fields, name, position)
        if 0xFFFFFFFF in (entry.packed_size, entry.size, entry.local_offset):
            raise Fault(path, name, "ZIP64 sizes (the payload form has none: pack it again without ZIP64)")
        entry.local_offset += shift
        entries.append(entry)
        position += CENTRAL.size + name_length + extra_length + comment_length
    return entries


def local_fault(data, entry):
    """unz64local_CheckCurrentFileCoherencyHeader and unzGetLocalExtrafield: why the local
    header disagrees with the central record, or None; also where the data start."""
    at = entry.local_offset
    if at + LOCAL.size > len(data) or struct.unpack_from("<I", data, at)[0] != LOCAL_SIGNATURE:
        return "no local header where the central directory points", None
    _, _, flags, method, _, _, crc, packed_size, size, name_length, extra_length = LOCAL.unpack_from(data, at)
    described = (flags & 8) != 0  # sizes and CRC-32 follow the data
    if method != entry.method:
        return "local header names another compression method", None
    if crc != entry.crc and not described:
        return "local header holds another CRC-32", None
    if (packed_size != 0xFFFFFFFF and packed_size != entry.packed_size and not described) or \
       (size != 0xFFFFFFFF and size != entry.size and not described):
        return "local header holds other sizes", None
    if name_length != len(entry.name):
        return "local header holds a name of another length", None
    start = at + LOCAL.size + name_length + extra_length
    if start > len(data):
        return "local extra field runs past the end of the archive", None
    return None, start


def data_fault(data, entry, start):
    """unzip::ZipArchive::unzipEntry: the data read to the end inflate to exactly the size
    and match the CRC-32 (unzReadCurrentFile, unzCloseCurrentFile)."""
    packed = data[start:start + entry.packed_size]
    if entry.method == 0:
        content = packed[:entry.size]
    else:
        try:
            content = zlib.decompressobj(-15).decompress(packed, entry.size) if entry.size else b""
        except zlib.error:
            return "its data do not inflate"
    if len(content) != entry.size:
        return f"its data end after {len(content)} of {entry.size} bytes"
    if zlib.crc32(content) & 0xFFFFFFFF != entry.crc:
        return "its data do not match their CRC-32"
    return None


def container_entries(path, data):
    """The entries of a ZIP file that minizip opens, each one described without fault (the
    extraction describes them all before it writes anything: unzip::countEntries)."""
    entries = read_entries(path, data)
    for entry in entries:
        # unzip::ZipArchive::getEntry
        if len(entry.name) >= ENTRY_NAME_SIZE:
            raise Fault(path, entry.name, f"name of {len(entry.name)} bytes (the extraction reads at most "
                                          f"{ENTRY_NAME_SIZE - 1})")
        if b"\0" in entry.name:
            raise Fault(path, entry.name, "name holds a zero byte")
        if entry.flags & 1:
            raise Fault(path, entry.name, "encrypted (the extraction does not decrypt)")
        if entry.method not in (0, 8):
            raise Fault(path, entry.name, f"compression method {entry.method} (only stored, 0, and deflated, 8)")
        fault, entry.data_start = local_fault(data, entry)
        if fault:
            raise Fault(path, entry.name, fault)
    return entries


# --- The rules ---------------------------------------------------------------------------

def check_archive(path, data, target):
    """Raises Fault unless the extraction unpacks data into the game sub-folder target (its
    name, e.g. "Bundles") below every game folder there can be."""
    # unzip::isZipFile: 32 bytes at least, a local header at offset 0, and the 32-bit value
    # at offset 24 (high half of the first size, the first name's length) at least 1.
    if len(data) < 32 or data[:4] != b"PK\x03\x04" or struct.unpack_from("<i", data, 24)[0] < 1:
        raise Fault(path, None, "does not start with a local file header whose entry has a name "
                                "(nothing may come before the first entry)")
    entries = container_entries(path, data)
    if not entries:
        raise Fault(path, None, "holds no entries")
    base = SHORTEST_GAME_FOLDER + "\\" + target + "\\"
    listed = set()
    files = set()
    for entry in entries:
        # unzip::ArchiveExtractor unpackEntry: a usable decoded name, then the path below the
        # target.
        name = decoded_name(entry)
        fault = name_fault(name)
        if fault:
            raise Fault(path, entry.name if name is None else name, fault)
        full = base + name.replace("/", "\\")
        if units(full) >= MAX_PATH:
            raise Fault(path, name, f"unpacked below {base} its path would be {units(full)} UTF-16 units long "
                                    f"(MAX_PATH allows {MAX_PATH - 1})")
        parts = components(name)
        if entry.is_folder:
            parts = parts[:-1] if parts[-1] == "" else parts
            if units(full) >= FOLDER_PATH_LIMIT:
                # unzip::ArchiveExtractor unpackEntry: Windows makes no such folder (Wine does).
                # Every file lies in a listed folder, so this also leaves room beside it for
                # the temporary name that a replacement writes first
                # (unzip::ReplacementFile::openTemporary, "~uz" and four hex digits).
                raise Fault(path, name, f"unpacked below {base} its folder path would be {units(full)} UTF-16 "
                                        f"units long (CreateDirectoryW allows {FOLDER_PATH_LIMIT - 1})")
        elif parts[-1] == "":
            # unzip::ZipArchive::unzipEntry: a file path ending in a separator names a folder.
            raise Fault(path, name, "ends in \"/\" but lacks the folder attribute (0x10)")
        # Folders are made from folder entries only (createDirectoryPath for a folder entry,
        # none for a file written by unzipEntry to an absolute path): every entry's folder
        # must be listed before it.
        parent = folder_key(parts[:-1])
        if parent and parent not in listed:
            folder = "/".join(parts[:-1]) + "/"
            raise Fault(path, name, f"its folder \"{folder}\" is not listed before it "
                                    f"(the extraction makes folders from folder entries only)")
        # A file and a folder of one name (as Windows compares them): one of them cannot be
        # made. The extraction fails at the second on the system's own error.
        key = folder_key(parts)
        if key in (files if entry.is_folder else listed):
            raise Fault(path, name, f"a file and a folder of the same name \"{name.rstrip('/')}\" "
                                    f"(Windows holds one of them only)")
        if entry.is_folder:
            listed.add(key)
        else:
            files.add(key)
            fault = data_fault(data, entry, entry.data_start)
            if fault:
                raise Fault(path, name, fault)


def check_help_document(path, data):
    """The help document, opened through the shell: a ZIP package that reads back and whose
    package relationship leads to a word-processing main document that is there."""
    if data[:4] != b"PK\x03\x04":
        raise Fault(path, None, "not a Word package (no ZIP local header at its start)")
    parts = {}
    for entry in container_entries(path, data):
        fault = data_fault(data, entry, entry.data_start)
        if fault:
            raise Fault(path, entry.name, fault)
        packed = data[entry.data_start:entry.data_start + entry.packed_size]
        parts[entry.name.decode("utf-8", errors="replace")] = (
            packed[:entry.size] if entry.method == 0 else zlib.decompressobj(-15).decompress(packed, entry.size))
    try:
        types = ET.fromstring(parts["[Content_Types].xml"])
        relationships = ET.fromstring(parts["_rels/.rels"])
    except (KeyError, ET.ParseError):
        raise Fault(path, None, "not a Word package (no readable [Content_Types].xml and _rels/.rels)")
    targets = [r.get("Target", "") for r in relationships.iter(PACKAGE_RELATIONSHIPS + "Relationship")
               if r.get("Type") == OFFICE_DOCUMENT]
    main = posixpath.normpath(targets[0].lstrip("/")) if targets else None
    if main not in parts:
        raise Fault(path, None, "not a Word package (no main document part)")
    overrides = {o.get("PartName", "").lstrip("/"): o.get("ContentType")
                 for o in types.iter(CONTENT_TYPES + "Override")}
    if overrides.get(main) != MAIN_DOCUMENT_TYPE:
        raise Fault(path, None, f"not a Word package ({main} is not a word-processing document)")


def check_payload(folder):
    """The first Fault of the payload in folder, or None."""
    try:
        for name, target in ARCHIVES:
            path = os.path.join(folder, name)
            check_archive(path, read(path), target)
        path = os.path.join(folder, HELP_DOCUMENT)
        check_help_document(path, read(path))
    except Fault as fault:
        return fault
    return None


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except OSError as e:
        raise Fault(path, None, f"cannot be read ({e.strerror})")


def main(argv=None):
    argv = sys.argv[1:] if argv is None else argv
    if len(argv) != 1:
        print("usage: payload_check.py PAYLOAD_DIR", file=sys.stderr)
        return 2
    fault = check_payload(argv[0])
    if fault:
        print(fault.line(), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
