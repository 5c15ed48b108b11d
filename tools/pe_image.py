"""Reads (and patches) the few parts of a 32-bit Windows executable (PE32) that the program's
link step and its tests look at: the entry point, the data directories, the static imports
and the load configuration.
"""

import struct

LOAD_CONFIG_DIRECTORY = 10
IMPORT_DIRECTORY = 1
PE32_MAGIC = 0x10B
# IMAGE_LOAD_CONFIG_DIRECTORY32: the WORD after CSDVersion.
DEPENDENT_LOAD_FLAGS_OFFSET = 54


class ImageError(Exception):
    """The file is not a PE32 image this module can read."""


class Image:
    def __init__(self, data):
        self.data = bytearray(data)
        if self.data[:2] != b"MZ":
            raise ImageError("no MZ header")
        pe = struct.unpack_from("<I", self.data, 0x3C)[0]
        if self.data[pe:pe + 4] != b"PE\0\0":
            raise ImageError("no PE signature")
        sections, optional_size = struct.unpack_from("<H12xH", self.data, pe + 6)
        self.optional = pe + 24
        if struct.unpack_from("<H", self.data, self.optional)[0] != PE32_MAGIC:
            raise ImageError("not a 32-bit image")
        self.entry_point = struct.unpack_from("<I", self.data, self.optional + 16)[0]
        self.image_base = struct.unpack_from("<I", self.data, self.optional + 28)[0]
        self.directories = self.optional + 96
        table = self.optional + optional_size
        self.sections = []
        for i in range(sections):
            name, virtual_size, address, raw_size, raw_offset = struct.unpack_from(
                "<8sIIII", self.data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"),
                                  address, max(virtual_size, raw_size), raw_offset, raw_size))

    def offset(self, rva):
        for _, address, size, raw_offset, raw_size in self.sections:
            if address <= rva < address + size:
                if rva - address >= raw_size:
                    raise ImageError(f"RVA {rva:#x} lies in uninitialised data")
                return raw_offset + rva - address
        raise ImageError(f"RVA {rva:#x} lies in no section")

    def directory(self, index):
        return struct.unpack_from("<II", self.data, self.directories + 8 * index)

    def set_directory(self, index, rva, size):
        struct.pack_into("<II", self.data, self.directories + 8 * index, rva, size)

    def string(self, rva):
        start = self.offset(rva)
        return bytes(self.data[start:self.data.index(0, start)]).decode("ascii")

    def imports(self):
        """{dll name as written: [function names, or "#ordinal"]} of the static imports."""
        rva, _ = self.directory(IMPORT_DIRECTORY)
        found = {}
        while rva:
            lookup, _, _, name, thunks = struct.unpack_from("<IIIII", self.data, self.offset(rva))
            if name == 0:
                break
            functions = []
            entry = lookup or thunks
            while True:
                value = struct.unpack_from("<I", self.data, self.offset(entry))[0]
                if value == 0:
                    break
                if value & 0x80000000:
                    functions.append(f"#{value & 0xFFFF}")
                else:
                    functions.append(self.string(value + 2))
                entry += 4
            found[self.string(name)] = functions
            rva += 20
        return found

    def load_config(self):
        """(size field, DependentLoadFlags) of the load configuration, or None without one."""
        rva, size = self.directory(LOAD_CONFIG_DIRECTORY)
        if rva == 0:
            return None
        start = self.offset(rva)
        declared = struct.unpack_from("<I", self.data, start)[0]
        flags = (struct.unpack_from("<H", self.data, start + DEPENDENT_LOAD_FLAGS_OFFSET)[0]
                 if declared >= DEPENDENT_LOAD_FLAGS_OFFSET + 2 else 0)
        return declared, flags


def read(path):
    with open(path, "rb") as f:
        return Image(f.read())
