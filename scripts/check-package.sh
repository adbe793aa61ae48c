#!/usr/bin/env bash
# Shows the Debian package `make package` built (its control fields and files) and checks
# it with lintian: an error fails; the warnings and notes that remain are printed.
set -euo pipefail
folder=${1:-build/package}
shopt -s nullglob
debs=("$folder"/*.deb)
if [ ${#debs[@]} -ne 1 ]; then
    echo "expected one .deb in $folder, found ${#debs[@]}" >&2
    exit 1
fi
deb=${debs[0]}
echo "== $deb"
dpkg-deb --field "$deb"
echo "== files"
dpkg-deb --contents "$deb" | awk '{print $1, $6}'
echo "== lintian"
# lintian warns about running as root; the package is only read.
status=0
lintian --info --display-info "$deb" >"$folder/lintian.txt" 2>&1 || status=$?
grep -v "running with root privileges" "$folder/lintian.txt" || true
if [ "$status" -ne 0 ] || grep -q '^E: ' "$folder/lintian.txt"; then
    echo "lintian found errors" >&2
    exit 1
fi
echo "lintian: no errors ($(grep -c '^W: ' "$folder/lintian.txt" || true) warnings, $(grep -c '^I: ' "$folder/lintian.txt" || true) notes)"
