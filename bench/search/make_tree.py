#!/usr/bin/env python3
"""Builds the benchmark's synthetic drive: about FOLDERS folders a few levels deep, a few
files in each, and one game near the end of the walk.   make_tree.py ROOT FOLDERS"""
import os
import sys

root, wanted = sys.argv[1], int(sys.argv[2])
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
game = os.path.join(root, "Library%03d" % (top - 1), "Package24", "Asset7", "Unturned")
os.makedirs(game)
open(os.path.join(game, "Unturned.exe"), "wb").close()
print("synthetic drive: %d folders, game at %s" % (made + 1, game))
