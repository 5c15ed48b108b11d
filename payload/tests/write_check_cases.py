#!/usr/bin/env python3
"""Writes the archives of the payload check's table (tools/tests/test_payload_check.py) for
the test that unpacks them with the real extraction:

    write_check_cases.py [FOLDER]     (default: $TEST_STAGE/check_cases)

FOLDER/cases.txt lists them, one a line: file|game sub-folder|1 when the extraction must
unpack it, 0 when it must refuse it|what it shows.
"""

import os
import sys

TOOLS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools")
sys.path.insert(0, TOOLS)
sys.path.insert(0, os.path.join(TOOLS, "tests"))

import payload_check  # noqa: E402
import test_payload_check as table  # noqa: E402


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.environ["TEST_STAGE"], "check_cases")
    os.makedirs(folder, exist_ok=True)
    targets = dict(payload_check.ARCHIVES)
    rows = [(what, name, data, what in table.UNPACKED_THOUGH_REFUSED) for what, name, data, _ in table.REFUSED]
    rows += [(what, name, data, True) for what, name, data in table.ACCEPTED]
    lines = []
    for what, name, data, unpacks in rows:
        if name not in targets:  # the help document is not unpacked
            continue
        file = f"case{len(lines):02d}.zip"
        with open(os.path.join(folder, file), "wb") as f:
            f.write(data)
        lines.append(f"{file}|{targets[name]}|{int(unpacks)}|{what}\n")
    with open(os.path.join(folder, "cases.txt"), "w", encoding="ascii") as f:
        f.writelines(lines)


if __name__ == "__main__":
    main()
