"""Reads (and patches) the few parts of a Windows executable that the program's link step and
its tests look at: the entry point, the data directories, the static and delayed imports, the
load configuration and the checksum. Both word sizes: PE32 (the shipped program) and PE32+
(the 64-bit twin the tests run where no 32-bit code runs).
"""

import struct

IMPORT_DIRECTORY = 1
LOAD_CONFIG_DIRECTORY = 10
DELAY_IMPORT_DIRECTORY = 13
PE32_MAGIC = 0x10B
PE32_PLUS_MAGIC = 0x20B
# Offset of the CheckSum field in the optional header (the same in both forms).
CHECKSUM_OFFSET = 64


class ImageError(Exception):
    """The file is not a PE32 or PE32+ image this module can read."""


class Form:
    """What differs between PE32 and PE32+ for the parts read here."""

    def __init__(self, name, word, image_base_offset, directories_offset, dependent_load_flags_offset):
        self.name = name
        self.word = word  # bytes of a pointer: thunks, IAT slots
        self.image_base_offset = image_base_offset
        self.directories_offset = directories_offset
        # IMAGE_LOAD_CONFIG_DIRECTORY32/64: the WORD after CSDVersion.
        self.dependent_load_flags_offset = dependent_load_flags_offset
        self.ordinal_flag = 1 << (8 * word - 1)
        self.word_format = "<I" if word == 4 else "<Q"


FORMS = {
    PE32_MAGIC: Form("PE32", 4, 28, 96, 54),
    PE32_PLUS_MAGIC: Form("PE32+", 8, 24, 112, 78),
}


def checksum(data, field):
    """The PE checksum of data (Windows' CheckSumMappedFile): the 16-bit little-endian words
    summed with end-around carry, the 4 bytes at field (the stored checksum) counted as zero,
    an odd last byte padded with zero, plus the file's length."""
    words = bytearray(data)
    words[field:field + 4] = b"\0\0\0\0"
    if len(words) % 2:
        words.append(0)
    total = sum(struct.unpack(f"<{len(words) // 2}H", words))
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


class Image:
    def __init__(self, data):
        self.data = bytearray(data)
        if self.data[:2] != b"MZ":
            raise ImageError("no MZ header")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ImageError("no PE signature")
        self.machine, sections, optional_size = struct.unpack_from("<HH12xH", self.data, pe + 4)
        self.optional = pe + 24
        magic = struct.unpack_from("<H", self.data, self.optional)[0]
        if magic not in FORMS:
            raise ImageError(f"optional header magic {magic:#x} is neither PE32 nor PE32+")
        self.form = FORMS[magic]
        self.entry_point = struct.unpack_from("<I", self.data, self.optional + 16)[0]
        self.image_base = struct.unpack_from(self.form.word_format, self.data,
                                             self.optional + self.form.image_base_offset)[0]
        self.directories = self.optional + self.form.directories_offset
        table = self.optional + optional_size
        self.sections = []
        for i in range(sections):
            name, virtual_size, address, raw_size, raw_offset = struct.unpack_from(
                "<8sIIII", self.data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"),
                                  address, max(virtual_size, raw_size), raw_offset, raw_size))

    @property
    def is_64bit(self):
        return self.form.word == 8

    def section_of(self, rva):
        """The name of the section that holds rva, or None."""
        for name, address, size, _, _ in self.sections:
            if address <= rva < address + size:
                return name
        return None

    def offset(self, rva, length=1):
        """The file offset of rva; the length bytes from there must lie in raw section data."""
        for _, address, size, raw_offset, raw_size in self.sections:
            if address <= rva < address + size:
                if rva - address + length > raw_size:
                    raise ImageError(f"RVA {rva:#x} (+{length}) lies in uninitialised data")
                return raw_offset + rva - address
        raise ImageError(f"RVA {rva:#x} lies in no section")

    def word(self, rva):
        return struct.unpack_from(self.form.word_format, self.data, self.offset(rva, self.form.word))[0]

    def directory(self, index):
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def set_directory(self, index, rva, size):
        struct.pack_into("<II", self.data, self.directories + 8 * index, rva, size)

    def string(self, rva):
        start = self.offset(rva)
        return bytes(self.data[start:self.data.index(0, start)]).decode("ascii")

    def _names(self, rva):
        """The function names (or "#ordinal") of a lookup table at rva, up to its zero entry."""
        functions = []
        while True:
            value = self.word(rva)
            if value == 0:
                return functions
            if value & self.form.ordinal_flag:
                functions.append(f"#{value & 0xFFFF}")
            else:
                functions.append(self.string(value + 2))
            rva += self.form.word

    def imports(self):
        """{dll name as written: [function names, or "#ordinal"]} of the static imports."""
        rva, _ = self.directory(IMPORT_DIRECTORY)
        found = {}
        while rva:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, self.offset(rva, 20))
            if name == 0:
                break
            found[self.string(name)] = self._names(lookup or thunks)
            rva += 20
        return found

    def delay_descriptors(self):
        """The RVAs of the delay-import descriptors the delay-import directory lists (ld 2.40
        leaves that directory empty: the link step finds them in its link map instead)."""
        rva, _ = self.directory(DELAY_IMPORT_DIRECTORY)
        found = []
        while rva and struct.unpack_from("<I", self.data, self.offset(rva, 32) + 4)[0]:
            found.append(rva)
            rva += 32
        return found

    def delay_imports(self, descriptors=None):
        """{dll name: [(function name or "#ordinal", RVA its address slot holds before the first
        call)]} of the delay-import descriptors at the given RVAs (default: those the directory
        lists). A descriptor holds RVAs (Attributes bit 0) or, in the older form, addresses."""
        found = {}
        for rva in self.delay_descriptors() if descriptors is None else descriptors:
            attributes, name, _, slots, names = struct.unpack_from("<IIIII", self.data, self.offset(rva, 32))
            base = 0 if attributes & 1 else self.image_base
            functions = self._names(names - base)
            found[self.string(name - base)] = [
                (function, self.word(slots - base + i * self.form.word) - self.image_base)
                for i, function in enumerate(functions)]
        return found

    def load_config(self):
        """(size field, DependentLoadFlags) of the load configuration, or None without one;
        the flags read as 0 when the size does not cover them."""
        rva, _ = self.directory(LOAD_CONFIG_DIRECTORY)
        if rva == 0:
            return None
        start = self.offset(rva, 4)
        declared = struct.unpack_from("<I", self.data, start)[0]
        end = self.form.dependent_load_flags_offset + 2
        flags = (struct.unpack_from("<H", self.data, self.offset(rva, end) + end - 2)[0]
                 if declared >= end else 0)
        return declared, flags

    def stored_checksum(self):
        return struct.unpack_from("<I", self.data, self.optional + CHECKSUM_OFFSET)[0]

    def computed_checksum(self):
        return checksum(self.data, self.optional + CHECKSUM_OFFSET)

    def update_checksum(self):
        struct.pack_into("<I", self.data, self.optional + CHECKSUM_OFFSET, self.computed_checksum())


def read(path):
    with open(path, "rb") as f:
        return Image(f.read())
