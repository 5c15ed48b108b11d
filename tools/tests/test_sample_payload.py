#!/usr/bin/env python3
"""The committed sample payload is what the tools make: the generator writes payload/src/
again byte for byte, and packing payload/src/ gives the committed payload/data/ archives."""

import filecmp
import os
import subprocess
import sys
import tempfile
import unittest

TOOLS = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
REPO = os.path.dirname(TOOLS)
SRC = os.path.join(REPO, "payload", "src")
DATA = os.path.join(REPO, "payload", "data")
ARCHIVES = ["Translations", "Extras", "Localization", "Maps", "Bundles"]


def tree_files(root):
    out = set()
    for dirpath, dirnames, filenames in os.walk(root):
        rel = os.path.relpath(dirpath, root)
        out.update(os.path.normpath(os.path.join(rel, n)) for n in dirnames + filenames)
    return out


class SamplePayload(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.TemporaryDirectory()
        subprocess.run([sys.executable, os.path.join(TOOLS, "make_sample_tree.py"), "--out",
                        os.path.join(cls.tmp.name, "src")], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([sys.executable, os.path.join(TOOLS, "pack_sample.py"), "--src", SRC, "--out",
                        os.path.join(cls.tmp.name, "data")], check=True, stdout=subprocess.DEVNULL)

    @classmethod
    def tearDownClass(cls):
        cls.tmp.cleanup()

    def test_generator_writes_the_committed_trees(self):
        made = os.path.join(self.tmp.name, "src")
        for archive in ARCHIVES:
            with self.subTest(archive):
                mine, committed = os.path.join(made, archive), os.path.join(SRC, archive)
                names = tree_files(committed)
                self.assertEqual(tree_files(mine), names)
                files = [n for n in names if os.path.isfile(os.path.join(committed, n))]
                match, mismatch, errors = filecmp.cmpfiles(committed, mine, files, shallow=False)
                self.assertEqual((mismatch, errors), ([], []))
                self.assertTrue(filecmp.cmp(os.path.join(made, archive + ".entries"),
                                            os.path.join(SRC, archive + ".entries"), shallow=False))

    def test_packing_the_trees_gives_the_committed_archives(self):
        for archive in ARCHIVES:
            with self.subTest(archive):
                self.assertTrue(filecmp.cmp(os.path.join(self.tmp.name, "data", archive + ".zip"),
                                            os.path.join(DATA, archive + ".zip"), shallow=False))


if __name__ == "__main__":
    unittest.main()
