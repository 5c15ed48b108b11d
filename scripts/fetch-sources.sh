#!/usr/bin/env bash
# Fetches the Debian source packages of minizip and libjpeg-turbo into a folder, without
# touching the system's apt configuration: the deb-src lines are derived at run time from
# the system's own apt sources and used through a private list, state and cache folder.
# Usage: fetch-sources.sh DEST   (idempotent: a package already unpacked is kept)
set -euo pipefail
dest=${1:?destination folder}
mkdir -p "$dest"
dest=$(cd "$dest" && pwd)

want=(minizip libjpeg-turbo)
need=()
for p in "${want[@]}"; do
  [ -f "$dest/$p.unpacked" ] || need+=("$p")
done
[ ${#need[@]} -eq 0 ] && exit 0

apt_dir="$dest/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
list="$apt_dir/sources.list"
: > "$list"

# One-line sources: turn each "deb" line into "deb-src".
for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
  [ -f "$f" ] || continue
  sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$f" >> "$list"
done
# deb822 sources: one deb-src line per stanza that has Types: deb.
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  awk '
    function flush() {
      if (types ~ /(^| )deb( |$)/ && uris != "" && enabled != "no") {
        opt = (signed != "") ? "[signed-by=" signed "] " : ""
        n = split(uris, u, " "); m = split(suites, s, " ")
        for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
          print "deb-src " opt u[i] " " s[j] " " comps
      }
      types = uris = suites = comps = signed = enabled = ""
    }
    /^[[:space:]]*$/ { flush(); next }
    /^#/ { next }
    { key = $1; sub(/:$/, "", key); $1 = ""; sub(/^ /, ""); val = $0
      if (key == "Types") types = val; else if (key == "URIs") uris = val
      else if (key == "Suites") suites = val; else if (key == "Components") comps = val
      else if (key == "Signed-By") signed = val; else if (key == "Enabled") enabled = tolower(val) }
    END { flush() }' "$f" >> "$list"
done
[ -s "$list" ] || { echo "fetch-sources: no Debian sources found in /etc/apt" >&2; exit 1; }

APT_OPTIONS=(-o "Dir::Etc::SourceList=$list" -o "Dir::Etc::SourceParts=$apt_dir/none"
             -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
             -o "APT::Sandbox::User=root")
source "$(dirname "$0")/apt-retry.sh"
apt_update_with_retries
for p in "${need[@]}"; do
  work="$dest/$p.download"
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get "${APT_OPTIONS[@]}" source --download-only -q "$p")
  dsc=$(ls "$work"/*.dsc | head -n 1)
  rm -rf "$dest/$p"
  dpkg-source --no-check -x "$dsc" "$dest/$p" > /dev/null
  rm -rf "$work"
  touch "$dest/$p.unpacked"
done
