#!/usr/bin/env python3
"""Prepares the one-click benchmark on the host, before its driver starts under Wine:
the synthetic drive S: with the game near the end of the walk (bench/search/make_tree.py),
and beside the driver
  game.txt        the game folder as the program sees it (S:\\...\\Unturned)
  game.host       the same folder on the host, for emptying it between runs
  bundles.replay  Bundles.zip's folders and files, unpacked, for the replay floor: records
                  of a kind byte (0 folder, 1 file), a 16-bit name length and the name (GBK,
                  backslashes, below the target folder); a file adds its 64-bit FILETIME,
                  32-bit size and bytes; all numbers little-endian
   prepare.py FOLDERS BUNDLES_ZIP"""
import datetime
import os
import struct
import subprocess
import sys
import zipfile

folders, bundles = int(sys.argv[1]), sys.argv[2]
drive, stage = os.environ["DRIVE_S"], os.environ["TEST_STAGE"]
make_tree = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "search", "make_tree.py")
report = subprocess.run([sys.executable, make_tree, drive, str(folders)], check=True,
                        capture_output=True, text=True).stdout
print(report, end="")
game = report.rsplit("game at ", 1)[1].strip()
with open(os.path.join(stage, "game.host"), "w") as f:
    f.write(game)
with open(os.path.join(stage, "game.txt"), "w") as f:
    f.write("S:\\" + os.path.relpath(game, drive).replace("/", "\\"))


def filetime(date_time):
    seconds = (datetime.datetime(*date_time) - datetime.datetime(1601, 1, 1)).total_seconds()
    return int(seconds) * 10_000_000


with zipfile.ZipFile(bundles) as archive, open(os.path.join(stage, "bundles.replay"), "wb") as out:
    made = set()

    def folder(name):
        # name: raw bytes with "/", which is never the second byte of a GBK character
        if not name or name in made:
            return
        folder(name.rpartition(b"/")[0])
        made.add(name)
        native = name.replace(b"/", b"\\")
        out.write(struct.pack("<BH", 0, len(native)) + native)

    for info in archive.infolist():
        raw = info.filename.encode("gbk" if info.flag_bits & 0x800 else "cp437").rstrip(b"/")
        if info.is_dir():
            folder(raw)
            continue
        folder(raw.rpartition(b"/")[0])
        data = archive.read(info)
        native = raw.replace(b"/", b"\\")
        out.write(struct.pack("<BH", 1, len(native)) + native +
                  struct.pack("<QI", filetime(info.date_time), len(data)) + data)
    print("replay of %s: %d folders" % (os.path.basename(bundles), len(made)))
