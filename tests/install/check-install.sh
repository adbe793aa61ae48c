#!/usr/bin/env bash
# Installs a build under /usr in a throw-away DESTDIR and checks it as a desktop would see
# it: the installed files are exactly those listed beside this script, the desktop entry
# and the AppStream metadata validate, the icons have the sizes their folders name, the
# manual page is compressed, the copyright file and the metadata name the licence
# (GPL-3.0-or-later), and the installed program answers --version and --help
# (without a display), refuses an unknown option, and names a missing path on standard
# error while starting as usual. The Debian package is built too and checked with lintian.
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
app_id=org.example.pavix
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")

scratch=$(mktemp -d)
pid=
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
stage="$scratch/stage"
mkdir -p "$scratch/home" "$scratch/config" "$scratch/data" "$scratch/cache" "$scratch/runtime"
chmod 700 "$scratch/runtime"
export HOME="$scratch/home" XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data"
export XDG_CACHE_HOME="$scratch/cache" XDG_RUNTIME_DIR="$scratch/runtime"
export QT_QPA_PLATFORM=offscreen

failures=0
fail() {
    echo "install check FAILED: $*" >&2
    failures=$((failures + 1))
}

DESTDIR="$stage" cmake --install "$build" --prefix /usr >"$scratch/install.log" 2>&1 \
    || { cat "$scratch/install.log" >&2; fail "cmake --install"; exit 1; }
root="$stage/usr"

# Exactly the listed files, nothing left out and nothing extra.
(cd "$stage" && find . \( -type f -o -type l \) | sed 's|^\.||' | LC_ALL=C sort) >"$scratch/files"
LC_ALL=C sort "$here/installed-files.txt" >"$scratch/expected"
diff -u "$scratch/expected" "$scratch/files" || fail "installed files differ from installed-files.txt"

desktop-file-validate "$root/share/applications/$app_id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$root/share/metainfo/$app_id.metainfo.xml" >"$scratch/appstream.log" 2>&1 \
    || { cat "$scratch/appstream.log" >&2; fail "appstreamcli validate"; }
grep -qx "Exec=pavix %f" "$root/share/applications/$app_id.desktop" || fail "Exec= does not start pavix with a path"
grep -qx "Icon=$app_id" "$root/share/applications/$app_id.desktop" || fail "Icon= is not $app_id"

# A PNG's width and height are the big-endian words at bytes 16 and 20.
for size in 48 128 256; do
    png="$root/share/icons/hicolor/${size}x${size}/apps/$app_id.png"
    [ -f "$png" ] || continue
    read -r w h < <(od -An -tu1 -j16 -N8 "$png" | awk '{print $1*16777216+$2*65536+$3*256+$4, $5*16777216+$6*65536+$7*256+$8}')
    [ "$w" = "$size" ] && [ "$h" = "$size" ] || fail "icon ${size}x${size} is ${w}x${h}"
done
gzip -t "$root/share/man/man1/pavix.1.gz" && zcat "$root/share/man/man1/pavix.1.gz" | grep -q "^\.TH PAVIX 1 .*Pavix $version" \
    || fail "manual page"
# The installed program finds its help page at ../share/pavix beside its own folder.
[ -f "$root/bin/../share/pavix/help/index.html" ] || fail "help page not at ../share/pavix/help"
# And its translations at ../share/pavix/translations, each a compiled Qt translation.
for qm in "$root"/share/pavix/translations/pavix_*.qm; do
    [ "$(od -An -tx1 -N4 "$qm" | tr -d ' ')" = "3cb86418" ] || fail "$qm is not a compiled translation"
done

pavix="$root/bin/pavix"
out=$("$pavix" --version) || fail "--version exit status"
[ "$(head -1 <<<"$out")" = "Pavix $version" ] || fail "--version printed \"$out\""
grep -q "GNU GPL version 3 or later" <<<"$out" || fail "--version names no licence: \"$out\""
# The package's copyright file and the metadata state the same licence.
grep -qx "License: GPL-3+" "$root/share/doc/pavix/copyright" || fail "the copyright file states no GPL-3+ licence"
grep -q "<project_license>GPL-3.0-or-later</project_license>" "$root/share/metainfo/$app_id.metainfo.xml" \
    || fail "the metadata states no GPL-3.0-or-later licence"
# Without any display at all, too.
out=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$pavix" --help) || fail "--help exit status"
grep -q "^Usage: pavix \[options\] \[FOLDER | PICTURE\]" <<<"$out" || fail "--help printed: $out"
if "$pavix" --no-such-option >/dev/null 2>"$scratch/refused"; then
    fail "an unknown option was accepted"
fi
grep -q "Unknown option 'no-such-option'" "$scratch/refused" || fail "unknown option message: $(cat "$scratch/refused")"

# A missing path is named on standard error and the program starts as usual: it is still
# running when the message is there.
"$pavix" "$scratch/no such folder" 2>"$scratch/missing" >/dev/null &
pid=$!
for _ in $(seq 100); do
    grep -q "no such folder\" does not exist" "$scratch/missing" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
grep -q "\"$scratch/no such folder\" does not exist" "$scratch/missing" || fail "missing path message: $(cat "$scratch/missing")"
kill -0 "$pid" 2>/dev/null || fail "the program did not start after a missing path"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
pid=

# A termination signal ends the program however early it comes: here as soon as the
# message is written, while the splash is first painted, ten times over.
for round in $(seq 10); do
    : >"$scratch/missing"
    "$pavix" "$scratch/no such folder" 2>"$scratch/missing" >/dev/null &
    pid=$!
    for _ in $(seq 200); do
        grep -q "does not exist" "$scratch/missing" && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.01
    done
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid" 2>/dev/null || true
        fail "the program did not end on a termination signal (round $round)"
        break
    fi
    wait "$pid" 2>/dev/null || true
done
pid=

# The Debian package holds the same files, depends on Qt's platform plugins besides the
# libraries dpkg-shlibdeps finds, and lintian finds no error in it.
packaged=""
if (cd "$build" && cpack -G DEB -B "$scratch/package") >"$scratch/cpack.log" 2>&1; then
    deb=$(ls "$scratch"/package/*.deb)
    dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ {print substr($6, 2)}' | LC_ALL=C sort >"$scratch/packaged"
    diff -u "$scratch/expected" "$scratch/packaged" || fail "the package's files differ from installed-files.txt"
    depends=$(dpkg-deb --field "$deb" Depends)
    for needed in qt6-qpa-plugins qt6-wayland libqt6widgets6 libqt6gui6 libqt6core6; do
        grep -q "$needed" <<<"$depends" || fail "the package does not depend on $needed: $depends"
    done
    command -v lintian >/dev/null || fail "lintian is not installed (scripts/install-deps.sh installs it)"
    lintian "$deb" >"$scratch/lintian.log" 2>&1 || true
    if grep -q '^E: ' "$scratch/lintian.log"; then
        grep '^E: ' "$scratch/lintian.log" >&2
        fail "lintian errors in the package"
    fi
    packaged=", the package passes lintian"
else
    cat "$scratch/cpack.log" >&2
    fail "cpack could not build the package"
fi

if [ "$failures" -ne 0 ]; then
    exit 1
fi
echo "install check: $(wc -l <"$scratch/files") files installed and valid, pavix $version runs$packaged"
