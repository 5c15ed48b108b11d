#!/usr/bin/env python3
"""The packer: the archive form it writes, its order and times, reproducibility, and bad
input refused with a clear error and no output file."""

import datetime
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
TOOLS = os.path.dirname(HERE)
sys.path.insert(0, TOOLS)
sys.path.insert(0, os.path.join(os.path.dirname(TOOLS), "payload", "tests"))

import payload_check  # noqa: E402
import zip_records  # noqa: E402

ZIPPACK = os.path.join(TOOLS, "zippack.py")
EPOCH = datetime.datetime(1970, 1, 1)


def seconds(text):
    return int((datetime.datetime.strptime(text, "%Y-%m-%d %H:%M:%S") - EPOCH).total_seconds())


def filetime(unix_seconds):
    return 116444736000000000 + unix_seconds * 10**7


def make_tree(root, layout):
    """layout: {relative path: bytes, or None for a folder}; every item gets mtime 2019-05-04 03:02:10."""
    stamp = seconds("2019-05-04 03:02:10")
    for path, data in layout.items():
        full = os.path.join(root, *path.split("/"))
        if data is None:
            os.makedirs(full, exist_ok=True)
        else:
            os.makedirs(os.path.dirname(full), exist_ok=True)
            with open(full, "wb") as f:
                f.write(data)
    for dirpath, dirnames, filenames in os.walk(root):
        for n in dirnames + filenames:
            os.utime(os.path.join(dirpath, n), (stamp, stamp))
    return stamp


def run(*args):
    return subprocess.run([sys.executable, ZIPPACK, *args], capture_output=True, text=True)


SAMPLE = {
    "PEI Arena/Schinese.dat": b"Name \xe7\xab\x9e\xe6\x8a\x80\xe5\x9c\xba\n",
    "PEI/Schinese.dat": b"Name PEI\r\nDescription island\r\n",
    "Paintball_Arena_0/Schinese.dat": b"Name x",
    "alpha/empty.dat": b"",
    "alpha/deep/er/Schinese.dat": b"Key value\n" * 50,
    "Zeta/": None,
}


class Form(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory()
        self.src = os.path.join(self.tmp.name, "src")
        self.stamp = make_tree(self.src, SAMPLE)
        self.out = os.path.join(self.tmp.name, "out.zip")

    def tearDown(self):
        self.tmp.cleanup()

    def pack(self, *extra):
        result = run(self.src, self.out, *extra)
        self.assertEqual(result.returncode, 0, result.stderr)
        with open(self.out, "rb") as f:
            return f.read()

    def test_windows_order_with_each_folder_before_its_contents(self):
        self.pack()
        with zipfile.ZipFile(self.out) as z:
            listed = [i.filename for i in z.infolist()]
        self.assertEqual(listed, [
            "alpha/", "alpha/deep/", "alpha/deep/er/", "alpha/deep/er/Schinese.dat", "alpha/empty.dat",
            "Paintball_Arena_0/", "Paintball_Arena_0/Schinese.dat",
            "PEI/", "PEI/Schinese.dat", "PEI Arena/", "PEI Arena/Schinese.dat", "Zeta/"])

    def test_header_words(self):
        archive = zip_records.parse(self.pack())
        rows = {c.name.decode(): c for c in archive.centrals}
        # name: (method, version needed, external attributes)
        want = {
            "alpha/": (0, 10, 0x10), "alpha/empty.dat": (0, 10, 0x20),
            "PEI/Schinese.dat": (8, 20, 0x20), "Zeta/": (0, 10, 0x10),
        }
        for name, (method, version, attributes) in want.items():
            c = rows[name]
            self.assertEqual((c.method, c.version_needed, c.external, c.version_made_by, c.flags, c.internal),
                             (method, version, attributes, 31, 0, 0), name)
        self.assertTrue(all(l.extra == b"" and l.flags == 0 for l in archive.locals))
        self.assertEqual((archive.comment, archive.trailing), (b"", 0))
        self.assertEqual([l.offset for l in archive.locals], [c.offset for c in archive.centrals])

    def test_times_come_from_the_files(self):
        archive = zip_records.parse(self.pack())
        for c in archive.centrals:
            self.assertEqual(zip_records.dos_time(c.date, c.time), (2019, 5, 4, 3, 2, 10))
            (tag, data), = zip_records.extra_fields(c.extra)
            self.assertEqual(tag, 0x000A)
            reserved, attr_tag, size, write, access, creation = struct.unpack("<IHHQQQ", data)
            self.assertEqual((reserved, attr_tag, size), (0, 1, 24))
            self.assertEqual((write, access, creation), (filetime(self.stamp),) * 3)

    def test_contents_round_trip(self):
        self.pack()
        with zipfile.ZipFile(self.out) as z:
            for path, data in SAMPLE.items():
                if data is not None:
                    self.assertEqual(z.read(path), data, path)

    def test_the_builds_payload_check_accepts_the_output(self):
        data = self.pack()
        for _, target in payload_check.ARCHIVES:
            payload_check.check_archive(self.out, data, target)

    def test_same_tree_packs_to_the_same_bytes(self):
        first = self.pack()
        os.utime(self.src, None)  # the root folder's own time is not an entry
        self.assertEqual(self.pack(), first)

    def test_manifest_sets_order_and_all_three_times(self):
        manifest = os.path.join(self.tmp.name, "tree.entries")
        rows = [("Zeta/", "2017-07-08 23:10:00", "2018-01-01 00:00:00", "2017-01-01 00:00:02"),
                ("PEI/", "2019-01-01 10:00:00", "2019-01-02 10:00:00", "2018-12-31 10:00:00"),
                ("PEI/Schinese.dat", "2020-08-30 12:44:02", "2020-08-30 12:44:02", "2020-01-01 00:00:00")]
        others = ["PEI Arena/", "PEI Arena/Schinese.dat", "Paintball_Arena_0/",
                  "Paintball_Arena_0/Schinese.dat", "alpha/", "alpha/deep/", "alpha/deep/er/",
                  "alpha/deep/er/Schinese.dat", "alpha/empty.dat"]
        rows += [(n, "2019-05-04 03:02:10", "2019-05-04 03:02:10", "2019-05-04 03:02:10") for n in others]
        with open(manifest, "w") as f:
            f.write("# comment\n\n" + "".join(f"{w}\t{a}\t{c}\t{n}\n" for n, w, a, c in rows))
        archive = zip_records.parse(self.pack("--manifest", manifest))
        self.assertEqual([c.name.decode() for c in archive.centrals], [r[0] for r in rows])
        for c, (name, w, a, cr) in zip(archive.centrals, rows):
            (_, data), = zip_records.extra_fields(c.extra)
            self.assertEqual(struct.unpack("<QQQ", data[8:]),
                             (filetime(seconds(w)), filetime(seconds(a)), filetime(seconds(cr))), name)
            want = datetime.datetime.strptime(w, "%Y-%m-%d %H:%M:%S")
            self.assertEqual(zip_records.dos_time(c.date, c.time),
                             (want.year, want.month, want.day, want.hour, want.minute, want.second))

    def test_written_manifest_reproduces_the_archive(self):
        plain = self.pack()
        manifest = os.path.join(self.tmp.name, "tree.entries")
        result = run(self.src, "--write-manifest", manifest)
        self.assertEqual(result.returncode, 0, result.stderr)
        self.assertEqual(self.pack("--manifest", manifest), plain)


class BadInput(unittest.TestCase):
    """Each case: a tree (and manifest), the phrase the error must hold; never an output file."""

    LONG = "/".join(["f" * 60] * 4) + "/" + "n" * 20  # 264 bytes as an entry name

    CASES = [
        # (label, tree, manifest lines or None, phrase in the error)
        ("missing source folder", None, None, "does not exist"),
        ("a folder with nothing in it", {}, None, "nothing to pack"),
        ("a name the installer cannot unpack below the longest-named game sub-folder", {"n" * 250: b"x"}, None,
         "its path would be 266 UTF-16 units long"),
        ("non-ASCII name", {"Karte/\u5730\u56fe.dat": b"x"}, None, "non-ASCII"),
        ("name over 255 bytes", {LONG: b"x"}, None, "over 255"),
        ("backslash in a name", {"a\\b.dat": b"x"}, None, "not allowed"),
        ("names that differ only in case", {"Maps/a.dat": b"x", "maps/b.dat": b"y"}, None, "only in case"),
        ("trailing dot", {"name./a.dat": b"x"}, None, "trailing"),
        ("a device name", {"Maps/nul.dat": b"x"}, None, "device"),
        ("a device name as a folder", {"COM1/a.dat": b"x"}, None, "device"),
        ("creation time before NTFS times begin", {"a.dat": b"x"},
         ["2019-01-01 00:00:00\t2019-01-01 00:00:00\t1600-12-31 23:59:58\ta.dat"], "NTFS time"),
        ("manifest names a missing entry", {"a.dat": b"x"},
         ["2019-01-01 00:00:00\t2019-01-01 00:00:00\t2019-01-01 00:00:00\ta.dat",
          "2019-01-01 00:00:00\t2019-01-01 00:00:00\t2019-01-01 00:00:00\tb.dat"], "not in the source"),
        ("manifest leaves an entry out", {"a.dat": b"x", "b.dat": b"y"},
         ["2019-01-01 00:00:00\t2019-01-01 00:00:00\t2019-01-01 00:00:00\ta.dat"], "does not list"),
        ("manifest lists a file before its folder", {"d/a.dat": b"x"},
         ["2019-01-01 00:00:00\t2019-01-01 00:00:00\t2019-01-01 00:00:00\td/a.dat",
          "2019-01-01 00:00:00\t2019-01-01 00:00:00\t2019-01-01 00:00:00\td/"], "before its folder"),
        ("manifest with a bad time", {"a.dat": b"x"},
         ["2019-13-01 00:00:00\t2019-01-01 00:00:00\t2019-01-01 00:00:00\ta.dat"], "bad time"),
        ("time before DOS time stamps begin", {"a.dat": b"x"},
         ["1979-12-31 23:59:58\t2019-01-01 00:00:00\t2019-01-01 00:00:00\ta.dat"], "DOS time"),
    ]

    def test_each_case_fails_without_output(self):
        for label, tree, manifest, phrase in self.CASES:
            with self.subTest(label), tempfile.TemporaryDirectory() as tmp:
                src = os.path.join(tmp, "src")
                if tree is not None:
                    os.makedirs(src)
                    make_tree(src, tree)
                args = [src, os.path.join(tmp, "out.zip")]
                if manifest is not None:
                    with open(os.path.join(tmp, "m.entries"), "w") as f:
                        f.write("\n".join(manifest) + "\n")
                    args += ["--manifest", os.path.join(tmp, "m.entries")]
                result = run(*args)
                self.assertEqual(result.returncode, 1, result.stderr)
                self.assertIn(phrase, result.stderr)
                left = {"src"} if tree is not None else set()
                if manifest is not None:
                    left.add("m.entries")
                self.assertEqual(set(os.listdir(tmp)), left, "no output and no temporary file is left")

    def test_unreadable_file(self):
        with tempfile.TemporaryDirectory() as tmp:
            src = os.path.join(tmp, "src")
            make_tree(src, {"ok.dat": b"x"})
            os.symlink(os.path.join(tmp, "gone"), os.path.join(src, "dangling.dat"))
            result = run(src, os.path.join(tmp, "out.zip"))
            self.assertEqual(result.returncode, 1)
            self.assertIn("cannot read", result.stderr)
            self.assertFalse(os.path.exists(os.path.join(tmp, "out.zip")))

    def test_failure_leaves_an_existing_archive_untouched(self):
        with tempfile.TemporaryDirectory() as tmp:
            out = os.path.join(tmp, "out.zip")
            with open(out, "wb") as f:
                f.write(b"old archive")
            src = os.path.join(tmp, "src")
            make_tree(src, {"\u00e9.dat": b"x"})
            self.assertEqual(run(src, out).returncode, 1)
            with open(out, "rb") as f:
                self.assertEqual(f.read(), b"old archive")
            self.assertEqual(sorted(os.listdir(tmp)), ["out.zip", "src"])


if __name__ == "__main__":
    unittest.main()
