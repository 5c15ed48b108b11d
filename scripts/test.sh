#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Wine in a virtual display).
# Where this machine runs no 32-bit Windows code, or with QX_FORCE_64=1, the tests run on the
# 64-bit twin in build-x64/ (scripts/machine.sh); BUILD_DIR names another folder.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
source "$here/scripts/machine.sh"
build_for_path "$here" testing
build=$QX_BUILD
# The Wine tests share one wineserver and remap drives between tests: they run one at a time.
ctest --test-dir "$build" --output-on-failure
