#!/usr/bin/env python3
"""The build's payload check: a table of payloads the installer could not unpack, each
refused with its one line, and payloads it unpacks (the committed sample among them)
accepted."""

import os
import shutil
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
SAMPLE = os.path.join(os.path.dirname(TOOLS), "payload", "data")
sys.path.insert(0, TOOLS)

import payload_check  # noqa: E402

FOLDER, FILE = 0x10, 0x20


def archive(entries):
    """ZIP bytes for [(name bytes, data bytes or None for a folder, {overrides})]. Overrides:
    external, flags, crc, method (all records), local_method (the local header only),
    packed (the stored bytes in place of the data's)."""
    out, central = bytearray(), bytearray()
    for name, data, extra in entries:
        folder = data is None
        data = b"" if folder else data
        method = extra.get("method", 8 if data else 0)
        packed = zlib.compressobj(9, zlib.DEFLATED, -15) if method == 8 else None
        packed = extra.get("packed", packed.compress(data) + packed.flush() if packed else data)
        crc = extra.get("crc", zlib.crc32(data) & 0xFFFFFFFF)
        flags = extra.get("flags", 0)
        offset = len(out)
        out += struct.pack("<IHHHHHIIIHH", 0x04034B50, 20, flags, extra.get("local_method", method), 0, 0x5021,
                           crc, len(packed), len(data), len(name), 0) + name + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, 20, 20, flags, method, 0, 0x5021, crc,
                               len(packed), len(data), len(name), 0, 0, 0, 0,
                               extra.get("external", FOLDER if folder else FILE), offset) + name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central), len(out), 0)
    return bytes(out + central + end)


def plain(*names, flags=0):
    """Folders (names ending in "/") and small files, as the packer lays them out; names are
    bytes or text, stored as code page 936 (GBK) or, with flags 0x800, as UTF-8."""
    encoding = "utf-8" if flags & 0x800 else "gbk"
    names = [n.encode(encoding) if isinstance(n, str) else n for n in names]
    return archive([(n, None if n.endswith(b"/") else b"Key value\n", {"flags": flags}) for n in names])


def python_zipfile(*names):
    """What zippers that write no folder entries make (Windows' built-in one, Info-ZIP -D)."""
    with tempfile.SpooledTemporaryFile() as f:
        with zipfile.ZipFile(f, "w", zipfile.ZIP_DEFLATED) as z:
            for n in names:
                z.writestr(n, b"Key value\n")
        f.seek(0)
        return f.read()


def docx(parts):
    with tempfile.SpooledTemporaryFile() as f:
        with zipfile.ZipFile(f, "w", zipfile.ZIP_DEFLATED) as z:
            for n, text in parts.items():
                z.writestr(n, text)
        f.seek(0)
        return f.read()


TYPES = ('<?xml version="1.0"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">'
         '<Default Extension="xml" ContentType="application/xml"/>'
         '<Override PartName="/word/document.xml" ContentType="{}"/></Types>')
RELS = ('<?xml version="1.0"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">'
        '<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/'
        'officeDocument" Target="word/document.xml"/></Relationships>')
DOCUMENT_TYPE = "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml"

LONG = "d" * 242  # a folder name that leaves room for a file's name, not for a temporary one beside it

# (what it shows, file replaced in a copy of the sample payload, its bytes, the line after
# "payload check: <that file>: ")
REFUSED = [
    ("a zipper that writes no folder entries", "Maps.zip", python_zipfile("PEI/Schinese.dat"),
     'entry "PEI/Schinese.dat": its folder "PEI/" is not listed before it '
     '(the extraction makes folders from folder entries only)'),
    ("a folder listed before its own folder", "Extras.zip", plain("Maps/PEI/", "Maps/"),
     'entry "Maps/PEI/": its folder "Maps/" is not listed before it '
     '(the extraction makes folders from folder entries only)'),
    ("an archive with no entries", "Translations.zip", python_zipfile(),
     "does not start with a local file header whose entry has a name (nothing may come before the first entry)"),
    ("data before the first local header", "Bundles.zip", b"MZ" + plain("a.dat"),
     "does not start with a local file header whose entry has a name (nothing may come before the first entry)"),
    ("a header but no end record", "Maps.zip", plain("a.dat")[:-22],
     "no end-of-central-directory record (not a ZIP archive)"),
    ("a CRC mismatch", "Extras.zip", archive([(b"a.dat", b"Key value\n", {"crc": 0x12345678})]),
     'entry "a.dat": its data do not match their CRC-32'),
    ("data that do not inflate", "Extras.zip", archive([(b"a.dat", b"Key value\n", {"packed": b"\xff" * 10})]),
     'entry "a.dat": its data do not inflate'),
    ("data that inflate short", "Extras.zip",
     archive([(b"a.dat", b"Key value\n", {"packed": zlib.compress(b"Key", 9)[2:-4]})]),
     'entry "a.dat": its data end after 3 of 10 bytes'),
    ("an encrypted entry", "Localization.zip", archive([(b"a.dat", b"Key value\n", {"flags": 1})]),
     'entry "a.dat": encrypted (the extraction does not decrypt)'),
    ("a method other than stored or deflated", "Maps.zip", archive([(b"a.dat", b"x" * 40, {"method": 12})]),
     'entry "a.dat": compression method 12 (only stored, 0, and deflated, 8)'),
    ("a local header that disagrees", "Maps.zip", archive([(b"a.dat", b"Key value\n", {"local_method": 0})]),
     'entry "a.dat": local header names another compression method'),
    ("a name that climbs out", "Bundles.zip", plain("../evil.dat"),
     'entry "../evil.dat": component ".." is a parent folder, a trimmed name or a device'),
    ("a drive in a name", "Bundles.zip", plain("C:evil.dat"),
     'entry "C:evil.dat": holds ":" (a drive letter or a data stream)'),
    ("a rooted name", "Bundles.zip", plain("\\evil.dat"),
     'entry "\\evil.dat": names a rooted path (a leading "/" or "\\")'),
    ("a device name", "Maps.zip", plain("Maps/", "Maps/aux.dat"),
     'entry "Maps/aux.dat": component "aux.dat" is a parent folder, a trimmed name or a device'),
    ("a character no Windows name holds", "Maps.zip", plain("PEI|x.dat"),
     'entry "PEI|x.dat": holds "|", which no Windows name may hold'),
    ("a control byte in a name", "Maps.zip", plain(b"a\x07.dat"),
     'entry "a\x07.dat": holds byte 0x07, which no Windows name may hold'),
    ("UTF-8 names without the flag: a lead byte 0xAD before the separator", "Maps.zip",
     plain("中/".encode("utf-8"), "中/x.txt".encode("utf-8")),
     'entry "涓\\xad/": is not well formed in its encoding (UTF-8 with the language-encoding flag, '
     'code page 936 without): Windows would read other characters'),
    ("code page 936 names with the UTF-8 flag", "Maps.zip", plain("地图/".encode("gbk"), flags=0x800),
     'entry "地图/": is not well formed in its encoding (UTF-8 with the language-encoding flag, '
     'code page 936 without): Windows would read other characters'),
    ("a device name with a superscript digit", "Maps.zip", plain("Maps/", "Maps/LPT².dat", flags=0x800),
     'entry "Maps/LPT².dat": component "LPT².dat" is a parent folder, a trimmed name or a device'),
    ("a folder path of 248 UTF-16 units, the emoji taking two", "Bundles.zip",
     plain("d" * 234 + "🎮/", flags=0x800),
     'entry "' + "d" * 234 + '🎮/": unpacked below C:\\Bundles\\ its folder path would be 248 UTF-16 units long '
     '(CreateDirectoryW allows 247)'),
    ("a folder ending in a dot", "Maps.zip", plain("PEI./", "PEI./x.dat"),
     'entry "PEI./": folder "PEI." ends in a dot or a space (Windows makes it without them, '
     'and the paths below it lead nowhere)'),
    ("a folder ending in a space, below another", "Maps.zip", plain("PEI/", "PEI/a /", "PEI/a /x.dat"),
     'entry "PEI/a /": folder "a " ends in a dot or a space (Windows makes it without them, '
     'and the paths below it lead nowhere)'),
    ("a folder path that CreateDirectoryW refuses", "Bundles.zip", plain("d" * 236 + "/"),
     'entry "' + "d" * 236 + '/": unpacked below C:\\Bundles\\ its folder path would be 248 UTF-16 units long '
     '(CreateDirectoryW allows 247)'),
    ("a folder and a file of its name, in another case", "Maps.zip", plain("PEI/", "pei"),
     'entry "pei": a file and a folder of the same name "pei" (Windows holds one of them only)'),
    ("a file and a folder of its name", "Maps.zip", plain("PEI", "pei/", "pei/x.dat"),
     'entry "pei/": a file and a folder of the same name "pei" (Windows holds one of them only)'),
    ("a name the extraction cannot hold", "Bundles.zip", plain("n" * 260),
     'entry "' + "n" * 260 + '": name of 260 bytes (the extraction reads at most 259)'),
    ("a path that reaches MAX_PATH below the shortest game folder", "Bundles.zip", plain("n" * 249),
     'entry "' + "n" * 249 + '": unpacked below C:\\Bundles\\ its path would be 260 UTF-16 units long (MAX_PATH allows 259)'),
    ("no room for a file's temporary name: its folder is refused first", "Bundles.zip", plain(LONG + "/", LONG + "/x"),
     f'entry "{LONG}/": unpacked below C:\\Bundles\\ its folder path would be 254 UTF-16 units long '
     '(CreateDirectoryW allows 247)'),
    ("a folder without the folder attribute", "Maps.zip", archive([(b"PEI/", None, {"external": FILE})]),
     'entry "PEI/": ends in "/" but lacks the folder attribute (0x10)'),
    ("a help document that is no package", "获取游戏目录.docx", b"How to find the game folder",
     "not a Word package (no ZIP local header at its start)"),
    ("a package without a main document", "获取游戏目录.docx",
     docx({"[Content_Types].xml": TYPES.format(DOCUMENT_TYPE), "_rels/.rels": RELS}),
     "not a Word package (no main document part)"),
    ("a package whose main part is no Word document", "获取游戏目录.docx",
     docx({"[Content_Types].xml": TYPES.format("application/xml"), "_rels/.rels": RELS, "word/document.xml": "<w/>"}),
     "not a Word package (word/document.xml is not a word-processing document)"),
]

# Refused by choice although the extraction unpacks them (its createDirectoryPath makes the
# missing parents of a folder entry): every folder is listed before what lies in it.
UNPACKED_THOUGH_REFUSED = {"a folder listed before its own folder"}

# (what it shows, file replaced, its bytes)
ACCEPTED = [
    ("the committed sample payload", None, None),
    ("a GBK character whose second byte is 0x5C: one name, not a folder and a device", "Maps.zip",
     plain(b"\x95\x5cnul.dat")),
    ("folder names compared as Windows compares them", "Maps.zip", plain("PEI/", "pei/Schinese.dat")),
    ("a Unix folder entry (directory bit in the upper half)", "Maps.zip",
     archive([(b"PEI/", None, {"external": 0x41ED0000}), (b"PEI/Schinese.dat", b"Name PEI\n", {})])),
    ("the longest path there is room for", "Bundles.zip", plain("n" * 248)),
    ("the longest folder path there is room for", "Bundles.zip", plain("d" * 235 + "/", "d" * 235 + "/x.dat")),
    ("a GBK character whose second byte is \"|\"", "Maps.zip", plain(b"\x81\x7c.dat")),
    ("names with the UTF-8 flag, outside code page 936", "Maps.zip", plain("게임/", "게임/🎮 地图.dat", flags=0x800)),
    ("the longest folder path there is room for, in UTF-16 units (249 bytes)", "Bundles.zip",
     plain("d" * 234 + "游/", "d" * 234 + "游/x", flags=0x800)),
    ("a file whose name ends in a dot (Windows trims it)", "Maps.zip", plain("PEI/", "PEI/x.")),
]


class PayloadCheck(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.folder = os.path.join(self.tmp.name, "payload")
        shutil.copytree(SAMPLE, self.folder)

    def tearDown(self):
        self.tmp.cleanup()

    def replace(self, name, data):
        if name is not None:
            with open(os.path.join(self.folder, name), "wb") as f:
                f.write(data)

    def test_refused_payloads(self):
        for what, name, data, rule in REFUSED:
            with self.subTest(what):
                shutil.copyfile(os.path.join(SAMPLE, name), os.path.join(self.folder, name))
                self.replace(name, data)
                fault = payload_check.check_payload(self.folder)
                self.assertIsNotNone(fault)
                self.assertEqual(fault.line(), f"payload check: {os.path.join(self.folder, name)}: {rule}")
                shutil.copyfile(os.path.join(SAMPLE, name), os.path.join(self.folder, name))

    def test_accepted_payloads(self):
        for what, name, data in ACCEPTED:
            with self.subTest(what):
                self.replace(name, data)
                fault = payload_check.check_payload(self.folder)
                self.assertIsNone(fault, fault and fault.line())
                if name is not None:
                    shutil.copyfile(os.path.join(SAMPLE, name), os.path.join(self.folder, name))

    def test_the_build_stops_with_one_line(self):
        self.replace("Maps.zip", python_zipfile("PEI/Schinese.dat"))
        run = subprocess.run([sys.executable, os.path.join(TOOLS, "payload_check.py"), self.folder],
                             capture_output=True, text=True)
        self.assertEqual(run.returncode, 1)
        self.assertEqual(run.stdout, "")
        self.assertEqual(len(run.stderr.splitlines()), 1, run.stderr)
        self.assertTrue(run.stderr.startswith(f"payload check: {os.path.join(self.folder, 'Maps.zip')}: "
                                              f'entry "PEI/Schinese.dat": '), run.stderr)
        shutil.copyfile(os.path.join(SAMPLE, "Maps.zip"), os.path.join(self.folder, "Maps.zip"))
        run = subprocess.run([sys.executable, os.path.join(TOOLS, "payload_check.py"), self.folder],
                             capture_output=True, text=True)
        self.assertEqual((run.returncode, run.stdout, run.stderr), (0, "", ""))


if __name__ == "__main__":
    unittest.main()
