#!/usr/bin/env bash
# Run by wine-run.sh before the Wine walks: builds the synthetic drive and times the native
# find over it, the floor. It must run here: the drive is removed once the Wine run passed.
#   prepare.sh TREE FOLDERS RUNS
set -euo pipefail
tree=$1
folders=$2
runs=$3
python3 "$(dirname "$0")/make_tree.py" "$tree" "$folders"
times=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N); find "$tree" > /dev/null; end=$(date +%s%N)
  times+=($(( (end - start) / 1000 )))
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
awk -v us="${sorted[$(( runs / 2 ))]}" 'BEGIN { printf "native find over the same tree (floor): median %.1f ms\n", us / 1000 }'
