# Sourced by the scripts that call apt-get: an index update that survives a mirror in the
# middle of a sync, and an install that falls back to the release's own suite when the
# updates' packages cannot be resolved. Extra apt options (a private sources list, say) go
# in the array APT_OPTIONS.
APT_OPTIONS=("${APT_OPTIONS[@]+"${APT_OPTIONS[@]}"}")

# A mirror mid-sync serves an index of the wrong size for a minute or two; apt-get update then
# exits 100 although the other indexes are fine. Tries a few times, then goes on with the
# lists it has: a package that is then missing fails at the install, naming itself.
apt_update_with_retries() {
  local attempt
  for attempt in 1 2 3 4; do
    if apt-get "${APT_OPTIONS[@]}" update -q; then return 0; fi
    [ "$attempt" = 4 ] && break
    echo "apt-get update failed (attempt $attempt of 4); trying again in $((attempt * 10)) s"
    sleep $((attempt * 10))
  done
  echo "apt-get update failed 4 times; going on with the package lists that did arrive"
}

# With one suite's index missing (the security suite's i386 list, say), multi-arch packages
# cannot be resolved: the amd64 candidates come from that suite and their i386 twins do not.
# The release's own suite (-t CODENAME) always has both.
apt_install_or_release_suite() {
  if apt-get "${APT_OPTIONS[@]}" install -y -q "$@"; then return 0; fi
  local codename
  codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
  [ -n "$codename" ] || { echo "no release codename in /etc/os-release" >&2; return 1; }
  echo "the install could not be resolved; installing from the release suite '$codename' instead"
  apt-get "${APT_OPTIONS[@]}" install -y -q -t "$codename" "$@"
}
