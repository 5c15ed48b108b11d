#!/usr/bin/env python3
"""Writes an archive of many small entries, laid out as the catalogue's Bundles.zip is (a
folder entry, then one small "Schinese.dat" in it, in groups of 500 with a folder of their
own), to measure what the extraction does per entry:
    many_entries.py OUT.zip [ENTRIES]   (default 50000 entries in all)"""
import sys
import zipfile


def main(argv):
    out = argv[1]
    entries = int(argv[2]) if len(argv) > 2 else 50000
    time = (2020, 8, 30, 12, 44, 2)

    def folder_entry(name):
        info = zipfile.ZipInfo(name, time)
        info.external_attr = 0x10  # the MS-DOS folder flag, as the catalogue's folders carry
        archive.writestr(info, b"")

    with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as archive:
        written = i = 0
        while written < entries:
            group = f"Group{i // 500:03d}/"
            if i % 500 == 0:
                folder_entry(group)
                written += 1
            folder = f"{group}Asset{i:05d}/"
            folder_entry(folder)
            written += 1
            if written < entries:
                archive.writestr(zipfile.ZipInfo(folder + "Schinese.dat", time),
                                 f"Name 资产 {i}\nDescription 描述\n".encode("utf-8"), zipfile.ZIP_DEFLATED)
                written += 1
            i += 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
