#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (under Wine in a virtual display).
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$here/build}
bash "$here/scripts/build.sh"
# The Wine tests share one wineserver and remap drives between tests: they run one at a time.
ctest --test-dir "$build" --output-on-failure
