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
if lintian --info --display-info "$deb" 2>&1 | grep -v "running with root privileges"; then :; fi
if lintian "$deb" 2>/dev/null | grep -q '^E: '; then
    echo "lintian found errors" >&2
    exit 1
fi
echo "lintian: no errors"
