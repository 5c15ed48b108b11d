#!/usr/bin/env python3
"""The five payload archives: their record layout and their figures, read independently of
the project's extractor (struct for the records, Python's zipfile for the contents).

    test_archives.py PAYLOAD_DIR
"""

import os
import sys
import unittest
import zipfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import zip_records  # noqa: E402

PAYLOAD_DIR = os.environ.get("PAYLOAD_DIR", os.path.join(os.path.dirname(__file__), "..", "data"))

# name: (entries, folders, files, uncompressed file bytes, empty files)
FIGURES = {
    "Translations.zip": (1, 0, 1, 21972, 0),
    "Extras.zip": (19, 12, 7, 814, 0),
    "Localization.zip": (150, 11, 139, 118004, 0),
    "Maps.zip": (22, 11, 11, 2493, 0),
    "Bundles.zip": (5406, 2768, 2638, 201310, 10),
}
# Bundles top folder: (folder entries, files, file bytes)
BUNDLES_TOP = {
    "NPCs": (239, 199, 35979), "Objects": (1148, 1100, 57215), "Resources": (40, 39, 862),
    "Sources": (3, 1, 468), "Trees": (46, 45, 982), "Vehicles": (190, 189, 4171),
    "Animals": (8, 7, 63), "Items": (1056, 1021, 100324), "Mythics": (38, 37, 1246),
}
EXTRAS_ORDER = [
    "Bundles/", "Bundles/Items/", "Bundles/Items/Barricades/", "Bundles/Items/Barricades/Sign_Picket/",
    "Bundles/Items/Barricades/Sign_Picket/Schinese.dat", "Bundles/Resources/",
    "Bundles/Resources/SpeedTreeBroadleaf/", "Bundles/Resources/SpeedTreeBroadleaf/Schinese.dat",
    "Bundles/Resources/SpeedTreePine/", "Bundles/Resources/SpeedTreePine/Schinese.dat", "Maps/",
    "Maps/Festive PEI/", "Maps/Festive PEI/Schinese.dat", "Maps/Festive Russia/",
    "Maps/Festive Russia/Schinese.dat", "Maps/Halloween PEI/", "Maps/Halloween PEI/Schinese.dat",
    "Maps/PEI_Space/", "Maps/PEI_Space/Schinese.dat",
]
MAP_FOLDERS = ["Alpha Valley", "Germany", "Monolith", "Paintball_Arena_0", "PEI", "PEI Arena",
               "Russia", "Tutorial", "Washington", "Washington Arena", "Yukon"]
LOCALIZATION_FILES = {"Schinese/Editor/": 21, "Schinese/Menu/": 33, "Schinese/Player/": 17,
                      "Schinese/Server/": 67, "Schinese/Shared/": 1}
LOCALIZATION_FOLDERS = {
    "Schinese/", "Schinese/Editor/", "Schinese/Menu/", "Schinese/Menu/Configuration/",
    "Schinese/Menu/Play/", "Schinese/Menu/Survivors/", "Schinese/Menu/Workshop/",
    "Schinese/Player/", "Schinese/Player/Useable/", "Schinese/Server/", "Schinese/Shared/"}
FIRST_TIME = (2017, 7, 8, 23, 10, 0)
LAST_TIME = (2020, 8, 30, 12, 44, 2)


def read(name):
    with open(os.path.join(PAYLOAD_DIR, name), "rb") as f:
        return f.read()


def names(name):
    with zipfile.ZipFile(os.path.join(PAYLOAD_DIR, name)) as z:
        return [i.filename for i in z.infolist()]


def contents(name):
    """{entry name: bytes} of every file entry."""
    with zipfile.ZipFile(os.path.join(PAYLOAD_DIR, name)) as z:
        return {i.filename: z.read(i) for i in z.infolist() if not i.is_dir()}


class RecordLayout(unittest.TestCase):
    """Every archive: the layout and header words that the shipped form has."""

    def test_each_archive(self):
        for name in FIGURES:
            with self.subTest(name):
                self.check_layout(zip_records.parse(read(name)))

    def check_layout(self, archive):
        self.assertEqual(archive.trailing, 0, "nothing follows the end record")
        self.assertEqual(archive.comment, b"")
        self.assertEqual(len(archive.locals), len(archive.centrals))
        self.assertEqual(archive.entries, len(archive.centrals))
        self.assertEqual(archive.locals[0].offset, 0)
        seen = set()
        for local, central in zip(archive.locals, archive.centrals):
            name = central.name.decode("ascii")  # names are ASCII
            is_folder = name.endswith("/")
            where = f"{name}"
            self.assertEqual(local.offset, central.offset, where)  # same order in both
            self.assertEqual(local.name, central.name, where)
            self.assertEqual((local.flags, central.flags), (0, 0), where)
            self.assertEqual(local.extra, b"", where)
            self.assertEqual(central.comment, b"", where)
            self.assertEqual((central.version_made_by, central.disk, central.internal), (31, 0, 0), where)
            for field in ("version_needed", "method", "time", "date", "crc", "packed_size", "size"):
                self.assertEqual(getattr(local, field), getattr(central, field), f"{where}: {field}")
            self.assertEqual(central.version_needed, {0: 10, 8: 20}[central.method], where)
            self.assertEqual(central.method, 8 if central.size else 0, where)
            if is_folder:
                self.assertEqual(central.size, 0, where)
                self.assertIn(central.external, (0x10, 0x30), where)
            else:
                self.assertEqual(central.external, 0x20, where)
            fields = zip_records.extra_fields(central.extra)
            self.assertEqual([(tag, len(data)) for tag, data in fields], [(0x000A, 32)], where)
            # Names: "/" separators, no leading "/", no empty, "." or ".." component.
            self.assertNotIn("\\", name)
            self.assertLessEqual(len(central.name), 255)
            parts = name.rstrip("/").split("/")
            self.assertTrue(all(p not in ("", ".", "..") for p in parts), where)
            parent = name.rstrip("/").rpartition("/")[0]
            if parent:
                self.assertIn(parent + "/", seen, f"{where} comes before its folder")
            seen.add(name)

    def test_time_stamps_span_the_set(self):
        stamps = []
        for name in FIGURES:
            for central in zip_records.parse(read(name)).centrals:
                stamps.append(zip_records.dos_time(central.date, central.time))
        self.assertEqual(min(stamps), FIRST_TIME)
        self.assertEqual(max(stamps), LAST_TIME)

    def test_longest_name_is_82_bytes(self):
        longest = max(len(c.name) for name in FIGURES for c in zip_records.parse(read(name)).centrals)
        self.assertEqual(longest, 82)

    def test_an_independent_reader_finds_every_crc_right(self):
        for name in FIGURES:
            with self.subTest(name), zipfile.ZipFile(os.path.join(PAYLOAD_DIR, name)) as z:
                self.assertIsNone(z.testzip())


class Figures(unittest.TestCase):
    def test_entry_counts_and_bytes(self):
        for name, (entries, folders, files, size, empty) in FIGURES.items():
            with self.subTest(name), zipfile.ZipFile(os.path.join(PAYLOAD_DIR, name)) as z:
                infos = z.infolist()
                got = (len(infos), sum(i.is_dir() for i in infos), sum(not i.is_dir() for i in infos),
                       sum(i.file_size for i in infos), sum(not i.is_dir() and i.file_size == 0 for i in infos))
                self.assertEqual(got, (entries, folders, files, size, empty))

    def test_bundles_top_folders(self):
        infos = zipfile.ZipFile(os.path.join(PAYLOAD_DIR, "Bundles.zip")).infolist()
        tops = {i.filename.split("/")[0] for i in infos}
        self.assertEqual(tops, set(BUNDLES_TOP))
        for top, want in BUNDLES_TOP.items():
            mine = [i for i in infos if i.filename.startswith(top + "/")]
            got = (sum(i.is_dir() for i in mine), sum(not i.is_dir() for i in mine),
                   sum(i.file_size for i in mine))
            self.assertEqual(got, want, top)

    def test_bundles_files_are_schinese_dat_at_most_six_levels_deep(self):
        for name in names("Bundles.zip"):
            if not name.endswith("/"):
                self.assertEqual(name.rsplit("/", 1)[1], "Schinese.dat", name)
            self.assertLessEqual(name.rstrip("/").count("/") + name.endswith("/"), 6, name)

    def test_empty_files_are_stored_files_not_folders(self):
        archive = zip_records.parse(read("Bundles.zip"))
        empty = [c for c in archive.centrals if c.size == 0 and not c.name.endswith(b"/")]
        self.assertEqual(len(empty), 10)
        for c in empty:
            self.assertEqual((c.method, c.external, c.packed_size), (0, 0x20, 0), c.name)

    def test_named_entries_in_order(self):
        self.assertEqual(names("Translations.zip"), ["Schinese.translation"])
        self.assertEqual(names("Extras.zip"), EXTRAS_ORDER)
        self.assertEqual(names("Maps.zip"),
                         [n for folder in MAP_FOLDERS for n in (folder + "/", folder + "/Schinese.dat")])

    def test_localization_layout(self):
        listed = names("Localization.zip")
        self.assertEqual(listed[0], "Schinese/")
        self.assertEqual({n for n in listed if n.endswith("/")}, LOCALIZATION_FOLDERS)
        files = [n for n in listed if not n.endswith("/")]
        self.assertTrue(all(n.endswith(".dat") for n in files))
        self.assertFalse([n for n in files if n.count("/") == 1], "no file directly in Schinese/")
        for folder, count in LOCALIZATION_FILES.items():
            self.assertEqual(sum(n.startswith(folder) for n in files), count, folder)
        self.assertIn("Schinese/Editor/EditorDashboard.dat", files)

    def test_folder_names_with_spaces_are_kept(self):
        self.assertIn("Alpha Valley/", names("Maps.zip"))
        self.assertIn("Maps/Festive PEI/", names("Extras.zip"))


class TextForms(unittest.TestCase):
    def all_dat_files(self):
        for name in ("Extras.zip", "Localization.zip", "Maps.zip", "Bundles.zip"):
            for entry, data in contents(name).items():
                yield f"{name}:{entry}", data

    def test_dat_files_are_key_value_lines_in_utf8(self):
        endings = {"lf": 0, "crlf": 0, "one line without end": 0}
        for where, data in self.all_dat_files():
            if not data:
                continue
            self.assertFalse(data.startswith(b"\xef\xbb\xbf"), where)
            text = data.decode("utf-8")
            crlf = "\r\n" in text
            endings["crlf" if crlf else "lf"] += 1
            if "\n" not in text:
                endings["one line without end"] += 1
            for line in text.split("\r\n" if crlf else "\n"):
                if line:
                    key, space, value = line.partition(" ")
                    self.assertTrue(key and space and value, f"{where}: {line!r}")
                    self.assertNotIn("\r", line, f"{where}: mixed line ends")
        self.assertGreater(endings["lf"], endings["crlf"], endings)
        self.assertGreater(endings["crlf"], 0, endings)
        self.assertGreater(endings["one line without end"], 0, endings)

    def test_dat_files_hold_chinese_values(self):
        texts = [d.decode("utf-8") for _, d in self.all_dat_files() if d]
        with_chinese = sum(any("\u4e00" <= c <= "\u9fff" for c in t) for t in texts)
        self.assertGreaterEqual(with_chinese, 0.95 * len(texts))

    def test_translation_file_is_brace_structured_with_crlf(self):
        data = contents("Translations.zip")["Schinese.translation"]
        self.assertFalse(data.startswith(b"\xef\xbb\xbf"))
        text = data.decode("utf-8")
        self.assertEqual(text.count("\n"), text.count("\r\n"))
        self.assertEqual(text.count("{"), text.count("}"))
        first_block = text[:text.index("}")]
        self.assertIn("Schinese", first_block, "the opening block names the language")
        self.assertTrue(text.lstrip().startswith('"'))


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        PAYLOAD_DIR = sys.argv.pop(1)
    unittest.main()
