#!/usr/bin/env python3
"""The help document "获取游戏目录.docx": a valid word-processing package of 25 entries.

    test_help_document.py PAYLOAD_DIR

Every XML part parses, every internal relationship target exists, every part has a content
type, and the document shows its three pictures.
"""

import os
import posixpath
import struct
import sys
import unittest
import zipfile
import xml.etree.ElementTree as ET

PAYLOAD_DIR = os.environ.get("PAYLOAD_DIR", os.path.join(os.path.dirname(__file__), "..", "data"))
NAME = "获取游戏目录.docx"
PKG_REL = "{http://schemas.openxmlformats.org/package/2006/relationships}"
CT = "{http://schemas.openxmlformats.org/package/2006/content-types}"
OFFICE_DOCUMENT = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument"
IMAGE = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/image"
R_EMBED = "{http://schemas.openxmlformats.org/officeDocument/2006/relationships}embed"
W = "{http://schemas.openxmlformats.org/wordprocessingml/2006/main}"


def package():
    return zipfile.ZipFile(os.path.join(PAYLOAD_DIR, NAME))


def rels_name(part):
    """The relationships part of a part ("" for the package itself)."""
    folder, base = posixpath.split(part)
    return posixpath.join(folder, "_rels", base + ".rels")


def relationships(z, part):
    root = ET.fromstring(z.read(rels_name(part)))
    return [(r.get("Id"), r.get("Type"), r.get("Target"), r.get("TargetMode"))
            for r in root.iter(PKG_REL + "Relationship")]


def resolve(part, target):
    if target.startswith("/"):
        return target[1:]
    return posixpath.normpath(posixpath.join(posixpath.dirname(part), target))


class HelpPackage(unittest.TestCase):
    def test_entries(self):
        with package() as z:
            listed = [i.filename for i in z.infolist()]
        folders = [n for n in listed if n.endswith("/")]
        self.assertEqual((len(listed), len(folders), len(listed) - len(folders)), (25, 8, 17))
        for name in ["[Content_Types].xml", "_rels/", "customXml/", "docProps/", "word/",
                     "word/document.xml", "word/media/"]:
            self.assertIn(name, listed)
        media = [n for n in listed if n.startswith("word/media/") and not n.endswith("/")]
        self.assertEqual(len(media), 3)
        self.assertTrue(all(n.endswith(".png") for n in media))

    def test_every_xml_part_parses(self):
        with package() as z:
            for info in z.infolist():
                if info.filename.endswith((".xml", ".rels")):
                    with self.subTest(info.filename):
                        ET.fromstring(z.read(info))

    def test_every_relationship_target_exists(self):
        with package() as z:
            parts = {i.filename for i in z.infolist() if not i.is_dir()}
            for rels in [p for p in parts if p.endswith(".rels")]:
                folder = posixpath.dirname(posixpath.dirname(rels))
                source = posixpath.join(folder, posixpath.basename(rels)[:-len(".rels")])
                if source == ".":
                    source = ""
                for rid, kind, target, mode in relationships(z, source):
                    if mode == "External":
                        continue
                    with self.subTest(rels=rels, id=rid):
                        self.assertIn(resolve(source, target), parts)

    def test_package_starts_at_a_document(self):
        with package() as z:
            main = [t for _, k, t, _ in relationships(z, "") if k == OFFICE_DOCUMENT]
            self.assertEqual(main, ["word/document.xml"])
            body = ET.fromstring(z.read("word/document.xml")).find(W + "body")
            self.assertIsNotNone(body)
            text = "".join(t.text or "" for t in body.iter(W + "t"))
            self.assertIn("快速汉化", text)

    def test_every_part_has_a_content_type(self):
        with package() as z:
            parts = {i.filename for i in z.infolist() if not i.is_dir()}
            types = ET.fromstring(z.read("[Content_Types].xml"))
            defaults = {d.get("Extension").lower() for d in types.iter(CT + "Default")}
            overrides = {o.get("PartName")[1:] for o in types.iter(CT + "Override")}
            self.assertLessEqual(overrides, parts, "every override names a part")
            for part in parts - {"[Content_Types].xml"}:
                with self.subTest(part):
                    self.assertTrue(part in overrides or part.rsplit(".", 1)[-1].lower() in defaults)
            self.assertIn("word/document.xml", overrides)

    def test_document_shows_three_pictures(self):
        with package() as z:
            images = {rid: resolve("word/document.xml", target)
                      for rid, kind, target, _ in relationships(z, "word/document.xml") if kind == IMAGE}
            embedded = [e.get(R_EMBED) for e in ET.fromstring(z.read("word/document.xml")).iter()
                        if e.get(R_EMBED)]
            self.assertEqual(len(embedded), 3)
            self.assertEqual(len(set(embedded)), 3)
            for rid in embedded:
                data = z.read(images[rid])
                self.assertEqual(data[:8], b"\x89PNG\r\n\x1a\n", rid)
                width, height = struct.unpack(">II", data[16:24])
                self.assertGreater(width * height, 0)


if __name__ == "__main__":
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        PAYLOAD_DIR = sys.argv.pop(1)
    unittest.main()
