#!/usr/bin/env python3
"""Packs the five sample trees of payload/src/ into payload/data/ with their manifests.

    pack_sample.py [--src FOLDER] [--out FOLDER]
"""

import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import zippack  # noqa: E402

REPO = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
ARCHIVES = ["Translations", "Extras", "Localization", "Maps", "Bundles"]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--src", default=os.path.join(REPO, "payload", "src"))
    parser.add_argument("--out", default=os.path.join(REPO, "payload", "data"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name in ARCHIVES:
        code = zippack.main([os.path.join(args.src, name), os.path.join(args.out, name + ".zip"),
                             "--manifest", os.path.join(args.src, name + ".entries")])
        if code:
            return code
    return 0


if __name__ == "__main__":
    sys.exit(main())
