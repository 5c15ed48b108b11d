#!/usr/bin/env bash
# Runs a target executable under Wine for ctest (the cross-compiling emulator):
#   wine-run.sh BUILD PROGRAM.exe [ARGS...]
# The prefix has no z: drive, so the program and the files named in WINE_TEST_FILES
# (separated by "|") are copied to C:\tests\ and run from there.
# WINE_TEST_DRIVES ("d|e|...") maps each letter to a fresh empty folder
# WINE_TEST_DRIVES_ROOT/WINE_TEST_NAME/LETTER; drives not named are removed (c: stays).
# Wine sees drive changes only after a wineserver restart, so one is made when they change.
# WINE_TEST_PREPARE ("command|arg|...") runs on the host once the folders exist, with
# DRIVE_<LETTER> naming each drive's folder and TEST_STAGE the program's folder.
set -euo pipefail
build=$(cd "${1:?build folder}" && pwd); shift
program=${1:?program}; shift
source "$(dirname "$0")/wine-env.sh" "$build"

dosdevices="$WINEPREFIX/dosdevices"
test_name=${WINE_TEST_NAME:-$(basename "$program" .exe)}

want=""
if [ -n "${WINE_TEST_DRIVES:-}" ]; then
  IFS='|' read -r -a letters <<< "$WINE_TEST_DRIVES"
  for l in "${letters[@]}"; do
    dir="$WINE_TEST_DRIVES_ROOT/$test_name/$l"
    chmod -R u+rwX "$dir" 2>/dev/null || true
    rm -rf "$dir"; mkdir -p "$dir"
    give_to_wine_user "$dir"
    want="$want $l:=$dir"
    export "DRIVE_$(echo "$l" | tr '[:lower:]' '[:upper:]')=$dir"
  done
fi
have=""
for link in "$dosdevices"/?:; do
  [ -L "$link" ] || continue
  l=$(basename "$link")
  [ "$l" = "c:" ] && continue
  have="$have $l=$(readlink "$link")"
done
if [ "$(echo $want | tr ' ' '\n' | sort)" != "$(echo $have | tr ' ' '\n' | sort)" ]; then
  as_wine_user wineserver -k > /dev/null 2>&1 || true
  as_wine_user wineserver -w > /dev/null 2>&1 || true
  for link in "$dosdevices"/?:; do
    [ -L "$link" ] && [ "$(basename "$link")" != "c:" ] && rm -f "$link"
  done
  for pair in $want; do
    ln -s "${pair#*=}" "$dosdevices/${pair%%=*}"
  done
  as_wine_user wineserver -p > /dev/null 2>&1 < /dev/null || true
  as_wine_user "$QX_WINE" cmd /c ver > /dev/null 2>&1 < /dev/null || true
fi

stage="$WINEPREFIX/drive_c/tests/$test_name"
rm -rf "$stage"; mkdir -p "$stage"
cp "$program" "$stage/"
if [ -n "${WINE_TEST_FILES:-}" ]; then
  IFS='|' read -r -a files <<< "$WINE_TEST_FILES"
  for f in "${files[@]}"; do cp -r "$f" "$stage/"; done
fi
export TEST_STAGE="$stage"
if [ -n "${WINE_TEST_PREPARE:-}" ]; then
  IFS='|' read -r -a prepare <<< "$WINE_TEST_PREPARE"
  "${prepare[@]}"
  # What the preparation made belongs to the Wine user; the modes it set stay.
  for pair in $want; do give_to_wine_user "${pair#*=}"; done
fi
give_to_wine_user "$stage"
cd "$stage"
# Wine's helper processes (services, the desktop) may outlive the program and keep its
# output open; ctest would wait for them. The output goes through a file instead.
log=$(mktemp)
set +e
as_wine_user "$QX_WINE" "C:\\tests\\$test_name\\$(basename "$program")" "$@" > "$log" 2>&1 < /dev/null
rc=$?
set -e
cat "$log"; rm -f "$log"
# A passing test's drives are of no more use; a failing test's stay for a look.
if [ "$rc" = 0 ]; then
  for pair in $want; do
    chmod -R u+rwX "${pair#*=}" 2>/dev/null || true
    rm -rf "${pair#*=}"
  done
fi
exit $rc
