#!/usr/bin/env python3
"""Builds a benchmark's synthetic drive: about FOLDERS folders a few levels deep, a few files
in each, and one game folder, near the end of the walk (end, the default) or half way through
it (half). With "hidden" the game's executable is named Unturned.ex_ (a benchmark renames it
to place the game).   make_tree.py ROOT FOLDERS [end|half] [hidden]"""
import os
import sys

root, wanted = sys.argv[1], int(sys.argv[2])
where = sys.argv[3] if len(sys.argv) > 3 else "end"
hidden = len(sys.argv) > 4 and sys.argv[4] == "hidden"
made = 0
top = 0
while made < wanted:
    for mid in range(25):
        for leaf in range(8):
            folder = os.path.join(root, "Library%03d" % top, "Package%02d" % mid, "Asset%d" % leaf)
            os.makedirs(folder)
            made += 1
            for f in ("readme.txt", "data.bin", "icon.png"):
                with open(os.path.join(folder, f), "wb"):
                    pass
        made += 1
    made += 1
    top += 1
# Folders are listed in name order (NTFS lists them so, and Wine here), so the middle library
# is half way through the walk in either direction.
library = top - 1 if where == "end" else top // 2
game = os.path.join(root, "Library%03d" % library, "Package24", "Asset7", "Unturned")
os.makedirs(game)
open(os.path.join(game, "Unturned.ex_" if hidden else "Unturned.exe"), "wb").close()
print("synthetic drive: %d folders, game at %s" % (made + 1, game))
