#!/usr/bin/env python3
"""Prepares the mapped drives of the installer tests on the host, before the test starts.

  --reference PAYLOAD_DIR   unpacks the five payload archives with Python's zipfile into
                            the folder of drive R: (R:\\Translations, R:\\Extras, ...): the
                            independent reference the unpacked game folders are compared with
  --readonly-game           D:\\ro\\Unturned, a folder this user may not write into
  --walk-fixtures           on drive B: a game at B:\\ok\\Unturned.exe, a game inside a folder
                            nobody may list (B:\\noaccess), links back to the drive's root
                            listed before and after B:\\ok (B:\\loop\\back, B:\\ok\\zz), links
                            to B:\\ok listed before and after it (B:\\alias, B:\\zz), so that a
                            walk in either direction meets a link before the game, and below
                            B:\\ok a second game in a folder of 247 bytes, whose path of 260
                            bytes is too long for the system's paths
  --big-tree N              on drive F: about N folders (F:\\tree\\...), so that a walk of the
                            drives lasts long enough for the progress timer to tick: the walk
                            runs from the last drive, so F: comes before the games on D: and E:
"""
import argparse
import os
import shutil
import zipfile

ARCHIVES = ["Translations", "Extras", "Localization", "Maps", "Bundles"]


def drive(letter):
    return os.environ["DRIVE_" + letter.upper()]


def unpack_reference(payload_dir):
    root = drive("r")
    for name in ARCHIVES:
        with zipfile.ZipFile(os.path.join(payload_dir, name + ".zip")) as archive:
            archive.extractall(os.path.join(root, name))
    shutil.copyfile(os.path.join(payload_dir, "获取游戏目录.docx"), os.path.join(root, "help.docx"))


def readonly_game():
    folder = os.path.join(drive("d"), "ro", "Unturned")
    os.makedirs(folder)
    os.chmod(folder, 0o555)


def walk_fixtures():
    root = drive("b")
    os.makedirs(os.path.join(root, "ok"))
    with open(os.path.join(root, "ok", "Unturned.exe"), "wb") as f:
        f.write(b"MZ")
    hidden = os.path.join(root, "noaccess", "Unturned")
    os.makedirs(hidden)
    with open(os.path.join(hidden, "Unturned.exe"), "wb") as f:
        f.write(b"MZ")
    # "B:\\ok" and three folders make 247 bytes; a listing of the last one ("\\*") still fits.
    deep = os.path.join(root, "ok", "d" * 100, "e" * 100, "f" * 39)
    os.makedirs(deep)
    with open(os.path.join(deep, "Unturned.exe"), "wb") as f:
        f.write(b"MZ")
    os.makedirs(os.path.join(root, "loop"))
    os.symlink(root, os.path.join(root, "loop", "back"))
    os.symlink(os.path.join(root, "ok"), os.path.join(root, "alias"))
    os.symlink(root, os.path.join(root, "ok", "zz"))
    os.symlink(os.path.join(root, "ok"), os.path.join(root, "zz"))
    os.chmod(os.path.join(root, "noaccess"), 0)


def big_tree(count):
    root = os.path.join(drive("f"), "tree")
    made = 0
    a = 0
    while made < count:
        for b in range(20):
            for c in range(10):
                os.makedirs(os.path.join(root, "pack%03d" % a, "set%02d" % b, "item%02d" % c))
                made += 1
        a += 1


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--reference")
    parser.add_argument("--walk-fixtures", action="store_true")
    parser.add_argument("--readonly-game", action="store_true")
    parser.add_argument("--big-tree", type=int)
    args = parser.parse_args()
    if args.reference:
        unpack_reference(args.reference)
    if args.readonly_game:
        readonly_game()
    if args.walk_fixtures:
        walk_fixtures()
    if args.big_tree:
        big_tree(args.big_tree)


if __name__ == "__main__":
    main()
