#!/usr/bin/env python3
"""The program's link step, on the images this build tree made (PE32 in the shipped tree,
PE32+ in the 64-bit twin's):
    test_harden_link.py PROGRAM MAP LD_LINKED...
PROGRAM is the hardened program and MAP its link map; each LD_LINKED image carries the
checksum that ld wrote, the reference for the checksum algorithm. The read-back check must find the program sound
and must find each fault planted in a copy of it."""

import os
import re
import struct
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.dirname(HERE))

import harden_link  # noqa: E402
import pe_image  # noqa: E402

PROGRAM = None
MAP = None
LD_LINKED = []


def replace_once(image, old, new):
    at = image.data.find(old)
    assert at >= 0 and len(old) == len(new), old
    image.data[at:at + len(old)] = new


def load_config_start(image):
    return image.offset(image.directory(pe_image.LOAD_CONFIG_DIRECTORY)[0])


def set_flags(image, value):
    struct.pack_into("<H", image.data, load_config_start(image) + image.form.dependent_load_flags_offset, value)


def set_config_size(image, value):
    struct.pack_into("<I", image.data, load_config_start(image), value)


def move_load_config_to_uninitialised_data(image):
    for name, address, size, _, raw_size in image.sections:
        if size > raw_size:
            image.set_directory(pe_image.LOAD_CONFIG_DIRECTORY, address + raw_size, 0x100)
            return
    raise AssertionError("no section with uninitialised data")


def point_first_delay_slot_outside_text(image, descriptors):
    attributes, _, _, slots = struct.unpack_from("<IIII", image.data, image.offset(descriptors[0]))
    slot = slots - (0 if attributes & 1 else image.image_base)
    rdata = next(address for name, address, _, _, _ in image.sections if name == ".rdata")
    struct.pack_into(image.form.word_format, image.data, image.offset(slot), image.image_base + rdata)


def delayed_dlls_asked_for(map_text):
    """The DLLs the link was asked to delay: the delay-import libraries it loaded, as the
    link map lists its inputs ("LOAD .../libdelayed_user32.a")."""
    return sorted(stem + ".dll" for stem in re.findall(r"^LOAD \S*libdelayed_(\S+)\.a$", map_text, re.MULTILINE))


def flip_a_byte(image):
    image.data[len(image.data) // 2] ^= 0xFF


class ChecksumTest(unittest.TestCase):
    def test_matches_what_ld_wrote(self):
        self.assertTrue(LD_LINKED)
        for path in LD_LINKED:
            image = pe_image.read(path)
            self.assertNotEqual(image.stored_checksum(), 0, path)
            self.assertEqual(image.computed_checksum(), image.stored_checksum(), path)

    def test_carry_padding_and_skipped_field(self):
        rows = [
            # data, offset of the checksum field, expected
            (b"\xff\xff" * 3 + b"\x12\x34\x56\x78", 6, 0xFFFF + 10),   # end-around carry
            (b"\xab\xcd\xef\x01" + b"\x01\x02\x03", 0, 0x0201 + 0x0003 + 7),  # odd length
            (b"\0" * 8, 4, 8),
        ]
        for data, field, expected in rows:
            self.assertEqual(pe_image.checksum(data, field), expected, data)


class HardenedProgramTest(unittest.TestCase):
    def setUp(self):
        self.image = pe_image.read(PROGRAM)
        with open(MAP) as f:
            map_text = f.read()
        self.descriptors = harden_link.delay_descriptors(map_text, self.image)
        self.asked = delayed_dlls_asked_for(map_text)
        self.delayed = len(self.asked)

    def check(self, image):
        return harden_link.check_hardened(image, self.descriptors, self.delayed)

    def test_the_built_program_is_sound(self):
        self.assertEqual(self.check(self.image), [])
        self.assertEqual(self.image.load_config()[1], harden_link.LOAD_LIBRARY_SEARCH_SYSTEM32)
        delayed = sorted(dll.lower() for dll in self.image.delay_imports(self.descriptors))
        self.assertIn("user32.dll", delayed)
        # Every DLL the link was asked to delay has its descriptor, and no other has one.
        self.assertEqual(delayed, self.asked)
        self.assertEqual(harden_link.check_hardened(self.image, self.descriptors[1:], self.delayed),
                         [f"{self.delayed - 1} delay-import descriptors for {self.delayed} delayed DLLs"])

    def test_each_planted_fault_is_found_alone(self):
        rows = [
            (lambda image: set_flags(image, 0), "DependentLoadFlags read 0x0"),
            (lambda image: set_config_size(image, image.form.dependent_load_flags_offset), "does not cover"),
            (lambda image: image.set_directory(pe_image.LOAD_CONFIG_DIRECTORY, 0, 0), "no load configuration"),
            (move_load_config_to_uninitialised_data, "not in the file's data"),
            (lambda image: point_first_delay_slot_outside_text(image, self.descriptors), "not at a load thunk in .text"),
            (lambda image: replace_once(image, b"msvcrt.dll\0", b"dwmapi.dll\0"), "still imports dwmapi.dll"),
        ]
        for plant, fault in rows:
            image = pe_image.Image(self.image.data)
            plant(image)
            image.update_checksum()
            faults = self.check(pe_image.Image(image.data))
            self.assertEqual(len(faults), 1, faults)
            self.assertIn(fault, faults[0])

    def test_a_stale_checksum_is_found(self):
        image = pe_image.Image(self.image.data)
        flip_a_byte(image)
        faults = self.check(image)
        self.assertEqual(len(faults), 1, faults)
        self.assertIn("checksum", faults[0])


if __name__ == "__main__":
    PROGRAM, MAP, LD_LINKED = sys.argv[1], sys.argv[2], sys.argv[3:]
    unittest.main(argv=sys.argv[:1])
