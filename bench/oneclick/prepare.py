#!/usr/bin/env python3
"""Prepares the one-click benchmark on the host, before its driver starts under Wine.
   prepare.py LAYOUT BUNDLES_ZIP
LAYOUT is a number of folders: one synthetic drive S: of about that many folders with the game
near the end of the walk (bench/search/make_tree.py); or machine[:SYSTEM,GAMES]: a system drive
and a games drive after it, as on a player's machine. The prefix's own C: is the system drive,
with about SYSTEM folders (default 60,000) in C:\\tests\\oneclick_bench\\system; S: is the games
drive, about GAMES folders (default 20,000).
Each holds a game folder half way through it whose executable is hidden (Unturned.ex_): the
driver places the game in one of them, or in neither, by renaming it. Beside the driver:
  game.txt        the game folder as the program sees it (S:\\...\\Unturned)
  game.host       the same folder on the host, for emptying it between runs
  machine.txt     (machine only) three lines, for the games drive, the system drive and no
                  game: the game folder as the program sees it (empty for no game) and its
                  host folder (for no game, an empty folder), separated by "|"
  bundles.replay  Bundles.zip's folders and files, unpacked, for the replay floor: records
                  of a kind byte (0 folder, 1 file), a 16-bit name length and the name (GBK,
                  backslashes, below the target folder); a file adds its 64-bit FILETIME,
                  32-bit size and bytes; all numbers little-endian"""
import datetime
import os
import struct
import subprocess
import sys
import zipfile

layout, bundles = sys.argv[1], sys.argv[2]
drive, stage = os.environ["DRIVE_S"], os.environ["TEST_STAGE"]
make_tree = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "search", "make_tree.py")


def tree(root, folders, *how):
    """Builds a tree; the host folder of its game."""
    report = subprocess.run([sys.executable, make_tree, root, str(folders), *how], check=True,
                            capture_output=True, text=True).stdout
    print(report, end="")
    return report.rsplit("game at ", 1)[1].strip()


def seen(host_root, letter, host_path):
    return letter + ":\\" + os.path.relpath(host_path, host_root).replace("/", "\\")


if layout.startswith("machine"):
    sizes = layout.partition(":")[2].split(",") if ":" in layout else ["60000", "20000"]
    system = os.path.join(stage, "system")
    drive_c = os.path.dirname(os.path.dirname(stage))
    on_system = tree(system, int(sizes[0]), "half", "hidden")
    on_games = tree(drive, int(sizes[1]), "half", "hidden")
    nowhere = os.path.join(stage, "nogame")
    os.makedirs(nowhere)
    cases = [(seen(drive, "S", on_games), on_games), (seen(drive_c, "C", on_system), on_system), ("", nowhere)]
    with open(os.path.join(stage, "machine.txt"), "w") as f:
        f.write("".join("%s|%s\n" % case for case in cases))
    game = on_games
else:
    game = tree(drive, int(layout))
with open(os.path.join(stage, "game.host"), "w") as f:
    f.write(game)
with open(os.path.join(stage, "game.txt"), "w") as f:
    f.write(seen(drive, "S", game))


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
