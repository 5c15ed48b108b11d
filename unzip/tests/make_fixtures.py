#!/usr/bin/env python3
"""Writes the archives that the extraction tests unpack, into OUTDIR:

  source/            a small tree of folders and files (ASCII names, fixed times)
  source-times.txt   relative path, tab, modification time (Unix seconds), per file
  tools/*.zip        that tree packed by third-party tools (Python's zipfile, Info-ZIP zip,
                     bsdtar, 7z); tools/list.txt names them, one a line
  sweep.zip          a small Info-ZIP archive for the corruption sweep; sweep-source/ its tree
  payload/*.zip      copies of the catalogue archives found in PAYLOAD_DIR
  payload-expected/  each of them unpacked by Python's zipfile (GBK names), one folder
                     per archive; payload/list.txt: archive name, tab, entry count

Every tool's archive is checked here to hold a folder entry for each of its folders, since
the extractor creates folders only from folder entries. Nothing is redone while the inputs
are unchanged.
"""
import hashlib
import os
import random
import shutil
import subprocess
import sys
import zipfile

SOURCE_FILES = {
    "Readme.txt": b"Plain text at the root.\r\n" * 3,
    "empty.dat": b"",
    "Maps/PEI_Space/Schinese.dat": "Name 太空站\r\n".encode("gbk"),
    "Maps/Alpha Valley/Big.txt": b"".join(b"Line %06d of a long, compressible text file.\n" % i
                                          for i in range(5000)),
    "Bundles/Random.bin": random.Random(4).randbytes(70000),
    "deep/a/b/c/d/e/leaf.txt": b"leaf",
}
SOURCE_FOLDERS = ["Maps", "Maps/PEI_Space", "Maps/Alpha Valley", "Bundles", "Bundles/Empty Folder",
                  "deep", "deep/a", "deep/a/b", "deep/a/b/c", "deep/a/b/c/d", "deep/a/b/c/d/e"]
FIRST_TIME = 1600000000  # 2020-09-13, even seconds as DOS times need


def signature(payload_dir):
    digest = hashlib.sha256(open(__file__, "rb").read())
    if os.path.isdir(payload_dir):
        for name in sorted(os.listdir(payload_dir)):
            if name.lower().endswith(".zip"):
                digest.update(name.encode() + open(os.path.join(payload_dir, name), "rb").read())
    return digest.hexdigest()


def make_source(out):
    source = os.path.join(out, "source")
    for folder in SOURCE_FOLDERS:
        os.makedirs(os.path.join(source, folder), exist_ok=True)
    times = []
    for i, (name, data) in enumerate(sorted(SOURCE_FILES.items())):
        path = os.path.join(source, name)
        with open(path, "wb") as f:
            f.write(data)
        when = FIRST_TIME + 86400 * i
        os.utime(path, (when + 7200, when))
        times.append("%s\t%d\n" % (name, when))
    for folder in SOURCE_FOLDERS + ["."]:
        os.utime(os.path.join(source, folder), (FIRST_TIME, FIRST_TIME))
    with open(os.path.join(out, "source-times.txt"), "w", newline="\n") as f:
        f.writelines(times)
    return source


def python_zip(source, target, method):
    with zipfile.ZipFile(target, "w", method) as z:
        for folder in SOURCE_FOLDERS:
            info = zipfile.ZipInfo(folder + "/", (2020, 9, 13, 12, 26, 40))
            info.external_attr = (0o40755 << 16) | 0x10
            z.writestr(info, b"")
        for name in sorted(SOURCE_FILES):
            z.write(os.path.join(source, name), name)


def run(args, cwd):
    subprocess.run(args, cwd=cwd, check=True, stdout=subprocess.DEVNULL)


def make_tools(out, source):
    tools = os.path.join(out, "tools")
    os.makedirs(tools)
    made = []

    def made_by(name, builder):
        target = os.path.join(tools, name)
        builder(target)
        made.append(name)

    made_by("python-deflated.zip", lambda t: python_zip(source, t, zipfile.ZIP_DEFLATED))
    made_by("python-stored.zip", lambda t: python_zip(source, t, zipfile.ZIP_STORED))
    made_by("infozip-deflated.zip", lambda t: run(["zip", "-q", "-r", t, "."], source))
    made_by("infozip-stored.zip", lambda t: run(["zip", "-q", "-r", "-0", t, "."], source))
    made_by("bsdtar.zip", lambda t: run(["bsdtar", "--format", "zip", "-cf", t, "."], source))
    made_by("7z.zip", lambda t: run(["7z", "a", "-tzip", "-bd", t] + sorted(os.listdir(source)), source))
    for name in made:
        check_folder_entries(os.path.join(tools, name))
    with open(os.path.join(tools, "list.txt"), "w", newline="\n") as f:
        f.writelines(name + "\n" for name in made)


SWEEP_FILES = {
    "s/a.txt": b"Entry a, deflated. " * 16,
    "s/t/c.txt": b"".join(b"%04d " % i for i in range(400)),
    "b.bin": bytes(range(256)),
    "z.dat": b"",
}


def make_sweep(out):
    source = os.path.join(out, "sweep-source")
    for name, data in SWEEP_FILES.items():
        path = os.path.join(source, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)
        os.utime(path, (FIRST_TIME, FIRST_TIME))
    # b.bin is stored, the others deflated.
    run(["zip", "-q", "-r", "-n", ".bin", os.path.join(out, "sweep.zip"), "s", "b.bin", "z.dat"], source)
    check_folder_entries(os.path.join(out, "sweep.zip"))


def stored_name(info):
    if info.flag_bits & 0x800:
        return info.filename.encode("utf-8")
    return info.filename.encode("cp437")


def check_folder_entries(archive):
    with zipfile.ZipFile(archive) as z:
        names = {stored_name(i).decode("gbk").lstrip("./") if stored_name(i).startswith(b"./")
                 else stored_name(i).decode("gbk") for i in z.infolist()}
    for name in names:
        parts = name.rstrip("/").split("/")
        for depth in range(1, len(parts)):
            folder = "/".join(parts[:depth]) + "/"
            if folder not in names:
                sys.exit("%s: no folder entry for %s" % (archive, folder))


def make_payload(out, payload_dir):
    payload = os.path.join(out, "payload")
    expected = os.path.join(out, "payload-expected")
    os.makedirs(payload)
    os.makedirs(expected)
    rows = []
    names = sorted(n for n in os.listdir(payload_dir) if n.lower().endswith(".zip")) \
        if os.path.isdir(payload_dir) else []
    for name in names:
        shutil.copyfile(os.path.join(payload_dir, name), os.path.join(payload, name))
        tree = os.path.join(expected, os.path.splitext(name)[0])
        os.makedirs(tree)
        with zipfile.ZipFile(os.path.join(payload_dir, name)) as z:
            infos = z.infolist()
            for info in infos:
                # Names are GBK bytes; on the host they are written as UTF-8, which Wine
                # shows to the program as GBK again.
                relative = stored_name(info).decode("gbk")
                path = os.path.join(tree, *relative.rstrip("/").split("/"))
                if info.is_dir():
                    os.makedirs(path, exist_ok=True)
                else:
                    os.makedirs(os.path.dirname(path), exist_ok=True)
                    with open(path, "wb") as f:
                        f.write(z.read(info))
        rows.append("%s\t%d\n" % (name, len(infos)))
    with open(os.path.join(payload, "list.txt"), "w", newline="\n") as f:
        f.writelines(rows)


def main():
    out, payload_dir = sys.argv[1], sys.argv[2]
    stamp = os.path.join(out, "stamp.txt")
    wanted = signature(payload_dir)
    if os.path.exists(stamp) and open(stamp).read() == wanted:
        return
    if os.path.exists(out):
        shutil.rmtree(out)
    os.makedirs(out)
    source = make_source(out)
    make_tools(out, source)
    make_sweep(out)
    make_payload(out, payload_dir)
    with open(stamp, "w") as f:
        f.write(wanted)


if __name__ == "__main__":
    main()
